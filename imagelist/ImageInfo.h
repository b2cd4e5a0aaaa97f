#pragma once

#include <QImage>
#include <QString>
#include <QtGlobal>

#include "platform/CancelFlag.h"
#include "platform/WinTypes.h"

// Marks a result not yet analysed or an override not set.
constexpr int kUnsetMarker = -9999;
constexpr double kUnsetAngleMarker = -9999.0;

// The record of one page image in the list: its files, processing state,
// thumbnails, analysis results and per-file overrides. The list owns it; the
// workers and the engine fill it.
class CImageInfo {
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

    // The text of list column 0-6; empty for other ids.
    QString GetColumnText(int id) const;

    QString m_strOrigin;      // path as added, or the archive it came from
    QString m_strPath;        // the file that is read
    QString m_strOutputName;  // output file name without folder; empty = not chosen
    quint32 m_dwFileSize = 0;      // low 32 bits of the file size
    qint64 m_timeModified = -1;    // last write, seconds since 1970-01-01 UTC
    BOOL m_bPending = 0;           // to be processed by the next preview or execute job
    BOOL m_bLoadFailed = 0;
    int m_nSrcWidth = 0;           // 0 = not loaded
    int m_nSrcHeight = 0;
    int m_nAdjWidth = 0;           // 0 = no adjusted result
    int m_nAdjHeight = 0;
    QImage* m_pSrcThumb = nullptr;  // owned; the placeholder after a load failure
    QImage* m_pAdjThumb = nullptr;  // owned
    int m_nPageKind = kUnsetMarker;  // 1 text page, 2 picture page
    int m_nTotalCells = 0;
    int m_nVertCells = 0;
    int m_nHorzCells = 0;
    double m_dSlantAngle = kUnsetAngleMarker;  // degrees; positive turns clockwise
    RECT m_rcMarginPx = {kUnsetMarker, kUnsetMarker, kUnsetMarker, kUnsetMarker};
    RECT m_rcMarginPct = {0, 0, 0, 0};
    int m_nPageKindOverride = kUnsetMarker;
    double m_dRotateOverride = kUnsetAngleMarker;  // 0.0 = no slant correction
    RECT m_rcMarginOverride = {kUnsetMarker, kUnsetMarker, kUnsetMarker, kUnsetMarker};  // all 0 = no cut

private:
    void DeleteCacheFile() const;

    quint32 m_nIdentity;  // unique among live entries; names the cache file
};
