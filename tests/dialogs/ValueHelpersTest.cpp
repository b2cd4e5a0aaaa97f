#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QWidget>

#include "common/FormatDouble.h"
#include "dialogs/SpinButtonCtrl.h"
#include "dialogs/ValueHelpers.h"

namespace {

// An edit with its up-down control and slider, synchronised on every change
// of the text as a page does it.
class ValueHelpersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_edit = new QLineEdit(&m_window);
        m_edit->setGeometry(10, 10, 80, 24);
        m_spin = new CSpinButtonCtrl(&m_window);
        m_spin->SetBuddy(m_edit);
        m_slider = new QSlider(Qt::Horizontal, &m_window);
        m_window.show();
        m_edit->setFocus();
    }

    void TypingInt(int low, int high)
    {
        m_spin->SetRange32(low, high);
        m_slider->setRange(low, high);
        QObject::connect(m_edit, &QLineEdit::textChanged, [this] { SyncEditIntWithSpin(0, m_edit, m_spin, m_slider); });
    }

    void TypingDouble(int low, int high)
    {
        m_spin->SetRange32(low, high);
        QObject::connect(m_edit, &QLineEdit::textChanged,
                         [this] { SyncEditDoubleWithSpin(0, m_edit, m_spin, &m_value); });
    }

    void Type(const QString& text)
    {
        m_edit->clear();
        QTest::keyClicks(m_edit, text);
    }

    QWidget m_window;
    QLineEdit* m_edit = nullptr;
    CSpinButtonCtrl* m_spin = nullptr;
    QSlider* m_slider = nullptr;
    double m_value = -1.0;
};

}  // namespace

TEST(FormatDouble, DropsTrailingZerosAndThePoint)
{
    EXPECT_EQ(FormatDouble(2.0), "2");
    EXPECT_EQ(FormatDouble(1.5), "1.5");
    EXPECT_EQ(FormatDouble(1.25), "1.25");
    EXPECT_EQ(FormatDouble(0.0), "0");
    EXPECT_EQ(FormatDouble(-1.0), "-1");
    EXPECT_EQ(FormatDouble(0.05), "0.05");
    EXPECT_EQ(FormatDouble(10.10), "10.1");
    EXPECT_EQ(FormatDouble(100.0), "100");
    EXPECT_EQ(FormatDouble(359.999), "360");
}

TEST_F(ValueHelpersTest, TypedIntegerIsClampedAtOnceAndMovesTheSlider)
{
    TypingInt(0, 99);
    Type("150");
    EXPECT_EQ(m_edit->text(), "99");
    EXPECT_EQ(m_slider->value(), 99);
    Type("-");
    EXPECT_EQ(m_edit->text(), "-");
    Type("-0");
    EXPECT_EQ(m_edit->text(), "-0");
    Type("07");
    EXPECT_EQ(m_edit->text(), "7");
    Type("12ab");
    EXPECT_EQ(m_edit->text(), "12");
    Type("-5");
    EXPECT_EQ(m_edit->text(), "0");
    Type("99999999999999999999999");
    EXPECT_EQ(m_edit->text(), "99");
}

TEST_F(ValueHelpersTest, ValidatingAnEmptyIntegerEditWritesTheClampedZero)
{
    m_spin->SetRange32(0, 99);
    EXPECT_TRUE(SyncEditIntWithSpin(1, m_edit, m_spin));
    EXPECT_EQ(m_edit->text(), "0");
    EXPECT_FALSE(SyncEditIntWithSpin(1, m_edit, m_spin));

    m_spin->SetRange32(1, 9999);
    m_edit->clear();
    EXPECT_TRUE(SyncEditIntWithSpin(1, m_edit, m_spin));
    EXPECT_EQ(m_edit->text(), "1");
}

TEST_F(ValueHelpersTest, TypedDecimalKeepsTextAndCaretWhileInRange)
{
    TypingDouble(-360, 360);
    Type("12.5");
    EXPECT_EQ(m_edit->text(), "12.5");
    EXPECT_EQ(m_edit->cursorPosition(), 4);
    EXPECT_EQ(m_spin->GetPos32(), 12);
    EXPECT_DOUBLE_EQ(m_value, 12.5);

    QTest::keyClick(m_edit, Qt::Key_Home);
    QTest::keyClicks(m_edit, "1");
    EXPECT_EQ(m_edit->text(), "112.5");
    EXPECT_EQ(m_edit->cursorPosition(), 1);

    Type("400");
    EXPECT_EQ(m_edit->text(), "360");
    EXPECT_DOUBLE_EQ(m_value, 360.0);
    EXPECT_EQ(m_spin->GetPos32(), 360);

    Type("-");
    EXPECT_EQ(m_edit->text(), "-");
    EXPECT_DOUBLE_EQ(m_value, 0.0);
    Type("-12.75");
    EXPECT_EQ(m_spin->GetPos32(), -12);
    Type("nan");
    EXPECT_DOUBLE_EQ(m_value, 0.0);
}

TEST_F(ValueHelpersTest, ValidatingADecimalReformatsButStoresTheParsedValue)
{
    m_spin->SetRange32(-360, 360);
    double value = 0.0;
    m_edit->setText("12.50");
    EXPECT_TRUE(SyncEditDoubleWithSpin(1, m_edit, m_spin, &value));
    EXPECT_EQ(m_edit->text(), "12.5");
    EXPECT_FALSE(SyncEditDoubleWithSpin(1, m_edit, m_spin, &value));

    m_edit->setText("12.345");
    SyncEditDoubleWithSpin(1, m_edit, m_spin, &value);
    EXPECT_EQ(m_edit->text(), FormatDouble(12.345));
    EXPECT_EQ(m_edit->text().size(), 5);
    EXPECT_DOUBLE_EQ(value, 12.345);

    m_edit->setText("-400");
    EXPECT_TRUE(SyncEditDoubleWithSpin(1, m_edit, m_spin, &value));
    EXPECT_EQ(m_edit->text(), "-360");
    EXPECT_DOUBLE_EQ(value, -360.0);
}

TEST_F(ValueHelpersTest, ReadsAndWritesNumbers)
{
    m_edit->setText("  42xyz");
    EXPECT_EQ(GetEditInt(m_edit), 42);
    m_edit->setText("abc");
    EXPECT_EQ(GetEditInt(m_edit), 0);
    EXPECT_DOUBLE_EQ(GetEditDouble(m_edit), 0.0);
    m_edit->setText("1.5e1x");
    EXPECT_DOUBLE_EQ(GetEditDouble(m_edit), 15.0);
    SetEditInt(m_edit, -7);
    EXPECT_EQ(m_edit->text(), "-7");
    SetEditDouble(m_edit, 1.50);
    EXPECT_EQ(m_edit->text(), "1.5");
}

TEST_F(ValueHelpersTest, MissingControlsDoNothing)
{
    double value = 5.0;
    EXPECT_EQ(GetEditInt(nullptr), 0);
    EXPECT_DOUBLE_EQ(GetEditDouble(nullptr), 0.0);
    SetEditInt(nullptr, 1);
    SetEditDouble(nullptr, 1.0);
    EXPECT_FALSE(SyncEditIntWithSpin(1, m_edit, nullptr));
    EXPECT_FALSE(SyncEditDoubleWithSpin(1, nullptr, m_spin, &value));
    EXPECT_DOUBLE_EQ(value, 0.0);
    EXPECT_EQ(FindComboItemByData(nullptr, 0), -1);
}

TEST(FindComboItemByData, EmptyGivesNoneAndTheFirstMatchWins)
{
    QComboBox combo;
    EXPECT_EQ(FindComboItemByData(&combo, 0), -1);
    combo.addItem("a", 3);
    combo.addItem("b", 7);
    combo.addItem("c", 7);
    EXPECT_EQ(FindComboItemByData(&combo, 7), 1);
    EXPECT_EQ(FindComboItemByData(&combo, 5), -1);
}

TEST_F(ValueHelpersTest, ArrowsStepTheEditInsideTheRange)
{
    TypingInt(0, 10);
    Type("9");
    QTest::keyClick(m_edit, Qt::Key_Up);
    EXPECT_EQ(m_edit->text(), "10");
    QTest::keyClick(m_edit, Qt::Key_Up);
    EXPECT_EQ(m_edit->text(), "10");
    QTest::mouseClick(m_spin, Qt::LeftButton, {}, QPoint(m_spin->width() / 2, m_spin->height() - 2));
    EXPECT_EQ(m_edit->text(), "9");
    EXPECT_EQ(m_spin->GetPos32(), 9);
    EXPECT_EQ(m_slider->value(), 9);
}
