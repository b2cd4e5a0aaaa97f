#include "settings/OptionFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QtEndian>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/ErrorText.h"
#include "common/FileException.h"
#include "common/Paths.h"

namespace {

// Option files hold a few kilobytes; anything far larger is not one. A file
// of tens of megabytes of short lines would become millions of entries,
// gigabytes of memory and lookups that freeze the window for minutes.
constexpr qint64 kMaxFileSize = 1024 * 1024;

const QString kBadContent = QStringLiteral("ファイル内容が正しくありません");

CFileException FileError(int cause, const QString& path)
{
    if (cause == 0) {
        cause = EIO;
    }
    return CFileException(cause, path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(cause)));
}

// Reads the whole file after checking that it is a regular file of a sane
// size, so that a folder, a pipe or a device neither hangs nor floods memory.
QByteArray ReadWholeFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        throw FileError(info.isDir() ? EISDIR : EINVAL, path);
    }
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        throw FileError(errno, path);
    }
    const qint64 size = file.size();
    if (size > kMaxFileSize) {
        throw FileError(EFBIG, path);
    }
    errno = 0;
    QByteArray bytes = file.read(size);
    if (file.error() != QFileDevice::NoError) {
        throw FileError(errno, path);
    }
    return bytes;
}

// The text after the mark: whole UTF-16 units, ending at the first NUL.
QString TextAfterMark(const QByteArray& bytes)
{
    QString text((bytes.size() - 2) / 2, Qt::Uninitialized);
    qFromLittleEndian<char16_t>(bytes.constData() + 2, text.size(), text.data());
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0) {
        text.truncate(nul);
    }
    return text;
}

void SkipWhiteSpace(QStringView& cursor)
{
    qsizetype i = 0;
    while (i < cursor.size() && cursor[i].isSpace()) {
        ++i;
    }
    cursor = cursor.mid(i);
}

void Write(QIODevice& file, const QString& text)
{
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    qToLittleEndian<char16_t>(text.utf16(), text.size(), bytes.data());
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        const auto* named = qobject_cast<QFile*>(&file);
        throw FileError(errno, named != nullptr ? named->fileName() : QString());
    }
}

// The old file is replaced only once the new one is complete, yet saving
// still refuses up front where deleting it would fail: a folder, a file
// without its owner's write permission (as Windows keeps a read-only file),
// or a folder that lets nothing be removed from it.
int CheckReplaceable(const QString& path)
{
    struct stat info {};
    if (lstat(QFile::encodeName(path).constData(), &info) != 0) {
        return 0;  // nothing there
    }
    if (S_ISDIR(info.st_mode)) {
        return EISDIR;
    }
    if (S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) == 0) {
        return EACCES;
    }
    const QString folder = GetFolderPart(path);
    const QByteArray native = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
    return access(native.constData(), W_OK | X_OK) == 0 ? 0 : errno;
}

// A new file of a name of its own in the folder: nothing planted there is
// followed, and the user's file stays whole until the rename.
void CreateTemporary(QFile& file, const QString& folder, const QString& path)
{
    for (;;) {
        file.setFileName(
            folder +
            QStringLiteral(".folivane-%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        errno = 0;
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
            return;
        }
        if (errno != EEXIST) {
            throw FileError(errno, path);
        }
    }
}

void WriteDocument(const CSectionArray& doc, QFile& file, const QString& path)
{
    Write(file, QStringLiteral("\uFEFF"));
    for (const CSection& section : doc) {
        WriteSection(section, file);
    }
    if (fsync(file.handle()) != 0) {
        throw FileError(errno, path);
    }
    file.close();
    if (rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()) != 0) {
        throw FileError(errno, path);
    }
}

}  // namespace

BOOL ParseEntry(QStringView& cursor, CEntry& entry, QString& error)
{
    SkipWhiteSpace(cursor);
    if (cursor.isEmpty() || cursor.front() == u'[') {
        entry.m_strKey.clear();
        return 1;
    }
    qsizetype lineEnd = 0;
    while (lineEnd < cursor.size() && cursor[lineEnd] != u'\r' && cursor[lineEnd] != u'\n') {
        ++lineEnd;
    }
    const qsizetype equals = cursor.left(lineEnd).indexOf(u'=');
    if (equals < 0) {
        error = kBadContent + QStringLiteral("(entry)");
        return 0;
    }
    entry.m_strKey = cursor.left(equals).toString();
    entry.m_strValue = cursor.mid(equals + 1, lineEnd - equals - 1).toString();
    cursor = cursor.mid(lineEnd);
    return 1;
}

BOOL ParseSection(QStringView& cursor, CSection& section, QString& error)
{
    SkipWhiteSpace(cursor);
    if (cursor.isEmpty()) {
        section.m_strName.clear();
        return 1;
    }
    const qsizetype close = cursor.front() == u'[' ? cursor.indexOf(u']', 1) : -1;
    if (close < 0) {
        error = kBadContent + QStringLiteral("(section)");
        return 0;
    }
    section.m_strName = cursor.mid(1, close - 1).toString();
    section.m_entries.clear();
    cursor = cursor.mid(close + 1);
    for (;;) {
        CEntry entry;
        if (!ParseEntry(cursor, entry, error)) {
            return 0;
        }
        if (entry.m_strKey.isEmpty()) {
            return 1;
        }
        section.m_entries.append(std::move(entry));
    }
}

BOOL LoadOptionFile(CSectionArray& doc, const QString& path, QString& error)
{
    doc.clear();
    QByteArray bytes;
    try {
        bytes = ReadWholeFile(path);
    } catch (const std::exception& e) {
        error = QStringLiteral("load error\n") + GetExceptionText(e);
        return 0;
    }
    if (bytes.size() < 2 || uchar(bytes[0]) != 0xFF || uchar(bytes[1]) != 0xFE) {
        error = kBadContent + QStringLiteral("(bom)");
        return 0;
    }
    const QString text = TextAfterMark(bytes);
    bytes.clear();
    QStringView cursor(text);
    for (;;) {
        CSection section;
        if (!ParseSection(cursor, section, error)) {
            return 0;
        }
        if (section.m_strName.isEmpty()) {
            return 1;
        }
        doc.append(std::move(section));
    }
}

void WriteEntry(const CEntry& entry, QIODevice& file)
{
    Write(file, entry.m_strKey + u'=' + entry.m_strValue + QStringLiteral("\r\n"));
}

void WriteSection(const CSection& section, QIODevice& file)
{
    Write(file, u'[' + section.m_strName + QStringLiteral("]\r\n"));
    for (const CEntry& entry : section.m_entries) {
        WriteEntry(entry, file);
    }
    Write(file, QStringLiteral("\r\n"));
}

BOOL SaveOptionFile(const CSectionArray& doc, const QString& path, QString& error)
{
    if (const int code = CheckReplaceable(path)) {
        error = QStringLiteral("del file error\n") + GetSystemErrorText(code) + u'\n' + path;
        return 0;
    }
    // A bare file name is saved in the current folder, which exists.
    const QString folder = GetFolderPart(path);
    if (!folder.isEmpty()) {
        if (const int code = CreateFolderPath(folder)) {
            error = QStringLiteral("create dir error\n") + GetSystemErrorText(code) + u'\n' + folder;
            return 0;
        }
    }
    QFile file;
    bool created = false;
    try {
        CreateTemporary(file, folder, path);
        created = true;
        WriteDocument(doc, file, path);
        return 1;
    } catch (const CFileException& e) {
        // The error names the user's file, not the temporary one.
        error = QStringLiteral("save error\n") + GetExceptionText(FileError(e.m_cause, path));
    } catch (const std::exception& e) {
        error = QStringLiteral("save error\n") + GetExceptionText(e);
    }
    if (created) {
        file.remove();
    }
    return 0;
}
