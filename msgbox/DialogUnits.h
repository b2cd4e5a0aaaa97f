#pragma once

class QFont;

// The base units that turn dialog units into pixels: an average character
// width and the character height of the font.
struct DialogBaseUnits {
    int x;
    int y;
};

DialogBaseUnits GetDialogBaseUnits(const QFont& font);

// number * numerator / denominator rounded half away from zero; -1 for a zero denominator.
int MulDiv(int number, int numerator, int denominator);
