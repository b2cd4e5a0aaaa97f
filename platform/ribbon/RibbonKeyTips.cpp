#include "platform/ribbon/RibbonWidget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QStyleHints>
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

// The badge's look; dimmed, in the colour of a disabled button's label.
QString KeyTipStyle(const QColor& dimmed)
{
    return QStringLiteral("QLabel{background:#ffffe1;color:black;border:1px solid #767676;padding:0 2px;}"
                          "QLabel:disabled{color:%1;border-color:%1;}")
        .arg(dimmed.name());
}

}  // namespace

// Alt pressed and released alone, or F10, shows the key tips of the tabs; a
// tab's tip shows the tips of its buttons, a button's tip presses it; Alt or
// F10 again, Escape or a click elsewhere hides them. An open menu has the
// keys: no tips show behind it. Escape also closes a dropped-down panel.
bool CRibbonWidget::WatchKeyTipKeys(QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (QApplication::activePopupWidget()) {
        m_bAltAlone = false;
        return false;
    }
    if (key->isAutoRepeat() || !isActiveWindow())
        return false;
    if (event->type() == QEvent::KeyPress) {
        m_bAltAlone = key->key() == Qt::Key_Alt;
        m_altPressed = key->timestamp();
        if (key->key() == Qt::Key_Escape && m_nKeyTipLevel == 0 && m_bDroppedDown) {
            ShowDropDown(false);
            return true;
        }
        // Shift+F10 stays the menu key's twin.
        if (key->key() != Qt::Key_F10 || key->modifiers() != Qt::NoModifier)
            return false;
        ToggleKeyTips();
        return true;
    }
    if (key->key() != Qt::Key_Alt || !std::exchange(m_bAltAlone, false) ||
        m_pointerGrabs.TakenBetween(m_altPressed, key->timestamp()))
        return false;
    ToggleKeyTips();
    return true;
}

// A click or a wheel turn in the window takes the tips away, as the keys sent
// elsewhere do; one on a tip goes no further, so that it reaches no command
// under the tip. Either, or the window moved, resized or left by the pointer,
// also means Alt was not pressed alone: a window manager's or a compositor's
// Alt+drag shows no button.
bool CRibbonWidget::WatchKeyTipPointer(const QObject* watched, const QEvent* event)
{
    const bool inWindow = watched->isWidgetType() && static_cast<const QWidget*>(watched)->window() == window();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        m_bAltAlone = false;
        if (inWindow && IsTipClickedAgain(*event))
            return true;
        if (inWindow && m_nKeyTipLevel != 0)
            return TakeKeyTipsAway(watched, *static_cast<const QInputEvent*>(event));
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Leave:
        if (watched == window())
            m_bAltAlone = false;
        break;
    case QEvent::FocusOut:
    case QEvent::WindowDeactivate:
        m_bAltAlone = false;
        break;
    default:
        break;
    }
    return false;
}

// Whether what was clicked is a tip. That tip still has the click in hand:
// it goes once the click is done with, the others at once.
bool CRibbonWidget::TakeKeyTipsAway(const QObject* clicked, const QInputEvent& click)
{
    const auto tip =
        std::find_if(m_keyTips.begin(), m_keyTips.end(), [clicked](const KeyTip& t) { return t.badge == clicked; });
    const bool onTip = tip != m_keyTips.end();
    if (onTip) {
        m_tipClicked = {QRect(tip->badge->mapToGlobal(QPoint(0, 0)), tip->badge->size()), click.timestamp()};
        tip->badge->hide();
        tip->badge->deleteLater();
        m_keyTips.erase(tip);
    }
    ShowKeyTips(false);
    if (onTip)
        ShowDropDown(false);
    return onTip;
}

// The second click of a double-click on a tip finds the tip gone: it goes no
// further than the first, so as not to reach what lay under the tip.
bool CRibbonWidget::IsTipClickedAgain(const QEvent& event) const
{
    if (event.type() == QEvent::Wheel)
        return false;
    const auto& click = static_cast<const QMouseEvent&>(event);
    const auto interval = static_cast<quint64>(QGuiApplication::styleHints()->mouseDoubleClickInterval());
    return click.timestamp() - m_tipClicked.time <= interval &&
           m_tipClicked.place.contains(click.globalPosition().toPoint());
}

// Hidden, the tips take the panel they dropped down with them, and the keys
// go back to the list.
void CRibbonWidget::ToggleKeyTips()
{
    const bool show = m_nKeyTipLevel == 0;
    ShowKeyTips(show);
    if (!show)
        ShowDropDown(false);
}

void CRibbonWidget::ShowKeyTips(bool show)
{
    HideKeyTipBadges();
    if (!show) {
        m_nKeyTipLevel = 0;
        // The keys go back where they went before the tips, unless the
        // user has already sent them elsewhere. Asked of the window, not of
        // the focus: in a window being left the ribbon has lost the focus
        // already, yet would get it back when the window is active again.
        if (window()->focusWidget() == this)
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
        AddKeyTip(
            QStringLiteral("F"), *m_pAppButton,
            [this](const QSize& badge) {
                return BelowLabel(m_pAppButton->rect(), m_pAppButton->fontMetrics(), m_pAppButton->text(), badge);
            },
            [this] {
                ShowKeyTips(false);
                m_pAppButton->showMenu();
            });
    }
    for (int i = 0; i < m_markup.tabs.size(); ++i) {
        const RibbonCommand* command = m_markup.Find(m_markup.tabs[i].command);
        if (!command || command->keyTip.isEmpty())
            continue;
        AddKeyTip(
            command->keyTip, *m_pTabs,
            [this, i](const QSize& badge) {
                return BelowLabel(m_pTabs->tabRect(i), m_pTabs->fontMetrics(), m_pTabs->tabText(i), badge);
            },
            [this, i] {
                SetCurrentTab(i);
                if (m_bMinimized)
                    ShowDropDown(true);
                HideKeyTipBadges();
                ShowButtonKeyTips(i);
            });
    }
    PlaceKeyTips();
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
            AddKeyTip(
                command->keyTip, *button, [button](const QSize& badge) { return ButtonKeyTipPlace(*button, badge); },
                [this, button] {
                    ShowKeyTips(false);
                    button->menu() ? button->showMenu() : button->click();
                });
        }
    }
    PlaceKeyTips();
}

void CRibbonWidget::AddKeyTip(const QString& key, QWidget& control, std::function<QPoint(const QSize&)> place,
                              std::function<void()> action)
{
    auto* badge = new QLabel(key, window());
    badge->setObjectName(QStringLiteral("keyTip"));
    badge->setStyleSheet(KeyTipStyle(palette().color(QPalette::Disabled, QPalette::ButtonText)));
    badge->adjustSize();
    badge->show();
    badge->raise();
    m_keyTips.append({key.toUpper(), badge, &control, std::move(place), std::move(action)});
}

// From the layout in force: a tab shown a moment ago, or a window just
// resized, still has its new layout pending.
void CRibbonWidget::PlaceKeyTips()
{
    LayOutNow();
    for (const KeyTip& tip : std::as_const(m_keyTips)) {
        if (tip.badge && tip.control)
            PlaceKeyTip(*tip.badge, *tip.control, tip.place(tip.badge->size()));
    }
    DimKeyTips();
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

// A tip is drawn dimmed while its command is disabled, as the command is.
void CRibbonWidget::DimKeyTips()
{
    for (const KeyTip& tip : std::as_const(m_keyTips)) {
        if (tip.badge && tip.control)
            tip.badge->setEnabled(tip.control->isEnabled());
    }
}

void CRibbonWidget::HideKeyTipBadges()
{
    for (const KeyTip& tip : std::as_const(m_keyTips))
        delete tip.badge.data();
    m_keyTips.clear();
}

bool CRibbonWidget::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // While the tips show, the keys are theirs: no shortcut of the window
        // acts behind them.
        if (m_nKeyTipLevel != 0) {
            event->accept();
            return true;
        }
        break;
    case QEvent::KeyPress:
        // Nor does Tab take the keys to the next widget.
        if (m_nKeyTipLevel != 0) {
            keyPressEvent(static_cast<QKeyEvent*>(event));
            return true;
        }
        break;
    case QEvent::WindowDeactivate:
        // A window left takes its dropped-down panel along; its tips go with
        // the focus, once the window has told all its widgets: they lie
        // among them.
        ShowDropDown(false);
        break;
    default:
        break;
    }
    return QWidget::event(event);
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
    const QString key = event->text().toUpper();
    const auto tip = std::find_if(m_keyTips.cbegin(), m_keyTips.cend(), [&](const KeyTip& t) { return t.key == key; });
    // A disabled command's key does nothing, nor does the key of a button no
    // longer shown (its tab was left): the tips stay for another key.
    if (tip == m_keyTips.cend() || !tip->control || !tip->control->isVisible() || !tip->control->isEnabled())
        return;
    // A copy: the action may replace the tips, and with them itself.
    const std::function<void()> action = tip->action;
    action();
}

void CRibbonWidget::focusOutEvent(QFocusEvent* event)
{
    if (m_nKeyTipLevel != 0)
        ShowKeyTips(false);
    QWidget::focusOutEvent(event);
}
