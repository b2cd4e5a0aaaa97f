#pragma once

#include <QStringList>

#include <array>
#include <optional>

#include "platform/ribbon/RibbonHandler.h"

// What the ribbon's enabled and checked rules read, gathered from the list,
// the job engine and the clipboard at the moment of asking.
struct CommandState {
    bool clipboardHasFiles = false;
    int rowCount = 0;
    int selectedCount = 0;
    bool jobRunning = false;
    int thumbSize = 0;                   // 0 large, 1 medium, 2 small
    std::array<bool, 11> columnShown{};  // by column id
};

// Enabled state of a ribbon command; nothing for a command the rules leave
// to the ribbon (it stays enabled).
std::optional<bool> IsCommandEnabled(unsigned command, const CommandState& state);
// Checked state of a toggle; nothing for a command that is no toggle.
std::optional<bool> IsCommandChecked(unsigned command, const CommandState& state);

// The program command a ribbon command posts to the main frame; 0 for none.
int FindPostedCommand(unsigned command);
// The list column a ribbon toggle shows or hides; -1 for none.
int FindColumnCommand(unsigned command);

// The application menu's recent list: each path labelled by its display name
// and described by itself, and, when there are any, the entry that clears them.
RibbonItemList BuildRecentItemsArray(const QStringList& recentItems);
// One item from its text: "label\ndescription", or a path.
RibbonItem MakeRecentItem(const QString& text);
