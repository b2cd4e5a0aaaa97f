#pragma once

#include <sys/stat.h>

// Whether two status records are of one file: the same inode on the same
// device. An inode held open is never given to another file, so a file or
// folder made again under a name is always told apart from the one before.
inline bool IsSameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}
