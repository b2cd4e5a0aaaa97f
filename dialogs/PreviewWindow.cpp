#include "dialogs/PreviewWindow.h"

#include "dialogs/PreviewDialog.h"
#include "dialogs/PreviewProfile.h"
#include "engine/BitmapConvert.h"

CPreviewDialog* g_pPreviewDialog = nullptr;

namespace {

IPreviewListNavigation* g_pList = nullptr;
const QFont* g_pBoldFont = nullptr;

}  // namespace

void SetPreviewListNavigation(IPreviewListNavigation* pList)
{
    g_pList = pList;
}

void SetPreviewBoldFont(const QFont* pFont)
{
    g_pBoldFont = pFont;
}

BOOL ShowPreviewDialog()
{
    bool maximise = false;
    if (g_pPreviewDialog == nullptr) {
        g_pPreviewDialog = new CPreviewDialog(g_pList);
        g_pPreviewDialog->SetBoldFont(g_pBoldFont);
        maximise = GetProfileInt(QString(), kPrevWinZoomKey, 0) != 0;
    }
    if (maximise)
        g_pPreviewDialog->showMaximized();
    else
        g_pPreviewDialog->show();
    g_pPreviewDialog->raise();
    g_pPreviewDialog->activateWindow();
    return true;
}

BOOL IsPreviewDialogVisible()
{
    return g_pPreviewDialog != nullptr && g_pPreviewDialog->isVisible();
}

void SetPreviewSourceFile(const QString& path)
{
    CPreviewCtrl& view = g_pPreviewDialog->Source();
    view.SetBitmap(path.isEmpty() ? QImage() : LoadImageFileCopy(path));
    g_pPreviewDialog->UpdateCaption(path);
}

void SetPreviewAdjustedImage(QImage bitmap)
{
    g_pPreviewDialog->Adjusted().SetBitmap(std::move(bitmap));
}

void DestroyPreviewDialog()
{
    delete g_pPreviewDialog;
    g_pPreviewDialog = nullptr;
}
