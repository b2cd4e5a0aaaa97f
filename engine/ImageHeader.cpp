#include "engine/ImageHeader.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QtEndian>

#include <climits>

#include "common/RegularFile.h"

namespace {

// Bytes per pixel of the image the decoder will make. The GIF reader names
// no format ahead; its decoder makes 32-bit images. A value outside the
// toolkit's formats is taken the same way rather than looked up.
int BytesPerPixelOf(QImage::Format format)
{
    if (format <= QImage::Format_Invalid || format >= QImage::NImageFormats)
        return 4;
    const int bits = QImage::toPixelFormat(format).bitsPerPixel();
    return bits > 0 ? (bits + 7) / 8 : 4;
}

}  // namespace

QByteArray FormatOfContent(const QByteArray& head)
{
    if (head.startsWith("\x89PNG\r\n\x1a\n"))
        return "png";
    if (head.startsWith("\xff\xd8\xff"))
        return "jpeg";
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a"))
        return "gif";
    if (head.startsWith("BM"))
        return "bmp";
    if (head.startsWith(QByteArray("II*\0", 4)) || head.startsWith(QByteArray("MM\0*", 4)))
        return "tiff";
    return {};
}

QSize DecodedImageSize(QImageReader& reader, const QByteArray& head)
{
    QSize size = reader.size();
    if (reader.format() == "bmp" && size.height() < 0 && size.height() > INT_MIN)
        size.setHeight(-size.height());  // a top-down BMP, its rows stored from the top
    if (reader.format() == "gif" && size.isValid() && head.size() >= 10) {
        // The decoder makes the whole logical screen, but the reader reports
        // the first frame's size when the screen is much larger than it. A
        // screen side of 0 is taken from the frame, as the reader does.
        const int width = qFromLittleEndian<quint16>(head.constData() + 6);
        const int height = qFromLittleEndian<quint16>(head.constData() + 8);
        size = QSize(width > 0 ? width : size.width(), height > 0 ? height : size.height());
    }
    return size;
}

CDecodedImage PeekDecodedImage(const QString& path)
{
    QFile file;
    if (!OpenRegularFile(file, path))
        return {};
    const QByteArray head = file.peek(kImageHeadBytes);
    const QByteArray format = FormatOfContent(head);
    if (format.isEmpty())
        return {};
    QImageReader reader(&file, format);
    reader.setAutoDetectImageFormat(false);
    const QSize size = DecodedImageSize(reader, head);
    // A reader that could not read the header gives no size, and its pixel
    // format is then not set at all: it must not be asked for one.
    if (size.isEmpty())
        return {};
    return {size, BytesPerPixelOf(reader.imageFormat())};
}
