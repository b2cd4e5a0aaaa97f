#include "common/FileNameFit.h"

#include "platform/FileName.h"

namespace {

// The longest start of text, of whole characters, that takes at most
// maxBytes as a file name.
QString FileNamePrefix(const QString& text, qsizetype maxBytes)
{
    qsizetype bytes = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const bool pair = text[end].isHighSurrogate() && end + 1 < text.size() && text[end + 1].isLowSurrogate();
        const qsizetype length = pair ? 2 : 1;
        const qsizetype size = EncodeFileName(QStringView(text).sliced(end, length)).size();
        if (bytes + size > maxBytes) {
            break;
        }
        bytes += size;
        end += length;
    }
    return text.left(end);
}

}  // namespace

QString FitFileName(const QString& title, const QString& ending)
{
    return FileNamePrefix(title, kMaxFileNameBytes - EncodeFileName(ending).size()) + ending;
}
