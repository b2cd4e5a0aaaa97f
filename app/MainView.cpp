#include "app/MainView.h"

CMainView::CMainView(CAdjustOption& option, QWidget* parent) : QWidget(parent), m_list(option, this)
{
    setObjectName(QStringLiteral("59648"));
    m_list.setObjectName(QStringLiteral("1"));
    m_list.setFrameShape(QFrame::StyledPanel);
    setFocusProxy(&m_list);
}

bool CMainView::OnCmdMsg(int id)
{
    if (id == ID_STOP || id == ID_STOP_BUTTON) {
        OnStop();
        return true;
    }
    return false;
}

void CMainView::OnStop()
{
    m_list.StopJob();
}

void CMainView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_list.setGeometry(rect());
}
