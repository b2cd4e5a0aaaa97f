#include "IntakeTestSupport.h"

#include <QBuffer>
#include <QFile>
#include <QImage>

#include "common/Paths.h"

QByteArray PageBytes(const char* format)
{
    QImage page(24, 32, QImage::Format_RGB32);
    page.fill(Qt::white);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    page.save(&buffer, format);
    return bytes;
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    CreateFolderPath(GetFolderPart(path));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
}
