#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStringList>
#include <QTest>

#include <memory>

#include "dialogs/OptionFileMode.h"
#include "dialogs/OptionPropertySheet.h"
#include "settings/AdjustOption.h"

// A sheet whose message box and pickers a test answers.
class CTestSheet : public COptionPropertySheet {
public:
    using COptionPropertySheet::COptionPropertySheet;

    int ShowMessage(const QString& text) override
    {
        m_messages.append(text);
        return 1;
    }
    QString AskSaveOptionFile() override { return m_path; }
    QString AskLoadOptionFile() override { return m_path; }
    QString AskFolder(const QString& /*start*/) override { return m_folder; }
    void ShowHelp(int templateId) override { m_helpPages.append(templateId); }

    QStringList m_messages;
    QList<int> m_helpPages;
    QString m_path;
    QString m_folder;
};

// A shown sheet over a record of the test's own.
class OptionSheetTest : public ::testing::Test {
protected:
    OptionSheetTest()
    {
        g_nOptionStartPage = 0;
        m_sheet = std::make_unique<CTestSheet>(&m_option, &m_mode);
        m_sheet->show();
        m_sheet->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_sheet.get()));
    }

    template <typename T = QWidget>
    T* Control(int page, int id)
    {
        EXPECT_TRUE(m_sheet->SetActivePage(page)) << m_sheet->m_messages.join("").toStdString();
        return m_sheet->GetPage(page).Item<T>(id);
    }

    void TypeInto(QLineEdit* edit, const QString& text)
    {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    void PressOK()
    {
        QTest::mouseClick(m_sheet->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    }

    CAdjustOption m_option;
    COptionFileMode m_mode;
    std::unique_ptr<CTestSheet> m_sheet;
};
