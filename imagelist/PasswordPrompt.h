#pragma once

#include <QString>

class QWidget;

// Asks the user for the password of an encrypted archive; the application
// connects the archive password dialog.
class IPasswordPrompt {
public:
    virtual ~IPasswordPrompt() = default;

    // False when the user cancels.
    virtual bool AskPassword(QWidget* parent, const QString& archivePath, QString& password) = 0;
};
