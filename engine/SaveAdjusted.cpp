#include "engine/SaveAdjusted.h"

#include "common/ErrorText.h"
#include "common/Paths.h"
#include "engine/BitmapConvert.h"
#include "engine/Quantise.h"
#include "platform/GdiplusStatus.h"
#include "platform/ImageEncoder.h"
#include "platform/IndexedImage.h"
#include "platform/PixelFormat.h"
#include "settings/OutputFolder.h"

#include <QUuid>

#include <sys/stat.h>

#include <atomic>
#include <mutex>

namespace {

constexpr int kDotsPerMeterAt96Dpi = 3780;

// The image that is written: an indexed target, or a 24-bit image (the
// caller's own or a copy).
struct ImageToSave {
    CIndexedImage indexed;
    QImage copy;
    QImage* rgb = nullptr;
};

// One encoder identifier, looked up on first use and kept for the process.
// Readers need no lock once it is filled; the fill itself is serialised.
struct EncoderSlot {
    const char* mimeType;
    QUuid clsid;
    std::atomic<bool> filled{false};
    std::mutex fill;
};

EncoderSlot g_jpegSlot{"image/jpeg", {}, {}, {}};
EncoderSlot g_pngSlot{"image/png", {}, {}, {}};
EncoderSlot g_bmpSlot{"image/bmp", {}, {}, {}};

bool LookUpEncoder(EncoderSlot& slot, QUuid& clsid, QString& message)
{
    if (!slot.filled.load(std::memory_order_acquire)) {
        const std::lock_guard<std::mutex> guard(slot.fill);
        if (!slot.filled.load(std::memory_order_relaxed)) {
            QUuid found;
            if (GetEncoderClsid(QLatin1String(slot.mimeType), found, message) < 0)
                return false;  // tried again on the next save
            slot.clsid = found;
            slot.filled.store(true, std::memory_order_release);
        }
    }
    clsid = slot.clsid;
    return true;
}

// The encoder slot of a file's extension, or nullptr for another type.
EncoderSlot* SlotOfExtension(const QString& path)
{
    const QString name = path.mid(GetFolderPart(path).size());
    const QString extension = name.mid(GetFileTitlePart(path).size());
    for (const char* jpeg : {".jpg", ".jpeg", ".jpe"}) {
        if (extension.compare(QLatin1String(jpeg), Qt::CaseInsensitive) == 0)
            return &g_jpegSlot;
    }
    if (extension.compare(QLatin1String(".png"), Qt::CaseInsensitive) == 0)
        return &g_pngSlot;
    if (extension.compare(QLatin1String(".bmp"), Qt::CaseInsensitive) == 0)
        return &g_bmpSlot;
    return nullptr;
}

// Brings the bitmap to the output depth at 96 dpi; false with the message
// set on failure, or with it empty when quantisation was cancelled.
bool PrepareImage(QImage& bitmap, const CAdjustOption& option, const CancelFlag* cancel, ImageToSave& out,
                  QString& message)
{
    static const int indexedFormats[] = {PixelFormat1bppIndexed, PixelFormat4bppIndexed, PixelFormat8bppIndexed};
    if (option.SaveDepth >= 1 && option.SaveDepth <= 3) {
        out.indexed = CIndexedImage(bitmap.width(), bitmap.height(), indexedFormats[option.SaveDepth - 1]);
        if (out.indexed.IsNull()) {
            message = GetGdiplusStatusText(OutOfMemory);
            return false;
        }
        const int mode = option.SavePalette == 2 ? 1 : option.SavePalette == 3 ? 2 : 0;
        if (!QuantiseToPalette(bitmap, out.indexed, mode, cancel))
            return false;
        out.indexed.SetResolution(96.0, 96.0);
        return true;
    }
    if (option.SaveDepth != 4) {
        message = QStringLiteral("invalid save bpp");
        return false;
    }
    if (GetPixelFormat(bitmap) == PixelFormat24bppRGB) {
        out.rgb = &bitmap;
    } else {
        out.copy = CloneBitmap24(bitmap);
        if (out.copy.isNull()) {
            message = GetGdiplusStatusText(OutOfMemory);
            return false;
        }
        out.rgb = &out.copy;
    }
    out.rgb->setDotsPerMeterX(kDotsPerMeterAt96Dpi);
    out.rgb->setDotsPerMeterY(kDotsPerMeterAt96Dpi);
    return true;
}

// Makes sure the folder exists as a folder; false with the message set.
bool EnsureFolder(const QString& folder, QString& message)
{
    struct stat status {};
    if (!GetFileStatus(RemoveTrailingSeparators(folder), status)) {
        static std::mutex folderLock;
        const std::lock_guard<std::mutex> guard(folderLock);
        const int code = CreateFolderPath(folder);
        if (code != 0) {
            message = QStringLiteral("フォルダを作成できませんでした。\n") + GetSystemErrorText(code) +
                      QLatin1Char('\n') + folder;
            return false;
        }
        return true;
    }
    if (!S_ISDIR(status.st_mode)) {
        message = QStringLiteral("すでにファイルがあるため、フォルダ作成できません。\n") + folder;
        return false;
    }
    return true;
}

}  // namespace

BOOL SaveAdjustedBitmap(QImage& bitmap, const QString& origin, const QString& fileName, const QString& explicitPath,
                        const CAdjustOption& option, const CancelFlag* cancel, QString& message)
{
    message.clear();
    if (bitmap.isNull()) {
        message = QStringLiteral("no bmp, no save");
        return false;
    }
    ImageToSave image;
    if (!PrepareImage(bitmap, option, cancel, image, message))
        return false;

    EncoderSlot* slot = SlotOfExtension(explicitPath.isEmpty() ? fileName : explicitPath);
    if (slot == nullptr) {
        message = QStringLiteral("error");
        return false;
    }
    QUuid clsid;
    if (!LookUpEncoder(*slot, clsid, message))
        return false;

    const QString folder = explicitPath.isEmpty() ? GetOutputFolder(origin, option) : GetFolderPart(explicitPath);
    const QString path = explicitPath.isEmpty() ? folder + fileName : explicitPath;
    if (IsCancelled(cancel) || !EnsureFolder(folder, message))
        return false;

    const qint32 quality = option.SaveQuality;
    EncoderParameters parameters;
    const bool jpeg = slot == &g_jpegSlot;
    if (jpeg) {
        parameters.Count = 1;
        parameters.Parameter[0] = {EncoderQuality, 1, EncoderParameterValueTypeLong, &quality};
    }
    if (IsCancelled(cancel))
        return false;
    const int status = image.rgb != nullptr ? SaveImageToFile(*image.rgb, path, clsid, jpeg ? &parameters : nullptr)
                                            : SaveImageToFile(image.indexed, path, clsid, jpeg ? &parameters : nullptr);
    if (status != Ok) {
        message = path + QStringLiteral(" に保存できませんでした。") + GetGdiplusStatusText(status);
        return false;
    }
    return true;
}
