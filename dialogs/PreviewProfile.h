#pragma once

#include <QByteArray>
#include <QString>

#include "platform/WinTypes.h"
#include "settings/Profile.h"

// The preview window's values in the profile, all in section "".
inline const QString kPrevWinRectKey = QStringLiteral("PrevWinRect");  // binary, 16 bytes
inline const QString kPrevWinZoomKey = QStringLiteral("PrevWinZoom");  // 1 = maximised
inline const QString kGridOnKey = QStringLiteral("GridOn");

// A rectangle as stored: left, top, right, bottom, 32-bit signed little-endian.
QByteArray RectToBytes(const RECT& rect);
// False unless data is exactly 16 bytes.
BOOL RectFromBytes(const QByteArray& data, RECT& rect);
