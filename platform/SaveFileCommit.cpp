#include "platform/SaveFileCommit.h"

#include <QSaveFile>

bool CommitSaveFile(QSaveFile& file)
{
    if (!file.flush()) {
        file.cancelWriting();
    }
    return file.commit();
}
