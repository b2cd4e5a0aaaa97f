#pragma once

class QSaveFile;

// Puts the file in place only when every byte written reached it. Qt's own
// commit takes a failed last write (a full disk, a file-size limit) for
// success and would put a file cut short in place of the old one; this
// discards the new file instead.
bool CommitSaveFile(QSaveFile& file);
