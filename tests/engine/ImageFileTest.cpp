#include <gtest/gtest.h>

#include "engine/BitmapConvert.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <zlib.h>

namespace {

class LoadImageFileCopyTest : public ::testing::Test {
protected:
    QString PathOf(const QString& name) const { return m_dir.filePath(name); }

    QString Write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(PathOf(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    static QImage Sample()
    {
        QImage image(60, 40, QImage::Format_RGB32);
        image.fill(qRgb(250, 250, 250));
        for (int y = 10; y < 30; ++y)
            for (int x = 5; x < 50; ++x)
                image.setPixel(x, y, qRgb(0, 0, 0));
        return image;
    }

    static QByteArray Chunk(const char* type, const QByteArray& data)
    {
        QByteArray chunk(4, '\0');
        qToBigEndian<quint32>(static_cast<quint32>(data.size()), chunk.data());
        const QByteArray body = QByteArray(type) + data;
        QByteArray crc(4, '\0');
        qToBigEndian<quint32>(static_cast<quint32>(crc32(0, reinterpret_cast<const Bytef*>(body.constData()),
                                                         static_cast<uInt>(body.size()))),
                              crc.data());
        return chunk + body + crc;
    }

    // A 1-bit grey PNG of the given size, white, with whole IHDR and IDAT.
    static QByteArray BilevelPng(quint32 width, quint32 height, bool withData)
    {
        QByteArray header(13, '\0');
        qToBigEndian<quint32>(width, header.data());
        qToBigEndian<quint32>(height, header.data() + 4);
        header[8] = 1;  // bit depth
        header[9] = 0;  // grey
        QByteArray png = QByteArray("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", header);
        if (withData) {
            QByteArray row(1 + static_cast<int>((width + 7) / 8), '\xff');
            row[0] = 0;  // filter none
            const QByteArray raw = row.repeated(static_cast<qsizetype>(height));
            png += Chunk("IDAT", qCompress(raw, 1).mid(4));  // zlib stream without Qt's length prefix
        }
        return png + Chunk("IEND", {});
    }

    // A GIF of the sample's pattern, two colours, every LZW code a literal.
    static QByteArray Gif(const QImage& image)
    {
        const int w = image.width();
        const int h = image.height();
        QByteArray gif("GIF89a");
        gif += char(w & 0xff);
        gif += char(w >> 8);
        gif += char(h & 0xff);
        gif += char(h >> 8);
        gif += char(0x80);  // global colour table of two entries
        gif += char(0);
        gif += char(0);
        gif += QByteArray("\x00\x00\x00\xfa\xfa\xfa", 6);
        gif += ',';
        gif += QByteArray(4, '\0');
        gif += char(w & 0xff);
        gif += char(w >> 8);
        gif += char(h & 0xff);
        gif += char(h >> 8);
        gif += char(0);
        gif += char(2);  // minimum code size: clear 4, end 5, three-bit codes
        QByteArray codes;
        quint32 bits = 0;
        int count = 0;
        const auto put = [&](int code) {
            bits |= static_cast<quint32>(code) << count;
            count += 3;
            while (count >= 8) {
                codes += char(bits & 0xff);
                bits >>= 8;
                count -= 8;
            }
        };
        int sinceClear = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (sinceClear % 2 == 0)
                    put(4);  // clear before the table would need four-bit codes
                put(qGray(image.pixel(x, y)) < 128 ? 0 : 1);
                ++sinceClear;
            }
        put(5);
        if (count > 0)
            codes += char(bits & 0xff);
        for (qsizetype i = 0; i < codes.size(); i += 255) {
            const QByteArray block = codes.mid(i, 255);
            gif += char(block.size());
            gif += block;
        }
        gif += char(0);
        gif += ';';
        return gif;
    }

    // A run-length BMP (compression 1: 8-bit, 2: 4-bit) with a palette of
    // black and light grey, holding the given stream.
    static QByteArray RunLengthBmp(qint32 width, qint32 height, quint32 compression, const QByteArray& stream)
    {
        QByteArray bmp(14 + 40, '\0');
        bmp[0] = 'B';
        bmp[1] = 'M';
        qToLittleEndian<quint32>(static_cast<quint32>(bmp.size() + 8 + stream.size()), bmp.data() + 2);
        qToLittleEndian<quint32>(static_cast<quint32>(bmp.size() + 8), bmp.data() + 10);
        qToLittleEndian<quint32>(40, bmp.data() + 14);
        qToLittleEndian<qint32>(width, bmp.data() + 18);
        qToLittleEndian<qint32>(height, bmp.data() + 22);
        qToLittleEndian<quint16>(1, bmp.data() + 26);
        qToLittleEndian<quint16>(compression == 1 ? 8 : 4, bmp.data() + 28);
        qToLittleEndian<quint32>(compression, bmp.data() + 30);
        qToLittleEndian<quint32>(static_cast<quint32>(stream.size()), bmp.data() + 34);
        qToLittleEndian<quint32>(2, bmp.data() + 46);
        return bmp + QByteArray("\0\0\0\0\xfa\xfa\xfa\0", 8) + stream;
    }

    static QByteArray Encode(const QImage& image, const char* format)
    {
        if (qstrcmp(format, "GIF") == 0)
            return Gif(image);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(image.save(&buffer, format));
        return bytes;
    }

    QTemporaryDir m_dir;
};

}  // namespace

TEST_F(LoadImageFileCopyTest, ReadsEveryInputTypeByContent)
{
    const QImage sample = Sample();
    const struct {
        const char* format;
        const char* name;
    } cases[] = {{"BMP", "a.bmp"},         {"JPEG", "a.jpg"},          {"JPEG", "a.jpeg"},      {"JPEG", "a.jpe"},
                 {"PNG", "a.png"},         {"GIF", "a.gif"},           {"TIFF", "a.tif"},       {"TIFF", "a.tiff"},
                 {"PNG", "png-named.jpg"}, {"JPEG", "jpeg-named.bmp"}, {"TIFF", "no-extension"}};
    for (const auto& c : cases) {
        const QImage image = LoadImageFileCopy(Write(c.name, Encode(sample, c.format)));
        ASSERT_FALSE(image.isNull()) << c.name;
        EXPECT_EQ(image.size(), sample.size()) << c.name;
        EXPECT_EQ(image.format(), QImage::Format_BGR888) << c.name;  // opaque files load as 24-bit
        EXPECT_LT(qGray(image.pixel(20, 20)), 40) << c.name;
        EXPECT_GT(qGray(image.pixel(2, 2)), 220) << c.name;
    }
}

TEST_F(LoadImageFileCopyTest, TransparentPngKeepsAlpha)
{
    QImage sample(8, 8, QImage::Format_ARGB32);
    sample.fill(qRgba(0, 0, 0, 0));
    sample.setPixel(3, 3, qRgba(10, 20, 30, 255));
    const QImage image = LoadImageFileCopy(Write("t.png", Encode(sample, "PNG")));
    ASSERT_EQ(image.format(), QImage::Format_ARGB32);
    EXPECT_EQ(image.pixel(3, 3), qRgba(10, 20, 30, 255));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_TRUE(FlattenAlphaOnWhite(LoadImageFileCopy(Write("t.jpg", Encode(Sample(), "JPEG")))).isNull());
    EXPECT_EQ(FlattenAlphaOnWhite(image).pixel(0, 0), qRgb(255, 255, 255));
}

TEST_F(LoadImageFileCopyTest, FileCanBeDeletedWhileTheImageLives)
{
    const QString path = Write("gone.png", Encode(Sample(), "PNG"));
    const QImage image = LoadImageFileCopy(path);
    ASSERT_FALSE(image.isNull());
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_LT(qGray(image.pixel(20, 20)), 40);
}

TEST_F(LoadImageFileCopyTest, BadFilesGiveNone)
{
    EXPECT_TRUE(LoadImageFileCopy(Write("text.png", "this is not an image, just words")).isNull());
    EXPECT_TRUE(LoadImageFileCopy(Write("empty.jpg", {})).isNull());
    EXPECT_TRUE(LoadImageFileCopy(PathOf("missing.png")).isNull());
    EXPECT_TRUE(LoadImageFileCopy(m_dir.path()).isNull());  // a folder cannot be read as a file
    // A format the program does not take, even though a decoder exists.
    EXPECT_TRUE(LoadImageFileCopy(Write("a.xpm", Encode(Sample(), "XPM"))).isNull());
}

TEST_F(LoadImageFileCopyTest, TruncatedFilesGiveNone)
{
    for (const char* format : {"PNG", "JPEG", "GIF", "BMP", "TIFF"}) {
        const QByteArray whole = Encode(Sample(), format);
        for (const qsizetype keep : {qsizetype(4), qsizetype(20), whole.size() / 2}) {
            EXPECT_TRUE(LoadImageFileCopy(Write("cut", whole.left(keep))).isNull()) << format << " " << keep;
        }
    }
}

TEST_F(LoadImageFileCopyTest, RunLengthBmpMustReachItsEnd)
{
    // Four rows of eight light pixels, each ended by its code, then the end code.
    const QByteArray rows8 = QByteArray("\x08\x01\x00\x00", 4).repeated(4);
    const QByteArray rows4 = QByteArray("\x08\x11\x00\x00", 4).repeated(4);
    const QByteArray end("\x00\x01", 2);
    const QImage whole = LoadImageFileCopy(Write("rle8.bmp", RunLengthBmp(8, 4, 1, rows8 + end)));
    ASSERT_EQ(whole.size(), QSize(8, 4));
    EXPECT_EQ(whole.pixel(7, 0), qRgb(250, 250, 250));
    EXPECT_FALSE(LoadImageFileCopy(Write("rle4.bmp", RunLengthBmp(8, 4, 2, rows4 + end))).isNull());
    EXPECT_FALSE(LoadImageFileCopy(Write("all-rows.bmp", RunLengthBmp(8, 4, 1, rows8))).isNull());

    // Cut inside the rows, inside a literal run, and inside a move.
    EXPECT_TRUE(LoadImageFileCopy(Write("cut8.bmp", RunLengthBmp(8, 4, 1, rows8.left(8)))).isNull());
    EXPECT_TRUE(LoadImageFileCopy(Write("cut4.bmp", RunLengthBmp(8, 4, 2, rows4.left(13)))).isNull());
    const QByteArray literal = rows8.left(12) + QByteArray("\x00\x06\x01\x01", 4);
    EXPECT_TRUE(LoadImageFileCopy(Write("literal.bmp", RunLengthBmp(8, 4, 1, literal))).isNull());
    const QByteArray move = rows8.left(12) + QByteArray("\x00\x02\x01", 3);
    EXPECT_TRUE(LoadImageFileCopy(Write("move.bmp", RunLengthBmp(8, 4, 1, move))).isNull());
}

TEST_F(LoadImageFileCopyTest, JpegMustReachItsEndMarker)
{
    QImage page(400, 300, QImage::Format_RGB32);
    page.fill(qRgb(240, 240, 240));
    const QByteArray whole = Encode(page, "JPEG");
    EXPECT_TRUE(LoadImageFileCopy(Write("cut.jpg", whole.left(whole.size() - 2))).isNull());
    EXPECT_TRUE(LoadImageFileCopy(Write("cut.jpg", whole.left(whole.size() * 9 / 10))).isNull());
    // Bytes after the end marker, as some cameras write them, are harmless.
    EXPECT_FALSE(LoadImageFileCopy(Write("tail.jpg", whole + QByteArray(100, '\x55'))).isNull());
}

TEST_F(LoadImageFileCopyTest, AbsurdHeaderSizeIsRefusedBeforeDecoding)
{
    EXPECT_TRUE(LoadImageFileCopy(Write("huge.png", BilevelPng(100000, 100000, false))).isNull());
    // Just over 1 GiB in 32-bit form, refused although its data would be tiny.
    EXPECT_TRUE(LoadImageFileCopy(Write("over.png", BilevelPng(16385, 16384, false))).isNull());
    QByteArray bmp = Encode(Sample(), "BMP");
    qToLittleEndian<qint32>(100000, bmp.data() + 18);
    qToLittleEndian<qint32>(100000, bmp.data() + 22);
    EXPECT_TRUE(LoadImageFileCopy(Write("huge.bmp", bmp)).isNull());
}

TEST_F(LoadImageFileCopyTest, LargeScanLoads)
{
    const QImage image = LoadImageFileCopy(Write("scan.png", BilevelPng(12000, 16000, true)));
    ASSERT_EQ(image.size(), QSize(12000, 16000));
    EXPECT_EQ(image.pixel(11999, 15999), qRgb(255, 255, 255));
}
