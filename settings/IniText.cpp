#include "settings/IniText.h"

#include <QList>

#include <algorithm>
#include <cstring>

#include "platform/FileName.h"

namespace {

const QByteArray kTopLevel("General");
const QByteArray kUtf8Mark("\xEF\xBB\xBF");
const QString kBinaryStart = QStringLiteral("@ByteArray(");
// Pairs of an escape letter and the character it stands for.
const char kNamedEscapes[] = "a\ab\bf\fn\nr\rt\tv\v";

int DigitValue(char16_t c, int base)
{
    int value = base;
    if (c >= u'0' && c <= u'9') {
        value = c - u'0';
    } else if (c >= u'a' && c <= u'f') {
        value = c - u'a' + 10;
    } else if (c >= u'A' && c <= u'F') {
        value = c - u'A' + 10;
    }
    return value < base ? value : -1;
}

// The number of the digits at text[i] onwards, kept to 16 bits, and i past
// them; -1 when there is none. At most maxDigits are taken.
int ReadNumber(const QByteArray& text, qsizetype& i, int base, qsizetype maxDigits)
{
    int number = -1;
    for (const qsizetype end = std::min(text.size(), i + maxDigits); i < end; ++i) {
        const int digit = DigitValue(static_cast<unsigned char>(text[i]), base);
        if (digit < 0) {
            break;
        }
        number = (std::max(number, 0) * base + digit) & 0xFFFF;
    }
    return number;
}

// A section or entry name: %XX and %UXXXX stand for characters, "\" for "/".
QString UnescapeName(const QByteArray& text)
{
    QString name;
    for (qsizetype i = 0; i < text.size();) {
        const char c = text[i++];
        const bool wide = c == '%' && i < text.size() && text[i] == 'U';
        qsizetype next = wide ? i + 1 : i;
        const int code = c == '%' ? ReadNumber(text, next, 16, wide ? 4 : 2) : -1;
        if (code >= 0 && next - i == (wide ? 5 : 2)) {
            name += QChar(static_cast<char16_t>(code));
            i = next;
        } else {
            name += c == '\\' ? QLatin1Char('/') : QLatin1Char(c);
        }
    }
    return name;
}

// The character of the escape at text[i], just past its "\"; i moves past
// the escape. Numbers are octal, or hex after "x", and take every digit that
// follows; an unknown escape stands for nothing.
QString Unescape(const QByteArray& text, qsizetype& i)
{
    const char c = text[i];
    const bool hex = c == 'x';
    i += hex ? 1 : 0;
    const int code = ReadNumber(text, i, hex ? 16 : 8, text.size());
    if (code >= 0) {
        return QChar(static_cast<char16_t>(code));
    }
    if (hex) {
        return {};
    }
    ++i;
    const char* named = std::strchr(kNamedEscapes, c);
    if (named != nullptr && (named - kNamedEscapes) % 2 == 0) {
        return QChar(named[1]);
    }
    return std::strchr("\"'\\?", c) != nullptr ? QString(QLatin1Char(c)) : QString();
}

// A value: quoted parts keep their spaces, ";" outside quotes begins a
// comment, and the white space that ends the unquoted text goes.
QVariant ParseValue(const QByteArray& text)
{
    QByteArray value;  // UTF-8
    qsizetype kept = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size() && (quoted || text[i] != ';');) {
        const char c = text[i++];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == '\\' && i < text.size()) {
            value += EncodeFileName(Unescape(text, i));
        } else {
            value += c;
            if (!quoted && (c == ' ' || c == '\t')) {
                continue;
            }
        }
        kept = value.size();
    }
    value.truncate(kept);
    // A file name's bytes that are no UTF-8 come back as they were written.
    const QString string = DecodeFileName(value);
    if (string.startsWith(QLatin1String("@@"))) {
        return string.mid(1);
    }
    if (string.startsWith(kBinaryStart) && string.endsWith(u')')) {
        return string.mid(kBinaryStart.size(), string.size() - kBinaryStart.size() - 1).toLatin1();
    }
    return string;
}

// One line; false when it has no form.
bool ParseLine(const QByteArray& line, QString& section, CIniValues& values)
{
    if (line.isEmpty() || line.startsWith(';')) {
        return true;
    }
    if (line.contains('\0')) {
        return false;
    }
    if (line.startsWith('[')) {
        const qsizetype end = line.indexOf(']');
        const QByteArray name = line.mid(1, end - 1).trimmed();
        section = name == kTopLevel ? QString() : UnescapeName(name);
        return end > 0;
    }
    const qsizetype equals = line.indexOf('=');
    if (equals < 0) {
        return false;
    }
    const QString entry = UnescapeName(line.left(equals).trimmed());
    if (!entry.isEmpty()) {
        values[section][entry] = ParseValue(line.mid(equals + 1).trimmed());
    }
    return true;
}

char HexDigit(int value)
{
    return "0123456789ABCDEF"[value & 15];
}

void AppendName(QByteArray& text, const QString& name)
{
    for (const QChar ch : name) {
        const char16_t c = ch.unicode();
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' ||
            c == u'-' || c == u'.') {
            text += static_cast<char>(c);
            continue;
        }
        text += c <= 0xFF ? "%" : "%U";
        for (int shift = c <= 0xFF ? 4 : 12; shift >= 0; shift -= 4) {
            text += HexDigit(c >> shift);
        }
    }
}

// A surrogate that is no half of a character: a file name's byte that is no
// UTF-8, which has no UTF-8 of its own.
bool IsLoneSurrogate(const QString& text, qsizetype i)
{
    const QChar ch = text[i];
    if (ch.isHighSurrogate())
        return i + 1 == text.size() || !text[i + 1].isLowSurrogate();
    return ch.isLowSurrogate() && (i == 0 || !text[i - 1].isHighSurrogate());
}

// Control characters, lone surrogates (and in binaries every byte beyond ASCII) are written
// as escapes; a hex digit right after a number is escaped too, since a
// reader takes every digit that follows. Quotes keep the spaces at the ends
// and the characters that would end or split the value.
void AppendValue(QByteArray& text, const QString& value, bool binary)
{
    QString escaped;
    bool afterNumber = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar ch = value[i];
        const char16_t c = ch.unicode();
        const char* named = c > 0 && c < 0x20 ? std::strchr(kNamedEscapes, static_cast<char>(c)) : nullptr;
        const bool number = named == nullptr && (c < 0x20 || c == 0x7F || (binary && c > 0x7F) ||
                                                 IsLoneSurrogate(value, i) || (afterNumber && DigitValue(c, 16) >= 0));
        if (named != nullptr) {
            escaped += u'\\';
            escaped += QLatin1Char(named[-1]);
        } else if (number) {
            escaped += QStringLiteral("\\x") + QString::number(c, 16);
        } else {
            escaped += c == u'"' || c == u'\\' ? QStringLiteral("\\") + ch : QString(ch);
        }
        afterNumber = number;
    }
    const bool quote = value.startsWith(u' ') || value.endsWith(u' ') || value.contains(u';') || value.contains(u',') ||
                       value.contains(u'=');
    text += quote ? '"' + escaped.toUtf8() + '"' : escaped.toUtf8();
}

void AppendValue(QByteArray& text, const QVariant& value)
{
    if (value.typeId() == QMetaType::QByteArray) {
        AppendValue(text, kBinaryStart + QString::fromLatin1(value.toByteArray()) + u')', true);
        return;
    }
    const QString string = value.toString();
    AppendValue(text, string.startsWith(u'@') ? u'@' + string : string, false);
}

}  // namespace

bool ParseIniText(QByteArrayView text, CIniValues& values)
{
    QByteArray bytes = text.toByteArray();
    if (bytes.startsWith(kUtf8Mark)) {
        bytes.remove(0, kUtf8Mark.size());
    }
    bytes.replace("\r\n", "\n").replace('\r', '\n');
    bool sound = true;
    QString section;
    for (const QByteArray& line : bytes.split('\n')) {
        sound &= ParseLine(line.trimmed(), section, values);
    }
    return sound;
}

QByteArray FormatIniText(const CIniValues& values)
{
    QByteArray text;
    for (auto section = values.begin(); section != values.end(); ++section) {
        if (section->isEmpty()) {
            continue;
        }
        text += text.isEmpty() ? "[" : "\n[";
        if (section.key().isEmpty()) {
            text += kTopLevel;
        } else {
            AppendName(text, section.key());
        }
        text += "]\n";
        for (auto entry = section->begin(); entry != section->end(); ++entry) {
            AppendName(text, entry.key());
            text += '=';
            AppendValue(text, entry.value());
            text += '\n';
        }
    }
    return text;
}
