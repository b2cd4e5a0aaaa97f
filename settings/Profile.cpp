#include "settings/Profile.h"

#include <QList>
#include <QSettings>
#include <QVariant>

#include <atomic>
#include <functional>
#include <optional>

#include "settings/SettingsFile.h"
#include "settings/SettingsLock.h"

CProfileRoute theProfileRoute;

namespace {

// How long a store waits for another copy's: many times a store's own time.
constexpr int kStoreWaitMsecs = 5000;

std::atomic<int> g_nWriteFailures{0};

// The document option-file mode works on, or nullptr in registry mode.
IProfileDocument* OptionDoc(bool& optionFile)
{
    optionFile = theProfileRoute.m_bOptionFile != 0;
    return optionFile ? theProfileRoute.m_pOptionDoc : nullptr;
}

bool NoFormatRead(QIODevice&, QSettings::SettingsMap&)
{
    return false;
}

bool NoFormatWrite(QIODevice&, const QSettings::SettingsMap&)
{
    return false;
}

// The settings file's name, found without opening it: QSettings reads its
// file as soon as it is made, and a FIFO there would block that for good. A
// format of the program's own keeps its files where INI files go; its
// extension names a file that is not there.
QString UserSettingsFileName()
{
    static const QString extension = QStringLiteral("folivane-name");
    static const QSettings::Format probe = QSettings::registerFormat(extension, NoFormatRead, NoFormatWrite);
    QString name =
        QSettings(probe, QSettings::UserScope, QStringLiteral("Quenrick"), QStringLiteral("Folivane")).fileName();
    name.chop(extension.size());
    return name + QStringLiteral("ini");
}

// One change of the user's settings.
using CSettingsChange = std::function<void(CIniValues&)>;

// What a batch holds: the values read at its start with its changes made,
// and the changes, to be made again on the file as it is at the end.
struct CBatch {
    CIniValues m_values;
    QList<CSettingsChange> m_changes;
};

std::optional<CBatch> g_batch;
int g_nBatchDepth = 0;

CIniValues ReadUserSettings()
{
    CIniValues values;
    ReadSettingsFile(UserSettingsFileName(), values);
    return values;
}

QVariant UserValue(const QString& section, const QString& entry)
{
    return (g_batch ? g_batch->m_values : ReadUserSettings()).value(section).value(entry);
}

// Makes the changes on the file as it is and stores it whole; counts a
// failure. A file that could not be parsed is written over: that is no
// failure. A name that is no regular file is not written over. Another
// running copy's store is waited for, so that both keep their values; one
// that does not end within the wait fails this one.
BOOL StoreChanges(const QList<CSettingsChange>& changes)
{
    const QString name = UserSettingsFileName();
    const CSettingsLock lock(name, kStoreWaitMsecs);
    CIniValues values;
    bool stored = lock.AllowsStore() && ReadSettingsFile(name, values) != ESettingsFile::Refused;
    if (stored) {
        for (const CSettingsChange& change : changes) {
            change(values);
        }
        stored = WriteSettingsFile(name, values);
    }
    if (!stored) {
        ++g_nWriteFailures;
    }
    return stored ? 1 : 0;
}

// Stores the change at once, so that the result tells whether it arrived;
// in a batch, the batch's end stores it.
BOOL ChangeUserSettings(const CSettingsChange& change)
{
    if (!g_batch) {
        return StoreChanges({change});
    }
    change(g_batch->m_values);
    g_batch->m_changes.append(change);
    return 1;
}

BOOL WriteUserValue(const QString& section, const QString& entry, const QVariant& value)
{
    return ChangeUserSettings([section, entry, value](CIniValues& values) { values[section][entry] = value; });
}

}  // namespace

int GetProfileInt(const QString& section, const QString& entry, int nDefault)
{
    bool optionFile = false;
    if (IProfileDocument* doc = OptionDoc(optionFile)) {
        return doc->GetInt(section, entry, nDefault);
    }
    if (optionFile) {
        return nDefault;
    }
    const QVariant value = UserValue(section, entry);
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok ? number : nDefault;
}

BOOL WriteProfileInt(const QString& section, const QString& entry, int nValue)
{
    bool optionFile = false;
    if (IProfileDocument* doc = OptionDoc(optionFile)) {
        return doc->WriteInt(section, entry, nValue);
    }
    return optionFile ? 0 : WriteUserValue(section, entry, QString::number(nValue));
}

QString GetProfileString(const QString& section, const QString& entry, const QString& strDefault)
{
    bool optionFile = false;
    if (IProfileDocument* doc = OptionDoc(optionFile)) {
        return doc->GetString(section, entry, strDefault);
    }
    if (optionFile) {
        return strDefault;
    }
    const QVariant value = UserValue(section, entry);
    // A binary value is not a string, as in the registry.
    if (!value.isValid() || value.typeId() == QMetaType::QByteArray) {
        return strDefault;
    }
    return value.toString();
}

BOOL WriteProfileString(const QString& section, const QString& entry, const QString& value)
{
    bool optionFile = false;
    if (IProfileDocument* doc = OptionDoc(optionFile)) {
        return doc->WriteString(section, entry, value);
    }
    return optionFile ? 0 : WriteUserValue(section, entry, value);
}

BOOL GetProfileBinary(const QString& section, const QString& entry, QByteArray& data)
{
    data.clear();
    bool optionFile = false;
    if (IProfileDocument* doc = OptionDoc(optionFile)) {
        return doc->GetBinary(section, entry, data);
    }
    if (optionFile) {
        return 0;
    }
    const QVariant value = UserValue(section, entry);
    if (value.typeId() != QMetaType::QByteArray) {
        return 0;
    }
    data = value.toByteArray();
    return 1;
}

BOOL WriteProfileBinary(const QString& section, const QString& entry, const QByteArray& data)
{
    bool optionFile = false;
    if (IProfileDocument* doc = OptionDoc(optionFile)) {
        return doc->WriteBinary(section, entry, data);
    }
    return optionFile ? 0 : WriteUserValue(section, entry, data);
}

BOOL DeleteProfileSection(const QString& section)
{
    // An empty group name would stand for the whole file.
    return section.isEmpty() ? 0 : ChangeUserSettings([section](CIniValues& values) { values.remove(section); });
}

QString GetProfileFileName()
{
    return UserSettingsFileName();
}

int GetProfileWriteFailures()
{
    return g_nWriteFailures;
}

CProfileBatch::CProfileBatch()
{
    if (g_nBatchDepth++ == 0) {
        g_batch = CBatch{ReadUserSettings(), {}};
    }
}

CProfileBatch::~CProfileBatch()
{
    if (--g_nBatchDepth > 0) {
        return;
    }
    const QList<CSettingsChange> changes = std::move(g_batch->m_changes);
    g_batch.reset();
    if (!changes.isEmpty()) {
        StoreChanges(changes);
    }
}
