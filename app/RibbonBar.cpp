#include "app/RibbonBar.h"

CRibbonBar::CRibbonBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("59392"));
    setEnabled(false);
    setFixedHeight(m_nRibbonHeight);
}

void CRibbonBar::SetRibbonHeight(int height)
{
    m_nRibbonHeight = height;
    setFixedHeight(height);
}
