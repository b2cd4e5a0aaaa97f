#include "dialogs/OptionPropertySheet.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "dialogs/DialogControls.h"
#include "dialogs/OptionFileMode.h"
#include "engine/Thumbnail.h"
#include "msgbox/ApplicationHelp.h"
#include "msgbox/DialogFrame.h"
#include "msgbox/ExtMsgBoxDefs.h"
#include "msgbox/SystemMessageBox.h"

int g_nOptionStartPage = 0;

namespace {

constexpr int kNavigationWidth = 72;
constexpr int kIconSize = 32;
// The navigation icons of the pages, in page order.
constexpr int kPageIcons[] = {170, 169, 166, 142, 165, 143};

const QString kOptionFileFilter = QStringLiteral("設定ファイル (*.adjopt);;全ファイル (*)");

COLORREF ToColorRef(const QColor& color)
{
    return RGB(color.red(), color.green(), color.blue());
}

// The page's icon in the system text colour; black icons stay as drawn.
QIcon PageIcon(int id, COLORREF textColour)
{
    QIcon icon(QStringLiteral(":/res/images/%1.png").arg(id));
    return textColour != 0 ? RecolorIcon(icon, textColour) : icon;
}

}  // namespace

COptionPropertySheet::COptionPropertySheet(CAdjustOption* option, IOptionFileMode* fileMode, QWidget* parent)
    : QDialog(parent, kDialogFrame),
      m_pOption(option),
      m_pageGeneral(*this),
      m_pageSlant(*this),
      m_pageMargin(*this),
      m_pageColor(*this),
      m_pageSize(*this),
      m_pageSave(*this),
      m_fileMode(fileMode != nullptr ? *fileMode : COptionFileMode::Default()),
      m_pages{&m_pageGeneral, &m_pageSlant, &m_pageMargin, &m_pageColor, &m_pageSize, &m_pageSave}
{
    setWindowTitle(QStringLiteral("オプション"));
    auto* bar = new QWidget(this);
    BuildNavigation(*bar);
    BuildPageKeys();
    m_stack = new QStackedWidget(this);
    // The page area takes the largest template.
    const CDialogLayout layout(*this);
    QSize area;
    for (COptionPage* page : m_pages) {
        m_stack->addWidget(page);
        area = area.expandedTo(layout.Size(page->GetTemplateSize().width(), page->GetTemplateSize().height()));
    }
    m_stack->setFixedSize(area);

    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    buttons->button(QDialogButtonBox::Help)->setText(QStringLiteral("ヘルプ"));
    connect(buttons, &QDialogButtonBox::accepted, this, &COptionPropertySheet::OnOK);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    const auto activePageHelp = [this] { ShowHelp(m_pages[m_nActive]->GetTemplateId()); };
    connect(buttons, &QDialogButtonBox::helpRequested, this, activePageHelp);
    AddHelpKey(*this, activePageHelp);

    auto* top = new QHBoxLayout;
    top->addWidget(bar);
    top->addWidget(m_stack);
    auto* whole = new QVBoxLayout(this);
    whole->addLayout(top);
    whole->addWidget(buttons);
    whole->setSizeConstraint(QLayout::SetFixedSize);

    const int start = g_nOptionStartPage >= 0 && g_nOptionStartPage < GetPageCount() ? g_nOptionStartPage : 0;
    SetActivePage(start);
}

void COptionPropertySheet::BuildNavigation(QWidget& bar)
{
    bar.setFixedWidth(kNavigationWidth);
    bar.setAutoFillBackground(true);
    bar.setBackgroundRole(QPalette::Base);
    auto* column = new QVBoxLayout(&bar);
    column->setContentsMargins(2, 2, 2, 2);
    m_navigation = new QButtonGroup(this);
    const COLORREF textColour = ToColorRef(palette().color(QPalette::ButtonText));
    for (int i = 0; i < GetPageCount(); ++i) {
        auto* button = new QToolButton(&bar);
        button->setObjectName(QStringLiteral("page%1").arg(i));
        button->setIcon(PageIcon(kPageIcons[i], textColour));
        button->setIconSize({kIconSize, kIconSize});
        button->setText(m_pages[i]->GetCaption());
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        m_navigation->addButton(button, i);
        column->addWidget(button);
    }
    column->addStretch();
    connect(m_navigation, &QButtonGroup::idClicked, this, [this](int index) { SetActivePage(index); });
}

void COptionPropertySheet::BuildPageKeys()
{
    // Shift+Tab comes from the window system as Backtab; both forms are taken.
    auto* next = new QShortcut(this);
    next->setKeys({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)});
    connect(next, &QShortcut::activated, this, [this] { TurnPage(1); });
    auto* previous = new QShortcut(this);
    previous->setKeys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)});
    connect(previous, &QShortcut::activated, this, [this] { TurnPage(-1); });
}

void COptionPropertySheet::TurnPage(int step)
{
    SetActivePage((m_nActive + step + GetPageCount()) % GetPageCount());
}

bool COptionPropertySheet::SetActivePage(int index)
{
    if (index == m_nActive) {
        return true;
    }
    if (m_nActive >= 0 && !m_pages[m_nActive]->OnKillActive()) {
        m_navigation->button(m_nActive)->setChecked(true);
        return false;
    }
    m_nActive = index;
    COptionPage& page = *m_pages[index];
    page.Create();
    page.OnSetActive();
    m_stack->setCurrentWidget(&page);
    m_navigation->button(index)->setChecked(true);
    return true;
}

void COptionPropertySheet::LoadAllPages()
{
    for (COptionPage* page : m_pages) {
        if (page->IsCreated()) {
            page->LoadFromOptions();
        }
    }
}

void COptionPropertySheet::SaveAllPages()
{
    for (COptionPage* page : m_pages) {
        if (page->IsCreated()) {
            page->SaveToOptions();
        }
    }
}

void COptionPropertySheet::OnOK()
{
    if (!m_pages[m_nActive]->OnKillActive()) {
        return;
    }
    for (COptionPage* page : m_pages) {
        if (page->IsCreated()) {
            page->OnApply();
        }
    }
    accept();
}

void COptionPropertySheet::done(int result)
{
    g_nOptionStartPage = m_nActive;
    QDialog::done(result);
}

int COptionPropertySheet::ShowMessage(const QString& text)
{
    return SystemMessageBox(this, text, QGuiApplication::applicationDisplayName(), MB_OK | MB_ICONEXCLAMATION);
}

QString COptionPropertySheet::AskOptionFile(bool save)
{
    QFileDialog dialog(this, QString(), QString(), kOptionFileFilter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("adjopt"));
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                   : QString();
}

QString COptionPropertySheet::AskSaveOptionFile()
{
    return AskOptionFile(true);
}

QString COptionPropertySheet::AskLoadOptionFile()
{
    return AskOptionFile(false);
}

QString COptionPropertySheet::AskFolder(const QString& start)
{
    return QFileDialog::getExistingDirectory(this, QString(), start);
}

void COptionPropertySheet::ShowHelp(int templateId)
{
    OpenHelpPage(templateId);
}
