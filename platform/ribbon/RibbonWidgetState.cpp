#include "platform/ribbon/RibbonWidget.h"

#include <QAction>
#include <QDataStream>
#include <QEvent>
#include <QIODevice>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

namespace {

// The saved state: a tag, a version, the selected tab and the minimised flag.
constexpr quint32 kSettingsTag = 0x46524942;  // "FRIB"
constexpr quint16 kSettingsVersion = 1;

bool ValueOr(const std::optional<RibbonValue>& value, bool fallback)
{
    const bool* flag = value ? std::get_if<bool>(&*value) : nullptr;
    return flag ? *flag : fallback;
}

}  // namespace

void CRibbonWidget::InvalidateUICommand(unsigned command, unsigned flags)
{
    m_pending[command] |= flags;
    if (m_bFlushQueued)
        return;
    // Asked again once the caller is done, as the ribbon framework does, so
    // that a burst of invalidations costs one round of questions.
    m_bFlushQueued = true;
    QTimer::singleShot(0, this, &CRibbonWidget::FlushInvalidations);
}

void CRibbonWidget::FlushInvalidations()
{
    m_bFlushQueued = false;
    if (!m_bLoaded)
        return;
    const QHash<unsigned, unsigned> pending = std::exchange(m_pending, {});
    for (auto it = pending.begin(); it != pending.end(); ++it) {
        if (it.key() != 0) {
            UpdateCommand(it.key(), it.value());
            continue;
        }
        for (const RibbonCommand& command : std::as_const(m_markup.commands))
            UpdateCommand(command.id, it.value());
    }
    DimKeyTips();
}

void CRibbonWidget::UpdateCommand(unsigned command, unsigned flags)
{
    if (flags & RIBBON_INVALIDATE_STATE)
        UpdateEnabled(command);
    if (flags & RIBBON_INVALIDATE_VALUE)
        UpdateChecked(command);
}

void CRibbonWidget::UpdateEnabled(unsigned command)
{
    QToolButton* button = m_buttons.value(command);
    QAction* action = m_actions.value(command);
    if (!button && !action)
        return;
    const bool enabled = ValueOr(m_application.CommandHandler().UpdateProperty(command, RibbonKey::Enabled), true);
    if (button)
        button->setEnabled(enabled);
    if (action)
        action->setEnabled(enabled);
}

void CRibbonWidget::UpdateChecked(unsigned command)
{
    QToolButton* button = m_buttons.value(command);
    QAction* action = m_actions.value(command);
    const bool checkable = (button && button->isCheckable()) || (action && action->isCheckable());
    if (!checkable)
        return;
    const bool checked =
        ValueOr(m_application.CommandHandler().UpdateProperty(command, RibbonKey::BooleanValue), false);
    if (button)
        button->setChecked(checked);
    if (action)
        action->setChecked(checked);
}

int CRibbonWidget::GetHeight() const
{
    return sizeHint().height();
}

void CRibbonWidget::NotifyHeightChange()
{
    if (m_bLoaded)
        m_application.OnViewChanged(RibbonViewVerb::Size, *this);
}

void CRibbonWidget::SetMinimized(bool minimized)
{
    m_bMinimized = minimized;
    m_bDroppedDown = false;
    if (m_pPanels)
        m_pPanels->setVisible(!minimized);
    NotifyHeightChange();
}

int CRibbonWidget::CurrentTab() const
{
    return m_pTabs ? m_pTabs->currentIndex() : -1;
}

void CRibbonWidget::SetCurrentTab(int index)
{
    if (m_pTabs && index >= 0 && index < m_pTabs->count())
        m_pTabs->setCurrentIndex(index);
}

QByteArray CRibbonWidget::SaveSettings() const
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << kSettingsTag << kSettingsVersion << qint32(CurrentTab()) << bool(m_bMinimized);
    return bytes;
}

void CRibbonWidget::LoadSettings(const QByteArray& settings)
{
    QDataStream in(settings);
    quint32 tag = 0;
    quint16 version = 0;
    qint32 tab = 0;
    bool minimized = false;
    in >> tag >> version >> tab >> minimized;
    if (in.status() != QDataStream::Ok || tag != kSettingsTag || version != kSettingsVersion)
        return;
    SetCurrentTab(tab);
    SetMinimized(minimized);
}

bool CRibbonWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (WatchKeyTipKeys(event) || WatchKeyTipPointer(watched, event))
        return true;
    if (m_bDroppedDown && event->type() == QEvent::MouseButtonPress && watched->isWidgetType() && !IsOwnWidget(watched))
        ShowDropDown(false);
    if (watched == m_pTabs && event->type() == QEvent::MouseButtonDblClick) {
        SetMinimized(!m_bMinimized);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
