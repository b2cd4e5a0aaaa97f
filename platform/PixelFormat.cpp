#include "platform/PixelFormat.h"

#include <cstring>

int GetPixelFormat(const QImage& image)
{
    switch (image.format()) {
    case QImage::Format_Invalid:
        return PixelFormatUndefined;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return PixelFormat1bppIndexed;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Alpha8:
        return PixelFormat8bppIndexed;
    case QImage::Format_Grayscale16:
        return PixelFormat16bppGrayScale;
    case QImage::Format_RGB16:
        return PixelFormat16bppRGB565;
    case QImage::Format_BGR888:
    case QImage::Format_RGB888:
        return PixelFormat24bppRGB;
    case QImage::Format_RGB32:
        return PixelFormat32bppRGB;
    case QImage::Format_ARGB32:
        return PixelFormat32bppARGB;
    case QImage::Format_ARGB32_Premultiplied:
        return PixelFormat32bppPARGB;
    case QImage::Format_RGBX64:
    case QImage::Format_RGBX16FPx4:
    case QImage::Format_RGBX32FPx4:
        return PixelFormat48bppRGB;
    case QImage::Format_RGBA64:
    case QImage::Format_RGBA64_Premultiplied:
    case QImage::Format_RGBA16FPx4:
    case QImage::Format_RGBA16FPx4_Premultiplied:
    case QImage::Format_RGBA32FPx4:
    case QImage::Format_RGBA32FPx4_Premultiplied:
        return PixelFormat64bppARGB;
    default:
        return image.hasAlphaChannel() ? PixelFormat32bppARGB : PixelFormat24bppRGB;
    }
}

QImage::Format QImageFormatOf(int pixelFormat)
{
    switch (pixelFormat) {
    case PixelFormat24bppRGB:
        return QImage::Format_BGR888;
    case PixelFormat32bppRGB:
        return QImage::Format_RGB32;
    case PixelFormat32bppARGB:
        return QImage::Format_ARGB32;
    default:
        return QImage::Format_Invalid;
    }
}

QImage CreateBitmap(int width, int height, int pixelFormat)
{
    const QImage::Format format = QImageFormatOf(pixelFormat);
    if (format == QImage::Format_Invalid || !IsAdmittedBitmapSize(width, height, GetPixelFormatSize(pixelFormat)))
        return {};
    QImage image(width, height, format);
    if (!image.isNull())
        std::memset(image.bits(), 0,
                    static_cast<size_t>(image.sizeInBytes()));  // QImage leaves new memory uninitialised
    return image;
}
