// Loads any bytes as an image file and checks that what comes back, if
// anything, is in one of the two working forms and within the size limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ImageInput.h"
#include "engine/BitmapConvert.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString input = WriteImageInput(data, size);
    if (input.isEmpty())
        return 0;

    const QImage image = LoadImageFileCopy(input);
    if (!image.isNull()) {
        const bool workingForm = image.format() == QImage::Format_BGR888 || image.format() == QImage::Format_ARGB32;
        if (!workingForm || qint64(image.width()) * image.height() * 4 > (qint64(1) << 30))
            std::abort();
    }
    return 0;
}
