#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A file written apart and put in place by a rename only once every byte
// reached it, as QSaveFile does, but named by the path's bytes
// (EncodeFileName): QSaveFile would write a name that is no UTF-8 under
// another name. Where the file system allows it, the file has no name until
// the commit, so that a crash or a power cut leaves nothing behind in the
// folder; elsewhere it is written under a hidden temporary name beside the
// path. What is not committed is removed. A file that was there keeps its
// permissions; a new one has the mode the umask leaves. A link at the path
// is replaced, never written through.
// Error codes are errno values (0 = success).
class CSaveFile {
public:
    explicit CSaveFile(const QString& path);
    ~CSaveFile();
    CSaveFile(const CSaveFile&) = delete;
    CSaveFile& operator=(const CSaveFile&) = delete;

    // EISDIR for a folder at the path, EACCES for a file there that may not be written.
    int Open();
    QIODevice& Device() { return m_file; }
    int Commit();

private:
    int CreateTemporary(mode_t mode);
    int CreateNamed(mode_t mode);
    int NameUnnamed();
    void Discard();

    QByteArray m_path;
    QByteArray m_temporary;  // empty while the file has no name
    QFile m_file;
    int m_descriptor = -1;
};
