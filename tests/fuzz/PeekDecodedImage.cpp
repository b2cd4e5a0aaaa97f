// Reads the header of any bytes as a page file, as the memory estimate of a
// job does before a page is loaded, and checks that a size and a pixel size
// come only together and within what a decoder can make.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ImageInput.h"
#include "engine/ImageHeader.h"
#include "imagelist/PageMemory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString input = WriteImageInput(data, size);
    if (input.isEmpty())
        return 0;

    // At most 16 bytes per pixel: four 32-bit floating-point channels.
    const CDecodedImage decoded = PeekDecodedImage(input);
    const bool none = decoded.size.isEmpty() && decoded.bytesPerPixel == 0;
    const bool some = !decoded.size.isEmpty() && decoded.bytesPerPixel >= 1 && decoded.bytesPerPixel <= 16;
    if (!none && !some)
        std::abort();
    if ((EstimatePagePeak(input) > 0) != some)
        std::abort();
    return 0;
}
