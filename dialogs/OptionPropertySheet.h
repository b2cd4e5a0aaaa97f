#pragma once

#include <QDialog>

#include <iterator>

#include "dialogs/OptionColorPage.h"
#include "dialogs/OptionGeneralPage.h"
#include "dialogs/OptionMarginPage.h"
#include "dialogs/OptionSavePage.h"
#include "dialogs/OptionSizePage.h"
#include "dialogs/OptionSlantPage.h"

class CAdjustOption;
class IOptionFileMode;
class QButtonGroup;
class QStackedWidget;

// The page that was active when the sheet was last closed in this process.
extern int g_nOptionStartPage;

// The modal options sheet: six pages editing the caller's record, chosen in a
// bar of large icons on the left; OK, Cancel and Help. Pages are built when
// first shown; leaving a page validates it, OK stores every built page.
// Ctrl+Tab and Ctrl+PageDown turn to the next page, Ctrl+Shift+Tab and
// Ctrl+PageUp to the previous one, as a click on the bar does.
class COptionPropertySheet : public QDialog {
    Q_OBJECT

public:
    explicit COptionPropertySheet(CAdjustOption* option, IOptionFileMode* fileMode = nullptr,
                                  QWidget* parent = nullptr);

    // Record to controls / controls to record, for every page built so far.
    void LoadAllPages();
    void SaveAllPages();

    int GetPageCount() const { return static_cast<int>(std::size(m_pages)); }
    COptionPage& GetPage(int index) const { return *m_pages[index]; }
    int GetActiveIndex() const { return m_nActive; }
    // Leaves the active page (when it lets go) and shows the page; false when kept.
    bool SetActivePage(int index);
    IOptionFileMode& FileMode() const { return m_fileMode; }

    // Seams for everything a test cannot click: the message box, the file and
    // folder pickers (an empty path when cancelled) and the help viewer.
    virtual int ShowMessage(const QString& text);
    virtual QString AskSaveOptionFile();
    virtual QString AskLoadOptionFile();
    virtual QString AskFolder(const QString& start);
    virtual void ShowHelp(int templateId);

    void done(int result) override;

    CAdjustOption* m_pOption;
    COptionGeneralPage m_pageGeneral;
    COptionSlantPage m_pageSlant;
    COptionMarginPage m_pageMargin;
    COptionColorPage m_pageColor;
    COptionSizePage m_pageSize;
    COptionSavePage m_pageSave;

private:
    void BuildNavigation(QWidget& bar);
    void BuildPageKeys();
    // Shows the next (1) or previous (-1) page, round from the last to the first.
    void TurnPage(int step);
    void OnOK();
    QString AskOptionFile(bool save);

    IOptionFileMode& m_fileMode;
    COptionPage* m_pages[6];
    QStackedWidget* m_stack = nullptr;
    QButtonGroup* m_navigation = nullptr;
    int m_nActive = -1;
};
