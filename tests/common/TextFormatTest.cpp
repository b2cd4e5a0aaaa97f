#include <gtest/gtest.h>

#include <QDateTime>
#include <QFont>
#include <QFontMetrics>

#include "common/TextFormat.h"

TEST(FitTextWithEllipsis, FitsCutsOrGivesNothing)
{
    const QFontMetrics metrics{QFont()};
    const QString text = "Folivane page adjuster";
    const int full = metrics.horizontalAdvance(text);
    QString cut = "untouched";
    EXPECT_EQ(&FitTextWithEllipsis(metrics, text, full, cut), &text);
    EXPECT_EQ(cut, "untouched");
    EXPECT_EQ(FitTextWithEllipsis(metrics, QString(), 0, cut), QString());

    const QString& shortened = FitTextWithEllipsis(metrics, text, full - 1, cut);
    EXPECT_EQ(&shortened, &cut);
    EXPECT_TRUE(cut.endsWith("..."));
    EXPECT_TRUE(text.startsWith(cut.chopped(3)));
    EXPECT_LE(metrics.horizontalAdvance(cut), full - 1);

    const int tooNarrow = metrics.horizontalAdvance(text.left(1) + "...") - 1;
    EXPECT_EQ(FitTextWithEllipsis(metrics, text, tooNarrow, cut), QString());
}

TEST(FitTextWithEllipsis, NeverSplitsASurrogatePair)
{
    const QFontMetrics metrics{QFont()};
    const QString text = QString("ab") + QString::fromUcs4(U"\U0001F600\U0001F600\U0001F600");
    QString cut;
    for (int width = 0; width < metrics.horizontalAdvance(text); ++width) {
        FitTextWithEllipsis(metrics, text, width, cut);
        if (cut.size() > 3) {
            EXPECT_FALSE(cut[cut.size() - 4].isHighSurrogate()) << width;
        }
    }
}

TEST(FormatNumberGrouped, GroupingsAndSeparators)
{
    QString buffer = "1234567";
    EXPECT_EQ(FormatNumberGrouped(buffer, "3;0", ","), "1,234,567");
    buffer = "1234567";
    EXPECT_EQ(FormatNumberGrouped(buffer, "3;2;0", ","), "12,34,567");
    buffer = "1234567";
    EXPECT_EQ(FormatNumberGrouped(buffer, "4;0", ","), "1234567");
    buffer = "123";
    EXPECT_EQ(FormatNumberGrouped(buffer, "3;0", "."), "123");
    buffer = "-1234";
    EXPECT_EQ(FormatNumberGrouped(buffer, "3;0", "\u202f"), "-1\u202f234");
    buffer = "12a4";
    EXPECT_EQ(FormatNumberGrouped(buffer, "3;0", ","), "12a4");
    buffer = QString(30, u'9');  // grouped it would pass 31 characters
    EXPECT_EQ(FormatNumberGrouped(buffer, "3;0", ","), QString(30, u'9'));
}

TEST(FormatNumberGrouped, GroupingReadFromTheLocale)
{
    EXPECT_EQ(GetDigitGrouping(QLocale("en_US")), "3;0");
    EXPECT_EQ(GetDigitGrouping(QLocale("hi_IN")), "3;2;0");
    EXPECT_EQ(GetDigitGrouping(QLocale("de_DE")), "3;0");
}

TEST(FormatDateTime, NoTimeGivesDashes)
{
    QString buffer;
    EXPECT_EQ(FormatDateTime(-1, buffer), " --");
    EXPECT_EQ(FormatDateTime(Q_INT64_C(99999999999999), buffer), " --");
    EXPECT_NE(FormatDateTime(1700000000, buffer), " --");
    EXPECT_TRUE(buffer.contains(' '));
}

TEST(FormatDateTime, TimeHasSecondsInTheLocalesOwnForm)
{
    const qint64 time = QDateTime(QDate(2024, 5, 6), QTime(22, 13, 57)).toSecsSinceEpoch();
    QString buffer;
    EXPECT_EQ(FormatDateTime(time, buffer, QLocale("ja_JP")), "2024/05/06 22:13:57");
    EXPECT_EQ(FormatDateTime(time, buffer, QLocale("en_US")), "5/6/24 10:13:57 PM");
    EXPECT_EQ(FormatDateTime(time, buffer, QLocale("fi_FI")), "6.5.2024 22.13.57");
}

TEST(StepColor, ChannelsStepAndTruncate)
{
    EXPECT_EQ(StepColor(RGB(0, 0, 0), RGB(255, 255, 255), 4), RGB(63, 63, 63));
    EXPECT_EQ(StepColor(RGB(255, 255, 255), RGB(0, 0, 0), 4), RGB(192, 192, 192));
    EXPECT_EQ(StepColor(0xFF000000 | RGB(10, 20, 30), RGB(20, 10, 30), 3), RGB(13, 17, 30));
    EXPECT_EQ(StepColor(0xFFFFFFFF, 0xFFFFFFFF, 1) >> 24, 0u);
}

TEST(StringListNoCase, FindAndRemove)
{
    QStringList list{"a", "B", "b", "c"};
    EXPECT_EQ(FindStringNoCase(list, "b"), 1);
    EXPECT_EQ(FindStringNoCase(list, "D"), -1);
    EXPECT_EQ(FindStringNoCase({}, "a"), -1);
    RemoveStringNoCase(list, "b");
    EXPECT_EQ(list, QStringList({"a", "c"}));
}
