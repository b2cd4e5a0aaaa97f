#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTabBar>
#include <QTemporaryDir>

#include "OptionSheetSupport.h"
#include "dialogs/ColorButton.h"
#include "dialogs/FilePasswordDialog.h"
#include "dialogs/MgnCutDialog.h"
#include "dialogs/OptionMarginPage.h"
#include "dialogs/RotateDialog.h"
#include "msgbox/ApplicationHelp.h"

namespace {

enum { GENERALPAGE, SLANTPAGE, MARGINPAGE, COLORPAGE, SIZEPAGE, SAVEPAGE };

}  // namespace

TEST_F(OptionSheetTest, NoPageKindKeepsTheGeneralPage)
{
    Control<QAbstractButton>(GENERALPAGE, 1019)->click();
    Control<QAbstractButton>(GENERALPAGE, 1021)->click();
    EXPECT_FALSE(m_sheet->SetActivePage(SLANTPAGE));
    EXPECT_EQ(m_sheet->GetActiveIndex(), GENERALPAGE);
    EXPECT_EQ(m_sheet->m_messages, QStringList{"文ページか絵ページか指定してください。"});
    PressOK();
    EXPECT_TRUE(m_sheet->isVisible());

    Control<QAbstractButton>(GENERALPAGE, 1021)->click();
    EXPECT_TRUE(m_sheet->SetActivePage(SLANTPAGE));
    EXPECT_EQ(m_option.TextPage, 0);
    EXPECT_EQ(m_option.PictPage, 1);
}

TEST_F(OptionSheetTest, TypedNumbersStayInRange)
{
    auto* lines = Control<QLineEdit>(GENERALPAGE, 1025);
    TypeInto(lines, "1000");
    EXPECT_EQ(lines->text(), "999");
    TypeInto(lines, QString(5000, u'7'));
    EXPECT_EQ(lines->text(), "999");
    auto* border = Control<QLineEdit>(GENERALPAGE, 1034);
    TypeInto(border, "");
    EXPECT_EQ(border->text(), "");

    auto* bright = Control<QLineEdit>(COLORPAGE, 1031);
    auto* slider = Control<QSlider>(COLORPAGE, 1046);
    TypeInto(bright, "300");
    EXPECT_EQ(bright->text(), "255");
    EXPECT_EQ(slider->value(), 255);
    QTest::keyClick(slider, Qt::Key_Home);
    EXPECT_EQ(bright->text(), "-255");

    auto* width = Control<QLineEdit>(SIZEPAGE, 1049);
    TypeInto(width, "0");
    EXPECT_TRUE(m_sheet->SetActivePage(SAVEPAGE));
    EXPECT_EQ(width->text(), "1");
    PressOK();
    EXPECT_EQ(m_option.LinePerPage, 999);
    EXPECT_EQ(m_option.BackBorder, 0);
    EXPECT_EQ(m_option.BrightText, -255);
    EXPECT_EQ(m_option.FixSize.cx, 1);
}

TEST_F(OptionSheetTest, GroupsFollowThePageKinds)
{
    for (auto [text, pict] : {std::pair{1, 1}, {1, 0}, {0, 1}}) {
        SCOPED_TRACE(text * 10 + pict);
        Control<QAbstractButton>(GENERALPAGE, 1019)->setChecked(text != 0);
        Control<QAbstractButton>(GENERALPAGE, 1021)->setChecked(pict != 0);
        EXPECT_EQ(Control(SLANTPAGE, 1075)->isEnabled(), text != 0);
        EXPECT_EQ(Control(SLANTPAGE, 1072)->isEnabled(), text != 0);
        EXPECT_EQ(Control(SLANTPAGE, 1120)->isEnabled(), pict != 0);
        EXPECT_EQ(Control(SLANTPAGE, 1117)->isEnabled(), pict != 0);
        EXPECT_EQ(Control(COLORPAGE, 1081)->isEnabled(), text != 0);
        EXPECT_EQ(Control(COLORPAGE, 1077)->isEnabled(), text != 0);
        EXPECT_EQ(Control(COLORPAGE, 1082)->isEnabled(), pict != 0);
        EXPECT_EQ(Control(COLORPAGE, 1045)->isEnabled(), pict != 0);
        auto* tab = Control<QTabBar>(MARGINPAGE, 1114);
        EXPECT_EQ(Control(MARGINPAGE, 1056)->isEnabled(), text != 0);
        tab->setCurrentIndex(1);
        EXPECT_EQ(Control(MARGINPAGE, 1056)->isEnabled(), pict != 0);
        EXPECT_TRUE(tab->isEnabled());
        tab->setCurrentIndex(0);
        EXPECT_TRUE(m_sheet->SetActivePage(GENERALPAGE));
    }
}

TEST_F(OptionSheetTest, SizeCaptionsNameTheChecks)
{
    auto* source = Control<QAbstractButton>(SIZEPAGE, 1122);
    auto* fixed = Control<QAbstractButton>(SIZEPAGE, 1123);
    EXPECT_EQ(source->text(), "元のサイズ （縦横比保持、縮小のみ）");
    EXPECT_EQ(fixed->text(), "指定サイズ （縦横比保持、縮小のみ）");
    QTest::mouseClick(Control<QAbstractButton>(SIZEPAGE, 1080), Qt::LeftButton, {}, QPoint(4, 6));
    EXPECT_EQ(source->text(), "元のサイズ （縮小のみ）");
    QTest::mouseClick(Control<QAbstractButton>(SIZEPAGE, 1079), Qt::LeftButton, {}, QPoint(4, 6));
    EXPECT_EQ(fixed->text(), "指定サイズ");
    EXPECT_TRUE(m_sheet->GetPage(SIZEPAGE).IsModified());
}

TEST_F(OptionSheetTest, FixedCutOfAWholePageIsRefused)
{
    Control<QAbstractButton>(MARGINPAGE, 1054)->click();
    TypeInto(Control<QLineEdit>(MARGINPAGE, 1056), "50");
    TypeInto(Control<QLineEdit>(MARGINPAGE, 1058), "50");
    EXPECT_FALSE(m_sheet->SetActivePage(SIZEPAGE));
    EXPECT_EQ(m_sheet->m_messages, QStringList{"カット左右の合計が100%以上です。"});
    EXPECT_TRUE(Control(MARGINPAGE, 1056)->hasFocus());

    TypeInto(Control<QLineEdit>(MARGINPAGE, 1056), "49");
    EXPECT_TRUE(m_sheet->SetActivePage(SIZEPAGE));
    PressOK();
    EXPECT_EQ(m_option.MgnCutRect[0], (RECT{49, 5, 50, 5}));
    EXPECT_EQ(m_option.CutMargin[0], 1);
}

TEST_F(OptionSheetTest, EndBeforeStartFocusesTheEndEditAndVetoesTheTab)
{
    auto* tab = Control<QTabBar>(MARGINPAGE, 1114);
    TypeInto(Control<QLineEdit>(MARGINPAGE, 1090), "20");
    TypeInto(Control<QLineEdit>(MARGINPAGE, 1098), "10");
    EXPECT_TRUE(m_sheet->SetActivePage(SLANTPAGE));  // no cut: only the ranges count

    Control<QAbstractButton>(MARGINPAGE, 1055)->click();
    tab->setCurrentIndex(1);
    EXPECT_EQ(tab->currentIndex(), 0);
    EXPECT_EQ(m_sheet->m_messages, QStringList{"判定終了位置が判定開始位置より小さいです。"});
    EXPECT_TRUE(Control(MARGINPAGE, 1098)->hasFocus());
    EXPECT_EQ(m_option.MgnMinRect[0].left, 0);

    TypeInto(Control<QLineEdit>(MARGINPAGE, 1098), "20");
    tab->setCurrentIndex(1);
    EXPECT_EQ(tab->currentIndex(), 1);
    EXPECT_EQ(m_option.MgnMaxRect[0].left, 20);
    EXPECT_EQ(Control<QLineEdit>(MARGINPAGE, 1090)->text(), "0");
    EXPECT_TRUE(Control(MARGINPAGE, 1128)->isVisibleTo(m_sheet.get()));
    EXPECT_FALSE(Control(MARGINPAGE, 1129)->isVisibleTo(m_sheet.get()));
    Control<QPushButton>(MARGINPAGE, 1128)->click();
    EXPECT_EQ(Control<QLineEdit>(MARGINPAGE, 1090)->text(), "20");
}

TEST_F(OptionSheetTest, CtrlTabAndCtrlPageKeysTurnThePagesRoundAndThePagesCheckFirst)
{
    auto* leftCut = Control<QLineEdit>(MARGINPAGE, 1056);
    ASSERT_TRUE(m_sheet->SetActivePage(GENERALPAGE));
    Control(GENERALPAGE, 1019)->setFocus();
    struct Turn {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int page;
    };
    // Ctrl+Shift+Tab arrives as Ctrl+Shift+Backtab from the window system.
    const Turn turns[] = {{Qt::Key_Tab, Qt::ControlModifier, SLANTPAGE},
                          {Qt::Key_PageDown, Qt::ControlModifier, MARGINPAGE},
                          {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, SLANTPAGE},
                          {Qt::Key_PageUp, Qt::ControlModifier, GENERALPAGE},
                          {Qt::Key_PageUp, Qt::ControlModifier, SAVEPAGE},
                          {Qt::Key_Tab, Qt::ControlModifier, GENERALPAGE},
                          {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, SAVEPAGE},
                          {Qt::Key_PageDown, Qt::ControlModifier, GENERALPAGE}};
    for (const Turn& turn : turns) {
        QTest::keyClick(QApplication::focusWidget(), turn.key, turn.modifiers);
        EXPECT_EQ(m_sheet->GetActiveIndex(), turn.page) << turn.key;
        EXPECT_TRUE(m_sheet->GetPage(turn.page).isAncestorOf(QApplication::focusWidget())) << turn.key;
    }

    // A page whose check fails stays, with the focus on what to correct.
    Control<QAbstractButton>(MARGINPAGE, 1054)->click();
    TypeInto(leftCut, "50");
    TypeInto(Control<QLineEdit>(MARGINPAGE, 1058), "50");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(m_sheet->GetActiveIndex(), MARGINPAGE);
    EXPECT_EQ(m_sheet->m_messages, QStringList{"カット左右の合計が100%以上です。"});
    EXPECT_TRUE(leftCut->hasFocus());
    TypeInto(leftCut, "49");
    QTest::keyClick(leftCut, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(m_sheet->GetActiveIndex(), SLANTPAGE);
}

TEST_F(OptionSheetTest, AKindSwitchedOffIsNotCrossChecked)
{
    // A loaded record may raise the end above the start beyond 99 on both sides.
    Control<QAbstractButton>(GENERALPAGE, 1021)->setChecked(false);
    m_option.CutMargin[1] = 2;
    m_option.MgnMinRect[1] = {0, 0, 50, 0};
    m_option.MgnMaxRect[1] = {90, 30, 50, 30};
    auto* tab = Control<QTabBar>(MARGINPAGE, 1114);
    tab->setCurrentIndex(1);
    EXPECT_FALSE(Control(MARGINPAGE, 1098)->isEnabled());
    tab->setCurrentIndex(0);
    EXPECT_EQ(tab->currentIndex(), 0);
    tab->setCurrentIndex(1);
    EXPECT_TRUE(m_sheet->SetActivePage(SLANTPAGE));
    EXPECT_TRUE(m_sheet->SetActivePage(MARGINPAGE));
    PressOK();
    EXPECT_FALSE(m_sheet->isVisible());
    EXPECT_EQ(m_sheet->m_messages, QStringList());

    // Switched on, the same values are the user's to correct.
    m_option.PictPage = 1;
    CTestSheet again(&m_option, &m_mode);
    ASSERT_TRUE(again.SetActivePage(MARGINPAGE));
    auto* againTab = again.m_pageMargin.Item<QTabBar>(1114);
    againTab->setCurrentIndex(1);
    againTab->setCurrentIndex(0);
    EXPECT_EQ(againTab->currentIndex(), 1);
    EXPECT_EQ(again.m_messages, QStringList{"判定終了位置左右の合計が100%以上です。"});
}

TEST_F(OptionSheetTest, F1OpensTheHelpOfThePageOrDialog)
{
    QTest::keyClick(Control(MARGINPAGE, 1056), Qt::Key_F1);
    QTest::keyClick(Control(SAVEPAGE, 1006), Qt::Key_F1);
    EXPECT_EQ(m_sheet->m_helpPages, (QList<int>{167, 139}));

    QStringList opened;
    SetHelpOpener([&opened](const QUrl& url) {
        opened.append(url.toLocalFile());
        return true;
    });
    CRotateDialog rotate(0.0);
    CMgnCutDialog cut(RECT{});
    CFilePasswordDialog password(QStringLiteral("a.zip"));
    for (QDialog* dialog : std::initializer_list<QDialog*>{&rotate, &cut, &password}) {
        dialog->show();
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        QTest::keyClick(dialog->findChild<QLineEdit*>(), Qt::Key_F1);
    }
    SetHelpOpener([](const QUrl&) { return true; });
    EXPECT_EQ(opened, (QStringList{GetHelpPagePath(162), GetHelpPagePath(163), GetHelpPagePath(160)}));
}

TEST_F(OptionSheetTest, SavePageEnablingFollowsTypeAndDepth)
{
    auto* type = Control<QComboBox>(SAVEPAGE, 1006);
    auto* depth = Control<QComboBox>(SAVEPAGE, 1007);
    type->setFocus();
    QTest::keyClick(type, Qt::Key_Down);  // JPEG
    EXPECT_EQ(depth->currentData().toInt(), 4);
    EXPECT_FALSE(depth->isEnabled());
    EXPECT_FALSE(Control(SAVEPAGE, 1008)->isEnabled());
    EXPECT_TRUE(Control(SAVEPAGE, 1013)->isEnabled());

    QTest::keyClick(type, Qt::Key_Down);  // PNG
    depth->setFocus();
    QTest::keyClick(depth, Qt::Key_Up);  // 8 bpp
    EXPECT_TRUE(depth->isEnabled());
    EXPECT_TRUE(Control(SAVEPAGE, 1010)->isEnabled());
    EXPECT_FALSE(Control(SAVEPAGE, 1012)->isEnabled());
}

TEST_F(OptionSheetTest, SaveFolderIsCheckedAndTrimmed)
{
    QTemporaryDir dir;
    auto* subDir = Control<QLineEdit>(SAVEPAGE, 1017);
    TypeInto(subDir, "a/b");
    EXPECT_FALSE(m_sheet->SetActivePage(GENERALPAGE));
    EXPECT_EQ(m_sheet->m_messages.last(), "不正な文字が使用されています。");
    EXPECT_TRUE(subDir->hasFocus());

    TypeInto(subDir, "  out  ");
    Control<QAbstractButton>(SAVEPAGE, 1016)->click();
    m_sheet->m_folder = dir.filePath("new");
    Control<QPushButton>(SAVEPAGE, 1028)->click();
    EXPECT_EQ(Control<QLineEdit>(SAVEPAGE, 1018)->text(), dir.filePath("new"));
    PressOK();
    EXPECT_FALSE(m_sheet->isVisible());
    EXPECT_EQ(m_option.SaveSubDir, "out");
    EXPECT_EQ(m_option.SaveAnyDir, dir.filePath("new"));
    EXPECT_EQ(m_option.SaveDirType, 2);
}

TEST_F(OptionSheetTest, OkWithoutChangesAndCancelKeepTheRecord)
{
    const CAdjustOption before = m_option;
    for (int page = GENERALPAGE; page <= SAVEPAGE; ++page) {
        EXPECT_TRUE(m_sheet->SetActivePage(page));
    }
    PressOK();
    EXPECT_EQ(m_option, before);
    EXPECT_EQ(g_nOptionStartPage, SAVEPAGE);

    CTestSheet again(&m_option, &m_mode);
    EXPECT_EQ(again.GetActiveIndex(), SAVEPAGE);
    TypeInto(again.m_pageSave.Item<QLineEdit>(1013), "5");
    EXPECT_TRUE(again.SetActivePage(MARGINPAGE));
    again.m_pageMargin.Item<QPushButton>(1127)->click();
    TypeInto(again.m_pageMargin.Item<QLineEdit>(1132), "77");
    again.reject();
    EXPECT_EQ(m_option, before);
}

TEST_F(OptionSheetTest, OptionFileRoundTrip)
{
    QTemporaryDir dir;
    Control<QAbstractButton>(GENERALPAGE, 1019)->click();
    Control<QComboBox>(GENERALPAGE, 1131)->setCurrentIndex(2);
    Control<CColorButton>(GENERALPAGE, 1126)->ChooseColor(0x123456);
    Control<QAbstractButton>(SLANTPAGE, 1117)->click();
    TypeInto(Control<QLineEdit>(SLANTPAGE, 1118), "-12.25");
    Control<QAbstractButton>(MARGINPAGE, 1055)->click();
    TypeInto(Control<QLineEdit>(MARGINPAGE, 1099), "7");
    Control<QTabBar>(MARGINPAGE, 1114)->setCurrentIndex(1);
    TypeInto(Control<QLineEdit>(MARGINPAGE, 1067), "100");
    Control<QAbstractButton>(MARGINPAGE, 1140)->click();
    Control<QAbstractButton>(COLORPAGE, 1033)->click();
    TypeInto(Control<QLineEdit>(COLORPAGE, 1032), "250");
    Control<QAbstractButton>(SIZEPAGE, 1123)->click();
    TypeInto(Control<QLineEdit>(SIZEPAGE, 1050), "2000");
    Control<QComboBox>(SAVEPAGE, 1008)->setCurrentIndex(2);
    TypeInto(Control<QLineEdit>(SAVEPAGE, 1017), "out put");
    TypeInto(Control<QLineEdit>(SAVEPAGE, 1018), "C:\\out\\");
    Control<QAbstractButton>(SAVEPAGE, 1130)->click();

    m_sheet->m_path = dir.filePath("sub/all.adjopt");
    m_sheet->m_pageGeneral.OnSaveOptionFile();
    ASSERT_TRUE(m_sheet->m_messages.isEmpty()) << m_sheet->m_messages.join("").toStdString();
    const CAdjustOption saved = m_option;
    EXPECT_NE(saved, CAdjustOption());

    m_option = CAdjustOption();
    m_sheet->LoadAllPages();
    m_sheet->m_pageGeneral.OnLoadOptionFile();
    EXPECT_TRUE(m_mode.GetOptionDocument().isEmpty());
    EXPECT_EQ(m_option, saved);
    EXPECT_EQ(Control<QLineEdit>(SLANTPAGE, 1118)->text(), "-12.25");
    PressOK();
    EXPECT_EQ(m_option, saved);
    EXPECT_EQ(saved.RotateAngle[1], -12.25);
    EXPECT_EQ(saved.MgnAddRect[1].bottom, 100);
    EXPECT_EQ(saved.SaveAnyDir, "C:\\out\\");
    EXPECT_EQ(theProfileRoute.m_bOptionFile, 0);
}

TEST_F(OptionSheetTest, BadOptionFilesChangeNothing)
{
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    const std::pair<QString, QString> cases[] = {
        {write("empty.adjopt", {}), "ファイル内容が正しくありません(bom)"},
        {write("utf8.adjopt", "[OptionInfo]\r\nTextPage=0\r\n"), "ファイル内容が正しくありません(bom)"},
        {write("damaged.adjopt", QByteArray("\xff\xfe[\0O\0", 6)), "ファイル内容が正しくありません(section)"},
        {dir.path(), "load error\n"},
    };
    auto* lines = Control<QLineEdit>(GENERALPAGE, 1025);
    TypeInto(lines, "12");
    const CAdjustOption before = m_option;
    for (const auto& [path, error] : cases) {
        m_sheet->m_path = path;
        m_sheet->m_pageGeneral.OnLoadOptionFile();
        ASSERT_FALSE(m_sheet->m_messages.isEmpty());
        EXPECT_TRUE(m_sheet->m_messages.takeLast().startsWith(error)) << path.toStdString();
        EXPECT_EQ(m_option, before);
        EXPECT_EQ(lines->text(), "12");
    }

    m_sheet->m_path = write("plain", "x") + "/below/options.adjopt";
    m_sheet->m_pageGeneral.OnSaveOptionFile();
    ASSERT_EQ(m_sheet->m_messages.size(), 1);
    EXPECT_TRUE(m_sheet->m_messages[0].startsWith("create dir error\n"));
    EXPECT_FALSE(QFile::exists(m_sheet->m_path));
}
