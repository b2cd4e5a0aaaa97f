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
    // Long paths: the box widens to show them whole, up to most of the
    // screen; past that they wrap at their separators and the box grows down
    // to show every line.
    void FitToPaths(QPlainTextEdit& libraries, QPushButton& ok);
    void Widen(int extra, QPushButton& ok);
    void WrapFolderLink();
    void WrapLibraryLines(QPlainTextEdit& libraries);
    void GrowDown(QWidget& control, int extra);
    QLabel* AddStatic(const QString& text, int x, int y, int cx, int cy, int id = -1);
};
