#include <gtest/gtest.h>

#include "common/ErrorText.h"
#include "common/FileException.h"
#include "common/Version.h"

#include <cerrno>
#include <cstring>
#include <new>

TEST(ErrorText, VersionStringsComeFromTheBuild)
{
    QString name, version, copyright;
    GetVersionStrings(name, version, copyright);
    EXPECT_EQ(name, QStringLiteral(FOLIVANE_PRODUCT_NAME));
    EXPECT_EQ(version, QStringLiteral(FOLIVANE_PRODUCT_VERSION));
    EXPECT_EQ(copyright, QStringLiteral(FOLIVANE_LEGAL_COPYRIGHT));
    EXPECT_FALSE(name.isEmpty());
}

TEST(ErrorText, SystemErrorTexts)
{
    EXPECT_EQ(GetSystemErrorText(0), QStringLiteral("No Error Code(0)"));
    const QString enoent = GetSystemErrorText(ENOENT);
    EXPECT_EQ(enoent, QString::fromLocal8Bit(strerror(ENOENT)).trimmed() + QStringLiteral("(2)"));
    EXPECT_GT(enoent.size(), 3);
    // Negative codes (the HRESULT form) are shown in hexadecimal, the text
    // part is empty when the system knows no such code.
    EXPECT_EQ(GetSystemErrorText(static_cast<int>(0x80004005u)), QStringLiteral("(0x80004005)"));
    EXPECT_EQ(GetSystemErrorText(-1), QStringLiteral("(0xFFFFFFFF)"));
    EXPECT_EQ(GetSystemErrorText(99999), QStringLiteral("(99999)"));
}

namespace {
struct SilentError : std::exception {
    const char* what() const noexcept override { return "  "; }
};
}  // namespace

TEST(ErrorText, ExceptionTexts)
{
    EXPECT_EQ(GetExceptionText(CFileException(5, QStringLiteral(" x\n"))), QStringLiteral("x(5)"));
    EXPECT_EQ(GetExceptionText(CFileException(2, QStringLiteral("ファイルがありません"))),
              QStringLiteral("ファイルがありません(2)"));
    EXPECT_EQ(GetExceptionText(SilentError()), QStringLiteral("(anonymous namespace)::SilentError occured."));
    EXPECT_EQ(GetExceptionText(CFileException(5, QString())), QStringLiteral("CFileException occured."));
    EXPECT_EQ(GetExceptionText(std::bad_alloc()), QStringLiteral("std::bad_alloc"));
}

TEST(ErrorText, EncoderLookupIsExactAndKeepsIdentifierOnFailure)
{
    QUuid clsid;
    QString message;
    EXPECT_EQ(GetEncoderClsid(QStringLiteral("image/bmp"), clsid, message), 0);
    EXPECT_EQ(GetEncoderClsid(QStringLiteral("image/png"), clsid, message), 2);
    EXPECT_TRUE(message.isEmpty());
    const QUuid png = clsid;
    EXPECT_FALSE(png.isNull());
    EXPECT_EQ(GetEncoderClsid(QStringLiteral("image/jpeg"), clsid, message), 1);
    EXPECT_NE(clsid, png);

    const QUuid jpeg = clsid;
    EXPECT_EQ(GetEncoderClsid(QStringLiteral("image/PNG"), clsid, message), -1);
    EXPECT_EQ(message, QStringLiteral("エンコーダーが見つかりませんでした。"));
    EXPECT_EQ(clsid, jpeg);
}

TEST(ErrorText, StatusTable)
{
    EXPECT_EQ(GetGdiplusStatusText(0), QString());
    EXPECT_EQ(GetGdiplusStatusText(1), QStringLiteral("その他のエラーです。"));
    EXPECT_EQ(GetGdiplusStatusText(3), QStringLiteral("メモリ不足です。"));
    EXPECT_EQ(GetGdiplusStatusText(7), QStringLiteral("Win32エラーです。"));
    EXPECT_EQ(GetGdiplusStatusText(20), QStringLiteral("未サポートのプロパティです。"));
    EXPECT_EQ(GetGdiplusStatusText(21), QString());
    EXPECT_EQ(GetGdiplusStatusText(-1), QString());
    for (int status = 1; status <= 20; ++status) {
        EXPECT_TRUE(GetGdiplusStatusText(status).endsWith(QStringLiteral("。"))) << status;
    }
}
