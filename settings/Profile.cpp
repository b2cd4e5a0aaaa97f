#include "settings/Profile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QVariant>

#include <atomic>
#include <memory>
#include <optional>

#include <sys/resource.h>

#include "platform/SaveFileCommit.h"

CProfileRoute theProfileRoute;

namespace {

std::atomic<int> g_nWriteFailures{0};

// The document option-file mode works on, or nullptr in registry mode.
IProfileDocument* OptionDoc(bool& optionFile)
{
    optionFile = theProfileRoute.m_bOptionFile != 0;
    return optionFile ? theProfileRoute.m_pOptionDoc : nullptr;
}

QSettings* NewUserSettings()
{
    return new QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quenrick"),
                         QStringLiteral("Folivane"));
}

// Set when the settings file is not to be opened at all this session.
bool g_bLeftAlone = false;

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
    QString name = QSettings(probe, QSettings::UserScope, QStringLiteral("Quenrick"), QStringLiteral("Folivane"))
                       .fileName();
    name.chop(extension.size());
    return name + QStringLiteral("ini");
}

// The file-size limit of the process in bytes, or -1 when there is none.
qint64 FileSizeLimit()
{
    rlimit limit {};
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return -1;
    }
    return static_cast<qint64>(limit.rlim_cur);
}

// The settings file as it was, put back over one cut short: a missing one
// is removed again.
class CSettingsCopy {
public:
    explicit CSettingsCopy(const QString& fileName) : m_file(fileName)
    {
        m_bExisted = m_file.open(QIODevice::ReadOnly);
        m_bytes = m_file.readAll();
        m_file.close();
    }

    void PutBack()
    {
        if (!m_bExisted) {
            m_file.remove();
            return;
        }
        QSaveFile file(m_file.fileName());
        if (file.open(QIODevice::WriteOnly)) {
            file.write(m_bytes);
            CommitSaveFile(file);
        }
    }

private:
    QFile m_file;
    QByteArray m_bytes;
    bool m_bExisted = false;
};

// Counts a failed store; TRUE when the settings arrived in the file. A file
// that could not be parsed is still written over: that is no failure. Qt's
// writer puts a file cut off at the file-size limit in place as if it were
// whole: under a limit the file as it was is kept to be put back then.
BOOL SyncSettings(QSettings& settings)
{
    const qint64 limit = FileSizeLimit();
    std::optional<CSettingsCopy> before;
    if (limit >= 0) {
        before.emplace(settings.fileName());
    }
    settings.sync();
    const bool cut = limit >= 0 && QFileInfo(settings.fileName()).size() >= limit;
    if (cut) {
        before->PutBack();
    }
    if (settings.status() != QSettings::AccessError && !cut) {
        return 1;
    }
    ++g_nWriteFailures;
    return 0;
}

// The settings file a batch of writes holds open, and how deep batches nest.
std::unique_ptr<QSettings> g_pBatch;
int g_nBatchDepth = 0;

// The user's settings file, opened on the section's group: the batch's while
// one is open, else one of its own. A file left alone reads as empty, and
// writes to it fail.
class CUserSettings {
public:
    explicit CUserSettings(const QString& section)
        : m_pOwn(g_pBatch || g_bLeftAlone ? nullptr : NewUserSettings()),
          m_pSettings(g_pBatch ? g_pBatch.get() : m_pOwn.get())
    {
        if (m_pSettings != nullptr && !section.isEmpty()) {
            m_pSettings->beginGroup(section);
        }
    }
    ~CUserSettings()
    {
        while (m_pSettings != nullptr && !m_pSettings->group().isEmpty()) {
            m_pSettings->endGroup();
        }
    }
    CUserSettings(const CUserSettings&) = delete;
    CUserSettings& operator=(const CUserSettings&) = delete;

    QVariant Value(const QString& entry) const { return m_pSettings ? m_pSettings->value(entry) : QVariant(); }

    BOOL Remove(const QString& group)
    {
        if (m_pSettings != nullptr) {
            m_pSettings->remove(group);
        }
        return Sync();
    }

    // Stores the value at once, so that the result tells whether it arrived;
    // in a batch, the batch's end stores it.
    BOOL Write(const QString& entry, const QVariant& value)
    {
        if (m_pSettings != nullptr) {
            m_pSettings->setValue(entry, value);
        }
        return Sync();
    }

private:
    BOOL Sync()
    {
        if (m_pSettings == nullptr) {
            ++g_nWriteFailures;
            return 0;
        }
        return m_pOwn ? SyncSettings(*m_pOwn) : 1;
    }

    std::unique_ptr<QSettings> m_pOwn;
    QSettings* m_pSettings;
};

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
    const QVariant value = CUserSettings(section).Value(entry);
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
    return optionFile ? 0 : CUserSettings(section).Write(entry, nValue);
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
    const QVariant value = CUserSettings(section).Value(entry);
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
    return optionFile ? 0 : CUserSettings(section).Write(entry, value);
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
    const QVariant value = CUserSettings(section).Value(entry);
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
    return optionFile ? 0 : CUserSettings(section).Write(entry, data);
}

BOOL DeleteProfileSection(const QString& section)
{
    // An empty group name would stand for the whole file.
    return section.isEmpty() ? 0 : CUserSettings(QString()).Remove(section);
}

QString GetProfileFileName()
{
    return UserSettingsFileName();
}

void LeaveProfileFileAlone()
{
    g_bLeftAlone = true;
}

int GetProfileWriteFailures()
{
    return g_nWriteFailures;
}

CProfileBatch::CProfileBatch()
{
    if (g_nBatchDepth++ == 0 && !g_bLeftAlone) {
        g_pBatch.reset(NewUserSettings());
    }
}

CProfileBatch::~CProfileBatch()
{
    if (--g_nBatchDepth == 0 && g_pBatch) {
        SyncSettings(*g_pBatch);
        g_pBatch.reset();
    }
}
