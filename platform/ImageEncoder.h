#pragma once

#include <QImage>
#include <QString>
#include <QUuid>

#include "platform/IndexedImage.h"

// The JPEG encoder's quality parameter (0 to 100), one value of type Long.
extern const QUuid EncoderQuality;
constexpr quint32 EncoderParameterValueTypeLong = 4;

struct EncoderParameter {
    QUuid Guid;
    quint32 NumberOfValues = 0;
    quint32 Type = 0;
    const qint32* Value = nullptr;
};

struct EncoderParameters {
    quint32 Count = 0;
    EncoderParameter Parameter[1];
};

// Writes an image with the encoder of GetImageEncoders whose identifier is
// clsid, at the image's own depth, palette and resolution: PNG at 1, 4, 8 bpp
// (palette) or 24 bpp; JPEG in colour (JPEG takes the quality parameter,
// 75 without it); BMP at 1, 4, 8 or 24 bpp. The file is written under a
// temporary name in the same folder and renamed over path only once it is
// complete, so a failure never leaves a file at path that looks written.
// Returns a status of GdiplusStatus.h: Ok, InvalidParameter (empty image,
// depth or parameter the encoder cannot take), FileNotFound (no such
// encoder), OutOfMemory, AccessDenied (no permission to write there),
// Win32Error (any other failure to create, write or rename the file).
int SaveImageToFile(const QImage& image, const QString& path, const QUuid& clsid, const EncoderParameters* parameters);
int SaveImageToFile(const CIndexedImage& image, const QString& path, const QUuid& clsid,
                    const EncoderParameters* parameters);
