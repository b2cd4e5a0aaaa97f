#include <gtest/gtest.h>

#include <QSettings>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <limits>

#include "settings/AdjustOption.h"
#include "settings/Profile.h"

namespace {

const QString kSection = "OptionInfo";

QByteArray Ints(std::initializer_list<qint32> values)
{
    QByteArray data;
    for (qint32 value : values) {
        char bytes[4];
        qToLittleEndian(value, bytes);
        data.append(bytes, 4);
    }
    return data;
}

QByteArray Double(double value)
{
    quint64 bits = 0;
    std::memcpy(&bits, &value, 8);
    char bytes[8];
    qToLittleEndian(bits, bytes);
    return QByteArray(bytes, 8);
}

void ExpectRect(const RECT& rect, int left, int top, int right, int bottom)
{
    EXPECT_EQ(rect.left, left);
    EXPECT_EQ(rect.top, top);
    EXPECT_EQ(rect.right, right);
    EXPECT_EQ(rect.bottom, bottom);
}

// Every test starts from an empty user profile (a first start).
class AdjustOption : public ::testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }
    static void Clear() { QSettings(QSettings::IniFormat, QSettings::UserScope, "Quenrick", "Folivane").clear(); }

    static CAdjustOption Loaded()
    {
        CAdjustOption option;
        option.Load();
        return option;
    }
};

}  // namespace

TEST(AdjustOptionKey, IndexedKeyAppendsTheKind)
{
    EXPECT_EQ(MakeIndexedKey("Slant", 0), "Slant0");
    EXPECT_EQ(MakeIndexedKey("MgnCutRect", 1), "MgnCutRect1");
}

TEST_F(AdjustOption, EmptyProfileKeepsEveryDefault)
{
    const CAdjustOption option = Loaded();
    EXPECT_EQ(option.Compare(CAdjustOption()), 0);
    EXPECT_EQ(option.SaveQuality, 70);
    EXPECT_EQ(option.SaveFormat, 0);
    EXPECT_EQ(option.SaveSubDir, "adj");
    ExpectRect(option.MgnMaxRect[1], 30, 30, 30, 30);
}

TEST_F(AdjustOption, SaveThenLoadRestoresEveryField)
{
    CAdjustOption saved;
    saved.PictPage = 0;
    saved.BackColor = 0x123456;
    saved.RotateAngle[1] = -1.5;
    saved.MgnMinRect[1] = {1, 2, 3, 4};
    saved.MgnMaxRect[1] = {11, 12, 13, 14};
    saved.FixSize = {1024, 768};
    saved.SaveDirType = 2;
    saved.SaveAnyDir = "/tmp/out put";
    saved.SaveSubDir = "";
    saved.OwPrompt = 0;
    saved.Save();
    const CAdjustOption loaded = Loaded();
    EXPECT_EQ(loaded.Compare(saved), 0);
    EXPECT_EQ(loaded.RotateAngle[1], -1.5);
    EXPECT_EQ(loaded.BackColor, 0x123456u);
    EXPECT_EQ(loaded.SaveSubDir, "");
}

TEST_F(AdjustOption, PageKindRuleAndTruthValues)
{
    WriteProfileInt(kSection, "TextPage", 0);
    WriteProfileInt(kSection, "PictPage", 0);
    CAdjustOption option = Loaded();
    EXPECT_EQ(option.TextPage, 1);
    EXPECT_EQ(option.PictPage, 1);

    WriteProfileInt(kSection, "TextPage", 5);
    option = Loaded();
    EXPECT_EQ(option.TextPage, 5);
    EXPECT_EQ(option.PictPage, 0);
}

TEST_F(AdjustOption, OutOfRangeIntegersTakeTheirReplacement)
{
    WriteProfileInt(kSection, "SaveQuality", 150);
    WriteProfileInt(kSection, "SaveFormat", 4);
    WriteProfileInt(kSection, "BackBorder", 256);
    WriteProfileInt(kSection, "BrightText", -256);
    WriteProfileInt(kSection, "BrightPict", 9);
    WriteProfileInt(kSection, "SpotDot1", 1000);
    WriteProfileInt(kSection, "SaveDirType", 0);
    const CAdjustOption option = Loaded();
    EXPECT_EQ(option.SaveQuality, 80);  // not the default 70
    EXPECT_EQ(option.SaveFormat, 2);    // not the default 0
    EXPECT_EQ(option.BackBorder, 230);
    EXPECT_EQ(option.BrightText, 0);
    EXPECT_EQ(option.BrightPict, 100);
    EXPECT_EQ(option.SpotDot[1], 5);
    EXPECT_EQ(option.SaveDirType, 1);

    // A missing key keeps what the record holds, also a value set before.
    CAdjustOption kept;
    kept.SaveDepth = 2;
    kept.Load();
    EXPECT_EQ(kept.SaveDepth, 2);
}

TEST_F(AdjustOption, RectangleChecksPairRuleAndRaisedMaximum)
{
    WriteProfileBinary(kSection, "MgnCutRect0", Ints({60, 5, 50, 5}));
    WriteProfileBinary(kSection, "MgnMinRect1", Ints({20, 20, 20, 20}));
    WriteProfileBinary(kSection, "MgnMaxRect1", Ints({10, 40, 10, 40}));
    WriteProfileBinary(kSection, "MgnMinRect0", Ints({0, 0, 50, 0}));
    WriteProfileBinary(kSection, "MgnMaxRect0", Ints({90, 30, 9, 30}));
    WriteProfileBinary(kSection, "MgnDefRect1", Ints({-1, 100, 10, 10}));
    WriteProfileBinary(kSection, "MgnAddRect0", Ints({100, 101, 60, 60}));
    const CAdjustOption option = Loaded();
    ExpectRect(option.MgnCutRect[0], 0, 5, 0, 5);
    ExpectRect(option.MgnMaxRect[1], 20, 40, 20, 40);
    ExpectRect(option.MgnMaxRect[0], 90, 30, 50, 30);  // raised past the pair rule
    ExpectRect(option.MgnDefRect[1], 10, 10, 10, 10);
    ExpectRect(option.MgnAddRect[0], 100, 5, 60, 60);  // no pair rule
}

TEST_F(AdjustOption, BinariesOfTheWrongSizeAreIgnored)
{
    WriteProfileBinary(kSection, "MgnCutRect0", Ints({1, 2, 3}));
    WriteProfileBinary(kSection, "FixSize", Ints({640, 480, 0}));
    WriteProfileBinary(kSection, "RotateAngle0", QByteArray());
    WriteProfileBinary(kSection, "RotateAngle1", Double(2.0).left(7));
    CAdjustOption option;
    option.MgnCutRect[0] = {7, 7, 7, 7};
    option.RotateAngle[1] = 3.0;
    option.Load();
    ExpectRect(option.MgnCutRect[0], 7, 7, 7, 7);
    EXPECT_EQ(option.FixSize.cx, 800);
    EXPECT_EQ(option.RotateAngle[0], 0.0);
    EXPECT_EQ(option.RotateAngle[1], 3.0);
}

TEST_F(AdjustOption, AnglesAndSizeAreChecked)
{
    WriteProfileBinary(kSection, "RotateAngle0", Double(400.0));
    WriteProfileBinary(kSection, "RotateAngle1", Double(-360.0));
    WriteProfileBinary(kSection, "FixSize", Ints({0, 20000}));
    CAdjustOption option = Loaded();
    EXPECT_EQ(option.RotateAngle[0], 0.0);
    EXPECT_EQ(option.RotateAngle[1], -360.0);
    EXPECT_EQ(option.FixSize.cx, 800);
    EXPECT_EQ(option.FixSize.cy, 1280);

    WriteProfileBinary(kSection, "RotateAngle0", Double(360.0));
    WriteProfileBinary(kSection, "RotateAngle1", Double(std::numeric_limits<double>::quiet_NaN()));
    option = Loaded();
    EXPECT_EQ(option.RotateAngle[0], 360.0);
    EXPECT_EQ(option.RotateAngle[1], 0.0);  // not a number: no turn
}

TEST_F(AdjustOption, FolderRule)
{
    WriteProfileInt(kSection, "SaveDirType", 2);
    WriteProfileString(kSection, "SaveSubDir", "");
    CAdjustOption option = Loaded();
    EXPECT_EQ(option.SaveDirType, 1);
    EXPECT_EQ(option.SaveSubDir, "adj");

    WriteProfileString(kSection, "SaveAnyDir", "/data/out");
    option = Loaded();
    EXPECT_EQ(option.SaveDirType, 2);
    EXPECT_EQ(option.SaveSubDir, "");
}

TEST_F(AdjustOption, CopiesAreIndependent)
{
    CAdjustOption original;
    original.SaveAnyDir = "/a";
    CAdjustOption copy(original);
    copy.SaveAnyDir += "b";
    copy.MgnCutRect[1].left = 9;
    EXPECT_EQ(original.SaveAnyDir, "/a");
    EXPECT_EQ(original.MgnCutRect[1].left, 5);
    original = copy;
    EXPECT_EQ(original.SaveAnyDir, "/ab");
    EXPECT_EQ(original.MgnCutRect[1].left, 9);
}
