#include "archive/ZipEntryName.h"

#include <QStringDecoder>

#include <iconv.h>

#include <array>
#include <vector>

namespace {

bool DecodeUtf8(const QByteArray& raw, QString& name)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    name = decoder.decode(raw);
    return !decoder.hasError();
}

bool DecodeCp932(const QByteArray& raw, QString& name)
{
    iconv_t converter = iconv_open("UTF-8", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    // A CP932 character never takes more than three bytes of UTF-8 per byte.
    std::vector<char> output(static_cast<size_t>(raw.size()) * 3 + 4);
    QByteArray input = raw;
    char* in = input.data();
    size_t inLeft = static_cast<size_t>(input.size());
    char* out = output.data();
    size_t outLeft = output.size();
    const bool ok = iconv(converter, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1) && inLeft == 0;
    iconv_close(converter);
    if (ok) {
        name = QString::fromUtf8(output.data(), static_cast<qsizetype>(output.size() - outLeft));
    }
    return ok;
}

bool IsSeparator(QChar c)
{
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
}

// One sanitising step; false when no rule applies any more.
bool SanitiseStep(QString& name)
{
    if (name.size() >= 2 && name[1] == QLatin1Char(':')) {
        name.remove(0, 2);
        return true;
    }
    if (!name.isEmpty() && IsSeparator(name[0])) {
        name.remove(0, 1);
        return true;
    }
    if (name.size() >= 3 && name.startsWith(QLatin1String("..")) && IsSeparator(name[2])) {
        name.remove(0, 3);
        return true;
    }
    static const std::array<QLatin1String, 4> patterns = {
        QLatin1String("\\..\\"), QLatin1String("\\../"), QLatin1String("/../"), QLatin1String("/..\\")};
    for (const QLatin1String& pattern : patterns) {
        const qsizetype found = name.indexOf(pattern);
        if (found >= 0) {
            name.remove(0, found + pattern.size());
            return true;
        }
    }
    return false;
}

}  // namespace

QString DecodeZipName(const QByteArray& raw)
{
    QString name;
    if (DecodeUtf8(raw, name) || DecodeCp932(raw, name)) {
        return name;
    }
    return QString::fromLatin1(raw);
}

QString SanitiseZipName(QString name)
{
    while (SanitiseStep(name)) {
    }
    return name;
}
