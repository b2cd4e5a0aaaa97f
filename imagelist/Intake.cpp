#include "imagelist/ImageListCtrl.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QUrl>

#include "imagelist/IntakeWalker.h"
#include "imagelist/PasswordPrompt.h"
#include "imagelist/RecentItemSink.h"
#include "msgbox/ExtMsgBoxDefs.h"
#include "platform/FileName.h"

namespace {

// The local files among dropped URLs; anything else is not ours to read.
QStringList LocalFilesOf(const QMimeData* data)
{
    QStringList files;
    if (data == nullptr || !data->hasUrls()) {
        return files;
    }
    for (const QUrl& url : data->urls()) {
        const QString file = LocalFileOf(url);
        if (!file.isEmpty()) {
            files.append(file);
        }
    }
    return files;
}

}  // namespace

void CImageListCtrl::AddFiles(const QStringList& paths)
{
    if (paths.isEmpty()) {
        return;
    }
    // Workers read the entries: they must be done before any is added.
    InterruptJob(JOB_LOAD);
    TakeIn(paths);
    StartNextJob();
}

void CImageListCtrl::TakeIn(const QStringList& paths)
{
    // The questions' boxes run events meanwhile: no job may start before the
    // last entry is added and sorted.
    const QScopedValueRollback intake(m_bIntake, 1);
    CIntakeWalker walker(m_arrImages, m_arrRows, m_mapArchiveFolders, *this);
    walker.m_pArchiverOwner = this;
    bool added = false;
    for (const QString& path : paths) {
        if (walker.AddPath(path)) {
            added = true;
            if (m_pRecentItems != nullptr) {
                m_pRecentItems->AddRecentItem(path);
            }
        }
        if (walker.IsCancelled()) {
            break;
        }
    }
    if (added) {
        ClearOutputNames();  // names are given afresh before the next execute job
        UpdateFileCount();
        SortItems();
    }
}

int CImageListCtrl::AskSubfolders()
{
    return ShowMessageBox(QStringLiteral("サブフォルダも追加しますか？"), MB_YESNOCANCEL);
}

void CImageListCtrl::ShowIntakeMessage(const QString& text)
{
    ShowMessageBox(text, MB_OK);
}

bool CImageListCtrl::AskArchivePassword(const QString& archivePath, QString& password)
{
    return m_pPasswordPrompt != nullptr && m_pPasswordPrompt->AskPassword(this, archivePath, password);
}

void CImageListCtrl::dragEnterEvent(QDragEnterEvent* event)
{
    if (!LocalFilesOf(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void CImageListCtrl::dragMoveEvent(QDragMoveEvent* event)
{
    if (!LocalFilesOf(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void CImageListCtrl::dropEvent(QDropEvent* event)
{
    const QStringList files = LocalFilesOf(event->mimeData());
    if (files.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    // Taken in after the drop has ended, so that the questions of the intake
    // do not keep the window the files came from waiting.
    QMetaObject::invokeMethod(
        this, [this, files] { AddFiles(files); }, Qt::QueuedConnection);
}
