#pragma once

#include <QStringList>

#include <memory>

class QMimeData;

// File lists on the clipboard as the desktop's file managers exchange them:
// a list of file URLs with the managers' copy marker. A cut announces a copy
// too, so a file manager pasting it never moves the user's files away.
std::unique_ptr<QMimeData> MakeFileListMimeData(const QStringList& paths);

// Whether the data holds a file list.
bool HasFileList(const QMimeData* data);

// The local paths of a file list, in order; remote URLs and empty names are
// left out, anything but a file list gives nothing.
QStringList ReadFileList(const QMimeData* data);
