#include "platform/ImageCodecInfo.h"

#include "platform/GdiplusStatus.h"

int GetImageEncoders(QList<ImageCodecInfo>& encoders)
{
    static const QList<ImageCodecInfo> table = {
        {QUuid(0x9d1c2a40, 0x5f3e, 0x4b61, 0x8a, 0x27, 0x1c, 0x6e, 0x3b, 0x90, 0x42, 0x01),
         QStringLiteral("Built-in BMP Codec"), QStringLiteral("BMP"), QStringLiteral("*.BMP;*.DIB;*.RLE"),
         QStringLiteral("image/bmp")},
        {QUuid(0x9d1c2a40, 0x5f3e, 0x4b61, 0x8a, 0x27, 0x1c, 0x6e, 0x3b, 0x90, 0x42, 0x02),
         QStringLiteral("Built-in JPEG Codec"), QStringLiteral("JPEG"), QStringLiteral("*.JPG;*.JPEG;*.JPE;*.JFIF"),
         QStringLiteral("image/jpeg")},
        {QUuid(0x9d1c2a40, 0x5f3e, 0x4b61, 0x8a, 0x27, 0x1c, 0x6e, 0x3b, 0x90, 0x42, 0x03),
         QStringLiteral("Built-in PNG Codec"), QStringLiteral("PNG"), QStringLiteral("*.PNG"),
         QStringLiteral("image/png")},
    };
    encoders = table;
    return Ok;
}
