#include "app/StatusPane.h"

#include <QPainter>

#include "app/VisualManager.h"

CStatusPane::CStatusPane(unsigned id, const QString& text, QWidget* parent) : QFrame(parent), m_nId(id), m_strText(text)
{
    setObjectName(QString::number(id));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

void CStatusPane::SetText(const QString& text)
{
    m_strText = text;
    repaint();  // at once, as the counts change while the user watches
}

void CStatusPane::EnableProgressBar(long total, BOOL showText, COLORREF barColor, COLORREF gradient, COLORREF textColor)
{
    m_nTotal = total;
    m_nCurrent = 0;
    m_bShowText = showText;
    m_clrBar = barColor;
    m_clrGradient = gradient;
    m_clrText = textColor;
    update();
}

void CStatusPane::SetProgress(long current)
{
    m_nCurrent = current;
    update();
}

void CStatusPane::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    if (HasProgressBar()) {
        CMyVisualManager::DrawStatusBarProgress(painter, contentsRect(), static_cast<int>(m_nTotal),
                                                static_cast<int>(m_nCurrent), m_clrBar, m_clrGradient, m_clrText,
                                                m_bShowText);
        return;
    }
    painter.drawText(contentsRect().adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     m_strText);
}
