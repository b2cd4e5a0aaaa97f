#include "app/MainStatusBar.h"

#include <QPushButton>

#include "app/FolivaneApp.h"
#include "app/MainView.h"
#include "app/StatusPane.h"
#include "res/StringTable.h"

namespace {
constexpr COLORREF kNoGradient = static_cast<COLORREF>(-1);
}  // namespace

CMainStatusBar::CMainStatusBar(QWidget* parent) : QStatusBar(parent) {}

void CMainStatusBar::SetIndicators(std::initializer_list<unsigned> ids)
{
    for (const unsigned id : ids) {
        addWidget(new CStatusPane(id, CStringTable::Application().LoadString(id), this));
    }
}

void CMainStatusBar::SetPaneInfo(unsigned id, int width, bool stretch)
{
    CStatusPane* pane = GetPane(id);
    removeWidget(pane);
    if (stretch) {
        pane->setMinimumWidth(width);
        addWidget(pane, 1);
    } else {
        pane->setFixedWidth(width);
        addWidget(pane);
    }
    pane->show();
}

CStatusPane* CMainStatusBar::GetPane(unsigned id) const
{
    return findChild<CStatusPane*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

void CMainStatusBar::SetPaneText(unsigned id, const QString& text)
{
    GetPane(id)->SetText(text);
}

void CMainStatusBar::SetPaneProgress(unsigned id, long current)
{
    GetPane(id)->SetProgress(current);
}

void CMainStatusBar::ShowProgress(long total, COLORREF barColor, const QString& caption)
{
    GetPane(ID_INDICATOR_PROGRESS)->EnableProgressBar(total, 1, barColor, kNoGradient, 0);
    if (m_pStopButton == nullptr) {
        CreateStopButton(caption);
    } else if (m_pStopButton->isHidden()) {
        m_pStopButton->setText(caption);
        m_pStopButton->setGeometry(StopButtonRect());
        m_pStopButton->show();
    }
}

void CMainStatusBar::EndProgress()
{
    if (m_pStopButton != nullptr) {
        m_pStopButton->hide();
    }
    GetPane(ID_INDICATOR_PROGRESS)->EnableProgressBar(-1, 0, 0, kNoGradient, 0);
}

void CMainStatusBar::resizeEvent(QResizeEvent* event)
{
    QStatusBar::resizeEvent(event);
    if (m_pStopButton != nullptr && m_pStopButton->isVisible()) {
        m_pStopButton->setGeometry(StopButtonRect());
    }
}

QRect CMainStatusBar::StopButtonRect() const
{
    return GetPane(ID_INDICATOR_STOP)->geometry();
}

void CMainStatusBar::CreateStopButton(const QString& caption)
{
    m_pStopButton = new QPushButton(caption, this);
    m_pStopButton->setObjectName(QString::number(ID_STOP_BUTTON));
    m_pStopButton->setFont(theApp.GetStatusFont());
    m_pStopButton->setGeometry(StopButtonRect());
    connect(m_pStopButton, &QPushButton::clicked, this, [this] { emit command(ID_STOP_BUTTON); });
    m_pStopButton->show();
}
