#pragma once

#include "imagelist/PasswordPrompt.h"

// The list's password question answered with the archive password dialog.
class CFilePasswordPrompt : public IPasswordPrompt {
public:
    bool AskPassword(QWidget* parent, const QString& archivePath, QString& password) override;
};
