#pragma once

#include <QByteArray>

// Deleting folder trees by descriptors: each folder is opened relative to its
// open parent, never by a path looked up again from the top, and a name that
// turns out to be a link is removed as a link, never followed. A folder that
// someone swaps for a link while the walk runs leads nowhere outside the
// tree. The walk stays on the tree's own mount: a folder on another (a file
// system or a bind mount mounted there) is neither entered nor removed, and
// the folders that hold it stay. Error codes are errno values (0 =
// success); the walk stops at the first failure, and what it deleted before
// stays deleted.

// Deletes all the open folder holds: its folders first, each with its
// deepest content first, then its other entries, each group in name order.
// The walk may let go of the descriptor and open the same folder again;
// folder is then the new one, or -1 after a failure.
int EmptyFolder(int& folder);

// Deletes the folder name of the open folder parent with all it holds: 0
// also when there is nothing of that name; ENOTDIR, deleting nothing, when
// the name holds a link or a file; ENOTEMPTY when a mount there or below
// kept it; EINVAL for "." and "..".
int DeleteFolderAt(int parent, const QByteArray& name);
