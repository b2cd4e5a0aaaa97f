#include "Journey.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "app/FolivaneApp.h"
#include "app/MainFrame.h"
#include "app/MainStatusBar.h"
#include "app/MainView.h"
#include "app/StatusPane.h"
#include "common/TempRoot.h"
#include "imagelist/ImageInfo.h"
#include "imagelist/ImageListCtrl.h"
#include "msgbox/ExtMsgBoxDefs.h"
#include "msgbox/MessageBoxAnswerer.h"

bool CAnsweredPasswords::AskPassword(QWidget*, const QString& archivePath, QString& password)
{
    asked.append(archivePath);
    if (answers.empty()) {
        return false;
    }
    password = answers.front();
    answers.pop_front();
    return true;
}

void CJourney::SetUp()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
    SetTempRoot(MakePrivateTempRoot(m_temp.path()));
    theApp.m_strInstanceFolder = m_instance.path();
    SetMessageBoxAnswerer([this](const QString& text, std::uint32_t style) {
        m_boxes.push_back({text, style});
        if (m_answers.empty()) {
            return (style & MB_TYPEMASK) == MB_YESNO || (style & MB_TYPEMASK) == MB_YESNOCANCEL ? IDYES : IDOK;
        }
        const int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    });
}

void CJourney::TearDown()
{
    if (m_bRunning) {
        CloseProgram();
    }
    SetMessageBoxAnswerer({});
    theApp.m_option = CAdjustOption();
}

QSettings CJourney::Settings() const
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quenrick"),
                     QStringLiteral("Folivane"));
}

void CJourney::StartProgram()
{
    theApp.m_option = CAdjustOption();
    ASSERT_TRUE(theApp.InitInstance());
    m_bRunning = true;
    List().SetPasswordPrompt(&m_passwords);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Frame()));
}

void CJourney::CloseProgram()
{
    m_bRunning = false;
    Frame().close();
    theApp.ExitInstance();
}

CMainFrame& CJourney::Frame() const
{
    return *theApp.m_pMainWnd;
}

CImageListCtrl& CJourney::List() const
{
    return Frame().m_wndView->m_list;
}

CImageInfo& CJourney::Row(int row) const
{
    return *List().GetImageInfo(row);
}

QStringList CJourney::RowNames() const
{
    QStringList names;
    for (int row = 0; row < List().GetItemCount(); ++row) {
        names.append(QFileInfo(Row(row).m_strPath).fileName());
    }
    return names;
}

void CJourney::Drop(const QStringList& paths)
{
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls.append(QUrl::fromLocalFile(path));
    }
    DropUrls(urls);
}

void CJourney::DropUrls(const QList<QUrl>& urls)
{
    QMimeData data;
    data.setUrls(urls);
    QWidget* target = List().viewport();
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    ASSERT_TRUE(drop.isAccepted());
}

void CJourney::Post(int commandId)
{
    Frame().PostCommand(commandId);
}

void CJourney::RunJob(int commandId, int timeoutMs)
{
    Post(commandId);
    WaitForJobStart();
    WaitForJobEnd(timeoutMs);
}

void CJourney::WaitForJobStart(int timeoutMs)
{
    ASSERT_TRUE(QTest::qWaitFor([this] { return List().IsJobRunning(); }, timeoutMs)) << "no job started";
}

void CJourney::WaitForJobEnd(int timeoutMs)
{
    ASSERT_TRUE(QTest::qWaitFor([this] { return !List().IsJobRunning() && !List().IsRetryArmed(); }, timeoutMs))
        << "the job did not end";
}

CStatusPane& CJourney::Pane(unsigned id) const
{
    return *Frame().m_wndStatusBar->GetPane(id);
}

QString CJourney::PaneText(unsigned id) const
{
    return Pane(id).GetText();
}

QPushButton* CJourney::StopButton() const
{
    return Frame().m_wndStatusBar->m_pStopButton;
}

void CJourney::Shot(const QString& name, QWidget* window) const
{
    const QString folder = qEnvironmentVariable("FOLIVANE_SHOTS");
    if (folder.isEmpty()) {
        return;
    }
    QDir().mkpath(folder);
    QWidget* shown = window != nullptr ? window : &Frame();
    QApplication::processEvents();
    shown->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

QByteArray PngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void WritePage(const QString& path, const QImage& image)
{
    QDir().mkpath(QFileInfo(path).path());
    ASSERT_TRUE(image.save(path)) << path.toStdString();
}

QDateTime ModifiedAt(const QString& path)
{
    return QFileInfo(path).lastModified();
}

void SetModifiedAt(const QString& path, const QDateTime& time)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
}
