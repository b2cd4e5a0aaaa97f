#include "platform/PngWriter.h"

#include "platform/GdiplusStatus.h"

#include <png.h>

#include <csetjmp>

namespace {

struct Output {
    QIODevice* device;
    bool failed;  // the device refused data, as opposed to an error of the encoder
};

void WriteToDevice(png_structp png, png_bytep data, size_t length)
{
    auto* output = static_cast<Output*>(png_get_io_ptr(png));
    if (output->device->write(reinterpret_cast<const char*>(data), static_cast<qint64>(length)) !=
        static_cast<qint64>(length)) {
        output->failed = true;
        png_error(png, "write failed");
    }
}

void FlushDevice(png_structp) {}

void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void OnWarning(png_structp, png_const_charp) {}

// libpng leaves this function by longjmp on any error, so nothing in it may
// need a destructor. The palette holds at most 256 entries.
bool WriteImage(png_structp png, png_infop info, const EncoderImage& image, const png_color* palette, int paletteSize)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    const bool indexed = image.bitsPerPixel != 24;
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height),
                 indexed ? image.bitsPerPixel : 8, indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (indexed)
        png_set_PLTE(png, info, palette, paletteSize);
    png_set_pHYs(png, info, static_cast<png_uint_32>(image.dotsPerMeterX),
                 static_cast<png_uint_32>(image.dotsPerMeterY), PNG_RESOLUTION_METER);
    // Level 3 writes a scanned A4 page about three times faster than the
    // default level 6, for files some 15 percent larger.
    png_set_compression_level(png, 3);
    png_write_info(png, info);
    if (!indexed)
        png_set_bgr(png);
    for (int y = 0; y < image.height; ++y)
        png_write_row(png, image.Row(y));
    png_write_end(png, info);
    return true;
}

}  // namespace

int WritePng(const EncoderImage& image, QIODevice& device)
{
    png_color palette[256] = {};
    const int paletteSize = static_cast<int>(qMin<qsizetype>(image.palette.size(), 256));
    for (int i = 0; i < paletteSize; ++i) {
        palette[i].red = static_cast<png_byte>(image.palette[i] >> 16);
        palette[i].green = static_cast<png_byte>(image.palette[i] >> 8);
        palette[i].blue = static_cast<png_byte>(image.palette[i]);
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (png == nullptr)
        return OutOfMemory;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return OutOfMemory;
    }
    Output output{&device, false};
    png_set_write_fn(png, &output, WriteToDevice, FlushDevice);
    const bool written = WriteImage(png, info, image, palette, paletteSize);
    png_destroy_write_struct(&png, &info);
    if (written)
        return Ok;
    return output.failed ? Win32Error : GenericError;
}
