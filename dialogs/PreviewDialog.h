#pragma once

#include <QDialog>
#include <QString>

#include "dialogs/PreviewCtrl.h"
#include "dialogs/PreviewKeys.h"
#include "platform/WinTypes.h"

class QCheckBox;
class QLabel;
class QPushButton;
class IPreviewListNavigation;

// The single modeless preview window: the source page (view 1) beside its
// adjusted page (view 2) under a band with the zoom, the colour under the
// mouse, a colour snapshot, the grid check box and the help button. Keys walk
// the main window's image list. Closing only hides it; its placement and grid
// choice are stored when it is destroyed.
class CPreviewDialog : public QDialog, public IPreviewHost {
    Q_OBJECT

public:
    explicit CPreviewDialog(IPreviewListNavigation* pList, QWidget* parent = nullptr);
    ~CPreviewDialog() override;

    CPreviewCtrl& Source() { return *m_wndSource; }
    CPreviewCtrl& Adjusted() { return *m_wndAdjusted; }
    void SetBoldFont(const QFont* pFont);

    void UpdateCaption(const QString& path);
    void UpdateZoomText() override;
    void UpdateColorText(COLORREF color) override;
    void UpdateInsText();
    void ZoomByWheel(CPreviewCtrl& view, int delta, QPoint screenPoint, bool ctrl) override;
    CPreviewCtrl* GetPartnerView(const CPreviewCtrl& view) override;
    void LayoutControls();

    // The key table; true when the key was consumed.
    BOOL HandleKey(int key, bool ctrl, bool shift);

    void SelectFirstImage();
    void SelectLastImage();
    void SelectPrevImage(int step);
    void SelectNextImage(int step);

public slots:
    void accept() override;  // Enter does not close the window
    void reject() override;  // close box and Escape hide it

protected:
    // Seams to windows a test cannot reach: the main window and the help.
    virtual void BringMainWindowToTop();
    virtual void ShowHelp();

    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateControls();
    void RestorePlacement();
    void OnDestroy();
    void OnBnClickedGrid();
    void RunKeyAction(const PreviewKeyAction& action);
    void ForViews(const PreviewKeyAction& action, void (CPreviewCtrl::*zoom)(QPoint));
    void ForViews(const PreviewKeyAction& action, void (CPreviewCtrl::*scroll)(int));
    int BandHeight() const;

    CPreviewCtrl* m_wndSource = nullptr;
    CPreviewCtrl* m_wndAdjusted = nullptr;
    QString m_strCaption;
    QString m_strZoomFormat;
    QString m_strColorFormat;
    QString m_strInsFormat;
    COLORREF m_crPixel = 0;

    QLabel* m_pZoomText = nullptr;
    QLabel* m_pColorText = nullptr;
    QLabel* m_pInsText = nullptr;
    QCheckBox* m_pGrid = nullptr;
    QPushButton* m_pHelp = nullptr;
    IPreviewListNavigation* m_pList;
};

// The centre of the widget's rectangle on the screen.
QPoint GetWindowCenter(const QWidget& window);
