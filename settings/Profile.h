#pragma once

#include <QByteArray>
#include <QString>

#include "platform/WinTypes.h"

// The six profile functions through which all settings code reads and writes.
// Normally they work on the user's settings file (INI format,
// ~/.config/Quenrick/Folivane.ini): section "" is the top level, any other
// section a group, binaries are byte arrays. In option-file mode they work on
// the option document instead, so that the same settings code also reads and
// writes option files. UI thread only.
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
// From now on the settings file is never opened: reads give the caller's
// default and writes fail. For a settings file that is no file (a FIFO, a
// device) and cannot be moved aside.
void LeaveProfileFileAlone();
// How many writes to the settings file have failed since the program started,
// so that a caller can tell the user what was not kept.
int GetProfileWriteFailures();

// Holds the settings file open while it lives, so that many writes (the
// options at shutdown) store the file once instead of once each. Writes inside
// report success; a failed store at the end counts in GetProfileWriteFailures.
// UI thread only; batches nest.
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
