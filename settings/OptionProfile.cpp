#include "settings/OptionProfile.h"

#include <algorithm>
#include <limits>

int DecimalTextToInt(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr qint64 limit = qint64(std::numeric_limits<int>::max()) + 1;
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = std::min(value * 10 + (text[i].unicode() - u'0'), limit);
    }
    if (negative) {
        return static_cast<int>(-value);
    }
    return static_cast<int>(std::min<qint64>(value, std::numeric_limits<int>::max()));
}

int COptionProfile::GetInt(const QString& section, const QString& entry, int nDefault)
{
    CSection* found = FindSection(m_doc, section, 0);
    const CEntry* value = found != nullptr ? FindEntry(*found, entry, 0) : nullptr;
    return value != nullptr ? DecimalTextToInt(value->m_strValue) : nDefault;
}

BOOL COptionProfile::WriteInt(const QString& section, const QString& entry, int nValue)
{
    FindEntry(*FindSection(m_doc, section, 1), entry, 1)->m_strValue = QString::number(nValue);
    return 1;
}

QString COptionProfile::GetString(const QString& section, const QString& entry, const QString& strDefault)
{
    return GetOptionString(m_doc, section, entry, strDefault);
}

BOOL COptionProfile::WriteString(const QString& section, const QString& entry, const QString& value)
{
    return SetOptionString(m_doc, section, entry, value);
}

BOOL COptionProfile::GetBinary(const QString& section, const QString& entry, QByteArray& data)
{
    return GetOptionBinary(m_doc, section, entry, data);
}

BOOL COptionProfile::WriteBinary(const QString& section, const QString& entry, const QByteArray& data)
{
    return SetOptionBinary(m_doc, section, entry, data);
}
