#pragma once

#include "settings/OptionDocument.h"
#include "settings/Profile.h"

// The profile functions' view of an option document: what they do while the
// option-file mode is on. Install it in theProfileRoute.m_pOptionDoc.
class COptionProfile : public IProfileDocument {
public:
    explicit COptionProfile(CSectionArray& doc) : m_doc(doc) {}

    int GetInt(const QString& section, const QString& entry, int nDefault) override;
    BOOL WriteInt(const QString& section, const QString& entry, int nValue) override;
    QString GetString(const QString& section, const QString& entry, const QString& strDefault) override;
    BOOL WriteString(const QString& section, const QString& entry, const QString& value) override;
    BOOL GetBinary(const QString& section, const QString& entry, QByteArray& data) override;
    BOOL WriteBinary(const QString& section, const QString& entry, const QByteArray& data) override;

private:
    CSectionArray& m_doc;
};

// A decimal integer the way stored texts are read: leading white space,
// an optional sign, then digits up to the first other character; no digits
// give 0, values beyond the int range stop at its ends.
int DecimalTextToInt(QStringView text);
