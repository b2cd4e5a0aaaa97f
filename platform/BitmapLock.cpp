#include "platform/BitmapLock.h"

#include "platform/PixelFormat.h"

#include <cstdlib>

int CBitmapLock::Lock(QImage* bitmap, int read, int write, int pixelFormat)
{
    Unlock();
    Reset();
    m_pBitmap = bitmap;
    const QImage::Format format = QImageFormatOf(pixelFormat);
    if (bitmap == nullptr || bitmap->isNull() || format == QImage::Format_Invalid || (!read && !write)) {
        m_nStatus = InvalidParameter;
        return m_nStatus;
    }
    m_bWrite = write != 0;
    uchar* scan0 = nullptr;
    qsizetype stride = 0;
    if (bitmap->format() == format) {
        // A read-only lock must not detach a shared image.
        scan0 = m_bWrite ? bitmap->bits() : const_cast<uchar*>(bitmap->constBits());
        stride = bitmap->bytesPerLine();
    } else {
        m_converted = bitmap->convertToFormat(format);
        if (m_converted.isNull()) {
            m_nStatus = OutOfMemory;
            return m_nStatus;
        }
        m_bConverted = true;
        scan0 = m_converted.bits();
        stride = m_converted.bytesPerLine();
    }
    if (scan0 == nullptr) {
        Reset();
        m_nStatus = OutOfMemory;
        return m_nStatus;
    }
    m_data.Width = static_cast<quint32>(bitmap->width());
    m_data.Height = static_cast<quint32>(bitmap->height());
    m_data.Stride = static_cast<qint32>(stride);
    m_data.PixelFormat = pixelFormat;
    m_data.Scan0 = scan0;
    m_pLowest = m_data.Stride > 0 ? scan0 : scan0 + static_cast<qptrdiff>(m_data.Height - 1) * m_data.Stride;
    m_nAbsStride = std::abs(m_data.Stride);
    m_nStatus = Ok;
    return m_nStatus;
}

void CBitmapLock::Unlock()
{
    if (m_nStatus != Ok)
        return;
    if (m_bConverted && m_bWrite)
        *m_pBitmap = m_converted.convertToFormat(m_pBitmap->format());
    m_converted = QImage();
    m_bConverted = false;
    m_nStatus = 1;
}

quint32 CBitmapLock::GetPixel(int x, int y) const
{
    if (m_nStatus != Ok)
        return 0xFF000000u;
    x = qBound(0, x, static_cast<int>(m_data.Width) - 1);
    y = qBound(0, y, static_cast<int>(m_data.Height) - 1);
    const int bytes = GetPixelFormatSize(m_data.PixelFormat);
    const uchar* p = Row(y) + static_cast<qptrdiff>(x) * bytes;
    const quint32 a = bytes == 4 ? p[3] : 255u;
    return a << 24 | static_cast<quint32>(p[2]) << 16 | static_cast<quint32>(p[1]) << 8 | p[0];
}

void CBitmapLock::Reset()
{
    m_data = BitmapData();
    m_pLowest = nullptr;
    m_nAbsStride = 0;
    m_converted = QImage();
    m_bConverted = false;
    m_bWrite = false;
}
