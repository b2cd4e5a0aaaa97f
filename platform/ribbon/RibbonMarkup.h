#pragma once

#include <QList>
#include <QString>

// The ribbon's layout: the stand-in for a compiled ribbon markup. Commands
// carry their strings; tabs, groups and the application menu name commands.
struct RibbonCommand {
    unsigned id = 0;
    QString label;  // a line feed breaks a button's label
    QString keyTip;
    QString tooltipTitle;
    QString tooltipDescription;
};

enum class RibbonControlKind {
    LargeButton,
    SmallButton,
    LargeToggle,  // a checked state asked through the boolean value
    SmallToggle,
    CheckDropDown  // a large button opening a menu of toggles
};

struct RibbonControl {
    unsigned command = 0;
    RibbonControlKind kind = RibbonControlKind::LargeButton;
    QList<unsigned> items;  // the toggles of a drop-down
};

struct RibbonGroup {
    unsigned command = 0;
    QList<RibbonControl> controls;
};

struct RibbonTab {
    unsigned command = 0;
    QList<RibbonGroup> groups;
};

struct RibbonMarkup {
    QList<RibbonCommand> commands;
    QList<RibbonTab> tabs;
    QList<unsigned> applicationMenu;  // in menu order
    unsigned recentItems = 0;         // the application menu's recent list; 0 for none
    unsigned help = 0;                // the help button beside the tabs; 0 for none

    const RibbonCommand* Find(unsigned id) const;
};
