// Loads any bytes as an image file and checks that what comes back, if
// anything, is in one of the two working forms and within the size limit.
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/BitmapConvert.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The image plug-ins are found through the application object.
    static int argc = 1;
    static char name[] = "fuzz_LoadImageFile";
    static char* argv[] = {name, nullptr};
    static const bool started = (qputenv("QT_QPA_PLATFORM", "offscreen"), new QGuiApplication(argc, argv), true);
    (void)started;

    const QString input = QDir::current().filePath(QStringLiteral("fuzz-input.img"));
    QFile file(input);
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();

    const QImage image = LoadImageFileCopy(input);
    if (!image.isNull()) {
        const bool workingForm = image.format() == QImage::Format_BGR888 || image.format() == QImage::Format_ARGB32;
        if (!workingForm || qint64(image.width()) * image.height() * 4 > (qint64(1) << 30))
            std::abort();
    }
    return 0;
}
