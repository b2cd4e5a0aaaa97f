#pragma once

#include <QToolButton>

#include "platform/WinTypes.h"

// A button showing a colour; it drops down a palette of 5 columns and an
// "その他..." button that opens the colour dialog. colorChosen is emitted
// when the user picks a colour.
class CColorButton : public QToolButton {
    Q_OBJECT

public:
    explicit CColorButton(QWidget* parent = nullptr);

    void SetColor(COLORREF color);
    COLORREF GetColor() const { return m_color; }
    // Picks the colour as the user does.
    void ChooseColor(COLORREF color);

signals:
    void colorChosen();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void BuildPalette();
    void AskOtherColor();

    COLORREF m_color = 0;
};
