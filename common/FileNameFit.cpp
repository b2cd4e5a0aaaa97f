#include "common/FileNameFit.h"

#include "platform/FileName.h"

QString FitFileName(const QString& title, const QString& ending)
{
    return title.left(FileNamePrefixLength(title, kMaxFileNameBytes - EncodeFileName(ending).size())) + ending;
}
