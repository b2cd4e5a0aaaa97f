#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A file written under a temporary name in the folder of its path and put in
// place by a rename only once every byte reached it, as QSaveFile does, but
// named by the path's bytes (EncodeFileName): QSaveFile would write a name
// that is no UTF-8 under another name. What is not committed is removed. A
// file that was there keeps its mode; a new one has the mode the umask leaves.
// A link at the path is replaced, never written through.
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
    void Discard();

    QByteArray m_path;
    QByteArray m_temporary;
    QFile m_file;
    int m_descriptor = -1;
};
