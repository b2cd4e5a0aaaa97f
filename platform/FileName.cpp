#include "platform/FileName.h"

#include <QUrl>

#include <algorithm>
#include <iterator>

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// The well-formed UTF-8 characters of more than one byte, by lead byte: their
// length and the range of the byte after the lead (the later ones are 80..BF).
// The ranges leave out overlong forms, surrogates and values past U+10FFFF.
struct LeadRange {
    uchar first, last;
    int length;
    uchar secondLow, secondHigh;
};
constexpr LeadRange kLeadRanges[] = {
    {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF}, {0xE1, 0xEC, 3, 0x80, 0xBF}, {0xED, 0xED, 3, 0x80, 0x9F},
    {0xEE, 0xEF, 3, 0x80, 0xBF}, {0xF0, 0xF0, 4, 0x90, 0xBF}, {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F}};

// The length of the UTF-8 character at bytes[i] with its code in code, or 0
// when the bytes there are not one.
int CharacterAt(QByteArrayView bytes, qsizetype i, char32_t& code)
{
    const auto lead = static_cast<uchar>(bytes[i]);
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    const auto* range = std::find_if(std::begin(kLeadRanges), std::end(kLeadRanges),
                                     [lead](const LeadRange& r) { return lead >= r.first && lead <= r.last; });
    if (range == std::end(kLeadRanges) || bytes.size() - i < range->length) {
        return 0;
    }
    code = lead & (0x7F >> range->length);
    for (int k = 1; k < range->length; ++k) {
        const auto next = static_cast<uchar>(bytes[i + k]);
        const bool inRange = k == 1 ? next >= range->secondLow && next <= range->secondHigh : (next & 0xC0) == 0x80;
        if (!inRange) {
            return 0;
        }
        code = (code << 6) | (next & 0x3F);
    }
    return range->length;
}

// A surrogate that stands for a byte; one after a high surrogate is the
// second half of a character.
bool IsEscapedByte(QStringView name, qsizetype i)
{
    const char16_t c = name[i].unicode();
    return c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF && (i == 0 || !name[i - 1].isHighSurrogate());
}

}  // namespace

QString DecodeFileName(QByteArrayView bytes)
{
    QString name;
    name.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t code = 0;
        const int length = CharacterAt(bytes, i, code);
        if (length == 0) {
            name += QChar(static_cast<char16_t>(kEscapeBase + static_cast<uchar>(bytes[i])));
            ++i;
        } else if (QChar::requiresSurrogates(code)) {
            name += QChar(QChar::highSurrogate(code));
            name += QChar(QChar::lowSurrogate(code));
            i += length;
        } else {
            name += QChar(static_cast<char16_t>(code));
            i += length;
        }
    }
    return name;
}

QByteArray EncodeFileName(QStringView name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype start = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (IsEscapedByte(name, i)) {
            bytes += name.sliced(start, i - start).toUtf8();
            bytes += static_cast<char>(name[i].unicode() - kEscapeBase);
            start = i + 1;
        }
    }
    return bytes + name.sliced(start).toUtf8();
}

qsizetype FileNamePrefixLength(QStringView name, qsizetype maxBytes)
{
    // No unit takes more than three bytes: most names fit without a count.
    if (name.size() * 3 <= maxBytes) {
        return name.size();
    }
    qsizetype bytes = 0;
    qsizetype end = 0;
    while (end < name.size()) {
        const char16_t unit = name[end].unicode();
        const bool pair = QChar::isHighSurrogate(unit) && end + 1 < name.size() && name[end + 1].isLowSurrogate();
        // A lone surrogate is a byte of the name, or a '?' where it is none.
        const qsizetype size = pair ? 4 : unit < 0x80 || QChar::isSurrogate(unit) ? 1 : unit < 0x800 ? 2 : 3;
        if (bytes + size > maxBytes) {
            break;
        }
        bytes += size;
        end += pair ? 2 : 1;
    }
    return end;
}

QString ShownFileName(QString name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (IsEscapedByte(name, i)) {
            name[i] = QChar::ReplacementCharacter;
        }
    }
    return name;
}

QUrl FileUrl(const QString& path)
{
    // Percent-encoded bytes: QUrl::fromLocalFile would turn them into '?'.
    QUrl url(QStringLiteral("file://"));
    url.setPath(QString::fromLatin1(EncodeFileName(path).toPercentEncoding("/")), QUrl::TolerantMode);
    return url;
}

QString LocalFileOf(const QUrl& url)
{
    if (!url.isLocalFile()) {
        return {};
    }
    // As QUrl::toLocalFile, but from the path's bytes, which it would decode
    // into U+FFFD where they are no UTF-8.
    const QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    const QString host = url.host();
    return (host.isEmpty() ? QString() : QStringLiteral("//") + host) + DecodeFileName(path);
}
