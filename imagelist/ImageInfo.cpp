#include "imagelist/ImageInfo.h"

#include "common/ErrorText.h"
#include "common/TempRoot.h"
#include "engine/BitmapConvert.h"
#include "engine/SaveAdjusted.h"
#include "settings/AdjustOption.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <atomic>

namespace {
// A counter rather than the object's address: addresses are 64 bits wide
// here, and a recycled address could meet a cache file left by a dead entry.
// It starts at a random value so that another process sharing the temporary
// root (a test run, a program that crashed) is unlikely to use the same names.
quint32 NextIdentity()
{
    static std::atomic<quint32> next{QRandomGenerator::system()->generate()};
    return next.fetch_add(1, std::memory_order_relaxed);
}
}  // namespace

CImageInfo::CImageInfo() : m_nIdentity(NextIdentity())
{
    // A file already under this name cannot be a result of this entry: it was
    // left behind by another process, and SaveCachedImage, which never
    // rewrites an existing cache file, would hand it out as this page.
    DeleteCacheFile();
}

CImageInfo::~CImageInfo()
{
    delete m_pSrcThumb;
    delete m_pAdjThumb;
    DeleteCacheFile();
}

void CImageInfo::Reset(qint64 fileSize, qint64 timeModified)
{
    m_dwFileSize = static_cast<quint32>(fileSize);
    m_timeModified = timeModified;
    m_bLoadFailed = 0;
    m_nSrcWidth = 0;
    m_nSrcHeight = 0;
    m_nAdjWidth = 0;
    m_nAdjHeight = 0;
    delete m_pSrcThumb;
    m_pSrcThumb = nullptr;
    delete m_pAdjThumb;
    m_pAdjThumb = nullptr;
    m_nPageKind = kUnsetMarker;
    m_nTotalCells = 0;
    m_nVertCells = 0;
    m_nHorzCells = 0;
    m_dSlantAngle = kUnsetAngleMarker;
    m_rcMarginPx = {kUnsetMarker, kUnsetMarker, kUnsetMarker, kUnsetMarker};
    m_rcMarginPct = {0, 0, 0, 0};
    DeleteCacheFile();
}

QString CImageInfo::GetCacheFileName() const
{
    const QString identity = QStringLiteral("%1").arg(m_nIdentity, 8, 16, QLatin1Char('0')).toUpper();
    return GetTempRoot() + QStringLiteral("Adj/") + identity + QStringLiteral(".png");
}

QImage CImageInfo::LoadCachedImage()
{
    const QString path = GetCacheFileName();
    if (!QFile::exists(path))
        return {};
    QImage image = LoadImageFileCopy(path);
    if (image.isNull())
        DeleteCacheFile();  // damaged: the next execute adjusts the page again
    return image;
}

BOOL CImageInfo::SaveCachedImage(QImage& bitmap, const CancelFlag* cancel, QString& error)
{
    error.clear();
    // The cache folder is made here, not by the save: the root is checked
    // first, so that when this copy has lost its root to another copy the
    // name comes from the root of its own that took its place.
    QString folder = GetTempRoot() + QStringLiteral("Adj/");
    if (const int code = CreateTempFolderPath(folder)) {
        error = QStringLiteral("フォルダを作成できませんでした。\n") + GetSystemErrorText(code) + QLatin1Char('\n') +
                folder;
        return 0;
    }
    const QString path = GetCacheFileName();
    if (QFile::exists(path))
        return 1;
    CAdjustOption option;
    option.SaveDepth = 4;
    return SaveAdjustedBitmap(bitmap, QString(), QString(), path, option, cancel, error);
}

void CImageInfo::StoreAnalysis(const CPageRecord& page)
{
    std::lock_guard lock(m_csResults);
    m_nSrcWidth = page.m_nSrcWidth;
    m_nSrcHeight = page.m_nSrcHeight;
    m_nPageKind = page.m_nPageKind;
    m_nTotalCells = page.m_nTotalCells;
    m_nVertCells = page.m_nVertCells;
    m_nHorzCells = page.m_nHorzCells;
    m_dSlantAngle = page.m_dSlantAngle;
    m_rcMarginPx = page.m_rcMarginPx;
    m_rcMarginPct = page.m_rcMarginPct;
}

void CImageInfo::StoreAdjustedSize(int width, int height)
{
    std::lock_guard lock(m_csResults);
    m_nAdjWidth = width;
    m_nAdjHeight = height;
}

CPageRecord CImageInfo::GetPageRecord() const
{
    std::lock_guard lock(m_csResults);
    return static_cast<const CPageRecord&>(*this);
}

void CImageInfo::DeleteCacheFile() const
{
    // Looked at first: most entries have no cache, and the removal checks
    // the root's identity before it touches anything there.
    const QString path = GetCacheFileName();
    if (QFileInfo::exists(path))
        DeleteTempFile(path);
}
