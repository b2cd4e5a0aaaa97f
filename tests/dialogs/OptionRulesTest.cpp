#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "dialogs/MarginValidation.h"
#include "dialogs/SavePageRules.h"
#include "dialogs/SizeCaption.h"

namespace {

CMarginValues Margins(int mode)
{
    CMarginValues values = GetResetMarginValues();
    values.mode = mode;
    return values;
}

}  // namespace

TEST(ValidateMargins, FixedCutSums)
{
    CMarginValues values = Margins(1);
    values.rects[MGN_CUT] = {50, 0, 50, 0};
    EXPECT_EQ(ValidateMargins(values).message, "カット左右の合計が100%以上です。");
    values.rects[MGN_CUT] = {49, 60, 50, 40};
    const CMarginFault fault = ValidateMargins(values);
    EXPECT_EQ(fault.message, "カット上下の合計が100%以上です。");
    EXPECT_EQ(fault.side, SIDE_TOP);
    values.rects[MGN_CUT] = {49, 0, 50, 0};
    EXPECT_TRUE(ValidateMargins(values).message.isEmpty());
}

TEST(ValidateMargins, AutomaticChecksInTheirOrder)
{
    CMarginValues values = Margins(2);
    values.rects[MGN_DEF] = {60, 0, 60, 0};
    values.rects[MGN_MIN] = {0, 20, 0, 0};
    values.rects[MGN_MAX] = {30, 10, 30, 30};
    CMarginFault fault = ValidateMargins(values);
    EXPECT_EQ(fault.message, "判定終了位置が判定開始位置より小さいです。");
    EXPECT_EQ(fault.rect, MGN_MAX);
    EXPECT_EQ(fault.side, SIDE_TOP);

    values.rects[MGN_MAX].top = 20;
    EXPECT_EQ(ValidateMargins(values).message, "見つからない場合の左右の合計が100%以上です。");
    values.rects[MGN_MAX] = {50, 20, 50, 20};
    EXPECT_EQ(ValidateMargins(values).message, "判定終了位置左右の合計が100%以上です。");
    values.rects[MGN_MIN] = {0, 50, 0, 50};
    EXPECT_EQ(ValidateMargins(values).message, "判定開始位置上下の合計が100%以上です。");

    values.mode = 0;
    EXPECT_TRUE(ValidateMargins(values).message.isEmpty());
    values.mode = 2;
    values.rects[MGN_MIN] = {0, 0, 0, 0};
    values.rects[MGN_MAX] = {30, 30, 30, 30};
    values.rects[MGN_DEF] = {10, 50, 10, 50};
    values.rects[MGN_ADD] = {100, 100, 100, 100};
    EXPECT_EQ(ValidateMargins(values).message, "見つからない場合の上下の合計が100%以上です。");
}

TEST(SavePageRules, EnablingByTypeAndDepth)
{
    const CSaveControlStates jpeg = GetSaveControlStates(1, 4);
    EXPECT_FALSE(jpeg.depth);
    EXPECT_FALSE(jpeg.palette);
    EXPECT_TRUE(jpeg.quality);
    const CSaveControlStates same = GetSaveControlStates(0, 3);
    EXPECT_TRUE(same.depth && same.palette && same.quality);
    const CSaveControlStates png = GetSaveControlStates(2, 3);
    EXPECT_TRUE(png.depth && png.palette);
    EXPECT_FALSE(png.quality);
    EXPECT_FALSE(GetSaveControlStates(3, 4).palette);
}

TEST(SavePageRules, FolderChecks)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("taken"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_EQ(CheckSaveFolder(1, "  ", "anything"), "サブフォルダを指定してください。");
    EXPECT_EQ(CheckSaveFolder(1, "a:b", ""), "不正な文字が使用されています。");
    EXPECT_EQ(CheckSaveFolder(1, " .. ", ""), "不正な文字が使用されています。");
    EXPECT_EQ(CheckSaveFolder(1, " adj ", ""), "");
    EXPECT_EQ(CheckSaveFolder(2, "a/b", " "), "任意のフォルダを指定してください。");
    EXPECT_EQ(CheckSaveFolder(2, "", "out/adj"), "絶対パスで指定してください。");
    EXPECT_EQ(CheckSaveFolder(2, "", file.fileName()), "すでに同名のファイルが存在しています。");
    EXPECT_EQ(CheckSaveFolder(2, "", " " + dir.filePath("not/yet") + " "), "");
}

TEST(SavePageRules, FolderPathsFollowTheFileSystem)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("taken"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_EQ(CheckSaveFolder(2, "", ":/out"), "絶対パスで指定してください。");
    EXPECT_EQ(CheckSaveFolder(2, "", file.fileName() + "//"), "すでに同名のファイルが存在しています。");
    EXPECT_EQ(CheckSaveFolder(2, "", dir.path() + "/"), "");
}

TEST(MakeSizeCaption, Suffixes)
{
    EXPECT_EQ(MakeSizeCaption("元のサイズ", true, true), "元のサイズ （縦横比保持、縮小のみ）");
    EXPECT_EQ(MakeSizeCaption("元のサイズ", false, true), "元のサイズ （縮小のみ）");
    EXPECT_EQ(MakeSizeCaption("指定サイズ", true, false), "指定サイズ （縦横比保持）");
    EXPECT_EQ(MakeSizeCaption("指定サイズ", false, false), "指定サイズ");
}
