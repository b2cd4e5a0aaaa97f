#pragma once

#include <QImage>
#include <QString>

#include "platform/CancelFlag.h"
#include "settings/AdjustOption.h"

class CPageRecord;

// Turns one source page into the adjusted 24-bit page: page kind, slant,
// rotation, margins, crop, colour and resize, using the entry's overrides and
// stored results and writing back what it measures. A null image on failure
// (message set) or cancel (message empty). The source is never changed.
QImage AdjustImage(const QImage& source, const CAdjustOption& option, CPageRecord& info, const CancelFlag* cancel,
                   QString& message);
