#pragma once

#include <QByteArray>
#include <QString>

#include "platform/WinTypes.h"

// The six profile functions through which all settings code reads and writes.
// Normally they work on the user's settings file (INI format,
// ~/.config/Quenrick/Folivane.ini): section "" is the top level, any other
// section a group, binaries are byte arrays. The file is read only when it is
// a regular file (else reads give the caller's default and writes fail), and
// replaced whole by a new one, never written in place, by one running copy
// of the program at a time. In option-file mode they work on the option
// document instead, so that the same settings code also reads and writes
// option files. UI thread only.
int GetProfileInt(const QString& section, const QString& entry, int nDefault);
BOOL WriteProfileInt(const QString& section, const QString& entry, int nValue);
QString GetProfileString(const QString& section, const QString& entry, const QString& strDefault = QString());
BOOL WriteProfileString(const QString& section, const QString& entry, const QString& value);
// FALSE when the value is missing or not binary; data is then empty.
BOOL GetProfileBinary(const QString& section, const QString& entry, QByteArray& data);
BOOL WriteProfileBinary(const QString& section, const QString& entry, const QByteArray& data);
// Removes a whole group of the settings file with all its values; the option
// document is never touched. FALSE when the file could not be written.
BOOL DeleteProfileSection(const QString& section);
// The settings file's full name; the file is not opened.
QString GetProfileFileName();
// How many writes to the settings file have failed since the program started,
// so that a caller can tell the user what was not kept.
int GetProfileWriteFailures();

// Reads the settings file once and holds its values while it lives, so that
// many reads (the options at start-up) and writes (at shutdown) go to the
// file once instead of once each. Its end makes the writes on the file as it
// is then and stores it. Writes inside report success; a failed store at the
// end counts in GetProfileWriteFailures. UI thread only; batches nest.
class CProfileBatch {
public:
    CProfileBatch();
    ~CProfileBatch();
    CProfileBatch(const CProfileBatch&) = delete;
    CProfileBatch& operator=(const CProfileBatch&) = delete;
};

// The option document's side of the six functions. The settings library
// implements it; the platform layer only routes to it.
class IProfileDocument {
public:
    virtual int GetInt(const QString& section, const QString& entry, int nDefault) = 0;
    virtual BOOL WriteInt(const QString& section, const QString& entry, int nValue) = 0;
    virtual QString GetString(const QString& section, const QString& entry, const QString& strDefault) = 0;
    virtual BOOL WriteString(const QString& section, const QString& entry, const QString& value) = 0;
    virtual BOOL GetBinary(const QString& section, const QString& entry, QByteArray& data) = 0;
    virtual BOOL WriteBinary(const QString& section, const QString& entry, const QByteArray& data) = 0;

protected:
    ~IProfileDocument() = default;
};

// Where the six functions go. The owner of the option document installs it in
// m_pOptionDoc; m_bOptionFile is set only around one read or write of an
// option file. With the flag set but no document installed, reads give the
// caller's default and writes fail, so the user's settings are never touched
// by mistake.
struct CProfileRoute {
    BOOL m_bOptionFile = 0;
    IProfileDocument* m_pOptionDoc = nullptr;
};

extern CProfileRoute theProfileRoute;
