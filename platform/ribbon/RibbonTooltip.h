#pragma once

#include <QString>
#include <QStringList>

// A tooltip description broken into lines of at most maxChars characters,
// of about equal length: at spaces, after punctuation, or where a word of
// kana ends before the next word (Japanese has no spaces). A sentence's end
// is the preferred break.
QStringList WrapTooltipText(const QString& text, qsizetype maxChars);
