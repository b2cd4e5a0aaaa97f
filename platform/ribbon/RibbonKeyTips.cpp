#include "platform/ribbon/RibbonWidget.h"

#include <QKeyEvent>
#include <QLabel>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>

#include <algorithm>

namespace {

constexpr int kButtonFrame = 3;  // a tool button's frame around its icon

// A button's key tip in the button, clear of its label. A button with its
// label beside the icon gets it on the icon's lower edge; a large one in the
// empty last line its label keeps for it, or below a label without one.
QPoint ButtonKeyTipPlace(const QToolButton& button, const QSize& badge)
{
    const QRect rect = button.rect();
    if (button.toolButtonStyle() == Qt::ToolButtonTextBesideIcon) {
        const QSize icon = button.iconSize();
        const int iconRight = kButtonFrame + icon.width();
        return {std::max(0, iconRight - badge.width()), rect.center().y() + icon.height() / 2 - badge.height() / 2};
    }
    const bool roomInLabel = button.text().endsWith(QLatin1Char('\n'));
    return {rect.center().x() - badge.width() / 2, roomInLabel ? rect.bottom() - badge.height() : rect.bottom() + 1};
}

// The key tip of a tab or of the application button: centred just below the
// label, which lies centred in the rectangle. The label's own height counts:
// Japanese letters come from a taller font than the widget's.
QPoint BelowLabel(const QRect& rect, const QFontMetrics& metrics, const QString& label, const QSize& badge)
{
    const int height = metrics.size(Qt::TextSingleLine, label).height();
    return {rect.center().x() - badge.width() / 2, rect.center().y() + height / 2 + 1};
}

}  // namespace

// Alt pressed and released alone shows the key tips of the tabs; a tab's tip
// shows the tips of its buttons, a button's tip presses it; Escape or a click
// elsewhere hides them.
bool CRibbonWidget::WatchAltKey(QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->isAutoRepeat() || !isActiveWindow())
        return false;
    if (event->type() == QEvent::KeyPress) {
        m_bAltAlone = key->key() == Qt::Key_Alt;
        return false;
    }
    if (key->key() != Qt::Key_Alt || !std::exchange(m_bAltAlone, false))
        return false;
    ShowKeyTips(m_nKeyTipLevel == 0);
    return true;
}

void CRibbonWidget::ShowKeyTips(bool show)
{
    HideKeyTipBadges();
    if (!show) {
        m_nKeyTipLevel = 0;
        // The keys go back where they went before the tips, unless the
        // user has already sent them elsewhere.
        if (hasFocus())
            (m_pKeysBefore ? m_pKeysBefore.data() : window())->setFocus(Qt::OtherFocusReason);
        return;
    }
    m_pKeysBefore = window()->focusWidget();
    ShowTabKeyTips();
    setFocus(Qt::ShortcutFocusReason);
}

void CRibbonWidget::ShowTabKeyTips()
{
    m_nKeyTipLevel = 1;
    if (m_pAppButton) {
        QWidget& badge = AddKeyTip(QStringLiteral("F"), [this] {
            ShowKeyTips(false);
            m_pAppButton->showMenu();
        });
        PlaceKeyTip(badge, *m_pAppButton,
                    BelowLabel(m_pAppButton->rect(), m_pAppButton->fontMetrics(), m_pAppButton->text(), badge.size()));
    }
    for (int i = 0; i < m_markup.tabs.size(); ++i) {
        const RibbonCommand* command = m_markup.Find(m_markup.tabs[i].command);
        if (!command || command->keyTip.isEmpty())
            continue;
        QWidget& badge = AddKeyTip(command->keyTip, [this, i] {
            SetCurrentTab(i);
            if (m_bMinimized)
                ShowDropDown(true);
            HideKeyTipBadges();
            ShowButtonKeyTips(i);
        });
        PlaceKeyTip(badge, *m_pTabs,
                    BelowLabel(m_pTabs->tabRect(i), m_pTabs->fontMetrics(), m_pTabs->tabText(i), badge.size()));
    }
}

void CRibbonWidget::ShowButtonKeyTips(int tab)
{
    m_nKeyTipLevel = 2;
    for (const RibbonGroup& group : m_markup.tabs[tab].groups) {
        for (const RibbonControl& control : group.controls) {
            const RibbonCommand* command = m_markup.Find(control.command);
            QToolButton* button = m_buttons.value(control.command);
            if (!command || !button || command->keyTip.isEmpty())
                continue;
            QWidget& badge = AddKeyTip(command->keyTip, [this, button] {
                ShowKeyTips(false);
                if (button->isEnabled())
                    button->menu() ? button->showMenu() : button->click();
            });
            PlaceKeyTip(badge, *button, ButtonKeyTipPlace(*button, badge.size()));
        }
    }
}

QWidget& CRibbonWidget::AddKeyTip(const QString& tip, std::function<void()> action)
{
    auto* badge = new QLabel(tip, window());
    badge->setObjectName(QStringLiteral("keyTip"));
    badge->setStyleSheet(QStringLiteral("background:#ffffe1;color:black;border:1px solid #767676;padding:0 2px;"));
    badge->adjustSize();
    badge->show();
    badge->raise();
    m_keyTipBadges.append(badge);
    m_keyTipActions.insert(tip.toUpper(), std::move(action));
    return *badge;
}

// At the place in the anchor, moved wholly into the window where it would
// pass the window's edge.
void CRibbonWidget::PlaceKeyTip(QWidget& badge, const QWidget& anchor, const QPoint& place) const
{
    const QWidget& frame = *window();
    const QPoint at = anchor.mapTo(&frame, place);
    const QSize room = (frame.size() - badge.size()).expandedTo(QSize(0, 0));
    badge.move(std::clamp(at.x(), 0, room.width()), std::clamp(at.y(), 0, room.height()));
}

void CRibbonWidget::HideKeyTipBadges()
{
    for (const QPointer<QWidget>& badge : std::as_const(m_keyTipBadges))
        delete badge.data();
    m_keyTipBadges.clear();
    m_keyTipActions.clear();
}

void CRibbonWidget::keyPressEvent(QKeyEvent* event)
{
    if (m_nKeyTipLevel == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        ShowKeyTips(false);
        ShowDropDown(false);
        return;
    }
    // A copy: the action may replace the tips, and with them itself.
    const std::function<void()> action = m_keyTipActions.value(event->text().toUpper());
    if (action)
        action();
}

void CRibbonWidget::focusOutEvent(QFocusEvent* event)
{
    if (m_nKeyTipLevel != 0)
        ShowKeyTips(false);
    QWidget::focusOutEvent(event);
}
