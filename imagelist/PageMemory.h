#pragma once

#include <QString>
#include <QtGlobal>

// The memory a page is estimated to take at its peak while a job loads,
// adjusts and saves it, from its file's header alone: the image as the
// decoder delivers it plus the job's working copies. 0 when the header gives
// no size, since the loader then refuses the file before decoding.
qint64 EstimatePagePeak(const QString& path);
