#include "platform/ImageEncoder.h"

#include "platform/BmpWriter.h"
#include "platform/GdiplusStatus.h"
#include "platform/ImageCodecInfo.h"
#include "platform/JpegWriter.h"
#include "platform/PngWriter.h"
#include "platform/SaveFile.h"

#include <cerrno>
#include <cmath>

const QUuid EncoderQuality(0x9d1c2a40, 0x5f3e, 0x4b61, 0x8a, 0x27, 0x1c, 0x6e, 0x3b, 0x90, 0x43, 0x01);

namespace {

constexpr int kDefaultJpegQuality = 75;

int DotsPerMeter(double dpi)
{
    return static_cast<int>(std::lround(qBound(0.0, dpi, 1.0e6) / 0.0254));
}

// The quality the JPEG encoder is asked for, or -1 for a parameter it cannot take.
int JpegQuality(const EncoderParameters* parameters)
{
    if (parameters == nullptr || parameters->Count == 0)
        return kDefaultJpegQuality;
    const EncoderParameter& quality = parameters->Parameter[0];
    if (parameters->Count != 1 || quality.Guid != EncoderQuality || quality.NumberOfValues != 1 ||
        quality.Type != EncoderParameterValueTypeLong || quality.Value == nullptr || *quality.Value < 0 ||
        *quality.Value > 100)
        return -1;
    return *quality.Value;
}

QString MimeTypeOf(const QUuid& clsid)
{
    QList<ImageCodecInfo> encoders;
    if (GetImageEncoders(encoders) != Ok)
        return {};
    for (const ImageCodecInfo& encoder : encoders) {
        if (encoder.Clsid == clsid)
            return encoder.MimeType;
    }
    return {};
}

// Status of a file that could not be created, written or renamed.
int FileFailure(int error)
{
    return error == EACCES || error == EPERM || error == EROFS ? AccessDenied : Win32Error;
}

int Save(const EncoderImage& image, const QString& path, const QUuid& clsid, const EncoderParameters* parameters)
{
    if (image.scan0 == nullptr || image.width <= 0 || image.height <= 0)
        return InvalidParameter;
    if (image.bitsPerPixel != 24 && (image.palette.isEmpty() || image.palette.size() > (1 << image.bitsPerPixel)))
        return InvalidParameter;
    const QString mimeType = MimeTypeOf(clsid);
    if (mimeType.isEmpty())
        return FileNotFound;
    const int quality = mimeType == QLatin1String("image/jpeg") ? JpegQuality(parameters) : 0;
    if (quality < 0)
        return InvalidParameter;

    CSaveFile file(path);
    if (const int error = file.Open())
        return FileFailure(error);
    int status = Ok;
    if (mimeType == QLatin1String("image/jpeg"))
        status = WriteJpeg(image, quality, file.Device());
    else if (mimeType == QLatin1String("image/png"))
        status = WritePng(image, file.Device());
    else
        status = WriteBmp(image, file.Device());
    if (status != Ok)
        return status;
    const int error = file.Commit();
    return error == 0 ? Ok : FileFailure(error);
}

}  // namespace

int SaveImageToFile(const QImage& image, const QString& path, const QUuid& clsid, const EncoderParameters* parameters)
{
    const QImage rgb = image.format() == QImage::Format_BGR888 ? image : image.convertToFormat(QImage::Format_BGR888);
    if (rgb.isNull() && !image.isNull())
        return OutOfMemory;
    EncoderImage pixels;
    pixels.width = rgb.width();
    pixels.height = rgb.height();
    pixels.bitsPerPixel = 24;
    pixels.scan0 = rgb.constBits();
    pixels.stride = rgb.bytesPerLine();
    pixels.dotsPerMeterX = image.dotsPerMeterX();
    pixels.dotsPerMeterY = image.dotsPerMeterY();
    return Save(pixels, path, clsid, parameters);
}

int SaveImageToFile(const CIndexedImage& image, const QString& path, const QUuid& clsid,
                    const EncoderParameters* parameters)
{
    EncoderImage pixels;
    pixels.width = image.Width();
    pixels.height = image.Height();
    pixels.bitsPerPixel = image.BitsPerPixel();
    pixels.scan0 = image.Bits();
    pixels.stride = image.Stride();
    pixels.palette = image.GetPalette().Entries;
    pixels.dotsPerMeterX = DotsPerMeter(image.HorizontalResolution());
    pixels.dotsPerMeterY = DotsPerMeter(image.VerticalResolution());
    return Save(pixels, path, clsid, parameters);
}
