#include "platform/JpegWriter.h"

#include "platform/GdiplusStatus.h"

#include <QImage>
#include <QImageWriter>

namespace {

// The picture in a form Qt's JPEG writer takes: 24 bpp rows are used in
// place; palette indices are unpacked to one byte each.
QImage ToQImage(const EncoderImage& image)
{
    if (image.bitsPerPixel == 24) {
        // Wrapped as writable so that setting the resolution does not copy
        // the pixels; the writer only reads them.
        return QImage(const_cast<uchar*>(image.scan0), image.width, image.height, image.stride, QImage::Format_BGR888);
    }
    QImage unpacked(image.width, image.height, QImage::Format_Indexed8);
    if (unpacked.isNull())
        return unpacked;
    QList<QRgb> colours;
    for (quint32 entry : image.palette)
        colours.append(entry | 0xFF000000u);
    unpacked.setColorTable(colours);
    const int bpp = image.bitsPerPixel;
    const int mask = (1 << bpp) - 1;
    for (int y = 0; y < image.height; ++y) {
        const uchar* src = image.Row(y);
        uchar* dst = unpacked.scanLine(y);
        for (int x = 0; x < image.width; ++x) {
            const int bit = x * bpp;
            dst[x] = static_cast<uchar>(src[bit / 8] >> (8 - bpp - bit % 8) & mask);
        }
    }
    return unpacked;
}

}  // namespace

int WriteJpeg(const EncoderImage& image, int quality, QIODevice& device)
{
    QImage picture = ToQImage(image);
    if (picture.isNull())
        return OutOfMemory;
    picture.setDotsPerMeterX(image.dotsPerMeterX);
    picture.setDotsPerMeterY(image.dotsPerMeterY);
    QImageWriter writer(&device, "jpeg");
    writer.setQuality(quality);
    if (writer.write(picture))
        return Ok;
    return writer.error() == QImageWriter::DeviceError ? Win32Error : GenericError;
}
