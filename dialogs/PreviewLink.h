#pragma once

#include "dialogs/PreviewListNavigation.h"
#include "imagelist/PreviewDisplay.h"

class CImageListCtrl;

// Joins the image list and the preview window: the list reaches the window
// through it (IPreviewDisplay), and the window's keys walk the list through
// it. Whoever owns the list installs one with the list and the window.
class CPreviewLink : public IPreviewDisplay, public IPreviewListNavigation {
public:
    explicit CPreviewLink(CImageListCtrl& list);
    ~CPreviewLink() override;
    CPreviewLink(const CPreviewLink&) = delete;
    CPreviewLink& operator=(const CPreviewLink&) = delete;

    bool IsPreviewVisible() const override;
    void SetPreviewSourceFile(const QString& path) override;
    void SetPreviewAdjustedImage(const QImage& bitmap) override;
    bool ShowPreviewDialog() override;

    int GetRowCount() const override;
    int GetFocusedRow() const override;
    void SelectOnlyAndShow(int row) override;

private:
    CImageListCtrl& m_list;
};
