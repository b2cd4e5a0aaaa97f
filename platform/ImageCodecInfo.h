#pragma once

#include <QList>
#include <QString>
#include <QUuid>

// One installed image encoder, as the encoder lookup walks them.
struct ImageCodecInfo {
    QUuid Clsid;
    QString CodecName;
    QString FormatDescription;
    QString FilenameExtension;
    QString MimeType;
};

// The encoders of the image layer in their fixed order (BMP, JPEG, PNG).
// Returns a status of the image layer's numbering (0 = Ok).
int GetImageEncoders(QList<ImageCodecInfo>& encoders);
