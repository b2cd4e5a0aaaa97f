#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;

// Asks for the password of an encrypted archive. The typed characters are
// hidden; an empty password is a valid answer.
class CFilePasswordDialog : public QDialog {
    Q_OBJECT

public:
    explicit CFilePasswordDialog(const QString& fileName, QWidget* parent = nullptr);

    // IDOK or IDCANCEL.
    int DoModal();
    void OnInitDialog();
    void OnOK();
    void accept() override { OnOK(); }

    QLabel* m_name;
    QLineEdit* m_edit;
    QString m_strFileName;
    QString m_strPassword;
};
