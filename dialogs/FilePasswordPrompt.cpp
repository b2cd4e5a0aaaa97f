#include "dialogs/FilePasswordPrompt.h"

#include "dialogs/FilePasswordDialog.h"
#include "msgbox/ExtMsgBoxDefs.h"

bool CFilePasswordPrompt::AskPassword(QWidget* parent, const QString& archivePath, QString& password)
{
    CFilePasswordDialog dialog(archivePath, parent);
    if (dialog.DoModal() != IDOK) {
        return false;
    }
    password = dialog.m_strPassword;
    return true;
}
