#pragma once

#include <QImage>
#include <QtGlobal>

#include "platform/GdiplusStatus.h"

// What a lock exposes of the locked pixels.
struct BitmapData {
    quint32 Width = 0;
    quint32 Height = 0;
    qint32 Stride = 0;
    int PixelFormat = 0;
    uchar* Scan0 = nullptr;
    quintptr Reserved = 0;
};

// Guard that locks a whole image in one pixel format so that pixel loops walk
// rows in memory. When the image holds another format the guard works on a
// converted copy, written back into the image on unlock in write mode.
// After a failed lock every field but the status is zero, so loops bounded by
// the width and height do nothing.
class CBitmapLock {
public:
    CBitmapLock() = default;
    ~CBitmapLock() { Unlock(); }
    CBitmapLock(const CBitmapLock&) = delete;
    CBitmapLock& operator=(const CBitmapLock&) = delete;

    int Lock(QImage* bitmap, int read, int write, int pixelFormat);
    void Unlock();

    // 0xAARRGGBB of the pixel, x and y clamped into the image; opaque black
    // when not locked.
    quint32 GetPixel(int x, int y) const;

    // Address of row y (0 <= y < Height).
    uchar* Row(int y) const { return m_data.Scan0 + static_cast<qptrdiff>(y) * m_data.Stride; }

    QImage* m_pBitmap = nullptr;
    int m_nStatus = WrongState;  // 0 while locked, 1 after Unlock
    BitmapData m_data;
    uchar* m_pLowest = nullptr;  // lowest row address
    int m_nAbsStride = 0;

private:
    void Reset();

    QImage m_converted;  // the pixels when the image's own format differs
    bool m_bConverted = false;
    bool m_bWrite = false;
};
