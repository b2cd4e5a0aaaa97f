#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

class QImageReader;

// The file bytes that tell an input type and hold what the header checks need.
constexpr int kImageHeadBytes = 16;

// The input types the program takes, told by a file's first bytes, never by
// its name: "png", "jpeg", "gif", "bmp" or "tiff"; empty for any other file.
QByteArray FormatOfContent(const QByteArray& head);

// The size of the image that the reader's decoder will make of a file, from
// the file's header alone (head: its first kImageHeadBytes); invalid when the
// header gives none.
QSize DecodedImageSize(QImageReader& reader, const QByteArray& head);

// What a page file decodes to, from its header alone; nothing (an invalid size
// and no bytes per pixel) when the program does not take the file, it is not
// a regular file, or its header cannot be read.
struct CDecodedImage {
    QSize size;
    int bytesPerPixel = 0;
};
CDecodedImage PeekDecodedImage(const QString& path);
