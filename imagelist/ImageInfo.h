#pragma once

#include <QImage>
#include <QString>
#include <QtGlobal>

#include <atomic>
#include <mutex>

#include "engine/PageRecord.h"
#include "platform/CancelFlag.h"
#include "platform/WinTypes.h"

// The record of one page image in the list: its files, processing state and
// thumbnails, on top of what the engine reads and writes of the page (source
// size, analysis results, per-file overrides). The list owns it; the workers
// and the engine fill it.
class CImageInfo : public CPageRecord {
public:
    CImageInfo();
    ~CImageInfo();
    CImageInfo(const CImageInfo&) = delete;
    CImageInfo& operator=(const CImageInfo&) = delete;

    // Back to "not loaded" for a file of this size and last-write time; keeps
    // the paths, the output name, the to-do flag and the overrides.
    void Reset(qint64 fileSize, qint64 timeModified);

    // The adjusted-result cache file: <temp root>Adj/<identity as %08X>.png.
    QString GetCacheFileName() const;
    // The cached adjusted image; a damaged cache file is deleted and gives none.
    QImage LoadCachedImage();
    // Writes the cache file once; TRUE at once when it exists already.
    BOOL SaveCachedImage(QImage& bitmap, const CancelFlag* cancel, QString& error);
    // Removes the cache file, only from the temporary root this copy holds.
    void DeleteCacheFile() const;

    // The text of list column 0-6; empty for other ids.
    QString GetColumnText(int id) const;

    // A worker's results, stored while the row may be drawn: the source size
    // and analysis of the worker's own copy of the page record (the overrides
    // are the list's and stay), and the size of the adjusted result. Stored
    // under the entry's lock, which every read of them that may meet a
    // running job takes too (GetColumnText, GetPageRecord).
    void StoreAnalysis(const CPageRecord& page);
    void StoreAdjustedSize(int width, int height);
    // A copy of the page record taken under that lock.
    CPageRecord GetPageRecord() const;

    // The thumbnails as a drawing or a worker may read them while a worker
    // publishes new ones: read with acquire order, so that a pointer met is
    // a finished image. Null while there is none.
    const QImage* GetSrcThumb() const { return AcquireThumb(m_pSrcThumb); }
    const QImage* GetAdjThumb() const { return AcquireThumb(m_pAdjThumb); }

    QString m_strOrigin;         // path as added, or the archive it came from
    QString m_strPath;           // the file that is read
    QString m_strOutputName;     // output file name without folder; empty = not chosen
    quint32 m_dwFileSize = 0;    // low 32 bits of the file size
    qint64 m_timeModified = -1;  // last write, seconds since 1970-01-01 UTC
    BOOL m_bPending = 0;         // to be processed by the next preview or execute job
    BOOL m_bLoadFailed = 0;
    int m_nAdjWidth = 0;  // 0 = no adjusted result
    int m_nAdjHeight = 0;
    QImage* m_pSrcThumb = nullptr;  // owned; the placeholder after a load failure
    QImage* m_pAdjThumb = nullptr;  // owned

private:
    static const QImage* AcquireThumb(QImage* const& slot)
    {
        return std::atomic_ref<QImage*>(const_cast<QImage*&>(slot)).load(std::memory_order_acquire);
    }

    quint32 m_nIdentity;  // unique among live entries; names the cache file
    mutable std::mutex m_csResults;
};
