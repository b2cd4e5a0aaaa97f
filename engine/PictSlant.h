#pragma once

#include <QImage>

#include "platform/CancelFlag.h"
#include "settings/AdjustOption.h"

class CPageRecord;

// Measures the slant of a page into info.m_dSlantAngle (degrees, positive =
// turn clockwise to straighten): a text page (kind 1) by its lines, a picture
// page (kind 2) by the left edge of its content in eight sample rows. A
// cancelled picture measurement leaves the angle as it was; a cancelled or
// failed text measurement stores 0.0.
void MeasureSlantAngle(const QImage& bitmap, const CAdjustOption& option, int pageKind, CPageRecord& info,
                       const CancelFlag* cancel);
