#pragma once

#include <QString>

#include "platform/WinTypes.h"

// Bits of the change mask (CAdjustOption::Compare): which results computed
// under the old settings are no longer valid.
constexpr int OPTCHG_TEXTITEMS = 0x0001;  // page-kind decision of text pages
constexpr int OPTCHG_PICTITEMS = 0x0002;  // page-kind decision of picture pages
constexpr int OPTCHG_SLANT = 0x0010;
constexpr int OPTCHG_MARGIN = 0x0020;
constexpr int OPTCHG_SIZE = 0x0040;
constexpr int OPTCHG_COLOR = 0x0080;
constexpr int OPTCHG_TEXT = 0x0100;  // the step changed for text pages
constexpr int OPTCHG_PICT = 0x0200;  // the step changed for picture pages
constexpr int OPTCHG_BACKCOLOR = 0x1000;
constexpr int OPTCHG_OUTNAME = 0x2000;
constexpr int OPTCHG_SAVE = 0x4000;

// The one record that drives every adjustment, output name and save. Fields
// held per page kind are arrays indexed 0 = text page, 1 = picture page.
class CAdjustOption {
public:
    CAdjustOption() = default;

    void Load();
    void Save() const;
    // Change mask of this (edited) record against old; 0 when no difference counts.
    int Compare(const CAdjustOption& old) const;
    friend bool operator==(const CAdjustOption&, const CAdjustOption&) = default;

    BOOL TextPage = 1;
    BOOL PictPage = 1;
    int WritingDir = 0;    // 0 not specified, 1 vertical, 2 horizontal
    int LinePerPage = 0;   // 0 not specified
    int BackBorder = 230;  // print/paper brightness threshold
    COLORREF BackColor = 0xFFFFFF;

    int Slant[2] = {0, 0};  // 0 none, 1 fixed angle, 2 automatic
    double RotateAngle[2] = {0.0, 0.0};
    int CutMargin[2] = {0, 0};  // 0 none, 1 fixed, 2 detect
    RECT MgnCutRect[2] = {{5, 5, 5, 5}, {5, 5, 5, 5}};
    RECT MgnMinRect[2] = {{0, 0, 0, 0}, {0, 0, 0, 0}};
    RECT MgnMaxRect[2] = {{30, 30, 30, 30}, {30, 30, 30, 30}};
    RECT MgnDefRect[2] = {{10, 10, 10, 10}, {10, 10, 10, 10}};
    RECT MgnAddRect[2] = {{5, 5, 5, 5}, {5, 5, 5, 5}};
    int SpotDot[2] = {5, 5};
    BOOL IgnoreShadow[2] = {0, 0};
    BOOL ShadowClear[2] = {0, 0};

    int Resize = 0;  // 0 none, 1 source size, 2 FixSize
    SIZE FixSize = {800, 1280};
    BOOL KeepRate = 1;
    BOOL OnlySmall = 1;
    BOOL AdjustTextColor = 0;
    int BrightText = 0;
    BOOL GrayText = 0;
    BOOL BackUnify = 1;
    BOOL AdjustPictColor = 0;
    int BrightPict = 100;
    BOOL GrayPict = 0;
    int SaveFormat = 0;   // 0 as source, 1 JPEG, 2 PNG, 3 BMP
    int SaveDepth = 4;    // 1 = 1 bpp, 2 = 4 bpp, 3 = 8 bpp, 4 = 24 bpp
    int SavePalette = 1;  // 1 standard, 2 optimised, 3 optimised (slow)
    int SaveQuality = 70;
    int SaveDirType = 1;  // 1 subfolder of the source, 2 SaveAnyDir
    QString SaveSubDir = QStringLiteral("adj");
    QString SaveAnyDir;
    BOOL OwPrompt = 1;
};

// Key of a per-kind field: the base key followed by k ("Slant0").
QString MakeIndexedKey(const QString& base, int k);
