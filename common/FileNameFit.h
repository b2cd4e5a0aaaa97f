#pragma once

#include <QString>

#include <climits>

// The longest file name the file system takes, in bytes of the name's
// encoding (EncodeFileName).
constexpr qsizetype kMaxFileNameBytes = NAME_MAX;

// title + ending, the title shortened at whole characters (never inside a
// UTF-8 sequence or a surrogate pair) so that the name takes at most
// kMaxFileNameBytes; the ending is kept whole.
QString FitFileName(const QString& title, const QString& ending);
