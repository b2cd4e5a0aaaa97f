#include "Journey.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QImageReader>
#include <QPushButton>

#include "Pages.h"
#include "app/AppAdapters.h"
#include "app/CommandIds.h"
#include "app/FolivaneApp.h"
#include "app/MainFrame.h"
#include "app/MainView.h"
#include "dialogs/OptionPropertySheet.h"
#include "imagelist/ImageInfo.h"
#include "imagelist/ImageListCtrl.h"
#include "msgbox/ExtMsgBoxDefs.h"

namespace {

constexpr int kGeneralPage = 0;
constexpr int kSavePage = 5;

// The options sheet with its file and folder pickers answered by the user's choices.
class CUserSheet : public COptionPropertySheet {
public:
    using COptionPropertySheet::COptionPropertySheet;
    QString m_folder;
    QString m_optionFile;

    QString AskFolder(const QString&) override { return m_folder; }
    QString AskSaveOptionFile() override { return m_optionFile; }
    QString AskLoadOptionFile() override { return m_optionFile; }
};

// What the user does in the sheet before pressing OK.
using SheetActions = std::function<void(CUserSheet& sheet)>;

// The program's view, with the options sheet shown to the test's user, who
// clicks in it and then presses OK.
class CUserView : public CMainView {
public:
    CUserView(CAdjustOption& option, QWidget* parent, SheetActions& actions)
        : CMainView(option, parent), m_actions(actions)
    {
    }

protected:
    int RunOptionsSheet(CAdjustOption& option) override
    {
        CUserSheet sheet(&option, &m_fileMode, this);
        sheet.show();
        m_actions(sheet);
        QTest::mouseClick(sheet.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        return sheet.result() == QDialog::Accepted ? IDOK : IDCANCEL;
    }

private:
    SheetActions& m_actions;
    CAppOptionFileMode m_fileMode;
};

class OptionsJourney : public CJourney {
protected:
    void SetUp() override
    {
        CJourney::SetUp();
        SetMainViewFactory(
            [this](CAdjustOption& option, QWidget* parent) { return new CUserView(option, parent, m_inSheet); });
        WritePage(Work("in/a.png"), SlantedPage(1.0, 1));
        WritePage(Work("in/b.png"), SlantedPage(-1.0, 2));
        QSettings settings = Settings();
        WriteStraightenAndCut(settings);
    }
    void TearDown() override
    {
        CJourney::TearDown();
        SetMainViewFactory({});
    }

    // On the button's left end, where a radio button's mark is.
    static void Click(QWidget& page, const char* id)
    {
        auto* button = page.findChild<QAbstractButton*>(QString::fromLatin1(id));
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(std::min(8, button->width() / 2), button->height() / 2));
    }
    static QWidget& Page(CUserSheet& sheet, int index)
    {
        EXPECT_TRUE(sheet.SetActivePage(index));
        return sheet.GetPage(index);
    }

    void ChangeOptions(const SheetActions& actions)
    {
        m_inSheet = actions;
        Post(ID_OPTIONS);
        ASSERT_TRUE(QTest::qWaitFor([this] { return m_inSheet == nullptr; }, 10000));
    }
    // JPEG into the chosen folder, and the options saved to a file.
    void JpegIntoFolder(CUserSheet& sheet)
    {
        QWidget& save = Page(sheet, kSavePage);
        auto* type = save.findChild<QComboBox*>(QStringLiteral("1006"));
        type->setFocus();
        QTest::keyClick(type, Qt::Key_Down);
        ASSERT_EQ(type->currentText(), QStringLiteral("JPEG"));
        Click(save, "1016");
        sheet.m_folder = Work("out");
        Click(save, "1028");
        Shot(QStringLiteral("4-options-save-page"), &sheet);
        sheet.m_optionFile = Work("mine.adjopt");
        Click(Page(sheet, kGeneralPage), "1124");
        m_inSheet = nullptr;
    }

    SheetActions m_inSheet;
};

}  // namespace

TEST_F(OptionsJourney, JpegIntoAChosenFolderIsKeptAcrossARestartAndInTheOptionFile)
{
    StartProgram();
    Drop({Work("in")});
    ASSERT_TRUE(QTest::qWaitFor([this] { return List().GetItemCount() == 2; }, 20000));
    WaitForJobEnd();
    RunJob(ID_EXECUTE_ALL);
    ASSERT_EQ(Row(0).m_strOutputName, QStringLiteral("a.png"));

    ChangeOptions([this](CUserSheet& sheet) { JpegIntoFolder(sheet); });
    Shot(QStringLiteral("4-options-changed"));
    EXPECT_EQ(theApp.m_option.SaveFormat, 1);
    EXPECT_EQ(theApp.m_option.SaveDirType, 2);
    EXPECT_EQ(theApp.m_option.SaveAnyDir, Work("out"));
    // A new format and folder name the outputs again; the adjusted pages stay.
    EXPECT_TRUE(Row(0).m_strOutputName.isEmpty());
    EXPECT_GT(Row(0).m_nAdjWidth, 0);
    RunJob(ID_EXECUTE_ALL);
    for (const char* name : {"out/a.jpg", "out/b.jpg"}) {
        QImageReader reader(Work(QString::fromLatin1(name)));
        EXPECT_EQ(reader.format(), QByteArray("jpeg")) << name;
        EXPECT_FALSE(reader.read().isNull()) << name;
    }
    ASSERT_TRUE(QFile::exists(Work("mine.adjopt")));

    CloseProgram();
    StartProgram();
    EXPECT_EQ(theApp.m_option.SaveFormat, 1);
    EXPECT_EQ(theApp.m_option.SaveDirType, 2);
    EXPECT_EQ(theApp.m_option.SaveAnyDir, Work("out"));

    // Back to the source's format beside the sources, then the option file read.
    ChangeOptions([this](CUserSheet& sheet) {
        QWidget& save = Page(sheet, kSavePage);
        QTest::keyClick(save.findChild<QComboBox*>(QStringLiteral("1006")), Qt::Key_Up);
        Click(save, "1015");
        m_inSheet = nullptr;
    });
    ASSERT_EQ(theApp.m_option.SaveFormat, 0);
    ASSERT_EQ(theApp.m_option.SaveDirType, 1);
    ChangeOptions([this](CUserSheet& sheet) {
        sheet.m_optionFile = Work("mine.adjopt");
        Click(Page(sheet, kGeneralPage), "1125");
        m_inSheet = nullptr;
    });
    EXPECT_EQ(theApp.m_option.SaveFormat, 1);
    EXPECT_EQ(theApp.m_option.SaveDirType, 2);
    EXPECT_EQ(theApp.m_option.SaveAnyDir, Work("out"));
    EXPECT_EQ(theApp.m_option.Slant[0], 2);
}
