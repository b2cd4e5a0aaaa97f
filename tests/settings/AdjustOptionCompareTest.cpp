#include <gtest/gtest.h>

#include <limits>

#include "settings/AdjustOption.h"

namespace {

CAdjustOption Kinds(BOOL text, BOOL pict)
{
    CAdjustOption option;
    option.TextPage = text;
    option.PictPage = pict;
    return option;
}

}  // namespace

TEST(AdjustOptionCompare, EqualRecordsAndEqualTruthGiveZero)
{
    CAdjustOption old, now;
    EXPECT_EQ(now.Compare(old), 0);
    now.KeepRate = 7;
    now.TextPage = 3;
    now.IgnoreShadow[1] = -1;
    old.IgnoreShadow[1] = 1;
    EXPECT_EQ(now.Compare(old), 0);
}

TEST(AdjustOptionCompare, PageKindBits)
{
    EXPECT_EQ(Kinds(1, 0).Compare(Kinds(1, 1)), 0x0002);
    EXPECT_EQ(Kinds(0, 1).Compare(Kinds(1, 1)), 0x0001);
    EXPECT_EQ(Kinds(1, 1).Compare(Kinds(1, 0)), 0x0003);
    EXPECT_EQ(Kinds(1, 0).Compare(Kinds(0, 1)), 0x0003);
    EXPECT_EQ(Kinds(0, 1).Compare(Kinds(1, 0)), 0x0003);
    EXPECT_EQ(Kinds(1, 1).Compare(Kinds(0, 0)), 0);

    CAdjustOption now = Kinds(1, 0);
    now.BackColor = 0;
    EXPECT_EQ(now.Compare(Kinds(1, 1)), 0x1002);
}

TEST(AdjustOptionCompare, EachFieldSetsItsBits)
{
    const CAdjustOption old;
    const auto mask = [&old](auto change) {
        CAdjustOption now;
        change(now);
        return now.Compare(old);
    };
    EXPECT_EQ(mask([](CAdjustOption& o) { o.LinePerPage = 20; }), 0x0003);
    EXPECT_EQ(mask([](CAdjustOption& o) { o.BackBorder = 200; }), 0x0310);
    EXPECT_EQ(mask([](CAdjustOption& o) { o.RotateAngle[0] = 0.5; }), 0x0110);
    EXPECT_EQ(mask([](CAdjustOption& o) { o.Slant[1] = 2; }), 0x0210);
    EXPECT_EQ(mask([](CAdjustOption& o) { o.SpotDot[0] = 6; }), 0x0120);
    EXPECT_EQ(mask([](CAdjustOption& o) { o.MgnAddRect[1].bottom = 6; }), 0x0220);
    EXPECT_EQ(mask([](CAdjustOption& o) { o.ShadowClear[1] = 1; }), 0x0220);
    EXPECT_EQ(mask([](CAdjustOption& o) { o.FixSize.cy = 1; }), 0x0340);
    EXPECT_EQ(mask([](CAdjustOption& o) { o.BackUnify = 0; }), 0x0180);
    EXPECT_EQ(mask([](CAdjustOption& o) { o.BrightPict = 90; }), 0x0280);
    EXPECT_EQ(mask([](CAdjustOption& o) { o.SaveFormat = 1; }), 0x2000);
    EXPECT_EQ(mask([](CAdjustOption& o) { o.SaveDirType = 2; }), 0x2000);
    EXPECT_EQ(mask([](CAdjustOption& o) { o.OwPrompt = 0; }), 0x4000);
    EXPECT_EQ(mask([](CAdjustOption& o) { o.SaveSubDir = "ADJ"; }), 0x4000);
    EXPECT_EQ(mask([](CAdjustOption& o) { o.SaveAnyDir = "/x"; }), 0x4000);
}

TEST(AdjustOptionCompare, AngleThatIsNotANumberAlwaysDiffers)
{
    CAdjustOption a, b;
    a.RotateAngle[1] = b.RotateAngle[1] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(a.Compare(b), 0x0210);
}
