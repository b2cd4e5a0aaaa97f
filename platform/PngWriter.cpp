#include "platform/PngWriter.h"

#include "platform/GdiplusStatus.h"
#include "platform/PngFilter.h"

#include <QtEndian>

#include <libdeflate.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace {

// libdeflate compresses the filtered rows of a page in one piece, at the
// level that is fastest for the page. On grainy scans its level 1 is over
// three times faster than zlib's level 3 with files 5 % smaller, and level 2
// takes twice as long. On flat pages, whose filtered rows are nearly all zero
// (a residue of 0.01 to 0.06 a byte against 2.7 for grain), level 1 is the
// slow one: 60 ms for an A4 page against 40 at level 2 (the PNG level
// benchmark measures it).
constexpr int kGrainLevel = 1;
constexpr int kFlatLevel = 2;
constexpr unsigned long long kFlatResidueDivisor = 4;  // flat: below 1/4 a byte

// Palette rows are not filtered and so have no residue; level 1 is the faster
// on them too (60 against 77 ms for the grainy page at 8 bpp).
int DeflateLevel(const EncoderImage& image, const PngRows& rows)
{
    const bool flat = image.bitsPerPixel == 24 && rows.residue < rows.size / kFlatResidueDivisor;
    return flat ? kFlatLevel : kGrainLevel;
}

// Readers built on libpng refuse a wider or higher image by default.
constexpr int kMaxSide = 1000000;
// The compressed stream is split into chunks of at most this many bytes, so
// that no reader needs to hold a large chunk whole.
constexpr size_t kIdatPiece = size_t(1) << 20;

struct CompressorDeleter {
    void operator()(libdeflate_compressor* compressor) const { libdeflate_free_compressor(compressor); }
};

// Writes the chunks of a PNG file; every write reports whether the device
// took all bytes.
class CChunkWriter {
public:
    explicit CChunkWriter(QIODevice& device) : m_device(device) {}

    bool Signature() { return Write("\x89PNG\r\n\x1a\n", 8); }

    bool Chunk(const char* type, const void* data, size_t length)
    {
        uchar head[8];
        qToBigEndian(static_cast<quint32>(length), head);
        std::memcpy(head + 4, type, 4);
        // libdeflate restarts the sum when given no buffer, so an empty chunk's sum stops at its type.
        const quint32 typeSum = libdeflate_crc32(0, head + 4, 4);
        uchar crc[4];
        qToBigEndian(length == 0 ? typeSum : libdeflate_crc32(typeSum, data, length), crc);
        return Write(head, 8) && Write(data, length) && Write(crc, 4);
    }

private:
    bool Write(const void* data, size_t length)
    {
        return m_device.write(static_cast<const char*>(data), static_cast<qint64>(length)) ==
               static_cast<qint64>(length);
    }

    QIODevice& m_device;
};

bool WriteHeader(CChunkWriter& writer, const EncoderImage& image)
{
    const bool indexed = image.bitsPerPixel != 24;
    uchar ihdr[13] = {};
    qToBigEndian(static_cast<quint32>(image.width), ihdr);
    qToBigEndian(static_cast<quint32>(image.height), ihdr + 4);
    ihdr[8] = static_cast<uchar>(indexed ? image.bitsPerPixel : 8);
    ihdr[9] = indexed ? 3 : 2;  // colour type: palette or RGB; no compression, filter or interlace variants
    return writer.Signature() && writer.Chunk("IHDR", ihdr, sizeof ihdr);
}

bool WritePalette(CChunkWriter& writer, const EncoderImage& image)
{
    uchar plte[3 * 256];
    const qsizetype entries = std::min<qsizetype>(image.palette.size(), 256);
    for (qsizetype i = 0; i < entries; ++i) {
        plte[3 * i] = static_cast<uchar>(image.palette[i] >> 16);
        plte[3 * i + 1] = static_cast<uchar>(image.palette[i] >> 8);
        plte[3 * i + 2] = static_cast<uchar>(image.palette[i]);
    }
    return writer.Chunk("PLTE", plte, static_cast<size_t>(3 * entries));
}

bool WriteResolution(CChunkWriter& writer, const EncoderImage& image)
{
    uchar phys[9];
    qToBigEndian(static_cast<quint32>(image.dotsPerMeterX), phys);
    qToBigEndian(static_cast<quint32>(image.dotsPerMeterY), phys + 4);
    phys[8] = 1;  // the unit is the metre
    return writer.Chunk("pHYs", phys, sizeof phys);
}

bool WriteData(CChunkWriter& writer, const uchar* data, size_t size)
{
    for (size_t at = 0; at < size; at += kIdatPiece) {
        if (!writer.Chunk("IDAT", data + at, std::min(kIdatPiece, size - at)))
            return false;
    }
    return writer.Chunk("IEND", nullptr, 0);
}

bool IsWritable(const EncoderImage& image)
{
    const int bits = image.bitsPerPixel;
    const bool depth = bits == 24 || ((bits == 1 || bits == 4 || bits == 8) && !image.palette.isEmpty());
    return depth && image.width > 0 && image.height > 0 && image.width <= kMaxSide && image.height <= kMaxSide;
}

int Encode(const EncoderImage& image, QIODevice& device)
{
    PngRows rows = FilterPngRows(image);
    const std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(
        libdeflate_alloc_compressor(DeflateLevel(image, rows)));
    if (compressor == nullptr)
        return OutOfMemory;
    const size_t bound = libdeflate_zlib_compress_bound(compressor.get(), rows.size);
    const auto stream = std::make_unique_for_overwrite<uchar[]>(bound);
    const size_t size = libdeflate_zlib_compress(compressor.get(), rows.bytes.get(), rows.size, stream.get(), bound);
    rows = {};
    if (size == 0)
        return GenericError;
    CChunkWriter writer(device);
    const bool written = WriteHeader(writer, image) && (image.bitsPerPixel == 24 || WritePalette(writer, image)) &&
                         WriteResolution(writer, image) && WriteData(writer, stream.get(), size);
    return written ? Ok : Win32Error;
}

}  // namespace

int WritePng(const EncoderImage& image, QIODevice& device)
{
    if (!IsWritable(image))
        return GenericError;
    try {
        return Encode(image, device);
    } catch (const std::bad_alloc&) {
        return OutOfMemory;
    }
}
