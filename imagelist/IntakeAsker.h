#pragma once

#include <QString>

// The questions and messages of an intake: the list answers them with its
// message boxes and the archive password dialog, a test by itself.
class IIntakeAsker {
public:
    virtual ~IIntakeAsker() = default;

    // Whether subfolders are added too: IDYES, IDNO or IDCANCEL.
    virtual int AskSubfolders() = 0;
    virtual void ShowIntakeMessage(const QString& text) = 0;
    // The password for the archive; false when the user cancels.
    virtual bool AskArchivePassword(const QString& archivePath, QString& password) = 0;
};
