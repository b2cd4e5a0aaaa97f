#pragma once

#include <gtest/gtest.h>

#include <QDateTime>
#include <QImage>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <cstdint>
#include <deque>
#include <functional>
#include <ostream>

#include "imagelist/PasswordPrompt.h"

class CImageInfo;
class CImageListCtrl;
class CMainFrame;
class CStatusPane;
class QPushButton;

// Readable strings in failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// One message box as the user met it, and the answers the user gives, in turn.
struct AskedBox {
    QString text;
    std::uint32_t style;
};

// The archive password dialog answered with the passwords in turn; none left: cancel.
struct CAnsweredPasswords : IPasswordPrompt {
    std::deque<QString> answers;
    QStringList asked;  // archive paths
    bool AskPassword(QWidget* parent, const QString& archivePath, QString& password) override;
};

// The program started as a user starts it, in-process and headless, with a
// settings file, a temporary folder and a work folder of its own; every box
// it shows is recorded and answered from the test's list of answers.
class CJourney : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The user's settings file (the one the program reads at start-up).
    QSettings Settings() const;
    void StartProgram();
    void CloseProgram();  // as the close box does, then the program ends

    CMainFrame& Frame() const;
    CImageListCtrl& List() const;
    CImageInfo& Row(int row) const;
    QStringList RowNames() const;  // file names of the rows, top to bottom

    // Dropped on the list from a file manager.
    void Drop(const QStringList& paths);
    void DropUrls(const QList<QUrl>& urls);
    // Posted as the ribbon posts it.
    void Post(int commandId);
    // Posts the command and waits for the job it starts to end.
    void RunJob(int commandId, int timeoutMs = 120000);
    void WaitForJobStart(int timeoutMs = 20000);
    void WaitForJobEnd(int timeoutMs = 120000);

    QString PaneText(unsigned id) const;
    CStatusPane& Pane(unsigned id) const;
    QPushButton* StopButton() const;

    // A window grab under FOLIVANE_SHOTS, when set.
    void Shot(const QString& name, QWidget* window = nullptr) const;

    QString Work(const QString& relative) const { return m_work.path() + QLatin1Char('/') + relative; }

    std::deque<int> m_answers;  // next answers; none left: the box's first button
    std::vector<AskedBox> m_boxes;
    CAnsweredPasswords m_passwords;
    QTemporaryDir m_work;
    QTemporaryDir m_settings;
    QTemporaryDir m_temp;
    QTemporaryDir m_instance;
    bool m_bRunning = false;
};

// Files of test pages.
QByteArray PngBytes(const QImage& image);
void WritePage(const QString& path, const QImage& image);
QDateTime ModifiedAt(const QString& path);
void SetModifiedAt(const QString& path, const QDateTime& time);
