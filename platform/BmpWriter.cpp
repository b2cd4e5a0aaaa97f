#include "platform/BmpWriter.h"

#include "platform/GdiplusStatus.h"

#include <QByteArray>

#include <cstring>
#include <limits>

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;

void PutU16(QByteArray& out, quint32 value)
{
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>(value >> 8 & 0xFF));
}

void PutU32(QByteArray& out, quint32 value)
{
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

}  // namespace

int WriteBmp(const EncoderImage& image, QIODevice& device)
{
    const bool indexed = image.bitsPerPixel != 24;
    const quint64 colours = indexed ? static_cast<quint64>(image.palette.size()) : 0;
    const quint64 stride = (static_cast<quint64>(image.width) * image.bitsPerPixel + 31) / 32 * 4;
    const quint64 pixelBytes = stride * static_cast<quint64>(image.height);
    const quint64 offset = kFileHeaderSize + kInfoHeaderSize + colours * 4;
    if (offset + pixelBytes > std::numeric_limits<quint32>::max())
        return InvalidParameter;  // the format's size fields cannot hold it

    QByteArray header;
    header.reserve(static_cast<qsizetype>(offset));
    header.append("BM", 2);
    PutU32(header, static_cast<quint32>(offset + pixelBytes));
    PutU32(header, 0);  // reserved
    PutU32(header, static_cast<quint32>(offset));
    PutU32(header, kInfoHeaderSize);
    PutU32(header, static_cast<quint32>(image.width));
    PutU32(header, static_cast<quint32>(image.height));  // positive: rows bottom-up
    PutU16(header, 1);                                   // planes
    PutU16(header, static_cast<quint32>(image.bitsPerPixel));
    PutU32(header, 0);  // BI_RGB, no compression
    PutU32(header, static_cast<quint32>(pixelBytes));
    PutU32(header, static_cast<quint32>(image.dotsPerMeterX));
    PutU32(header, static_cast<quint32>(image.dotsPerMeterY));
    PutU32(header, static_cast<quint32>(colours));
    PutU32(header, 0);  // all colours important
    for (quint64 i = 0; i < colours; ++i) {
        const quint32 entry = image.palette[static_cast<qsizetype>(i)];
        PutU32(header, entry & 0x00FFFFFF);  // B, G, R, reserved 0
    }
    if (device.write(header) != header.size())
        return Win32Error;

    // Rows go out with their padding zeroed; the image's own padding bytes
    // are not guaranteed to be.
    const size_t used = (static_cast<size_t>(image.width) * image.bitsPerPixel + 7) / 8;
    QByteArray row(static_cast<qsizetype>(stride), '\0');
    for (int y = image.height - 1; y >= 0; --y) {
        std::memcpy(row.data(), image.Row(y), used);
        if (device.write(row) != row.size())
            return Win32Error;
    }
    return Ok;
}
