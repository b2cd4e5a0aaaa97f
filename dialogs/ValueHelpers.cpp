#include "dialogs/ValueHelpers.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSlider>

#include <cmath>
#include <cstdlib>
#include <locale.h>

#include "common/FormatDouble.h"
#include "dialogs/SpinButtonCtrl.h"
#include "settings/OptionProfile.h"

namespace {

// Integers are read from this many characters of an edit at most.
constexpr qsizetype kIntChars = 19;

// Set while SyncEditDoubleWithSpin rewrites an edit, so that the change
// notification of that rewrite does nothing.
bool g_bSyncingDouble = false;

// The user's locale may write decimals with a comma; the edits always use a point.
locale_t CNumericLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// The leading number of the text as the C library reads it; 0.0 for none.
// A typed "nan" also counts as none: it would pass every range check.
double TextToDouble(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    const double value = strtod_l(bytes.constData(), nullptr, CNumericLocale());
    return std::isnan(value) ? 0.0 : value;
}

// Texts that are the start of a number being typed.
bool IsUnfinishedNumber(const QString& text)
{
    return text.isEmpty() || text == u'-' || text == QLatin1String("-0");
}

int ClampToRange(int value, const CSpinButtonCtrl& spin)
{
    int low = 0;
    int high = 0;
    spin.GetRange32(low, high);
    return value < low ? low : (value > high ? high : value);
}

// The value an unfinished decimal entry stands for: 0 brought into the range.
double ZeroInRange(const CSpinButtonCtrl& spin)
{
    return ClampToRange(0, spin);
}

// Writes the in-range text back with the selection and caret kept.
void RewriteKeepingSelection(QLineEdit& edit, const QString& text)
{
    const int start = edit.hasSelectedText() ? edit.selectionStart() : edit.cursorPosition();
    const int end = edit.hasSelectedText() ? edit.selectionEnd() : start;
    if (edit.text() != text) {
        edit.setText(text);
    }
    edit.setCursorPosition(start);
    if (end > start) {
        edit.setSelection(start, end - start);
    }
}

}  // namespace

int GetEditInt(const QLineEdit* edit)
{
    if (edit == nullptr) {
        return 0;
    }
    return DecimalTextToInt(QStringView(edit->text()).left(kIntChars));
}

void SetEditInt(QLineEdit* edit, int value)
{
    if (edit != nullptr) {
        edit->setText(QString::number(value));
    }
}

double GetEditDouble(const QLineEdit* edit)
{
    return edit != nullptr ? TextToDouble(edit->text()) : 0.0;
}

void SetEditDouble(QLineEdit* edit, double value)
{
    if (edit != nullptr) {
        edit->setText(FormatDouble(value));
    }
}

BOOL SyncEditIntWithSpin(BOOL validate, QLineEdit* edit, CSpinButtonCtrl* spin, QSlider* slider)
{
    if (edit == nullptr || spin == nullptr) {
        return 0;
    }
    const QString text = edit->text().left(kIntChars);
    if (!validate && IsUnfinishedNumber(text)) {
        return 0;
    }
    const int value = ClampToRange(DecimalTextToInt(text), *spin);
    if (slider != nullptr) {
        slider->setValue(value);
    }
    const QString normal = QString::number(value);
    if (normal == text) {
        return 0;
    }
    edit->setText(normal);
    return 1;
}

BOOL SyncEditDoubleWithSpin(BOOL validate, QLineEdit* edit, CSpinButtonCtrl* spin, double* out)
{
    if (out != nullptr) {
        *out = 0.0;
    }
    if (edit == nullptr || spin == nullptr) {
        return 0;
    }
    const QString text = edit->text();
    if (!validate && IsUnfinishedNumber(text)) {
        if (out != nullptr) {
            *out = ZeroInRange(*spin);
        }
        return 0;
    }
    double value = TextToDouble(text);
    int low = 0;
    int high = 0;
    spin->GetRange32(low, high);
    BOOL changed = 0;
    if (value < low || value > high) {
        // The bound replaces the entry at once, written as an integer.
        const int bound = value < low ? low : high;
        value = bound;
        SetEditInt(edit, bound);
        spin->SetPos32(bound);
        changed = 1;
    } else if (!g_bSyncingDouble) {
        g_bSyncingDouble = true;
        spin->SetPos32(static_cast<int>(value));
        QString shown = text;
        if (validate && FormatDouble(value) != text) {
            shown = FormatDouble(value);
            changed = 1;
        }
        RewriteKeepingSelection(*edit, shown);
        g_bSyncingDouble = false;
    }
    if (out != nullptr) {
        *out = value;
    }
    return changed;
}

int FindComboItemByData(const QComboBox* combo, int data)
{
    if (combo == nullptr) {
        return -1;
    }
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemData(i).toInt() == data) {
            return i;
        }
    }
    return -1;
}
