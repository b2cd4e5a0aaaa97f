#include "imagelist/ListCompare.h"

#include "common/NaturalCompare.h"
#include "imagelist/ColumnTable.h"
#include "imagelist/ImageInfo.h"

namespace {

template <typename T>
int Sign(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

bool IsSet(const RECT& rc)
{
    return !(rc == RECT{kUnsetMarker, kUnsetMarker, kUnsetMarker, kUnsetMarker});
}

// Kind, then angle, then unknown margins before known ones; the margin
// values themselves are not compared.
int CompareResults(int kindA, int kindB, double angleA, double angleB, const RECT& marginA, const RECT& marginB)
{
    if (const int kind = Sign(kindA, kindB))
        return kind;
    if (const int angle = Sign(angleA, angleB))
        return angle;
    return Sign(IsSet(marginA), IsSet(marginB));
}

int CompareSizes(int widthA, int heightA, int widthB, int heightB)
{
    const int width = Sign(widthA, widthB);
    return width != 0 ? width : Sign(heightA, heightB);
}

}  // namespace

int CompareByColumn(const CImageInfo& a, const CImageInfo& b, int id)
{
    switch (id) {
    case COLUMN_FILE_NAME:
        return NaturalCompare(a.GetColumnText(id), b.GetColumnText(id));
    case COLUMN_KIND:
        return CompareLocale(a.GetColumnText(id), b.GetColumnText(id));
    case COLUMN_FILE_PATH:
        return NaturalCompare(a.m_strOrigin, b.m_strOrigin);
    case COLUMN_FILE_SIZE:
        return Sign(a.m_dwFileSize, b.m_dwFileSize);
    case COLUMN_MODIFIED:
        return Sign(a.m_timeModified, b.m_timeModified);
    case COLUMN_SRC_SIZE:
        return CompareSizes(a.m_nSrcWidth, a.m_nSrcHeight, b.m_nSrcWidth, b.m_nSrcHeight);
    case COLUMN_ADJ_SIZE:
        return CompareSizes(a.m_nAdjWidth, a.m_nAdjHeight, b.m_nAdjWidth, b.m_nAdjHeight);
    case COLUMN_AUTO:
        return CompareResults(a.m_nPageKind, b.m_nPageKind, a.m_dSlantAngle, b.m_dSlantAngle, a.m_rcMarginPx,
                              b.m_rcMarginPx);
    case COLUMN_OVERRIDE:
        return CompareResults(a.m_nPageKindOverride, b.m_nPageKindOverride, a.m_dRotateOverride, b.m_dRotateOverride,
                              a.m_rcMarginOverride, b.m_rcMarginOverride);
    default:
        return 0;
    }
}
