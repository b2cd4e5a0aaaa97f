#pragma once

#include <QWidget>

#include <memory>
#include <optional>

#include "app/AppAdapters.h"
#include "app/CommandIds.h"
#include "app/FileOverride.h"
#include "dialogs/FilePasswordPrompt.h"
#include "dialogs/PreviewLink.h"
#include "imagelist/ImageListCtrl.h"

// The main frame's client window: the image list fills it, and it is the
// first to answer every command. Every dialog it opens goes through a virtual
// function a test answers.
class CMainView : public QWidget {
    Q_OBJECT

public:
    // The list is the view's own unless one is given (a test's).
    explicit CMainView(CAdjustOption& option, QWidget* parent = nullptr, std::unique_ptr<CImageListCtrl> list = {});
    ~CMainView() override;
    CMainView(const CMainView&) = delete;
    CMainView& operator=(const CMainView&) = delete;

    // True when the view handled the command.
    bool OnCmdMsg(int id);

    void OnAddFiles();
    void OnAddFolder();
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnDelete();
    void OnEditClear();
    void OnEditSelectAll();
    void OnPreviewSelected();
    void OnPreviewAll();
    void OnExecuteSelected();
    void OnExecuteAll();
    void OnStop();
    void OnOptions();
    void OnRefresh();
    void OnOpenPreview();
    void OnSetPageType(int id);
    void OnSetSlant(int id);
    void OnSetMarginCut(int id);

    // TRUE when the clipboard now holds the selected files.
    BOOL CopySelectionToClipboard();
    // The clipboard offers a file list to paste.
    static bool ClipboardHasFiles();

    CImageListCtrl& m_list;

protected:
    // The chosen files or folders, in the dialog's order; empty when cancelled.
    virtual QStringList AskOpenFiles();
    virtual QStringList AskFolders();
    // Runs the options sheet on the record; IDOK or IDCANCEL.
    virtual int RunOptionsSheet(CAdjustOption& option);
    // The per-file dialogs, seeded with the value; false when cancelled.
    virtual bool AskRotateAngle(double& angle);
    virtual bool AskMarginCut(RECT& margin);

    void resizeEvent(QResizeEvent* event) override;

    CPreviewLink m_previewLink;
    // The preview window as the view reaches it (a test's stands in).
    IPreviewDisplay* m_pPreview = &m_previewLink;

private:
    bool OnOverrideCommand(int id);
    std::optional<FileOverride> AskOverride(int id);
    void SetOverride(const FileOverride& value);

    CAdjustOption& m_option;
    CAppListLink m_appLink;
    CAppOptionFileMode m_fileMode;
    CFilePasswordPrompt m_passwordPrompt;
};
