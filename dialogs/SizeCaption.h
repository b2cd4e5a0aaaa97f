#pragma once

#include <QString>

// A resize radio's caption with what the two checks add:
// "元のサイズ （縦横比保持、縮小のみ）", "元のサイズ （縮小のみ）", or the plain caption.
QString MakeSizeCaption(const QString& caption, bool keepRate, bool onlySmall);
