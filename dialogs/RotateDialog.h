#pragma once

#include <QDialog>

class CSpinButtonCtrl;
class QLineEdit;

// Asks for a per-file slant angle in degrees, clockwise positive, -360 to 360.
// m_dAngle holds the confirmed angle after IDOK; OK always closes.
class CRotateDialog : public QDialog {
    Q_OBJECT

public:
    explicit CRotateDialog(double angle, QWidget* parent = nullptr);

    // IDOK or IDCANCEL.
    int DoModal();
    // Fills the controls from m_dAngle.
    void OnInitDialog();
    void OnOK();
    void accept() override { OnOK(); }

    QLineEdit* m_edit;
    CSpinButtonCtrl* m_spin;
    double m_dAngle;

private:
    void OnUpdateAngle();
};
