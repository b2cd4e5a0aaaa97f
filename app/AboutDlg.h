#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The About box: the program's name, version and legal notice, its folder,
// and the versions of the external archive libraries.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QLabel* m_btnInstallFolder;  // the link of control 1004

private:
    void OnInitDialog();
    void WidenToLibraryLines(QPlainTextEdit& libraries, QPushButton& ok);
    QLabel* AddStatic(const QString& text, int x, int y, int cx, int cy, int id = -1);
};
