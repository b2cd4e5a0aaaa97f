#pragma once

#include <QList>
#include <QWidget>

#include "dialogs/DialogLayout.h"

class CAdjustOption;
class COptionPropertySheet;
class CSpinButtonCtrl;
class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

// One page of the options sheet. The page builds its controls from its
// template when it is first shown, reads the sheet's record then, and stores
// its controls back on OK. Controls are named by their ids.
class COptionPage : public QWidget {
    Q_OBJECT

public:
    COptionPage(COptionPropertySheet& sheet, int templateId, const QString& caption, QSize templateSize);

    int GetTemplateId() const { return m_nTemplateId; }
    const QString& GetCaption() const { return m_strCaption; }
    QSize GetTemplateSize() const { return m_templateSize; }
    bool IsCreated() const { return m_bCreated; }
    bool IsModified() const { return m_bModified; }

    // Builds the controls and reads the record (once).
    void Create();
    virtual void LoadFromOptions() = 0;
    virtual void SaveToOptions() = 0;
    virtual void OnSetActive() {}
    // Leaving the page: numeric edits corrected into their ranges; false keeps the page.
    virtual bool OnKillActive();
    virtual void OnApply() { SaveToOptions(); }

    // The control of the id, or null.
    template <typename T>
    T* Item(int id) const
    {
        return findChild<T*>(QString::number(id), Qt::FindDirectChildrenOnly);
    }

protected:
    virtual void OnInitDialog() = 0;

    CAdjustOption& Option() const;
    COptionPropertySheet& Sheet() const { return m_sheet; }
    void SetModified(bool modified = true) { m_bModified = modified; }
    int ShowMessage(const QString& text) const;
    // Focus to the edit with its text selected, as the dialog's next control.
    static void GotoEdit(QLineEdit* edit);

    // Control factory: rectangles in dialog units of the template.
    template <typename T>
    T* Place(T* control, int id, QRect dlu)
    {
        if (id != 0) {
            control->setObjectName(QString::number(id));
        }
        m_layout.Place(*control, dlu.x(), dlu.y(), dlu.width(), dlu.height());
        return control;
    }
    QGroupBox* AddGroup(int id, const QString& caption, QRect dlu);
    QLabel* AddLabel(int id, const QString& text, QRect dlu, QWidget* buddy = nullptr);
    QAbstractButton* AddCheck(int id, const QString& caption, QRect dlu);
    QPushButton* AddButton(int id, const QString& caption, QRect dlu);
    QComboBox* AddCombo(int id, QRect dlu);
    QSlider* AddSlider(int id, int low, int high, QRect dlu, int editId);
    // The radios first, first + 1, ... of one group, one rectangle each.
    void AddRadios(int first, const QStringList& captions, const QList<QRect>& dlus);
    // A numeric edit limited to 8 characters with its up-down control, kept
    // in range while typing (and the slider moved along, when given).
    QLineEdit* AddIntEdit(int editId, int spinId, int low, int high, QRect dlu, QSlider* slider = nullptr);
    QLineEdit* AddDoubleEdit(int editId, int spinId, int low, int high, QRect dlu);

    // Radio group first .. first + 2: the middle one for 1, the last for 2,
    // the first for any other value; read back the same way.
    void SetRadioValue(int first, int value);
    int GetRadioValue(int first) const;
    void SetCheck(int id, int value);
    int GetCheck(int id) const;
    void SetEditInt(int id, int value);
    int GetEditInt(int id) const;

    // Every numeric edit corrected into its range, in the order they were added.
    void ValidateNumericEdits();

    CDialogLayout m_layout;

private:
    struct NumericEdit {
        QLineEdit* edit;
        CSpinButtonCtrl* spin;
        QSlider* slider;
        bool isDouble;
    };

    QLineEdit* AddNumericEdit(int editId, int spinId, int low, int high, QRect dlu);

    COptionPropertySheet& m_sheet;
    int m_nTemplateId;
    QString m_strCaption;
    QSize m_templateSize;
    bool m_bCreated = false;
    bool m_bModified = false;
    QList<NumericEdit> m_numericEdits;
};
