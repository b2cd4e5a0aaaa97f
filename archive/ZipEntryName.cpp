#include "archive/ZipEntryName.h"

#include "common/FileNameFit.h"

#include <QCryptographicHash>
#include <QStringDecoder>
#include <QStringList>

#include <iconv.h>

#include <array>
#include <utility>
#include <vector>

namespace {

// The longest ending kept as an extension when a name must be shortened.
constexpr qsizetype kMaxExtensionLength = 16;

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
    static const std::array<QLatin1String, 4> patterns = {QLatin1String("\\..\\"), QLatin1String("\\../"),
                                                          QLatin1String("/../"), QLatin1String("/..\\")};
    for (const QLatin1String& pattern : patterns) {
        const qsizetype found = name.indexOf(pattern);
        if (found >= 0) {
            name.remove(0, found + pattern.size());
            return true;
        }
    }
    return false;
}

// The steps of a name, each with the separator that ends it (the last one
// without), so that joining them gives the name again.
QStringList StepsOf(const QString& name)
{
    QStringList steps;
    qsizetype start = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (IsSeparator(name[i])) {
            steps.append(name.mid(start, i + 1 - start));
            start = i + 1;
        }
    }
    steps.append(name.mid(start));
    return steps;
}

QString WithoutSeparator(const QString& step)
{
    return !step.isEmpty() && IsSeparator(step.back()) ? step.chopped(1) : step;
}

QString WithoutDotSteps(const QString& name)
{
    QString kept;
    for (const QString& step : StepsOf(name)) {
        const QString text = WithoutSeparator(step);
        if (text != QLatin1String(".") && text != QLatin1String("..")) {
            kept += step;
        }
    }
    return kept;
}

// A step too long for the file system keeps its start and its extension and
// gains "~" and eight hexadecimal digits of a hash of the whole step: the
// same step always gives the same name, and different ones stay apart.
QString ShortenStep(const QString& step)
{
    const QByteArray bytes = step.toUtf8();
    if (bytes.size() <= kMaxFileNameBytes) {
        return step;
    }
    const QString mark = QLatin1Char('~') +
                         QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().left(8));
    const qsizetype dot = step.lastIndexOf(QLatin1Char('.'));
    const qsizetype stemLength = dot > 0 && step.size() - dot <= kMaxExtensionLength ? dot : step.size();
    return FitFileName(step.left(stemLength), mark + step.mid(stemLength));
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
    // Dropping a step may uncover a leading separator or drive, so the rules
    // run again until the name no longer changes; it shortens every round.
    for (;;) {
        while (SanitiseStep(name)) {
        }
        QString kept = WithoutDotSteps(name);
        if (kept == name) {
            return name;
        }
        name = std::move(kept);
    }
}

QString FitZipName(const QString& name, int maxLength)
{
    QStringList steps = StepsOf(name);
    qsizetype length = 0;
    for (QString& step : steps) {
        const QString text = WithoutSeparator(step);
        step = ShortenStep(text) + step.mid(text.size());
        length += step.size();
    }
    // Every step now fits in a file name, which is shorter than maxLength.
    qsizetype first = 0;
    while (length > maxLength && first + 1 < steps.size()) {
        length -= steps[first++].size();
    }
    return steps.mid(first).join(QString());
}
