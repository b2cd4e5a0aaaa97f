#include "app/CommandState.h"

#include <QFileInfo>

#include "app/RibbonIds.h"
#include "platform/FileName.h"

namespace {

struct CommandPair {
    unsigned ribbon;
    int program;
};

// Searched in this order.
constexpr CommandPair kPostedCommands[] = {
    {cmdHelp, 57666},          {cmdAppAddFile, 32771},    {cmdAppAddDir, 32772},   {cmdAppHelp, 57666},
    {cmdAppAbout, 57664},      {cmdAppExit, 57665},       {cmdClipCut, 57635},     {cmdClipCopy, 57634},
    {cmdClipPaste, 57637},     {cmdEditDelete, 32773},    {cmdEditClear, 57632},   {cmdEditSelectAll, 57642},
    {cmdAdjPreviewSel, 32775}, {cmdAdjPreviewAll, 32774}, {cmdAdjExecSel, 32777},  {cmdAdjExecAll, 32776},
    {cmdAdjCancel, 32781},     {cmdAdjOption, 32778},     {cmdListRefresh, 32779}, {cmdViewOpenPreview, 32780},
};

constexpr int kLabelLimit = 255;

}  // namespace

std::optional<bool> IsCommandEnabled(unsigned command, const CommandState& state)
{
    const bool selected = state.selectedCount > 0;
    const bool rows = state.rowCount > 0;
    switch (command) {
    case cmdClipPaste:
        return state.clipboardHasFiles;
    case cmdClipCut:
    case cmdClipCopy:
    case cmdEditDelete:
    case cmdEditClear:
        return selected;
    case cmdEditSelectAll:
    case cmdListRefresh:
        return rows;
    case cmdAdjPreviewSel:
    case cmdAdjExecSel:
        return selected && !state.jobRunning;
    case cmdAdjPreviewAll:
    case cmdAdjExecAll:
        return rows && !state.jobRunning;
    case cmdAdjCancel:
        return state.jobRunning;
    default:
        return std::nullopt;
    }
}

std::optional<bool> IsCommandChecked(unsigned command, const CommandState& state)
{
    if (command >= cmdListLarge && command <= cmdListSmall)
        return state.thumbSize == static_cast<int>(command - cmdListLarge);
    const int column = FindColumnCommand(command);
    if (column < 0)
        return std::nullopt;
    return state.columnShown[static_cast<std::size_t>(column)];
}

int FindPostedCommand(unsigned command)
{
    for (const CommandPair& pair : kPostedCommands) {
        if (pair.ribbon == command)
            return pair.program;
    }
    return 0;
}

int FindColumnCommand(unsigned command)
{
    return command >= cmdItemFileName && command <= cmdItemDstThumb ? static_cast<int>(command - cmdItemFileName) : -1;
}

RibbonItemList BuildRecentItemsArray(const QStringList& recentItems)
{
    RibbonItemList items;
    for (const QString& path : recentItems)
        items.append(MakeRecentItem(path));
    if (!recentItems.isEmpty()) {
        items.append(MakeRecentItem(QStringLiteral("[ 履歴をクリア ]\n履歴をクリアします。")));
        items.last().numbered = false;
    }
    return items;
}

RibbonItem MakeRecentItem(const QString& text)
{
    const qsizetype feed = text.indexOf(QLatin1Char('\n'));
    if (feed >= 0)
        return {text.left(feed).left(kLabelLimit), text.mid(feed + 1).left(kLabelLimit)};
    // The display name comes from the name alone: the file need not exist.
    const QString shown = ShownFileName(text);
    const QString name = QFileInfo(shown).fileName();
    return {(name.isEmpty() ? shown : name).left(kLabelLimit), shown.left(kLabelLimit)};
}
