#pragma once

#include <QDialog>

#include <array>

#include "platform/WinTypes.h"

class CSpinButtonCtrl;
class QLineEdit;

// Asks for a per-file margin cut: percent of the width or height cut from
// each side, 0 to 99, opposite sides together below 100. m_rcMargin holds
// the values after IDOK.
class CMgnCutDialog : public QDialog {
    Q_OBJECT

public:
    enum { LEFT, TOP, RIGHT, BOTTOM };

    explicit CMgnCutDialog(const RECT& margin, QWidget* parent = nullptr);

    // IDOK or IDCANCEL.
    int DoModal();
    void OnInitDialog();
    // Refuses while opposite sides sum to 100 or more.
    void OnOK();
    void accept() override { OnOK(); }

    std::array<QLineEdit*, 4> m_edits{};  // left, top, right, bottom
    std::array<CSpinButtonCtrl*, 4> m_spins{};
    RECT m_rcMargin;

protected:
    // The refusal message; a test answers it.
    virtual void ShowRefusal(const QString& text);

private:
    void Refuse(const QString& text, int side);
};
