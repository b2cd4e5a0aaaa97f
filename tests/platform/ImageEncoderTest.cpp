#include <gtest/gtest.h>

#include "platform/BmpWriter.h"
#include "platform/GdiplusStatus.h"
#include "platform/ImageCodecInfo.h"
#include "platform/ImageEncoder.h"
#include "platform/PngWriter.h"
#include "platform/SaveFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtEndian>

#include <png.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <random>

namespace {

QUuid ClsidOf(const char* mimeType)
{
    QList<ImageCodecInfo> encoders;
    GetImageEncoders(encoders);
    for (const ImageCodecInfo& encoder : encoders) {
        if (encoder.MimeType == QLatin1String(mimeType))
            return encoder.Clsid;
    }
    return {};
}

// A 7 x 5 picture whose pixel (x, y) has palette index (x + 2 y) mod colours.
CIndexedImage MakeIndexed(int pixelFormat, int colours)
{
    CIndexedImage image(7, 5, pixelFormat);
    ColorPalette palette;
    for (int i = 0; i < colours; ++i)
        palette.Entries.append(0xFF000000u | static_cast<quint32>(i * 7 % 256) << 16 |
                               static_cast<quint32>(255 - i) << 8 | 0x40u);
    image.SetPalette(palette);
    BitmapData data;
    image.LockBits(data);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            SetIndexedPixel(data, x, y, (x + 2 * y) % colours);
    return image;
}

QImage MakeRgb()
{
    QImage image(7, 5, QImage::Format_BGR888);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            image.setPixel(x, y, qRgb(x * 30, y * 50, 255 - x * y));
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    return image;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The data of the first chunk of that type in a PNG file, or a null array.
QByteArray PngChunk(const QByteArray& png, const char* type)
{
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const quint32 length = qFromBigEndian<quint32>(png.constData() + at);
        if (png.mid(at + 4, 4) == type)
            return png.mid(at + 8, length);
        at += 12 + static_cast<qsizetype>(length);
    }
    return {};
}

quint32 LittleU32(const QByteArray& bytes, int at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}
quint16 LittleU16(const QByteArray& bytes, int at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

// A file decoded by libpng itself into B, G, R rows; null when it refuses it.
QImage DecodeWithLibpng(const QByteArray& file)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, file.constData(), static_cast<size_t>(file.size())))
        return {};
    png.format = PNG_FORMAT_BGR;
    QImage image(static_cast<int>(png.width), static_cast<int>(png.height), QImage::Format_BGR888);
    const auto stride = static_cast<png_int_32>(image.bytesPerLine());
    return png_image_finish_read(&png, nullptr, image.bits(), stride, nullptr) ? image : QImage();
}

// 700 x 640: grain in the upper rows, more than one data chunk's worth even
// compressed, then bands of gradients that favour each of the row filters.
QImage FilterTestImage()
{
    QImage image(700, 640, QImage::Format_BGR888);
    std::mt19937 random(7);
    for (int y = 0; y < image.height(); ++y) {
        uchar* p = image.scanLine(y);
        const int band = y < 520 ? 0 : (y - 520) / 24;
        for (int x = 0; x < image.width(); ++x, p += 3) {
            const int values[] = {static_cast<int>(random()), x * 3, y * 5 + (x & 1), x + y * 2, x * y / 7};
            p[0] = static_cast<uchar>(values[band]);
            p[1] = static_cast<uchar>(band == 0 ? random() : values[band] + 40);
            p[2] = static_cast<uchar>(values[band] * 3);
        }
    }
    return image;
}

struct DepthCase {
    int pixelFormat;
    int bits;
    int colours;
};
const DepthCase kDepths[] = {
    {PixelFormat1bppIndexed, 1, 2}, {PixelFormat4bppIndexed, 4, 16}, {PixelFormat8bppIndexed, 8, 256}};

}  // namespace

TEST(ImageEncoder, PngKeepsDepthPaletteAndResolution)
{
    QTemporaryDir dir;
    for (const DepthCase& c : kDepths) {
        const CIndexedImage image = MakeIndexed(c.pixelFormat, c.colours);
        const QString path = dir.filePath(QStringLiteral("p%1.png").arg(c.bits));
        ASSERT_EQ(SaveImageToFile(image, path, ClsidOf("image/png"), nullptr), Ok);
        const QByteArray png = ReadAll(path);
        const QByteArray ihdr = PngChunk(png, "IHDR");
        ASSERT_EQ(ihdr.size(), 13);
        EXPECT_EQ(ihdr[8], c.bits);
        EXPECT_EQ(ihdr[9], 3);  // palette colour type
        EXPECT_EQ(PngChunk(png, "PLTE").size(), 3 * c.colours);
        const QByteArray phys = PngChunk(png, "pHYs");
        ASSERT_EQ(phys.size(), 9);
        EXPECT_EQ(qFromBigEndian<quint32>(phys.constData()), 3780u);
        EXPECT_EQ(qFromBigEndian<quint32>(phys.constData() + 4), 3780u);
        EXPECT_EQ(phys[8], 1);

        const QImage viaLibpng = DecodeWithLibpng(png);
        const QImage back(path);
        ASSERT_EQ(back.size(), QSize(7, 5));
        ASSERT_EQ(viaLibpng.size(), QSize(7, 5));
        EXPECT_EQ(back.dotsPerMeterX(), 3780);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) {
                ASSERT_EQ(back.pixel(x, y), image.GetPalette().Entries[(x + 2 * y) % c.colours]) << c.bits;
                ASSERT_EQ(viaLibpng.pixel(x, y), back.pixel(x, y)) << c.bits;
            }
    }
    const QImage rgb = MakeRgb();
    const QString path = dir.filePath(QStringLiteral("p24.png"));
    ASSERT_EQ(SaveImageToFile(rgb, path, ClsidOf("image/png"), nullptr), Ok);
    const QByteArray ihdr = PngChunk(ReadAll(path), "IHDR");
    EXPECT_EQ(ihdr[8], 8);
    EXPECT_EQ(ihdr[9], 2);  // RGB
    EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_BGR888), rgb.convertToFormat(QImage::Format_BGR888));
}

TEST(ImageEncoder, PngRowsOfEveryKindReadBackExactlyInQtAndLibpng)
{
    // Grainy and flat pages, which are compressed at different levels.
    QImage flat(640, 480, QImage::Format_BGR888);
    flat.fill(Qt::white);
    flat.setPixel(320, 240, qRgb(10, 20, 30));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rows.png"));
    for (const QImage& image : {FilterTestImage(), flat}) {
        ASSERT_EQ(SaveImageToFile(image, path, ClsidOf("image/png"), nullptr), Ok);
        const QByteArray png = ReadAll(path);
        EXPECT_EQ(DecodeWithLibpng(png), image);
        EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_BGR888), image);
    }
}

TEST(ImageEncoder, BmpKeepsDepthPaletteAndResolution)
{
    QTemporaryDir dir;
    for (const DepthCase& c : kDepths) {
        const CIndexedImage image = MakeIndexed(c.pixelFormat, c.colours);
        const QString path = dir.filePath(QStringLiteral("b%1.bmp").arg(c.bits));
        ASSERT_EQ(SaveImageToFile(image, path, ClsidOf("image/bmp"), nullptr), Ok);
        const QByteArray bmp = ReadAll(path);
        const quint32 stride = (7 * c.bits + 31) / 32 * 4;
        EXPECT_EQ(bmp.left(2), "BM");
        EXPECT_EQ(LittleU32(bmp, 2), static_cast<quint32>(bmp.size()));
        EXPECT_EQ(LittleU32(bmp, 10), 54u + 4u * c.colours);
        EXPECT_EQ(LittleU16(bmp, 28), c.bits);
        EXPECT_EQ(LittleU32(bmp, 34), 5 * stride);
        EXPECT_EQ(LittleU32(bmp, 38), 3780u);
        EXPECT_EQ(LittleU32(bmp, 46), static_cast<quint32>(c.colours));
        const QImage back(path);
        ASSERT_EQ(back.size(), QSize(7, 5));
        EXPECT_EQ(back.colorCount(), c.colours);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                ASSERT_EQ(back.pixel(x, y), image.GetPalette().Entries[(x + 2 * y) % c.colours]) << c.bits;
    }
    const QImage rgb = MakeRgb();
    const QString path = dir.filePath(QStringLiteral("b24.bmp"));
    ASSERT_EQ(SaveImageToFile(rgb, path, ClsidOf("image/bmp"), nullptr), Ok);
    const QByteArray bmp = ReadAll(path);
    EXPECT_EQ(LittleU16(bmp, 28), 24);
    EXPECT_EQ(bmp.size(), 54 + 5 * 24);  // 7 * 3 bytes padded to 24
    EXPECT_EQ(bmp[54 + 21], 0);          // padding is zero
    EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_BGR888), rgb);
}

TEST(ImageEncoder, JpegTakesTheQualityAndResolution)
{
    QTemporaryDir dir;
    QImage flat(64, 64, QImage::Format_BGR888);
    flat.fill(QColor(200, 40, 90));
    QImage noisy = flat;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            noisy.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (x * y) % 256, (x ^ y) * 4 % 256));
    const QUuid jpeg = ClsidOf("image/jpeg");
    qint32 quality = 0;
    EncoderParameters parameters;
    parameters.Count = 1;
    parameters.Parameter[0] = {EncoderQuality, 1, EncoderParameterValueTypeLong, &quality};
    const QString low = dir.filePath(QStringLiteral("low.jpg"));
    const QString high = dir.filePath(QStringLiteral("high.jpe"));
    ASSERT_EQ(SaveImageToFile(noisy, low, jpeg, &parameters), Ok);
    quality = 100;
    ASSERT_EQ(SaveImageToFile(noisy, high, jpeg, &parameters), Ok);
    EXPECT_LT(QFileInfo(low).size() * 3, QFileInfo(high).size());
    ASSERT_EQ(SaveImageToFile(flat, high, jpeg, &parameters), Ok);
    QImageReader reader(high);
    EXPECT_EQ(reader.format(), "jpeg");
    const QImage back = reader.read();
    EXPECT_EQ(back.size(), QSize(64, 64));
    const QByteArray jfif = ReadAll(high);
    EXPECT_EQ(jfif.mid(6, 5), QByteArray("JFIF", 5));
    EXPECT_EQ(jfif[13], 1);  // dots per inch
    EXPECT_EQ(qFromBigEndian<quint16>(jfif.constData() + 14), 96);
    EXPECT_EQ(qFromBigEndian<quint16>(jfif.constData() + 16), 96);
    EXPECT_NEAR(qRed(back.pixel(30, 30)), 200, 3);
    EXPECT_NEAR(qBlue(back.pixel(30, 30)), 90, 3);

    quality = 101;
    EXPECT_EQ(SaveImageToFile(flat, low, jpeg, &parameters), InvalidParameter);
    const CIndexedImage indexed = MakeIndexed(PixelFormat4bppIndexed, 16);
    ASSERT_EQ(SaveImageToFile(indexed, low, jpeg, nullptr), Ok);
    EXPECT_EQ(QImage(low).size(), QSize(7, 5));
}

TEST(ImageEncoder, FailuresLeaveNoFileAndReportTheirStatus)
{
    QTemporaryDir dir;
    const QImage rgb = MakeRgb();
    const QUuid png = ClsidOf("image/png");
    EXPECT_EQ(SaveImageToFile(rgb, dir.filePath(QStringLiteral("x.png")), QUuid::createUuid(), nullptr), FileNotFound);
    EXPECT_EQ(SaveImageToFile(QImage(), dir.filePath(QStringLiteral("x.png")), png, nullptr), InvalidParameter);
    EXPECT_EQ(SaveImageToFile(CIndexedImage(), dir.filePath(QStringLiteral("x.png")), png, nullptr), InvalidParameter);
    EXPECT_EQ(SaveImageToFile(rgb, dir.filePath(QStringLiteral("missing/x.png")), png, nullptr), Win32Error);

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.png")));
    EXPECT_EQ(SaveImageToFile(rgb, dir.filePath(QStringLiteral("taken.png")), png, nullptr), Win32Error);
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("taken.png"))).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("taken.png")});

    if (geteuid() != 0) {  // permissions do not bind the superuser
        const QString locked = dir.filePath(QStringLiteral("locked"));
        ASSERT_TRUE(QDir().mkdir(locked));
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        EXPECT_EQ(SaveImageToFile(rgb, locked + QStringLiteral("/x.png"), png, nullptr), AccessDenied);
        EXPECT_TRUE(QDir(locked).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
}

TEST(ImageEncoder, WritersReportADeviceThatRefusesData)
{
    QByteArray bytes;
    QBuffer readOnly(&bytes);
    ASSERT_TRUE(readOnly.open(QIODevice::ReadOnly));
    const QImage rgb = MakeRgb();
    EncoderImage image;
    image.width = rgb.width();
    image.height = rgb.height();
    image.bitsPerPixel = 24;
    image.scan0 = rgb.constBits();
    image.stride = rgb.bytesPerLine();
    EXPECT_EQ(WritePng(image, readOnly), Win32Error);
    EXPECT_EQ(WriteBmp(image, readOnly), Win32Error);

    // A row wider than libpng accepts is the encoder's own error.
    std::vector<uchar> wide(3 * 2000000);
    image.width = 2000000;
    image.height = 1;
    image.scan0 = wide.data();
    image.stride = static_cast<qsizetype>(wide.size());
    QBuffer sink;
    ASSERT_TRUE(sink.open(QIODevice::WriteOnly));
    EXPECT_EQ(WritePng(image, sink), GenericError);
}

TEST(ImageEncoder, AnOutputKeepsItsPermissionsAndTheWriterLeavesNoNameOfItsOwnBehind)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.png"));
    const QByteArray name = QFile::encodeName(path);
    const QUuid png = ClsidOf("image/png");
    const auto entries = [&] {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    };
    // An overwritten output keeps its permissions; set-user-id and set-group-id are none.
    for (const mode_t mode : {0640, 06604}) {
        ASSERT_EQ(SaveImageToFile(MakeRgb(), path, png, nullptr), Ok);
        ASSERT_EQ(chmod(name.constData(), mode), 0);
        ASSERT_EQ(SaveImageToFile(MakeRgb(), path, png, nullptr), Ok);
        struct stat status {};
        ASSERT_EQ(stat(name.constData(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, mode & 0777);
    }
    const QByteArray before = ReadAll(path);
    {
        // A crash while a page is written leaves nothing named in the folder.
        CSaveFile file(path);
        ASSERT_EQ(file.Open(), 0);
        file.Device().write("partial");
        EXPECT_EQ(entries(), QStringList{QStringLiteral("x.png")});
    }
    // A write that fails (a file-size limit) leaves the old output whole and no other file.
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(SaveImageToFile(FilterTestImage(), path, png, nullptr) == Ok ? 1 : 0);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("x.png")});
    EXPECT_EQ(ReadAll(path), before);
}
