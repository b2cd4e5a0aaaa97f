#include <gtest/gtest.h>

#include <QtEndian>

#include "imagelist/ColumnTable.h"

namespace {

std::vector<int> Orders(const CColumnTable& table)
{
    std::vector<int> orders;
    for (const ColumnDef& def : table.Rows())
        orders.push_back(def.order);
    return orders;
}

QByteArray Triples(std::initializer_list<int> values)
{
    QByteArray data;
    for (const int value : values) {
        char bytes[4];
        qToLittleEndian<qint32>(value, bytes);
        data.append(bytes, 4);
    }
    return data;
}

}  // namespace

TEST(ColumnTable, DefaultLayoutHidesPathAndTime)
{
    const CColumnTable table;
    EXPECT_EQ(Orders(table), (std::vector<int>{0, -1, 1, -1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(table.VisibleCount(), 9);
    EXPECT_EQ(table.IdAtControlIndex(1), COLUMN_FILE_SIZE);
    EXPECT_EQ(table.ControlIndexOf(COLUMN_ADJ_THUMB), 8);
    EXPECT_EQ(table.ControlIndexOf(COLUMN_FILE_PATH), -1);
    EXPECT_EQ(table.IdAtControlIndex(9), -1);
    EXPECT_EQ(table.Find(COLUMN_FILE_SIZE)->format, COLUMN_FORMAT_RIGHT);
    EXPECT_EQ(table.Find(COLUMN_MODIFIED)->title, QStringLiteral("更新日時"));
}

TEST(ColumnTable, LayoutRoundTripsAsLittleEndianTriples)
{
    CColumnTable table;
    table.Find(COLUMN_KIND)->width = 0x01020304;
    const QByteArray data = table.SaveColumnLayout();
    ASSERT_EQ(data.size(), 132);
    EXPECT_EQ(data.mid(4 * 12, 8), Triples({4, 0x01020304}));
    EXPECT_EQ(data.mid(12, 12), Triples({1, 200, -1}));
    CColumnTable loaded;
    loaded.Find(COLUMN_KIND)->width = 1;
    loaded.LoadColumnLayout(data);
    EXPECT_EQ(loaded.Find(COLUMN_KIND)->width, 0x01020304);
}

TEST(ColumnTable, StoredLayoutAppliesOnlyCompleteKnownTriples)
{
    CColumnTable table;
    // id 42 is unknown; the last triple is cut off after its width.
    const QByteArray data = Triples({1, 150, 1, 42, 77, 0, 0, 300, 0}) + Triples({3, 99});
    table.LoadColumnLayout(data);
    EXPECT_EQ(table.Find(COLUMN_FILE_PATH)->width, 150);
    EXPECT_EQ(table.Find(COLUMN_FILE_PATH)->order, 1);
    EXPECT_EQ(table.Find(COLUMN_FILE_NAME)->width, 300);
    EXPECT_EQ(table.Find(COLUMN_MODIFIED)->width, 130);
    EXPECT_EQ(table.Find(COLUMN_MODIFIED)->order, -1);
    table.LoadColumnLayout(QByteArray("\x01\x00", 2));  // shorter than a number
    EXPECT_EQ(table.Find(COLUMN_FILE_PATH)->width, 150);
}

TEST(ColumnTable, ShowingAndHidingKeepsEveryOrderConsistent)
{
    CColumnTable table;
    const std::vector<int> before = Orders(table);
    EXPECT_TRUE(table.SetColumnVisible(COLUMN_FILE_PATH, 1));
    EXPECT_EQ(Orders(table), (std::vector<int>{0, 1, 2, -1, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(table.OrderArray(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_FALSE(table.SetColumnVisible(COLUMN_FILE_PATH, 1));
    EXPECT_TRUE(table.SetColumnVisible(COLUMN_FILE_PATH, 0));
    EXPECT_EQ(Orders(table), before);
    EXPECT_FALSE(table.SetColumnVisible(COLUMN_FILE_PATH, 0));
    EXPECT_FALSE(table.SetColumnVisible(99, 1));
}

TEST(ColumnTable, ShownColumnWithoutVisibleRowsBeforeItTakesTheNextOnesPlace)
{
    CColumnTable table;
    table.MoveColumn(0, 3);  // file name to display position 3
    EXPECT_EQ(Orders(table), (std::vector<int>{3, -1, 0, -1, 1, 2, 4, 5, 6, 7, 8}));
    EXPECT_TRUE(table.SetColumnVisible(COLUMN_FILE_NAME, 0));
    EXPECT_TRUE(table.SetColumnVisible(COLUMN_FILE_PATH, 1));
    // No visible row before it: it takes the order of file size (0).
    EXPECT_EQ(Orders(table), (std::vector<int>{-1, 0, 1, -1, 2, 3, 4, 5, 6, 7, 8}));
    for (const int id : {1, 2, 4, 5, 6, 7, 8, 9, 10})
        table.SetColumnVisible(id, 0);
    EXPECT_EQ(table.VisibleCount(), 0);
    EXPECT_TRUE(table.SetColumnVisible(COLUMN_ADJ_THUMB, 1));
    EXPECT_EQ(table.Find(COLUMN_ADJ_THUMB)->order, 0);
}

TEST(ColumnTable, MovingLeftAndRightShiftsOnlyTheColumnsBetween)
{
    CColumnTable table;
    table.MoveColumn(8, 1);  // new image to position 1
    EXPECT_EQ(Orders(table), (std::vector<int>{0, -1, 2, -1, 3, 4, 5, 6, 7, 8, 1}));
    EXPECT_EQ(table.OrderArray(), (std::vector<int>{0, 8, 1, 2, 3, 4, 5, 6, 7}));
    table.MoveColumn(8, 8);
    EXPECT_EQ(Orders(table), (std::vector<int>{0, -1, 1, -1, 2, 3, 4, 5, 6, 7, 8}));
    table.MoveColumn(42, 0);  // no such control column
    EXPECT_EQ(Orders(table), (std::vector<int>{0, -1, 1, -1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(ColumnTable, ThumbSizeModes)
{
    EXPECT_EQ(ThumbSizePixels(0), 192);
    EXPECT_EQ(ThumbSizePixels(1), 96);
    EXPECT_EQ(ThumbSizePixels(2), 48);
    EXPECT_EQ(ThumbSizePixels(3), 0);
    EXPECT_EQ(ThumbSizePixels(-1), 0);
}
