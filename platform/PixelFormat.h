#pragma once

#include <QImage>

// Pixel format numbers as the engine names them. Byte layouts:
// 24bppRGB = B,G,R (QImage::Format_BGR888); 32bppRGB = B,G,R,x (Format_RGB32);
// 32bppARGB = B,G,R,A straight alpha (Format_ARGB32).
enum PixelFormatValue : int {
    PixelFormatUndefined = 0,
    PixelFormatIndexed = 0x00010000,
    PixelFormatAlpha = 0x00040000,
    PixelFormat1bppIndexed = 0x00030101,
    PixelFormat4bppIndexed = 0x00030402,
    PixelFormat8bppIndexed = 0x00030803,
    PixelFormat16bppGrayScale = 0x00101004,
    PixelFormat16bppRGB565 = 0x00021005,
    PixelFormat24bppRGB = 0x00021808,
    PixelFormat32bppRGB = 0x00022009,
    PixelFormat32bppARGB = 0x0026200A,
    PixelFormat32bppPARGB = 0x000E200B,
    PixelFormat48bppRGB = 0x0010300C,
    PixelFormat64bppARGB = 0x0034400D,
};

// Bytes per pixel of any format value: ((format >> 8) & 0xF8) / 8.
constexpr int GetPixelFormatSize(int pixelFormat)
{
    return ((pixelFormat >> 8) & 0xF8) / 8;
}

// The format value that describes how an image holds its pixels.
int GetPixelFormat(const QImage& image);

// The QImage format that holds one of the three working formats, or
// QImage::Format_Invalid for any other value.
QImage::Format QImageFormatOf(int pixelFormat);

// The largest bitmap the engine makes, in bytes. Every turn of the largest
// image the loader admits (1 GiB in 32-bit form) stays below it, while a page
// blown up by extreme added margins fails as out of memory instead of taking
// the machine's memory.
constexpr qint64 kMaxBitmapBytes = qint64(4) << 30;

// Whether a bitmap of this size and bytes per pixel stays within kMaxBitmapBytes.
constexpr bool IsAdmittedBitmapSize(int width, int height, int bytesPerPixel)
{
    return width > 0 && height > 0 && qint64(width) * height * bytesPerPixel <= kMaxBitmapBytes;
}

// A new image of the given working format with every byte 0 (black in 24-bit
// form, transparent in the working format). A null image when the size is not
// positive, exceeds kMaxBitmapBytes or the memory cannot be had.
QImage CreateBitmap(int width, int height, int pixelFormat);
