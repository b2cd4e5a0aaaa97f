#include "app/MainView.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QListView>
#include <QMimeData>
#include <QTreeView>

#include "app/FileClipboard.h"
#include "app/FileDialogFilter.h"
#include "imagelist/IntakeTypes.h"
#include "platform/FileName.h"

void CMainView::OnAddFiles()
{
    const QStringList paths = AskOpenFiles();
    if (!paths.isEmpty())
        m_list.AddFiles(paths);
}

void CMainView::OnAddFolder()
{
    const QStringList paths = AskFolders();
    if (!paths.isEmpty())
        m_list.AddFiles(paths);
}

// As addresses: a desktop's own dialog hands back the bytes of names that
// are no UTF-8 in them, where a name as text would hold U+FFFD.
QStringList CMainView::AskOpenFiles()
{
    QStringList paths;
    for (const QUrl& url : QFileDialog::getOpenFileUrls(this, QString(), QUrl(), ToDialogFilter(GetOpenFileFilter()))) {
        if (const QString path = LocalFileOf(url); !path.isEmpty())
            paths.append(path);
    }
    return paths;
}

// The desktop's own folder dialog picks one folder only: the program's own
// dialog lets its list and tree take several.
QStringList CMainView::AskFolders()
{
    QFileDialog dialog(this);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly);
    for (QAbstractItemView* view : dialog.findChildren<QAbstractItemView*>()) {
        if (qobject_cast<QListView*>(view) || qobject_cast<QTreeView*>(view))
            view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    }
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

void CMainView::OnEditCopy()
{
    CopySelectionToClipboard();
}

void CMainView::OnEditCut()
{
    if (CopySelectionToClipboard())
        m_list.RemoveSelected();
}

void CMainView::OnEditPaste()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (HasFileList(data))
        m_list.AddFiles(ReadFileList(data));
}

BOOL CMainView::CopySelectionToClipboard()
{
    QStringList paths;
    for (const int row : m_list.GetSelectedRows())
        paths.append(m_list.GetImageInfo(row)->m_strPath);
    if (paths.isEmpty())
        return 0;
    QGuiApplication::clipboard()->setMimeData(MakeFileListMimeData(paths).release());
    return 1;
}

bool CMainView::ClipboardHasFiles()
{
    return HasFileList(QGuiApplication::clipboard()->mimeData());
}
