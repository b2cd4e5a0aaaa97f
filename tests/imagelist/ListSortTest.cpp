#include "ListViewSupport.h"

#include <QSettings>

#include "imagelist/ImageHeaderCtrl.h"

namespace {

class ListSortTest : public CListViewFixture {};

std::vector<QString> Names(std::initializer_list<const char*> names)
{
    std::vector<QString> result;
    for (const char* name : names)
        result.push_back(QString::fromUtf8(name));
    return result;
}

}  // namespace

TEST_F(ListSortTest, NamesSortNaturallyWithSelectionAndFocusKept)
{
    for (const char* name : {"p2.jpg", "p10.jpg", "p1.jpg"})
        Entry(QString::fromUtf8(name));
    Select({0, 2});                                                                                    // p2, p1
    list.selectionModel()->setCurrentIndex(list.model()->index(1, 0), QItemSelectionModel::NoUpdate);  // p10
    list.Sort(0, 1, 0);
    EXPECT_EQ(RowNames(), Names({"p1.jpg", "p2.jpg", "p10.jpg"}));
    EXPECT_EQ(list.GetSelectedRows(), (std::vector<int>{0, 1}));
    EXPECT_EQ(list.GetFocusedRow(), 2);
    list.Sort(0, 0, 0);
    EXPECT_EQ(RowNames(), Names({"p10.jpg", "p2.jpg", "p1.jpg"}));
    EXPECT_EQ(list.GetSelectedRows(), (std::vector<int>{1, 2}));
    EXPECT_EQ(list.GetFocusedRow(), 0);
}

TEST_F(ListSortTest, EqualKeysKeepTheirOrderInBothDirections)
{
    const char* names[] = {"a", "b", "c", "d", "e"};
    const quint32 sizes[] = {5, 3, 5, 3, 5};
    for (int i = 0; i < 5; ++i)
        Entry(QString::fromUtf8(names[i])).m_dwFileSize = sizes[i];
    list.Sort(1, 1, 0);  // file size
    EXPECT_EQ(RowNames(), Names({"b", "d", "a", "c", "e"}));
    list.Sort(1, 0, 0);
    EXPECT_EQ(RowNames(), Names({"a", "c", "e", "b", "d"}));
    list.Sort(1, 0, 0);
    EXPECT_EQ(RowNames(), Names({"a", "c", "e", "b", "d"}));
    list.Sort(7, 1, 0);  // the source thumbnail column: no key
    EXPECT_EQ(RowNames(), Names({"a", "c", "e", "b", "d"}));
    list.Sort(42, 1, 0);  // beyond the visible columns
    EXPECT_EQ(RowNames(), Names({"a", "c", "e", "b", "d"}));
    EXPECT_EQ(list.GetSortColumn(), 42);
}

TEST_F(ListSortTest, AutomaticColumnPutsUnanalysedFirstAndIgnoresMarginValues)
{
    CImageInfo& known = Entry(QStringLiteral("known"));
    known.m_nPageKind = 1;
    known.m_dSlantAngle = 0.5;
    known.m_rcMarginPx = {1, 2, 3, 4};
    CImageInfo& picture = Entry(QStringLiteral("picture"));
    picture.m_nPageKind = 2;
    Entry(QStringLiteral("unread"));
    CImageInfo& other = Entry(QStringLiteral("other"));
    other.m_nPageKind = 1;
    other.m_dSlantAngle = 0.5;
    other.m_rcMarginPx = {9, 9, 9, 9};
    CImageInfo& noMargins = Entry(QStringLiteral("noMargins"));
    noMargins.m_nPageKind = 1;
    noMargins.m_dSlantAngle = 0.5;
    list.Sort(5, 1, 0);
    EXPECT_EQ(RowNames(), Names({"unread", "noMargins", "known", "other", "picture"}));
}

TEST_F(ListSortTest, SortDuringAPreviewJobStartsThePreviewAgain)
{
    QTemporaryDir dir;
    for (const char* name : {"b.png", "a.png", "c.png"}) {
        WritePage(dir.filePath(QString::fromUtf8(name)));
        AddEntry(list, dir.filePath(QString::fromUtf8(name)));
    }
    list.UpdateFileCount();
    list.StartNextJob();
    ASSERT_TRUE(WaitIdle(list));
    std::atomic<bool> hold{true};
    list.adjust = [&](const QImage& source, CPageRecord& info, QString& message) {
        while (hold && !list.IsStopRequested())
            std::this_thread::yield();
        return QuickAdjust(source, info, message);
    };
    list.SetProcessorCount(1);
    list.StartAdjust(1, 0);
    ASSERT_TRUE(WaitUntil([&] { return list.adjustCalls > 0; }));
    list.status.started.clear();
    list.Sort(0, 1, 0);
    hold = false;
    ASSERT_TRUE(WaitIdle(list));
    EXPECT_EQ(RowNames(), Names({"a.png", "b.png", "c.png"}));
    ASSERT_FALSE(list.status.started.empty());
    EXPECT_EQ(list.status.started.front().caption, QStringLiteral("プレビュー中止"));
    for (int row = 0; row < 3; ++row)
        EXPECT_NE(list.GetImageInfo(row)->GetAdjThumb(), nullptr) << row;
}

TEST_F(ListSortTest, SettingsRoundTripAndStoredSortIsApplied)
{
    Entry(QStringLiteral("b"));
    Entry(QStringLiteral("a"));
    EXPECT_TRUE(list.ShowColumn(COLUMN_FILE_PATH, 1));
    list.SetThumbSize(2);
    list.Sort(0, 0, 0);
    list.SaveSettings();
    ColumnTable = CColumnTable();
    CTestListCtrl other(option);
    AddEntry(other, QStringLiteral("/x/a"));
    AddEntry(other, QStringLiteral("/x/b"));
    other.UpdateFileCount();
    other.LoadSettings();
    EXPECT_EQ(ColumnTable.ControlIndexOf(COLUMN_FILE_PATH), 1);
    EXPECT_EQ(other.model()->columnCount(), 10);
    EXPECT_EQ(other.GetThumbSize(), 2);
    EXPECT_EQ(ColumnTable.Find(COLUMN_SRC_THUMB)->width, 54);
    EXPECT_EQ(other.GetSortColumn(), 0);
    EXPECT_FALSE(other.IsAscending());
    EXPECT_EQ(other.GetImageInfo(0)->m_strPath, QStringLiteral("/x/b"));
    QSettings(QSettings::IniFormat, QSettings::UserScope, "Quenrick", "Folivane").clear();
}

TEST_F(ListSortTest, SortArrowStaysOnItsColumnWhenColumnsComeAndGo)
{
    const int size = ColumnTable.ControlIndexOf(COLUMN_SRC_SIZE);
    list.Sort(size, 1, 0);
    auto arrowOn = [&](int index) {
        EXPECT_EQ(list.GetSortColumn(), index);
        EXPECT_EQ(list.GetHeaderCtrl()->GetSortColumn(), index);
    };
    ASSERT_TRUE(list.ShowColumn(COLUMN_FILE_PATH, 1));
    arrowOn(size + 1);
    ASSERT_TRUE(list.ShowColumn(COLUMN_ADJ_THUMB, 0));
    arrowOn(size + 1);
    ASSERT_TRUE(list.ShowColumn(COLUMN_FILE_NAME, 0));
    arrowOn(size);
    ASSERT_TRUE(list.ShowColumn(COLUMN_SRC_SIZE, 0));  // the rows are sorted by no shown column
    arrowOn(-1);
}
