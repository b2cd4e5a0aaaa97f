#include <gtest/gtest.h>

#include <QStringList>

#include "app/CommandState.h"
#include "app/RibbonIds.h"
#include "app/RibbonTarget.h"
#include "app/UICommandHandler.h"

namespace {

// The enabled commands among 2 to 46 for a state; the others are left alone.
std::vector<unsigned> Enabled(const CommandState& state, std::vector<unsigned>* disabled)
{
    std::vector<unsigned> enabled;
    for (unsigned id = cmdQAT; id <= cmdViewOpenPreview; ++id) {
        const std::optional<bool> answer = IsCommandEnabled(id, state);
        if (answer && *answer)
            enabled.push_back(id);
        else if (answer)
            disabled->push_back(id);
    }
    return enabled;
}

std::optional<bool> Flag(const std::optional<RibbonValue>& value)
{
    const bool* flag = value ? std::get_if<bool>(&*value) : nullptr;
    return flag ? std::optional<bool>(*flag) : std::nullopt;
}

struct CFakeTarget : IRibbonTarget {
    CommandState state;
    std::vector<int> posted;
    QStringList recent;
    int cleared = 0;
    std::vector<QStringList> added;
    std::vector<int> thumbSizes;
    std::vector<std::pair<int, bool>> columns;

    CommandState GetCommandState() const override { return state; }
    void PostCommand(int id) override { posted.push_back(id); }
    QStringList GetRecentItems() const override { return recent; }
    void ClearRecentItems() override
    {
        ++cleared;
        recent.clear();
    }
    void AddFiles(const QStringList& paths) override { added.push_back(paths); }
    void SetThumbSize(int mode) override { thumbSizes.push_back(mode); }
    void ShowColumn(int column, bool show) override { columns.emplace_back(column, show); }
    void SetRibbonHeight(int) override {}
};

}  // namespace

TEST(CommandState, EnabledStatesOfAnEmptyListASelectionAndARunningJob)
{
    CommandState state;
    std::vector<unsigned> disabled;
    EXPECT_TRUE(Enabled(state, &disabled).empty());
    EXPECT_EQ(disabled, (std::vector<unsigned>{13, 14, 15, 17, 18, 19, 21, 22, 23, 24, 25, 44}));

    state.rowCount = 3;
    state.selectedCount = 1;
    state.clipboardHasFiles = true;
    disabled.clear();
    EXPECT_EQ(Enabled(state, &disabled), (std::vector<unsigned>{13, 14, 15, 17, 18, 19, 21, 22, 23, 24, 44}));
    EXPECT_EQ(disabled, std::vector<unsigned>{25});

    state.jobRunning = true;
    disabled.clear();
    EXPECT_EQ(Enabled(state, &disabled), (std::vector<unsigned>{13, 14, 15, 17, 18, 19, 25, 44}));
    EXPECT_EQ(disabled, (std::vector<unsigned>{21, 22, 23, 24}));
}

TEST(CommandState, CheckedStatesOfSizesAndColumns)
{
    CommandState state;
    state.thumbSize = 2;
    state.columnShown[3] = true;
    EXPECT_EQ(IsCommandChecked(cmdListLarge, state), false);
    EXPECT_EQ(IsCommandChecked(cmdListSmall, state), true);
    EXPECT_EQ(IsCommandChecked(33, state), true);
    EXPECT_EQ(IsCommandChecked(32, state), false);
    EXPECT_FALSE(IsCommandChecked(cmdClipPaste, state));
}

TEST(CommandState, TheTwentyPostedPairsAndTheColumnPairs)
{
    int pairs = 0;
    for (unsigned id = 0; id < 100; ++id)
        pairs += FindPostedCommand(id) != 0;
    EXPECT_EQ(pairs, 20);
    EXPECT_EQ(FindPostedCommand(cmdHelp), 57666);
    EXPECT_EQ(FindPostedCommand(cmdAppExit), 57665);
    EXPECT_EQ(FindPostedCommand(cmdClipPaste), 57637);
    EXPECT_EQ(FindPostedCommand(cmdViewOpenPreview), 32780);
    EXPECT_EQ(FindPostedCommand(cmdMRUList), 0);
    EXPECT_EQ(FindColumnCommand(30), 0);
    EXPECT_EQ(FindColumnCommand(40), 10);
    EXPECT_EQ(FindColumnCommand(41), -1);
}

TEST(CommandState, RecentItemsHaveTheClearingEntryOnlyWhenThereAreItems)
{
    EXPECT_TRUE(BuildRecentItemsArray({}).isEmpty());
    const RibbonItemList items = BuildRecentItemsArray({QStringLiteral("/gone/books/第一巻.zip"), QStringLiteral("/")});
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0].label, QStringLiteral("第一巻.zip"));  // from the name alone: the file is gone
    EXPECT_EQ(items[0].description, QStringLiteral("/gone/books/第一巻.zip"));
    EXPECT_EQ(items[1].label, QStringLiteral("/"));
    EXPECT_EQ(items[2].label, QStringLiteral("[ 履歴をクリア ]"));
    EXPECT_EQ(items[2].description, QStringLiteral("履歴をクリアします。"));
    const RibbonItem longItem = MakeRecentItem(QString(300, QLatin1Char('x')) + QLatin1Char('\n'));
    EXPECT_EQ(longItem.label.size(), 255);
    EXPECT_TRUE(longItem.description.isEmpty());
}

TEST(UICommandHandler, ExecutePostsTheTableAndActsOnColumnsAndRecentItems)
{
    CFakeTarget target;
    CUICommandHandler handler(target);
    handler.Execute(cmdClipCut, RibbonVerb::Preview, std::nullopt, {});
    handler.Execute(cmdClipCut, RibbonVerb::Execute, std::nullopt, {});
    handler.Execute(cmdAdjOption, RibbonVerb::Execute, std::nullopt, {});
    EXPECT_EQ(target.posted, (std::vector<int>{57635, 32778}));

    handler.Execute(35, RibbonVerb::Execute, RibbonKey::BooleanValue, false);
    handler.Execute(36, RibbonVerb::Execute, std::nullopt, true);           // no key: nothing
    handler.Execute(36, RibbonVerb::Execute, RibbonKey::BooleanValue, {});  // no value: nothing
    EXPECT_EQ(target.columns, (std::vector<std::pair<int, bool>>{{5, false}}));

    handler.Execute(cmdMRUList, RibbonVerb::Execute, RibbonKey::SelectedItem, 0u);  // no items
    EXPECT_EQ(target.cleared, 0);
    target.recent = {QStringLiteral("/a"), QStringLiteral("/b")};
    handler.Execute(cmdMRUList, RibbonVerb::Execute, RibbonKey::SelectedItem, 1u);
    ASSERT_EQ(target.added.size(), 1u);
    EXPECT_EQ(target.added[0], QStringList{QStringLiteral("/b")});
    handler.Execute(cmdMRUList, RibbonVerb::Execute, RibbonKey::SelectedItem, 2u);  // the clearing entry
    EXPECT_EQ(target.cleared, 1);
    EXPECT_TRUE(target.recent.isEmpty());
}

TEST(UICommandHandler, UpdatePropertyAnswersOnlyThePairsItHandles)
{
    CFakeTarget target;
    CUICommandHandler handler(target);
    target.state.jobRunning = true;
    EXPECT_EQ(Flag(handler.UpdateProperty(cmdAdjCancel, RibbonKey::Enabled)), true);
    EXPECT_FALSE(handler.UpdateProperty(cmdAdjOption, RibbonKey::Enabled));
    EXPECT_FALSE(handler.UpdateProperty(cmdAdjCancel, RibbonKey::BooleanValue));
    EXPECT_FALSE(handler.UpdateProperty(cmdListSmall, RibbonKey::RecentItems));
    EXPECT_FALSE(handler.UpdateProperty(cmdMRUList, RibbonKey::SelectedItem));
    target.state.thumbSize = 1;
    EXPECT_EQ(Flag(handler.UpdateProperty(cmdListMedium, RibbonKey::BooleanValue)), true);
    target.recent = {QStringLiteral("/a")};
    const std::optional<RibbonValue> recent = handler.UpdateProperty(cmdMRUList, RibbonKey::RecentItems);
    ASSERT_TRUE(recent);
    EXPECT_EQ(std::get<RibbonItemList>(*recent).size(), 2);
}
