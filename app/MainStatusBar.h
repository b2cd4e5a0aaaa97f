#pragma once

#include <QStatusBar>

#include "platform/WinTypes.h"

class CStatusPane;
class QPushButton;

// The main frame's status bar: the two file counts, the job's progress pane
// and the stop button over the pane beside it.
class CMainStatusBar : public QStatusBar {
    Q_OBJECT

public:
    explicit CMainStatusBar(QWidget* parent = nullptr);

    // Adds one pane per id, in order, with the id's string as its text.
    void SetIndicators(std::initializer_list<unsigned> ids);
    // width 0 with stretch: the pane takes what is left.
    void SetPaneInfo(unsigned id, int width, bool stretch);
    CStatusPane* GetPane(unsigned id) const;
    void SetPaneText(unsigned id, const QString& text);
    void SetPaneProgress(unsigned id, long current);

    void ShowProgress(long total, COLORREF barColor, const QString& caption);
    // The job ended: the stop button hides and the pane shows its text again.
    void EndProgress();

    QPushButton* m_pStopButton = nullptr;

signals:
    // A command of a control on the bar (the stop button's 1001).
    void command(int id);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect StopButtonRect() const;
    void CreateStopButton(const QString& caption);
};
