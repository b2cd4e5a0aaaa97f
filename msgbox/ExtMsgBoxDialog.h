#pragma once

#include <QBasicTimer>
#include <QDialog>
#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

class CExtMsgBoxItem;
class CExtMsgBoxTemplate;

// The window of one message box, built from the template's items: it disables
// the buttons for the disabled period, counts the timeout down on the default
// button, turns button presses, Escape and the close box into the box's result
// and copies the box's text with Ctrl+C.
//
// The help button opens the program's help page of the box's help context.
class CExtMsgBoxDialog : public QDialog {
    Q_OBJECT

public:
    explicit CExtMsgBoxDialog(CExtMsgBoxTemplate& box);

    // Fonts, disabled period, focus, position and timers; shows the box.
    void OnInitDialog();
    // id 1: one second of the timeout countdown; id 2: one second of the disabled period.
    void OnTimer(int id);
    // A button's id, or the default button's id + 0x80000000 from the countdown.
    void OnCommand(std::uint32_t command);
    // Ctrl held with the key: 'C' copies the box's text and counts as handled.
    bool OnCopyToClipboard(int key);

    QWidget* GetDlgItem(int id) const;
    bool IsCloseEnabled() const { return m_bCloseEnabled; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void reject() override;

private:
    void CreateControls();
    QWidget* CreateControl(const CExtMsgBoxItem& item);
    void EnableButtons(bool enable);
    void StopCountdown();
    void PlaceWindow();
    void ShowHelp() const;
    std::uint32_t CheckBoxBits() const;

    CExtMsgBoxTemplate& m_box;
    std::vector<std::pair<int, QWidget*>> m_controls;  // in window order
    QBasicTimer m_timeoutTimer;
    QBasicTimer m_disabledTimer;
    QString m_szDefaultButton;
    bool m_bDefaultButtonSaved = false;
    bool m_bCloseEnabled = true;
};
