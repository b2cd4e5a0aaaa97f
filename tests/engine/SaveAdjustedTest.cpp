#include <gtest/gtest.h>

#include "engine/SaveAdjusted.h"
#include "platform/PixelFormat.h"
#include "settings/OutputFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

QImage Page(int pixelFormat)
{
    QImage image = CreateBitmap(40, 30, pixelFormat);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            image.setPixel(x, y, qRgb(x * 6, y * 8, 255 - x * 3));
    return image;
}

QByteArray Header(const QString& path, int bytes)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(bytes) : QByteArray();
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

struct Saver {
    QTemporaryDir dir;
    CAdjustOption option;
    QString message;

    QString Path(const QString& name) const { return dir.filePath(name); }

    BOOL SaveTo(QImage& image, const QString& explicitPath, const CancelFlag* cancel = nullptr)
    {
        return SaveAdjustedBitmap(image, QString(), QString(), explicitPath, option, cancel, message);
    }
};

}  // namespace

TEST(SaveAdjusted, FileTypeComesFromTheExtension)
{
    Saver s;
    QImage page = Page(PixelFormat24bppRGB);
    EXPECT_TRUE(s.SaveTo(page, s.Path(QStringLiteral("a.JPG"))));
    EXPECT_TRUE(s.message.isEmpty());
    EXPECT_EQ(QImageReader(s.Path(QStringLiteral("a.JPG"))).format(), "jpeg");
    EXPECT_TRUE(s.SaveTo(page, s.Path(QStringLiteral("b.Jpe"))));
    EXPECT_EQ(QImageReader(s.Path(QStringLiteral("b.Jpe"))).format(), "jpeg");
    EXPECT_TRUE(s.SaveTo(page, s.Path(QStringLiteral("c.Bmp"))));
    EXPECT_EQ(QImageReader(s.Path(QStringLiteral("c.Bmp"))).format(), "bmp");
    for (const char* name : {"d.tif", "noext", "e.png.x y"}) {
        EXPECT_FALSE(s.SaveTo(page, s.Path(QLatin1String(name))));
        EXPECT_EQ(s.message, QStringLiteral("error"));
    }
    EXPECT_EQ(Entries(s.dir.path()).size(), 3);

    // The explicit path decides type and place over the file name.
    EXPECT_TRUE(SaveAdjustedBitmap(page, s.Path(QStringLiteral("src.png")), QStringLiteral("f.tif"),
                                   s.Path(QStringLiteral("f.png")), s.option, nullptr, s.message));
    EXPECT_TRUE(QFileInfo::exists(s.Path(QStringLiteral("f.png"))));
    EXPECT_FALSE(QFileInfo::exists(s.Path(QStringLiteral("adj"))));
}

TEST(SaveAdjusted, FirstFailuresOfTheTable)
{
    Saver s;
    QImage null;
    EXPECT_FALSE(s.SaveTo(null, s.Path(QStringLiteral("a.png"))));
    EXPECT_EQ(s.message, QStringLiteral("no bmp, no save"));
    QImage page = Page(PixelFormat24bppRGB);
    s.option.SaveDepth = 5;
    EXPECT_FALSE(s.SaveTo(page, s.Path(QStringLiteral("a.png"))));
    EXPECT_EQ(s.message, QStringLiteral("invalid save bpp"));
    s.option.SaveDepth = 0;
    EXPECT_FALSE(s.SaveTo(page, s.Path(QStringLiteral("a.png"))));
    EXPECT_EQ(s.message, QStringLiteral("invalid save bpp"));
    EXPECT_TRUE(Entries(s.dir.path()).isEmpty());
}

TEST(SaveAdjusted, MissingOutputFolderIsCreatedNextToTheOrigin)
{
    Saver s;
    s.option.SaveDirType = 1;
    s.option.SaveSubDir = QStringLiteral("adj");
    QImage page = Page(PixelFormat24bppRGB);
    ASSERT_TRUE(SaveAdjustedBitmap(page, s.Path(QStringLiteral("scan.tif")), QStringLiteral("p1.png"), QString(),
                                   s.option, nullptr, s.message))
        << s.message.toStdString();
    EXPECT_TRUE(QFileInfo(s.Path(QStringLiteral("adj/p1.png"))).isFile());
    // The folder exists now and is used as it is.
    ASSERT_TRUE(SaveAdjustedBitmap(page, s.Path(QStringLiteral("scan.tif")), QStringLiteral("p2.png"), QString(),
                                   s.option, nullptr, s.message));
    EXPECT_EQ(Entries(s.Path(QStringLiteral("adj"))),
              (QStringList{QStringLiteral("p1.png"), QStringLiteral("p2.png")}));

    s.option.SaveDirType = 2;
    s.option.SaveAnyDir = s.Path(QStringLiteral("out/deeper"));
    ASSERT_TRUE(SaveAdjustedBitmap(page, QStringLiteral("/elsewhere/scan.tif"), QStringLiteral("p3.bmp"), QString(),
                                   s.option, nullptr, s.message));
    EXPECT_TRUE(QFileInfo(s.Path(QStringLiteral("out/deeper/p3.bmp"))).isFile());
}

TEST(SaveAdjusted, FolderFailuresWriteNothing)
{
    Saver s;
    QImage page = Page(PixelFormat24bppRGB);
    QFile blocker(s.Path(QStringLiteral("adj")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    s.option.SaveDirType = 1;
    EXPECT_FALSE(SaveAdjustedBitmap(page, s.Path(QStringLiteral("scan.png")), QStringLiteral("p.png"), QString(),
                                    s.option, nullptr, s.message));
    EXPECT_EQ(s.message,
              QStringLiteral("すでにファイルがあるため、フォルダ作成できません。\n") + s.Path(QStringLiteral("adj/")));
    EXPECT_EQ(QFileInfo(s.Path(QStringLiteral("adj"))).size(), 0);

    // A file holds the name of a parent of the missing folder.
    EXPECT_FALSE(s.SaveTo(page, s.Path(QStringLiteral("adj/sub/p.png"))));
    EXPECT_TRUE(s.message.startsWith(QStringLiteral("フォルダを作成できませんでした。\n"))) << s.message.toStdString();
    EXPECT_TRUE(s.message.endsWith(QStringLiteral("\n") + s.Path(QStringLiteral("adj/sub/"))));

    // No folder to derive: nothing is written in the working folder.
    s.option.SaveDirType = 0;
    EXPECT_FALSE(SaveAdjustedBitmap(page, s.Path(QStringLiteral("scan.png")), QStringLiteral("p.png"), QString(),
                                    s.option, nullptr, s.message));
    EXPECT_FALSE(s.message.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("p.png")));
    EXPECT_EQ(Entries(s.dir.path()), QStringList{QStringLiteral("adj")});
}

TEST(SaveAdjusted, EncoderFailureNamesThePath)
{
    Saver s;
    QImage page = Page(PixelFormat24bppRGB);
    ASSERT_TRUE(QDir(s.dir.path()).mkdir(QStringLiteral("taken.png")));
    const QString path = s.Path(QStringLiteral("taken.png"));
    EXPECT_FALSE(s.SaveTo(page, path));
    EXPECT_EQ(s.message, path + QStringLiteral(" に保存できませんでした。Win32エラーです。"));
}

TEST(SaveAdjusted, CancelBeforeSavingWritesNothing)
{
    Saver s;
    s.option.SaveDirType = 1;
    QImage page = Page(PixelFormat24bppRGB);
    const CancelFlag cancel{1};
    EXPECT_FALSE(SaveAdjustedBitmap(page, s.Path(QStringLiteral("scan.png")), QStringLiteral("p.png"), QString(),
                                    s.option, &cancel, s.message));
    EXPECT_TRUE(s.message.isEmpty());
    s.option.SaveDepth = 3;
    s.option.SavePalette = 3;
    EXPECT_FALSE(s.SaveTo(page, s.Path(QStringLiteral("q.png")), &cancel));
    EXPECT_TRUE(s.message.isEmpty());
    EXPECT_TRUE(Entries(s.dir.path()).isEmpty());
}

TEST(SaveAdjusted, DepthsAndResolution)
{
    Saver s;
    QImage argb = Page(PixelFormat32bppARGB);
    argb.setDotsPerMeterX(1000);
    const QImage before = argb;
    ASSERT_TRUE(s.SaveTo(argb, s.Path(QStringLiteral("copy.png"))));
    EXPECT_EQ(argb.format(), QImage::Format_ARGB32);  // saved from a copy
    EXPECT_EQ(argb.dotsPerMeterX(), 1000);
    EXPECT_EQ(Header(s.Path(QStringLiteral("copy.png")), 26).at(25), 2);  // RGB
    QImage rgb = Page(PixelFormat24bppRGB);
    rgb.setDotsPerMeterX(1000);
    ASSERT_TRUE(s.SaveTo(rgb, s.Path(QStringLiteral("own.png"))));
    EXPECT_EQ(rgb.dotsPerMeterX(), 3780);  // the caller's own 24-bit bitmap takes 96 dpi
    EXPECT_EQ(QImage(s.Path(QStringLiteral("own.png"))).dotsPerMeterX(), 3780);

    const int bits[] = {1, 4, 8};
    for (int palette : {1, 2, 3, 7}) {
        for (int depth = 1; depth <= 3; ++depth) {
            s.option.SaveDepth = depth;
            s.option.SavePalette = palette;
            const QString png = s.Path(QStringLiteral("d%1p%2.png").arg(depth).arg(palette));
            const QString bmp = s.Path(QStringLiteral("d%1p%2.bmp").arg(depth).arg(palette));
            ASSERT_TRUE(s.SaveTo(rgb, png)) << s.message.toStdString();
            ASSERT_TRUE(s.SaveTo(rgb, bmp));
            EXPECT_EQ(Header(png, 26).at(24), bits[depth - 1]);
            EXPECT_EQ(Header(png, 26).at(25), 3);  // palette
            EXPECT_EQ(qFromLittleEndian<quint16>(Header(bmp, 30).constData() + 28), bits[depth - 1]);
            const QImage back(png);
            EXPECT_EQ(back.size(), QSize(40, 30));
            EXPECT_EQ(back.dotsPerMeterX(), 3780);
        }
    }
    // Optimised palettes keep few colours exactly; the standard one does not.
    s.option.SaveDepth = 2;
    QImage few = Page(PixelFormat24bppRGB);
    few.fill(QColor(10, 100, 200));
    few.setPixel(3, 3, qRgb(250, 90, 1));
    for (int palette : {2, 3}) {
        s.option.SavePalette = palette;
        ASSERT_TRUE(s.SaveTo(few, s.Path(QStringLiteral("few.bmp"))));
        EXPECT_EQ(QImage(s.Path(QStringLiteral("few.bmp"))).pixel(3, 3), qRgb(250, 90, 1)) << palette;
    }
    // Any value other than 2 and 3 is the standard palette.
    for (int palette : {1, 0, 4, -1}) {
        s.option.SavePalette = palette;
        ASSERT_TRUE(s.SaveTo(few, s.Path(QStringLiteral("few.bmp"))));
        EXPECT_EQ(QImage(s.Path(QStringLiteral("few.bmp"))).pixel(3, 3), qRgb(255, 0, 0)) << palette;
    }
}

TEST(SaveAdjusted, JpegQualityIsPassedThrough)
{
    Saver s;
    QImage page = CreateBitmap(200, 200, PixelFormat24bppRGB);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            page.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (x * y) % 256, (x ^ y) % 256));
    s.option.SaveQuality = 0;
    ASSERT_TRUE(s.SaveTo(page, s.Path(QStringLiteral("q0.jpg"))));
    s.option.SaveQuality = 100;
    ASSERT_TRUE(s.SaveTo(page, s.Path(QStringLiteral("q100.jpeg"))));
    EXPECT_LT(QFileInfo(s.Path(QStringLiteral("q0.jpg"))).size() * 2,
              QFileInfo(s.Path(QStringLiteral("q100.jpeg"))).size());
    s.option.SaveQuality = 101;  // beyond the encoder's range
    EXPECT_FALSE(s.SaveTo(page, s.Path(QStringLiteral("q101.jpg"))));
    EXPECT_EQ(s.message,
              s.Path(QStringLiteral("q101.jpg")) + QStringLiteral(" に保存できませんでした。不正なパラメータです。"));
}

TEST(OutputFolder, FolderBySaveDirType)
{
    CAdjustOption option;
    option.SaveDirType = 1;
    option.SaveSubDir = QStringLiteral("adj");
    EXPECT_EQ(GetOutputFolder(QStringLiteral("/scans/p1.png"), option), QStringLiteral("/scans/adj/"));
    EXPECT_EQ(GetOutputFolder(QStringLiteral("/scans/book.zip"), option), QStringLiteral("/scans/adj/"));
    option.SaveDirType = 2;
    option.SaveAnyDir = QStringLiteral("/out");
    EXPECT_EQ(GetOutputFolder(QStringLiteral("/scans/p1.png"), option), QStringLiteral("/out/"));
    option.SaveAnyDir = QStringLiteral("/out/");
    EXPECT_EQ(GetOutputFolder(QStringLiteral("/scans/p1.png"), option), QStringLiteral("/out/"));
    option.SaveDirType = 3;
    EXPECT_EQ(GetOutputFolder(QStringLiteral("/scans/p1.png"), option), QString());
}
