#include "platform/ribbon/RibbonWidget.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/ribbon/RibbonTooltip.h"

namespace {

constexpr int kSmallPerColumn = 3;
// About the width of a ribbon's tooltip, in full-width characters.
constexpr qsizetype kTooltipChars = 24;

QToolButton* MakeToolButton(QWidget* parent, bool large)
{
    const int icon = large ? CRibbonWidget::kLargeIcon : CRibbonWidget::kSmallIcon;
    auto* button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setToolButtonStyle(large ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonTextBesideIcon);
    button->setIconSize(QSize(icon, icon));
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// The width a menu needs to show the text whole: a section's heading does not
// widen its menu as an item's text does.
int MenuWidthFor(const QMenu& menu, const QString& text)
{
    QMenu probe;
    probe.setFont(menu.font());
    probe.addAction(text);
    return probe.sizeHint().width();
}

bool IsLarge(RibbonControlKind kind)
{
    return kind != RibbonControlKind::SmallButton && kind != RibbonControlKind::SmallToggle;
}

}  // namespace

CRibbonWidget::CRibbonWidget(RibbonMarkup markup, IRibbonApplication& application, IconFactory icons, QWidget* parent)
    : QWidget(parent), m_markup(std::move(markup)), m_application(application), m_icons(std::move(icons))
{
    setObjectName(QStringLiteral("ribbon"));
    // A click on the ribbon leaves the keys where they were: only the key
    // tips take them, for as long as they show.
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    // The dropped-down panel lies over other widgets.
    setAutoFillBackground(true);
}

CRibbonWidget::~CRibbonWidget()
{
    HideKeyTipBadges();  // they lie on the window, which may outlive the ribbon
}

void CRibbonWidget::LoadUI()
{
    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 4, 0);
    top->setSpacing(2);
    m_pAppButton = new QToolButton(this);
    m_pAppButton->setObjectName(QStringLiteral("applicationMenu"));
    m_pAppButton->setText(QStringLiteral("ファイル"));
    m_pAppButton->setFocusPolicy(Qt::NoFocus);
    BuildApplicationMenu(*m_pAppButton);
    top->addWidget(m_pAppButton);

    m_pTabs = new QTabBar(this);
    m_pTabs->setDrawBase(false);
    m_pTabs->setFocusPolicy(Qt::NoFocus);
    m_pTabs->installEventFilter(this);
    m_pPanels = new QStackedWidget(this);
    for (const RibbonTab& tab : m_markup.tabs) {
        const RibbonCommand* command = m_markup.Find(tab.command);
        m_pTabs->addTab(command ? command->label : QString());
        m_groups.emplaceBack();
        m_pPanels->addWidget(BuildTab(tab));
    }
    // The height of the labelled buttons, kept at every width as a ribbon
    // keeps its height: groups that drop their labels in a narrow window
    // neither shrink it nor, restored there, leave it short when the labels
    // come back.
    m_pPanels->setMinimumHeight(m_pPanels->sizeHint().height());
    connect(m_pTabs, &QTabBar::currentChanged, this, [this](int index) {
        m_pPanels->setCurrentIndex(index);
        FitGroups();
    });
    // Clicking the tab of the open drop-down closes it; any other opens it.
    connect(m_pTabs, &QTabBar::tabBarClicked, this, [this](int index) {
        if (m_bMinimized)
            ShowDropDown(!m_bDroppedDown || index != m_pTabs->currentIndex());
    });
    top->addWidget(m_pTabs);
    top->addStretch(1);
    if (m_markup.help != 0) {
        RibbonControl control{m_markup.help, RibbonControlKind::SmallButton, {}};
        QToolButton* help = BuildButton(control);
        help->setToolButtonStyle(Qt::ToolButtonIconOnly);
        top->addWidget(help);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(top);
    layout->addWidget(m_pPanels);

    qApp->installEventFilter(this);
    m_bLoaded = true;
    InvalidateUICommand(0, RIBBON_INVALIDATE_STATE | RIBBON_INVALIDATE_VALUE);
    FlushInvalidations();
    m_application.OnViewChanged(RibbonViewVerb::Create, *this);
    NotifyHeightChange();
}

void CRibbonWidget::Destroy()
{
    if (!m_bLoaded)
        return;
    m_application.OnViewChanged(RibbonViewVerb::Destroy, *this);
    m_bLoaded = false;
}

QWidget* CRibbonWidget::BuildTab(const RibbonTab& tab)
{
    auto* panel = new QFrame;
    panel->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(0);
    for (const RibbonGroup& group : tab.groups) {
        m_groups.last().append(BuildGroup(group));
        layout->addWidget(m_groups.last().last());
        auto* separator = new QFrame(panel);
        separator->setFrameShape(QFrame::VLine);
        separator->setFrameShadow(QFrame::Sunken);
        layout->addWidget(separator);
    }
    layout->addStretch(1);
    return panel;
}

QWidget* CRibbonWidget::BuildGroup(const RibbonGroup& group)
{
    auto* box = new QWidget;
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(2, 0, 2, 0);
    column->setSpacing(0);
    auto* row = new QHBoxLayout;
    row->setSpacing(1);
    QVBoxLayout* smallColumn = nullptr;
    int smallCount = 0;
    for (const RibbonControl& control : group.controls) {
        QToolButton* button = BuildButton(control);
        if (IsLarge(control.kind)) {
            row->addWidget(button, 0, Qt::AlignTop);
            smallColumn = nullptr;
            continue;
        }
        if (!smallColumn || smallCount == kSmallPerColumn) {
            smallColumn = new QVBoxLayout;
            smallColumn->setSpacing(0);
            row->addLayout(smallColumn);
            // Unaligned, the column's fixed height would bound the group's,
            // and a group of small buttons would sit higher than the others.
            row->setAlignment(smallColumn, Qt::AlignTop);
            smallCount = 0;
        }
        smallColumn->addWidget(button);
        ++smallCount;
    }
    column->addLayout(row, 1);
    const RibbonCommand* command = m_markup.Find(group.command);
    auto* caption = new QLabel(command ? command->label : QString(), box);
    caption->setAlignment(Qt::AlignHCenter);
    caption->setForegroundRole(QPalette::PlaceholderText);
    column->addWidget(caption);
    return box;
}

QToolButton* CRibbonWidget::BuildButton(const RibbonControl& control)
{
    QToolButton* button = MakeToolButton(this, IsLarge(control.kind));
    button->setObjectName(QString::number(control.command));
    if (const RibbonCommand* command = m_markup.Find(control.command)) {
        button->setText(command->label);
        ApplyTooltip(*button, *command);
    }
    if (m_icons)
        button->setIcon(m_icons(control.command));
    const unsigned id = control.command;
    switch (control.kind) {
    case RibbonControlKind::LargeToggle:
    case RibbonControlKind::SmallToggle:
        button->setCheckable(true);
        connect(button, &QToolButton::clicked, this,
                [this, id](bool checked) { ExecuteCommand(id, RibbonKey::BooleanValue, checked); });
        break;
    case RibbonControlKind::CheckDropDown:
        button->setPopupMode(QToolButton::InstantPopup);
        button->setMenu(BuildDropDown(control));
        break;
    default:
        connect(button, &QToolButton::clicked, this, [this, id] { ExecuteCommand(id); });
        break;
    }
    m_buttons.insert(id, button);
    return button;
}

QMenu* CRibbonWidget::BuildDropDown(const RibbonControl& control)
{
    auto* menu = new QMenu(this);
    for (unsigned item : control.items) {
        const RibbonCommand* command = m_markup.Find(item);
        QAction* action = menu->addAction(command ? command->label : QString());
        action->setCheckable(true);
        action->setObjectName(QString::number(item));
        connect(action, &QAction::triggered, this,
                [this, item](bool checked) { ExecuteCommand(item, RibbonKey::BooleanValue, checked); });
        m_actions.insert(item, action);
    }
    // Checked states are asked afresh each time the drop-down opens.
    connect(menu, &QMenu::aboutToShow, this, [this, items = control.items] {
        for (unsigned item : items)
            UpdateChecked(item);
    });
    return menu;
}

void CRibbonWidget::BuildApplicationMenu(QToolButton& button)
{
    m_pAppMenu = new QMenu(this);
    m_pAppMenu->setObjectName(QStringLiteral("applicationMenuPopup"));
    m_pAppMenu->setToolTipsVisible(true);
    for (unsigned id : m_markup.applicationMenu) {
        const RibbonCommand* command = m_markup.Find(id);
        QAction* action = m_pAppMenu->addAction(command ? command->label : QString());
        action->setObjectName(QString::number(id));
        if (command)
            action->setToolTip(command->tooltipDescription);
        if (m_icons)
            action->setIcon(m_icons(id));
        connect(action, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
        m_actions.insert(id, action);
    }
    if (const RibbonCommand* recent = m_markup.Find(m_markup.recentItems))
        m_pAppMenu->setMinimumWidth(MenuWidthFor(*m_pAppMenu, recent->label));
    connect(m_pAppMenu, &QMenu::aboutToShow, this, &CRibbonWidget::FillRecentItems);
    button.setMenu(m_pAppMenu);
    button.setPopupMode(QToolButton::InstantPopup);
}

// The recent items are asked for each time the menu opens; choosing one
// executes the list command with the item's index.
void CRibbonWidget::FillRecentItems()
{
    qDeleteAll(m_recentActions);
    m_recentActions.clear();
    if (m_markup.recentItems == 0)
        return;
    const std::optional<RibbonValue> value =
        m_application.CommandHandler().UpdateProperty(m_markup.recentItems, RibbonKey::RecentItems);
    const RibbonItemList* items = value ? std::get_if<RibbonItemList>(&*value) : nullptr;
    const RibbonCommand* command = m_markup.Find(m_markup.recentItems);
    m_recentActions.append(m_pAppMenu->addSection(command ? command->label : QString()));
    if (!items)
        return;
    for (int i = 0; i < items->size(); ++i) {
        // Only the number is an access key: an ampersand of a name is shown.
        QString label = (*items)[i].label;
        label.replace(QLatin1Char('&'), QStringLiteral("&&"));
        if ((*items)[i].numbered)
            label = QStringLiteral("&%1  %2").arg(i + 1).arg(label);
        QAction* action = m_pAppMenu->addAction(label);
        action->setToolTip((*items)[i].description);
        action->setObjectName(QStringLiteral("recent%1").arg(i));
        const unsigned index = static_cast<unsigned>(i);
        connect(action, &QAction::triggered, this,
                [this, index] { ExecuteCommand(m_markup.recentItems, RibbonKey::SelectedItem, index); });
        m_recentActions.append(action);
    }
}

void CRibbonWidget::ApplyTooltip(QWidget& widget, const RibbonCommand& command) const
{
    if (command.tooltipTitle.isEmpty())
        return;
    // Broken into lines here, and not again by the tooltip, which would
    // break Japanese anywhere and leave a lone "す。" on the last line.
    QStringList lines = WrapTooltipText(command.tooltipDescription, kTooltipChars);
    for (QString& line : lines)
        line = line.toHtmlEscaped();
    widget.setToolTip(QStringLiteral("<p style=\"white-space:pre\"><b>%1</b><br>%2</p>")
                          .arg(command.tooltipTitle.toHtmlEscaped(), lines.join(QStringLiteral("<br>"))));
}

void CRibbonWidget::ExecuteCommand(unsigned command, std::optional<RibbonKey> key, const RibbonValue& value)
{
    ShowKeyTips(false);
    ShowDropDown(false);
    m_application.CommandHandler().Execute(command, RibbonVerb::Execute, key, value);
}

QToolButton* CRibbonWidget::FindButton(unsigned command) const
{
    return m_buttons.value(command);
}

QAction* CRibbonWidget::FindAction(unsigned command) const
{
    return m_actions.value(command);
}
