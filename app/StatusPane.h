#pragma once

#include <QFrame>
#include <QString>

#include "platform/WinTypes.h"

// One pane of the main status bar: its text, or while a job runs its
// progress bar, drawn by the program's visual manager.
class CStatusPane : public QFrame {
    Q_OBJECT

public:
    CStatusPane(unsigned id, const QString& text, QWidget* parent = nullptr);

    unsigned GetId() const { return m_nId; }
    QString GetText() const { return m_strText; }
    void SetText(const QString& text);
    // total -1 turns the progress bar off.
    void EnableProgressBar(long total, BOOL showText, COLORREF barColor, COLORREF gradient, COLORREF textColor);
    void SetProgress(long current);
    bool HasProgressBar() const { return m_nTotal >= 0; }
    long GetProgress() const { return m_nCurrent; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    unsigned m_nId;
    QString m_strText;
    long m_nTotal = -1;
    long m_nCurrent = 0;
    BOOL m_bShowText = 0;
    COLORREF m_clrBar = 0;
    COLORREF m_clrGradient = 0;
    COLORREF m_clrText = 0;
};
