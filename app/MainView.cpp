#include "app/MainView.h"

#include <iterator>

namespace {

struct ViewCommand {
    int id;
    void (CMainView::*handler)();
};

constexpr ViewCommand kCommands[] = {
    {ID_ADD_FILES, &CMainView::OnAddFiles},
    {ID_ADD_FOLDER, &CMainView::OnAddFolder},
    {ID_EDIT_COPY, &CMainView::OnEditCopy},
    {ID_EDIT_CUT, &CMainView::OnEditCut},
    {ID_EDIT_PASTE, &CMainView::OnEditPaste},
    {ID_DELETE, &CMainView::OnDelete},
    {ID_EDIT_CLEAR, &CMainView::OnEditClear},
    {ID_EDIT_SELECT_ALL, &CMainView::OnEditSelectAll},
    {ID_PREVIEW_SELECTED, &CMainView::OnPreviewSelected},
    {ID_PREVIEW_ALL, &CMainView::OnPreviewAll},
    {ID_EXECUTE_SELECTED, &CMainView::OnExecuteSelected},
    {ID_EXECUTE_ALL, &CMainView::OnExecuteAll},
    {ID_STOP, &CMainView::OnStop},
    {ID_STOP_BUTTON, &CMainView::OnStop},
    {ID_OPTIONS, &CMainView::OnOptions},
    {ID_REFRESH, &CMainView::OnRefresh},
    {ID_OPEN_PREVIEW, &CMainView::OnOpenPreview},
};

CImageListCtrl& AdoptList(std::unique_ptr<CImageListCtrl> list, CAdjustOption& option, QWidget* view)
{
    if (!list)
        return *new CImageListCtrl(option, view);
    list->setParent(view);
    return *list.release();
}

}  // namespace

CMainView::CMainView(CAdjustOption& option, QWidget* parent, std::unique_ptr<CImageListCtrl> list)
    : QWidget(parent), m_list(AdoptList(std::move(list), option, this)), m_previewLink(m_list), m_option(option)
{
    setObjectName(QStringLiteral("59648"));
    m_list.setObjectName(QStringLiteral("1"));
    m_list.setFrameShape(QFrame::StyledPanel);
    m_list.SetApplication(&m_appLink);
    m_list.SetPasswordPrompt(&m_passwordPrompt);
    m_list.LoadSettings();
    setFocusProxy(&m_list);
    connect(&m_list, &CImageListCtrl::MenuCommand, this, [this](int id) { OnOverrideCommand(id); });
}

CMainView::~CMainView()
{
    m_list.SetApplication(nullptr);
    m_list.SetPasswordPrompt(nullptr);
}

bool CMainView::OnCmdMsg(int id)
{
    for (const ViewCommand& command : kCommands) {
        if (command.id == id) {
            (this->*command.handler)();
            return true;
        }
    }
    return OnOverrideCommand(id);
}

void CMainView::OnDelete()
{
    m_list.RemoveSelected();
}

void CMainView::OnEditClear()
{
    m_list.ResetSelectedResults();
}

void CMainView::OnEditSelectAll()
{
    m_list.selectAll();
}

void CMainView::OnPreviewSelected()
{
    m_list.StartAdjust(true, true);
}

void CMainView::OnPreviewAll()
{
    m_list.StartAdjust(true, false);
}

void CMainView::OnExecuteSelected()
{
    m_list.StartAdjust(false, true);
}

void CMainView::OnExecuteAll()
{
    m_list.StartAdjust(false, false);
}

void CMainView::OnStop()
{
    m_list.StopJob();
}

void CMainView::OnRefresh()
{
    m_list.RefreshFiles();
}

void CMainView::OnOpenPreview()
{
    if (m_pPreview->ShowPreviewDialog())
        m_list.ShowInPreview(m_list.GetFocusedRow());
}

void CMainView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_list.setGeometry(rect());
}
