#include "settings/OptionDocument.h"

namespace {

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

const CSection* FindSectionConst(const CSectionArray& doc, const QString& name)
{
    for (const CSection& section : doc) {
        if (SameName(section.m_strName, name)) {
            return &section;
        }
    }
    return nullptr;
}

// The stored text of section/key, or nullptr when either is missing.
const QString* FindValue(const CSectionArray& doc, const QString& sectionName, const QString& key)
{
    const CSection* section = FindSectionConst(doc, sectionName);
    if (section == nullptr) {
        return nullptr;
    }
    for (const CEntry& entry : section->m_entries) {
        if (SameName(entry.m_strKey, key)) {
            return &entry.m_strValue;
        }
    }
    return nullptr;
}

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    if (u >= u'a' && u <= u'f') {
        return u - u'a' + 10;
    }
    if (u >= u'A' && u <= u'F') {
        return u - u'A' + 10;
    }
    return -1;
}

// Value of up to two hex digits, either case; reading stops at the first
// other character (none read gives 0).
uchar HexByte(QChar high, QChar low)
{
    const int h = HexDigit(high);
    if (h < 0) {
        return 0;
    }
    const int l = HexDigit(low);
    return static_cast<uchar>(l < 0 ? h : h * 16 + l);
}

}  // namespace

CSection* FindSection(CSectionArray& doc, const QString& name, BOOL create)
{
    for (CSection& section : doc) {
        if (SameName(section.m_strName, name)) {
            return &section;
        }
    }
    if (!create) {
        return nullptr;
    }
    doc.append(CSection{name, {}});
    return &doc.last();
}

CEntry* FindEntry(CSection& section, const QString& key, BOOL create)
{
    for (CEntry& entry : section.m_entries) {
        if (SameName(entry.m_strKey, key)) {
            return &entry;
        }
    }
    if (!create) {
        return nullptr;
    }
    section.m_entries.append(CEntry{key, {}});
    return &section.m_entries.last();
}

QString EscapeOptionValue(const QString& text)
{
    QString value = text;
    value.replace(u'\\', QStringLiteral("\\\\"));
    value.replace(u'\r', QStringLiteral("\\r"));
    value.replace(u'\n', QStringLiteral("\\n"));
    return value;
}

QString UnescapeOptionValue(const QString& value)
{
    if (value.size() < 2) {
        return value;
    }
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != u'\\' || i + 1 == value.size()) {
            text.append(c);
            continue;
        }
        const QChar next = value[i + 1];
        if (next == u'\\' || next == u'r' || next == u'n') {
            text.append(next == u'\\' ? u'\\' : next == u'r' ? u'\r' : u'\n');
            ++i;
        } else {
            text.append(c);  // kept; the next character is read on its own
        }
    }
    return text;
}

QString GetOptionString(const CSectionArray& doc, const QString& section, const QString& key, const QString& strDefault)
{
    const QString* value = FindValue(doc, section, key);
    return value != nullptr ? UnescapeOptionValue(*value) : strDefault;
}

BOOL SetOptionString(CSectionArray& doc, const QString& section, const QString& key, const QString& text)
{
    FindEntry(*FindSection(doc, section, 1), key, 1)->m_strValue = EscapeOptionValue(text);
    return 1;
}

BOOL GetOptionBinary(const CSectionArray& doc, const QString& section, const QString& key, QByteArray& data)
{
    data.clear();
    const QString* value = FindValue(doc, section, key);
    if (value == nullptr) {
        return 1;
    }
    const qsizetype count = value->size() / 2;
    data.resize(count);
    for (qsizetype i = 0; i < count; ++i) {
        data[i] = static_cast<char>(HexByte((*value)[2 * i], (*value)[2 * i + 1]));
    }
    return 1;
}

BOOL SetOptionBinary(CSectionArray& doc, const QString& section, const QString& key, const QByteArray& data)
{
    FindEntry(*FindSection(doc, section, 1), key, 1)->m_strValue = QString::fromLatin1(data.toHex());
    return 1;
}
