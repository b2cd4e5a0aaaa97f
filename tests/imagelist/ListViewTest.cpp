#include "ListViewSupport.h"

#include <QHeaderView>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include <numeric>

#include "engine/BitmapConvert.h"
#include "imagelist/ImageHeaderCtrl.h"

namespace {

class ListViewTest : public CListViewFixture {
protected:
    // Rows in mixed states: loaded or not, failed, results and overrides.
    void FillMixedRows()
    {
        for (int i = 0; i < 10; ++i) {
            CImageInfo& info = Entry(QStringLiteral("page%1.png").arg(i + 1, 3, 10, QLatin1Char('0')));
            info.m_dwFileSize = 123456u * static_cast<quint32>(i + 1);
            if (i == 0)
                continue;  // not loaded
            QImage thumb(i % 2 == 0 ? 60 : 192, i % 2 == 0 ? 80 : 120, QImage::Format_RGB32);
            thumb.fill(i == 4 ? QColor(Qt::red) : QColor(90, 140, 200));
            info.m_pSrcThumb = new QImage(i == 2 ? LoadPlaceholderBitmap() : thumb);
            info.m_nSrcWidth = thumb.width() * 20;
            info.m_nSrcHeight = thumb.height() * 20;
            if (i == 2) {
                info.m_bLoadFailed = 1;
                info.m_nSrcWidth = info.m_nSrcHeight = 0;
                continue;
            }
            if (i >= 4) {
                info.m_nPageKind = i % 3 == 0 ? 2 : 1;
                info.m_dSlantAngle = 0.25 * i - 1;
                info.m_rcMarginPx = {10, 10, 10, 10};
                info.m_rcMarginPct = {i, 2, 3, 4};
                info.m_pAdjThumb = new QImage(thumb.convertToFormat(QImage::Format_Grayscale8));
                info.m_nAdjWidth = info.m_nSrcWidth / 2;
                info.m_nAdjHeight = info.m_nSrcHeight / 2;
            }
            if (i >= 7) {
                info.m_nPageKindOverride = 1;
                info.m_dRotateOverride = 0.0;
                info.m_rcMarginOverride = {5, 5, 5, 5};
            }
        }
    }

    // Loaded entries named p00, p01, ...: focusing them starts no load job.
    void FillLoadedRows(int count)
    {
        for (int i = 0; i < count; ++i)
            Entry(QStringLiteral("p%1").arg(i, 2, 10, QLatin1Char('0'))).m_pSrcThumb =
                new QImage(4, 4, QImage::Format_RGB32);
    }

    void ShowFocused(int width, int height)
    {
        list.resize(width, height);
        list.show();
        list.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
        list.setFocus();
    }

    // The whole width of a row in the viewport.
    QRect RowRect(int row) const
    {
        return {0, list.rowViewportPosition(row), list.viewport()->width(), list.rowHeight(row)};
    }

    QRect Cell(int row, int id) const
    {
        const int index = ColumnTable.ControlIndexOf(id);
        const QHeaderView* header = list.horizontalHeader();
        return {header->sectionViewportPosition(index), list.rowViewportPosition(row), header->sectionSize(index),
                list.rowHeight(row)};
    }
};

// Gathers what the viewport is asked to paint.
class CPaintSpy : public QObject {
public:
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

bool IsSet(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y) == QColor(Qt::black);
}

}  // namespace

TEST_F(ListViewTest, RowHeightFollowsThumbnailsAndTextLines)
{
    CFakeApplication app;
    app.statusFont.setPixelSize(9);  // well under 16 px: the lines stay 16 px high
    list.SetApplication(&app);
    EXPECT_EQ(list.MeasureItem(), 102);
    list.SetThumbSize(2);
    EXPECT_EQ(list.MeasureItem(), 56);  // 16 * 3 + 2 lines, then 6
    list.SetThumbSize(0);
    EXPECT_EQ(list.MeasureItem(), 198);
    EXPECT_EQ(list.horizontalHeader()->sectionSize(ColumnTable.ControlIndexOf(COLUMN_ADJ_THUMB)), 198);
    Entry(QStringLiteral("a"));
    EXPECT_EQ(list.rowHeight(0), 198);
    app.statusFont.setPixelSize(40);
    list.SetApplication(&app);
    const int h = QFontMetrics(app.statusFont).height();
    list.SetThumbSize(2);
    EXPECT_EQ(list.MeasureItem(), 3 * h + 2 + 6);
}

TEST_F(ListViewTest, ShowingAndHidingColumnsKeepsHeaderAndTableInStep)
{
    QHeaderView* header = list.horizontalHeader();
    EXPECT_EQ(header->count(), 9);
    EXPECT_TRUE(list.ShowColumn(COLUMN_FILE_PATH, 1));
    EXPECT_EQ(header->count(), 10);
    EXPECT_EQ(header->visualIndex(1), 1);
    EXPECT_EQ(list.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("ファイルパス"));
    header->moveSection(header->visualIndex(2), 0);  // file size dragged to the front
    EXPECT_EQ(ColumnTable.Find(COLUMN_FILE_SIZE)->order, 0);
    EXPECT_EQ(ColumnTable.Find(COLUMN_FILE_NAME)->order, 1);
    EXPECT_TRUE(list.ShowColumn(COLUMN_FILE_PATH, 0));
    EXPECT_FALSE(list.ShowColumn(COLUMN_FILE_PATH, 0));
    for (int index = 0; index < header->count(); ++index)
        EXPECT_EQ(header->visualIndex(index), ColumnTable.Find(ColumnTable.IdAtControlIndex(index))->order) << index;
    header->resizeSection(0, 77);
    EXPECT_EQ(ColumnTable.Find(COLUMN_FILE_NAME)->width, 77);
}

TEST_F(ListViewTest, SortArrowIsAStackOfLinesFromAOnePixelTip)
{
    for (const bool ascending : {true, false}) {
        QImage image(14, 10, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        DrawSortArrow(painter, QRect(0, 0, 14, 10), ascending, Qt::black);
        painter.end();
        const int tip = ascending ? 2 : 7;
        const int base = ascending ? 7 : 2;
        EXPECT_TRUE(IsSet(image, 7, tip));
        EXPECT_FALSE(IsSet(image, 6, tip));
        EXPECT_FALSE(IsSet(image, 8, tip));
        EXPECT_TRUE(IsSet(image, 4, ascending ? 5 : 4));  // d = round(2.5) = 3
        EXPECT_FALSE(IsSet(image, 3, ascending ? 5 : 4));
        EXPECT_TRUE(IsSet(image, 3, base));
        EXPECT_TRUE(IsSet(image, 11, base));
        EXPECT_FALSE(IsSet(image, 12, base));
        EXPECT_FALSE(IsSet(image, 7, ascending ? 8 : 1));
    }
}

TEST_F(ListViewTest, EnterWithoutAFocusedRowDoesNothing)
{
    list.preview.visible = false;
    Entry(QStringLiteral("a"));
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_EQ(list.preview.source, QStringLiteral("<none>"));
}

TEST_F(ListViewTest, EmptyListShowsTheDropHint)
{
    list.resize(600, 300);
    const QImage empty = list.viewport()->grab().toImage();
    const QColor base = list.palette().color(QPalette::Base);
    const QRect middle(250, 100, 100, 60);
    auto inked = [&](const QImage& image) {
        for (int y = middle.top(); y <= middle.bottom(); ++y)
            for (int x = middle.left(); x <= middle.right(); ++x)
                if (image.pixelColor(x, y) != base)
                    return true;
        return false;
    };
    EXPECT_TRUE(inked(empty));
    Entry(QStringLiteral("a"));
    list.horizontalHeader()->resizeSection(0, 10);  // keep the row's own texts left
    for (int index = 1; index < list.horizontalHeader()->count(); ++index)
        list.horizontalHeader()->hideSection(index);
    EXPECT_FALSE(inked(list.viewport()->grab().toImage()));
}

TEST_F(ListViewTest, RowsDrawTintShadeAndCentredThumbnails)
{
    FillMixedRows();
    list.resize(1300, 1200);
    // A focused row not loaded yet would start loading: focus a loaded one.
    list.selectionModel()->setCurrentIndex(list.model()->index(6, 0), QItemSelectionModel::NoUpdate);
    Select({1, 5, 6});
    list.show();
    list.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
    list.setFocus();
    ASSERT_FALSE(list.IsJobRunning());
    const QImage image = list.viewport()->grab().toImage();
    if (qEnvironmentVariableIsSet("FOLIVANE_SHOTS"))
        list.grab().save(qEnvironmentVariable("FOLIVANE_SHOTS") + QStringLiteral("/list-rows.png"));

    const QPalette palette = list.palette();
    const QRect kind0 = Cell(0, COLUMN_KIND);
    const QRect kind3 = Cell(3, COLUMN_KIND);
    const QRect kind5 = Cell(5, COLUMN_KIND);
    EXPECT_EQ(image.pixelColor(kind0.right() - 1, kind0.top() + 3), RowBackground(palette, {0, false, false, true}));
    EXPECT_EQ(image.pixelColor(kind3.right() - 1, kind3.top() + 3), RowBackground(palette, {3, false, false, true}));
    EXPECT_NE(RowBackground(palette, {3, false, false, true}), palette.color(QPalette::Base));
    // A selected odd row takes the selection tint, not the shade.
    EXPECT_EQ(image.pixelColor(kind5.right() - 1, kind5.top() + 3), RowBackground(palette, {5, true, false, true}));
    // Row 4's 60 x 80 red thumbnail sits in the middle of its 102 x 102 cell.
    const QRect thumb = Cell(4, COLUMN_SRC_THUMB);
    ASSERT_EQ(thumb.size(), QSize(102, 102));
    const QPoint origin = thumb.topLeft() + QPoint(21, 11);
    EXPECT_EQ(image.pixelColor(origin), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(origin + QPoint(59, 79)), QColor(Qt::red));
    EXPECT_NE(image.pixelColor(origin - QPoint(1, 0)), QColor(Qt::red));
    EXPECT_NE(image.pixelColor(origin + QPoint(60, 0)), QColor(Qt::red));
    EXPECT_NE(image.pixelColor(origin - QPoint(0, 1)), QColor(Qt::red));
    // Row 0 has no thumbnail: its cell is background only.
    const QRect empty = Cell(0, COLUMN_SRC_THUMB);
    EXPECT_EQ(image.pixelColor(empty.center()), RowBackground(palette, {0, false, false, true}));
}

TEST_F(ListViewTest, ShowingOrHidingAColumnKeepsSelectedRowsAndFocus)
{
    FillLoadedRows(4);
    Select({1, 3});
    list.selectionModel()->setCurrentIndex(list.model()->index(3, 0), QItemSelectionModel::NoUpdate);
    list.preview.source = QStringLiteral("<none>");
    for (const auto& [id, show] : {std::pair{COLUMN_FILE_PATH, 1}, {COLUMN_ADJ_THUMB, 0}, {COLUMN_FILE_NAME, 0}}) {
        ASSERT_TRUE(list.ShowColumn(id, show));
        EXPECT_EQ(list.GetSelectedRows(), (std::vector<int>{1, 3})) << id;
        EXPECT_EQ(list.GetFocusedRow(), 3) << id;
        EXPECT_EQ(list.status.selectedFiles, 2) << id;
        EXPECT_EQ(list.preview.source, QStringLiteral("<none>")) << id;
    }
}

TEST_F(ListViewTest, PreviewFollowsOnlyAChangeOfTheFocusedRow)
{
    FillLoadedRows(2);
    list.setCurrentIndex(list.model()->index(0, 0));
    EXPECT_EQ(list.preview.source, list.GetImageInfo(0)->m_strPath);
    list.preview.source = QStringLiteral("<none>");
    QTest::keyClick(&list, Qt::Key_Right);
    list.setCurrentIndex(list.model()->index(0, 4));
    EXPECT_EQ(list.preview.source, QStringLiteral("<none>"));
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(list.preview.source, list.GetImageInfo(1)->m_strPath);
}

TEST_F(ListViewTest, SortAndThumbnailSizeKeepTheSidewaysScroll)
{
    FillLoadedRows(30);
    list.setCurrentIndex(list.model()->index(0, 0));
    ShowFocused(300, 250);
    QScrollBar* sideways = list.horizontalScrollBar();
    sideways->setValue(400);
    list.Sort(0, 0, 0);  // the focused p00 becomes the last row
    EXPECT_EQ(sideways->value(), 400);
    const QRect focused = RowRect(list.GetFocusedRow());
    EXPECT_TRUE(list.viewport()->rect().contains(focused)) << focused.y();
    list.SetThumbSize(2);
    EXPECT_EQ(sideways->value(), 400);
    EXPECT_EQ(list.verticalScrollBar()->value(), 0);
}

TEST_F(ListViewTest, HomeEndReachTheFilesCtrlMovesOnlyTheFocusAndKeysAndClicksKeepTheSidewaysScroll)
{
    FillLoadedRows(30);
    list.setCurrentIndex(list.model()->index(5, 0));
    ShowFocused(300, 250);
    QScrollBar* sideways = list.horizontalScrollBar();
    sideways->setValue(400);  // the file size column's cell starts at 320, cut on the left
    std::vector<int> all(30);
    std::iota(all.begin(), all.end(), 0);
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int focused;
        std::vector<int> selected;
    };
    // With Ctrl, as with Ctrl and the arrows, only the focus moves.
    const Step steps[] = {{Qt::Key_End, {}, 29, {29}},
                          {Qt::Key_Home, {}, 0, {0}},
                          {Qt::Key_End, Qt::ControlModifier, 29, {0}},
                          {Qt::Key_Up, {}, 28, {28}},
                          {Qt::Key_Home, Qt::ControlModifier, 0, {28}},
                          {Qt::Key_End, Qt::ShiftModifier, 29, all},
                          {Qt::Key_Up, {}, 28, {28}},
                          {Qt::Key_Down, {}, 29, {29}}};
    for (const Step& step : steps) {
        QTest::keyClick(&list, step.key, step.modifiers);
        const std::string key = QKeySequence(step.key | step.modifiers).toString().toStdString();
        EXPECT_EQ(list.GetFocusedRow(), step.focused) << key;
        EXPECT_EQ(list.GetSelectedRows(), step.selected) << key;
        EXPECT_EQ(sideways->value(), 400) << key;
        EXPECT_TRUE(list.viewport()->rect().contains(RowRect(list.GetFocusedRow()))) << key;
    }
    // A click brings its cell into view once the double-click time is over.
    const int row = list.rowAt(5);
    const int requests = list.scrollRequests;
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.scrollRequests > requests; }));
    EXPECT_EQ(list.GetSelectedRows(), std::vector<int>{row});
    EXPECT_EQ(sideways->value(), 400);
    EXPECT_TRUE(list.viewport()->rect().contains(RowRect(row)));
}

TEST_F(ListViewTest, FocusMoveRepaintsTheWholeOldAndNewRow)
{
    FillLoadedRows(5);
    list.setCurrentIndex(list.model()->index(0, 0));
    ShowFocused(1200, 700);
    list.Sort(0, 0, 0);
    CPaintSpy spy;
    list.viewport()->installEventFilter(&spy);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !spy.painted.isEmpty(); }));
    spy.painted = {};
    const int old = list.GetFocusedRow();
    QTest::keyClick(&list, Qt::Key_Home, Qt::ControlModifier);
    ASSERT_EQ(list.GetFocusedRow(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !spy.painted.isEmpty(); }));
    EXPECT_TRUE((QRegion(RowRect(old)) - spy.painted).isEmpty());
    EXPECT_TRUE((QRegion(RowRect(0)) - spy.painted).isEmpty());
}

TEST_F(ListViewTest, SortArrowHasItsOwnRoomBesideTheTitle)
{
    QHeaderView* header = list.horizontalHeader();
    QPalette palette = header->palette();
    palette.setColor(QPalette::ButtonText, Qt::red);
    header->setPalette(palette);
    list.resize(800, 300);
    const int size = ColumnTable.ControlIndexOf(COLUMN_FILE_SIZE);
    list.Sort(size, 1, 0);
    const QImage image = header->grab().toImage();
    const QRect section(header->sectionViewportPosition(size), 0, header->sectionSize(size), header->height());
    auto inked = [&](int left, int right) {
        int count = 0;
        for (int y = section.top(); y <= section.bottom(); ++y)
            for (int x = left; x <= right; ++x) {
                const QColor c = image.pixelColor(x, y);
                count += c.red() > c.green() + 60 && c.red() > c.blue() + 60 ? 1 : 0;
            }
        return count;
    };
    const int arrowLeft = section.right() - (section.height() - 5) + 1;  // the mark and its margin
    EXPECT_GT(inked(section.left(), arrowLeft - 1), 0);
    EXPECT_EQ(inked(arrowLeft, section.right()), 0);
}
