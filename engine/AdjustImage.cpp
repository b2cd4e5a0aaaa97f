#include "engine/AdjustImage.h"

#include "common/ErrorText.h"
#include "engine/ColorAdjust.h"
#include "engine/Crop.h"
#include "engine/Margins.h"
#include "engine/PageGeometry.h"
#include "engine/PageRecord.h"
#include "engine/PictSlant.h"
#include "engine/Resize.h"
#include "engine/Rotate.h"
#include "engine/TextSlant.h"
#include "platform/GdiplusStatus.h"

namespace {
bool IsUnsetRect(const RECT& rc)
{
    return rc.left == kUnsetMarker && rc.top == kUnsetMarker && rc.right == kUnsetMarker && rc.bottom == kUnsetMarker;
}

bool IsZeroRect(const RECT& rc)
{
    return rc.left == 0 && rc.top == 0 && rc.right == 0 && rc.bottom == 0;
}

// Settles the page kind. A classification cut short by the stop flag stores
// nothing, so that a later run classifies the page again instead of reusing a
// kind the cut-short run could not know.
int DecidePageKind(const QImage& source, const CAdjustOption& option, CPageRecord& info, const CancelFlag* cancel,
                   QString& message)
{
    if (info.m_nPageKindOverride != kUnsetMarker)
        return info.m_nPageKindOverride;
    if (!option.TextPage && !option.PictPage) {
        message = QStringLiteral("not exist text and pict");
        return 0;
    }
    if (!option.TextPage)
        info.m_nPageKind = kPictPage;
    else if (!option.PictPage)
        info.m_nPageKind = kTextPage;
    else if (info.m_nPageKind == kUnsetMarker) {
        const int isText = DetectTextSlant(source, option, info, cancel);
        if (IsCancelled(cancel)) {
            info.m_dSlantAngle = kUnsetAngleMarker;
            return 0;
        }
        info.m_nPageKind = isText ? kTextPage : kPictPage;
    }
    return info.m_nPageKind;
}

// Settles the angle by the override, a stored or new measurement, the fixed
// angle or none. A measurement cut short leaves the slant unset.
double DecideAngle(const QImage& source, const CAdjustOption& option, int kind, CPageRecord& info,
                   const CancelFlag* cancel)
{
    if (info.m_dRotateOverride != kUnsetAngleMarker)
        return info.m_dRotateOverride;
    const int k = kind - 1;
    switch (option.Slant[k]) {
    case 2:
        if (info.m_dSlantAngle == kUnsetAngleMarker) {
            MeasureSlantAngle(source, option, kind, info, cancel);
            if (IsCancelled(cancel))
                info.m_dSlantAngle = kUnsetAngleMarker;
        }
        break;
    case 1:
        info.m_dSlantAngle = option.RotateAngle[k];
        break;
    default:
        info.m_dSlantAngle = 0.0;
        break;
    }
    return info.m_dSlantAngle;
}

// Settles the cut (pixels) and the margins added back (percent).
void DecideMargins(QImage& working, const CAdjustOption& option, int kind, CPageRecord& info, const CancelFlag* cancel,
                   RECT& cut, RECT& added)
{
    const int k = kind - 1;
    const int width = working.width();
    const int height = working.height();
    cut = {0, 0, 0, 0};
    added = {0, 0, 0, 0};
    if (!IsUnsetRect(info.m_rcMarginOverride)) {
        cut = PercentRectToPixels(info.m_rcMarginOverride, width, height);
        return;
    }
    switch (option.CutMargin[k]) {
    case 2:
        if (IsUnsetRect(info.m_rcMarginPx))
            DetectMargins(working, option, kind, info, cancel);
        added = option.MgnAddRect[k];
        break;
    case 1:
        info.m_rcMarginPx = PercentRectToPixels(option.MgnCutRect[k], width, height);
        info.m_rcMarginPct = option.MgnCutRect[k];
        break;
    default:
        info.m_rcMarginPx = {0, 0, 0, 0};
        info.m_rcMarginPct = {0, 0, 0, 0};
        break;
    }
    // Detection cut short leaves the margins unset: then nothing is cut.
    if (!IsUnsetRect(info.m_rcMarginPx))
        cut = info.m_rcMarginPx;
}

// An image that could not be made is a failure with a text of its own, never
// an empty message, which would read as a stop request and skip the page.
QImage FailOutOfMemory(QString& message)
{
    message = GetGdiplusStatusText(::OutOfMemory);
    return {};
}

bool WantsColorAdjustment(const CAdjustOption& option, int kind)
{
    if (kind == kTextPage)
        return option.AdjustTextColor && (option.BrightText != 0 || option.GrayText || option.BackUnify);
    return option.AdjustPictColor && (option.BrightPict != 100 || option.GrayPict);
}
}  // namespace

QImage AdjustImage(const QImage& source, const CAdjustOption& option, CPageRecord& info, const CancelFlag* cancel,
                   QString& message)
{
    message.clear();
    if (source.isNull()) {
        message = QStringLiteral("no source bmp");
        return {};
    }
    const int kind = DecidePageKind(source, option, info, cancel, message);
    if (!message.isEmpty() || IsCancelled(cancel))
        return {};
    if (kind != kTextPage && kind != kPictPage) {
        message = QStringLiteral("invalid page type");
        return {};
    }
    const double angle = DecideAngle(source, option, kind, info, cancel);
    if (IsCancelled(cancel))
        return {};
    QImage working = RotateBitmap(source, angle);
    if (IsCancelled(cancel))
        return {};
    if (working.isNull())
        return FailOutOfMemory(message);
    RECT cut;
    RECT added;
    DecideMargins(working, option, kind, info, cancel, cut, added);
    if (IsCancelled(cancel))
        return {};
    if (!IsZeroRect(cut) || !IsZeroRect(added)) {
        working = CropWithAddedMargin(working, cut, added);
        if (working.isNull())
            return FailOutOfMemory(message);
    }
    if (WantsColorAdjustment(option, kind))
        AdjustColors(working, option, kind, cancel);
    QImage result = ResizeOntoCanvas(working, option, kind, info);
    if (IsCancelled(cancel))
        return {};
    if (result.isNull())
        return FailOutOfMemory(message);
    return result;
}
