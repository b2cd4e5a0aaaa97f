#pragma once

#include <QWidget>

class QLineEdit;

// The up-down control beside a numeric edit: a 32-bit range and position and
// two arrow buttons. An arrow (a click, or the Up/Down key in the edit) steps
// the edit's integer by one inside the range and writes it back into the
// edit. Setting the position by program leaves the edit's text alone, so that
// an edit may show 12.5 while the position is 12.
class CSpinButtonCtrl : public QWidget {
    Q_OBJECT

public:
    explicit CSpinButtonCtrl(QWidget* parent = nullptr);

    void SetRange32(int low, int high);
    void GetRange32(int& low, int& high) const;
    void SetPos32(int pos);
    int GetPos32() const { return m_pos; }

    // Binds the edit and places the control at the edit's right end, inside
    // the edit's former rectangle.
    void SetBuddy(QLineEdit* edit);
    QLineEdit* GetBuddy() const { return m_buddy; }

    // One arrow step: +1 up, -1 down.
    void Step(int delta);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int StepTarget(int delta) const;
    void StopRepeat();

    int m_low = 0;
    int m_high = 100;
    int m_pos = 0;
    int m_pressed = 0;  // the arrow held down: +1, -1 or 0
    int m_repeatTimer = 0;
    QLineEdit* m_buddy = nullptr;  // cleared when the edit goes
};
