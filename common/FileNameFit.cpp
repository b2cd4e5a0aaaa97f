#include "common/FileNameFit.h"

namespace {

// The longest start of text, of whole characters, that takes at most
// maxBytes in UTF-8.
QString Utf8Prefix(const QString& text, qsizetype maxBytes)
{
    qsizetype bytes = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const bool pair = text[end].isHighSurrogate() && end + 1 < text.size() && text[end + 1].isLowSurrogate();
        const char16_t unit = text[end].unicode();
        const qsizetype size = pair ? 4 : unit < 0x80 ? 1 : unit < 0x800 ? 2 : 3;
        if (bytes + size > maxBytes) {
            break;
        }
        bytes += size;
        end += pair ? 2 : 1;
    }
    return text.left(end);
}

}  // namespace

QString FitFileName(const QString& title, const QString& ending)
{
    return Utf8Prefix(title, kMaxFileNameBytes - ending.toUtf8().size()) + ending;
}
