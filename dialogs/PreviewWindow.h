#pragma once

#include <QImage>
#include <QString>

#include "platform/WinTypes.h"

class CPreviewDialog;
class IPreviewListNavigation;
class QFont;

// The one preview window, null until first shown. The rest of the program
// reaches it through the functions below.
extern CPreviewDialog* g_pPreviewDialog;

// The list the window's keys walk and the font of its "NO IMAGE" text, for
// the window when it is created; set before the first ShowPreviewDialog.
void SetPreviewListNavigation(IPreviewListNavigation* pList);
void SetPreviewBoldFont(const QFont* pFont);

// Creates the window on first use (maximised when it was when last
// destroyed), shows it and brings it forward.
BOOL ShowPreviewDialog();
// The window exists and is shown.
BOOL IsPreviewDialogVisible();
// The source view shows the file (an empty path, a missing or unreadable
// file: "NO IMAGE"); the caption names the file. The window must exist.
void SetPreviewSourceFile(const QString& path);
// The adjusted view takes the image (null = none). The window must exist.
void SetPreviewAdjustedImage(QImage bitmap);
// At shutdown: stores the window's placement and grid choice and deletes it.
void DestroyPreviewDialog();
