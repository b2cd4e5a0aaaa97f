#include <gtest/gtest.h>

#include <QStringList>

#include <algorithm>

#include "common/NaturalCompare.h"

namespace {

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

int Natural(const QString& a, const QString& b)
{
    return Sign(NaturalCompare(a, b));
}

int Locale(const QString& a, const QString& b)
{
    return Sign(CompareLocale(a, b));
}

}  // namespace

TEST(NaturalCompare, NumbersCompareByValue)
{
    EXPECT_EQ(Natural("img2", "img10"), -1);
    EXPECT_EQ(Natural("img10", "img2"), 1);
    EXPECT_EQ(Natural("a007", "a7"), 0);
    EXPECT_EQ(Natural("page 12", "page12"), 0);
    EXPECT_EQ(Natural("x1y", "x1z"), Locale("y", "z"));
    EXPECT_EQ(Natural("v2.10", "v2.9"), 1);
}

TEST(NaturalCompare, TheLocaleDecidesTheRest)
{
    EXPECT_EQ(Natural("abc", "abd"), Locale("abc", "abd"));
    EXPECT_EQ(Natural("a1", "a"), 1);
    EXPECT_EQ(Natural("a", "a1"), Locale("a", "a1"));
    EXPECT_EQ(Natural("", "b"), Locale("", "b"));
    EXPECT_EQ(Natural(QString(), ""), 0);
    EXPECT_EQ(Natural("a 1", "a b"), Locale("a 1", "a b"));
    EXPECT_NE(Natural("Page", "page"), 0);  // case-sensitive
    // Long runs pad beyond the stack buffers.
    EXPECT_EQ(Natural("n" + QString(40, u'0') + "5", "n5"), 0);
    EXPECT_EQ(Natural("n" + QString(30, u'9'), "n" + QString(29, u'9')), 1);
}

TEST(NaturalCompare, DigitRunsSkipBlanksAndPad)
{
    const QString a = "  07", b = "7";
    EXPECT_EQ(CompareDigitRuns(a.constData(), a.size(), b.constData(), b.size()), 0);
    const QString c = "10", d = " 9";
    EXPECT_GT(CompareDigitRuns(c.constData(), c.size(), d.constData(), d.size()), 0);
}

TEST(NaturalCompare, SortsPageNames)
{
    QStringList names{"img10.png", "img2.png", "img1.png", "img 3.png", "cover.png"};
    std::sort(names.begin(), names.end(), [](const QString& x, const QString& y) { return NaturalCompare(x, y) < 0; });
    EXPECT_EQ(names, QStringList({"cover.png", "img1.png", "img2.png", "img 3.png", "img10.png"}));
}
