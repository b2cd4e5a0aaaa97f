#include "engine/BitmapConvert.h"
#include "engine/ImageHeader.h"

#include "common/RegularFile.h"
#include "platform/PixelFormat.h"

#include <QByteArray>
#include <QFile>
#include <QImageReader>
#include <QtEndian>

#include <mutex>

namespace {

// Images whose 32-bit form would exceed this are refused before decoding.
constexpr qint64 kMaxImageBytes = qint64(1) << 30;

// The decoders' own limit (in MiB) sits above ours so that a 16-bit-per-channel
// file of an admitted size still decodes; our header check runs first.
constexpr int kDecoderLimitMiB = 2048;

// Walks the codes of a run-length stream (pairs of count and value; a zero
// count escapes to end of row, end of bitmap, a move, or a literal run padded
// to two bytes); true when it reaches its end or ends every row within size.
bool IsWholeRunLengthStream(const uchar* data, qint64 size, bool fourBit, qint64 height)
{
    constexpr uchar kEndOfRow = 0, kEndOfBitmap = 1, kMove = 2;
    qint64 at = 0;
    qint64 rows = 0;
    while (at + 2 <= size && rows < height) {
        const uchar count = data[at];
        const uchar code = data[at + 1];
        at += 2;
        if (count > 0 || code == kEndOfRow) {
            rows += count == 0;
        } else if (code == kEndOfBitmap) {
            return true;
        } else if (code == kMove) {
            rows += at + 2 <= size ? data[at + 1] : height;  // a cut move fails below
            at += 2;
        } else {
            at += ((fourBit ? (code + 1) / 2 : code) + 1) & ~1;
        }
    }
    return rows >= height && at <= size;
}

// The BMP decoder fills the rows a run-length stream leaves out with black,
// so the stream must reach its end within the file.
bool HasWholeRunLengthData(QFile& file, quint32 dataStart, qint64 height, bool fourBit)
{
    const qint64 size = file.size() - qint64(dataStart);
    if (size <= 0 || height <= 0)
        return false;
    uchar* data = file.map(dataStart, size);  // no copy of what may be a large file
    if (data == nullptr)
        return false;
    const bool whole = IsWholeRunLengthStream(data, size, fourBit, height);
    file.unmap(data);
    return whole;
}

// The BMP decoder accepts files that end inside the pixel rows, so an
// uncompressed BMP must hold every row its header promises.
bool HasWholeBmpRows(QFile& file)
{
    const QByteArray h = file.peek(34);
    if (h.size() < 26)
        return false;
    const auto u16 = [&h](int at) { return qFromLittleEndian<quint16>(h.constData() + at); };
    const auto u32 = [&h](int at) { return qFromLittleEndian<quint32>(h.constData() + at); };
    const quint32 infoSize = u32(14);
    qint64 width = 0;
    qint64 height = 0;
    quint32 bits = 0;
    quint32 compression = 0;
    if (infoSize == 12) {
        width = u16(18);
        height = u16(20);
        bits = u16(24);
    } else {
        if (h.size() < 34)
            return false;
        width = qFromLittleEndian<qint32>(h.constData() + 18);
        height = qAbs(qint64(qFromLittleEndian<qint32>(h.constData() + 22)));
        bits = u16(28);
        compression = u32(30);
    }
    constexpr quint32 kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;
    if (compression == kRle8 || compression == kRle4)
        return HasWholeRunLengthData(file, u32(10), height, compression == kRle4);
    if (compression != kRgb && compression != kBitFields && compression != kAlphaBitFields)
        return true;  // the decoder refuses what it cannot read
    if (width <= 0 || height <= 0)
        return false;  // no image; the size check would refuse it as well
    const qint64 rowBytes = (width * bits + 31) / 32 * 4;
    const qint64 available = file.size() - qint64(u32(10));
    return available >= 0 && rowBytes <= available / height;  // no product that could overflow
}

// Skips a run of GIF data sub-blocks; false when the file ends inside them.
bool SkipGifSubBlocks(QFile& file)
{
    char length = 0;
    while (file.getChar(&length)) {
        if (length == 0)
            return true;
        if (!file.seek(file.pos() + static_cast<uchar>(length)) || file.atEnd())
            return false;
    }
    return false;
}

// The GIF decoder returns a partial first frame for a cut file, so the first
// frame's data must end with its terminating block.
bool HasWholeFirstGifFrame(QFile& file)
{
    const auto skipTable = [&file](uchar flags) {
        return !(flags & 0x80) || file.seek(file.pos() + 3 * (qint64(2) << (flags & 7)));
    };
    QByteArray bytes = file.read(13);
    if (bytes.size() < 13 || !skipTable(static_cast<uchar>(bytes[10])))
        return false;
    char introducer = 0;
    while (file.getChar(&introducer)) {
        if (introducer == '!') {  // extension: label, then sub-blocks
            if (!file.getChar(nullptr) || !SkipGifSubBlocks(file))
                return false;
        } else if (introducer == ',') {
            bytes = file.read(9);
            char codeSize = 0;
            return bytes.size() == 9 && skipTable(static_cast<uchar>(bytes[8])) && file.getChar(&codeSize) &&
                   SkipGifSubBlocks(file);
        } else {
            return false;
        }
    }
    return false;
}

// The JPEG decoder fills a cut file's missing rows with grey and reports
// success, so the data after the first scan header must reach the end-of-image
// marker. Inside the scan data a 0xFF byte is always followed by 0x00 or a
// restart marker, so 0xFF 0xD9 there can only be that marker.
bool HasJpegEnd(QFile& file)
{
    constexpr uchar kEndOfImage = 0xD9, kStartOfScan = 0xDA;
    if (!file.seek(2))
        return false;
    for (;;) {  // the segments before the first scan
        char byte = 0;
        if (!file.getChar(&byte) || static_cast<uchar>(byte) != 0xFF)
            return false;
        do {
            if (!file.getChar(&byte))
                return false;
        } while (static_cast<uchar>(byte) == 0xFF);
        const uchar code = static_cast<uchar>(byte);
        if (code == kEndOfImage)
            return false;
        if ((code >= 0xD0 && code <= 0xD7) || code == 0x01)
            continue;  // markers without a segment
        const QByteArray length = file.read(2);
        if (length.size() < 2 || qFromBigEndian<quint16>(length.constData()) < 2)
            return false;
        if (!file.seek(file.pos() + qFromBigEndian<quint16>(length.constData()) - 2) || file.atEnd())
            return false;
        if (code == kStartOfScan)
            break;
    }
    const qint64 scan = file.pos();
    if (file.seek(file.size() - 2) && file.read(2) == "\xff\xd9")
        return true;  // the usual ending
    // Trailing bytes after the marker: search the scan data for it.
    char previous = 0;
    file.seek(scan);
    for (QByteArray chunk = file.read(1 << 20); !chunk.isEmpty(); chunk = file.read(1 << 20)) {
        if ((static_cast<uchar>(previous) == 0xFF && static_cast<uchar>(chunk[0]) == kEndOfImage) ||
            chunk.contains("\xff\xd9"))
            return true;
        previous = chunk.back();
    }
    return false;
}

bool IsAdmittedSize(const QSize& size)
{
    return size.width() > 0 && size.height() > 0 && qint64(size.width()) * size.height() * 4 <= kMaxImageBytes;
}

// The working forms: 32-bit ARGB when the file has alpha, else 24-bit RGB.
// The decoded image is converted in place where the layout allows.
QImage ToWorkingFormat(QImage image)
{
    if (image.hasAlphaChannel())
        return std::move(image).convertToFormat(QImageFormatOf(PixelFormat32bppARGB));
    return std::move(image).convertToFormat(QImageFormatOf(PixelFormat24bppRGB));
}

}  // namespace

QImage LoadImageFileCopy(const QString& path)
{
    static std::once_flag limitSet;
    std::call_once(limitSet, [] { QImageReader::setAllocationLimit(kDecoderLimitMiB); });

    QFile file;
    if (!OpenRegularFile(file, path))
        return {};
    const QByteArray head = file.peek(kImageHeadBytes);
    const QByteArray format = FormatOfContent(head);
    if (format.isEmpty() || (format == "bmp" && !HasWholeBmpRows(file)))
        return {};
    if (format == "gif" && (!HasWholeFirstGifFrame(file) || !file.seek(0)))
        return {};
    if (format == "jpeg" && (!HasJpegEnd(file) || !file.seek(0)))
        return {};
    QImageReader reader(&file, format);
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(false);
    if (!IsAdmittedSize(DecodedImageSize(reader, head)))
        return {};
    QImage image;
    if (!reader.read(&image) || image.isNull() || !IsAdmittedSize(image.size()))
        return {};
    return ToWorkingFormat(std::move(image));
}

QImage LoadPlaceholderBitmap()
{
    const QImage resource(QStringLiteral(":/res/images/placeholder.png"));
    if (resource.isNull())
        return {};
    return CloneBitmap(resource);
}
