#include "settings/AdjustOption.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>

#include "settings/OutputFolder.h"
#include "settings/Profile.h"

namespace {

const QString kSection = QStringLiteral("OptionInfo");

// Valid range [lo, hi] of a field, and the value that replaces one outside it.
struct Range {
    int lo;
    int hi;
    int fallback;
};

void Check(int& value, Range range)
{
    if (value < range.lo || value > range.hi) {
        value = range.fallback;
    }
}

void ReadInt(const QString& key, int& value)
{
    value = GetProfileInt(kSection, key, value);
}

void ReadInt(const QString& key, int& value, Range range)
{
    ReadInt(key, value);
    Check(value, range);
}

// A stored binary is used only when it has exactly the field's size.
bool ReadBinary(const QString& key, qsizetype size, QByteArray& data)
{
    return GetProfileBinary(kSection, key, data) && !data.isEmpty() && data.size() == size;
}

// Little-endian 32-bit integers, in the order given.
QByteArray PackInts(std::initializer_list<int> values)
{
    QByteArray data(static_cast<qsizetype>(values.size() * 4), Qt::Uninitialized);
    char* p = data.data();
    for (int value : values) {
        qToLittleEndian<qint32>(value, p);
        p += 4;
    }
    return data;
}

int UnpackInt(const QByteArray& data, int index)
{
    return qFromLittleEndian<qint32>(data.constData() + 4 * index);
}

void ReadAngle(const QString& key, double& angle)
{
    QByteArray data;
    if (ReadBinary(key, 8, data)) {
        const quint64 bits = qFromLittleEndian<quint64>(data.constData());
        std::memcpy(&angle, &bits, sizeof angle);
    }
    // A stored value that is not a number would turn every page by garbage
    // and make every comparison of two records report a change.
    if (std::isnan(angle) || angle < -360.0 || angle > 360.0) {
        angle = 0.0;
    }
}

void WriteAngle(const QString& key, double angle)
{
    quint64 bits = 0;
    std::memcpy(&bits, &angle, sizeof bits);
    QByteArray data(8, Qt::Uninitialized);
    qToLittleEndian(bits, data.data());
    WriteProfileBinary(kSection, key, data);
}

// Reads a rectangle, checks each side on its own, then applies the pair rule:
// opposite sides that add up to more than 99 percent both become 0.
void ReadRect(const QString& key, RECT& rect, Range range, bool pairRule)
{
    QByteArray data;
    if (ReadBinary(key, 16, data)) {
        rect = {UnpackInt(data, 0), UnpackInt(data, 1), UnpackInt(data, 2), UnpackInt(data, 3)};
    }
    Check(rect.left, range);
    Check(rect.top, range);
    Check(rect.right, range);
    Check(rect.bottom, range);
    if (!pairRule) {
        return;
    }
    if (rect.left + rect.right > 99) {
        rect.left = rect.right = 0;
    }
    if (rect.top + rect.bottom > 99) {
        rect.top = rect.bottom = 0;
    }
}

void WriteRect(const QString& key, const RECT& rect)
{
    WriteProfileBinary(kSection, key, PackInts({rect.left, rect.top, rect.right, rect.bottom}));
}

// The most cut is never less than the least cut.
void RaiseTo(RECT& rect, const RECT& floor)
{
    rect.left = std::max(rect.left, floor.left);
    rect.top = std::max(rect.top, floor.top);
    rect.right = std::max(rect.right, floor.right);
    rect.bottom = std::max(rect.bottom, floor.bottom);
}

void WriteInt(const QString& key, int value)
{
    WriteProfileInt(kSection, key, value);
}

}  // namespace

QString MakeIndexedKey(const QString& base, int k)
{
    return base + QString::number(k);
}

void CAdjustOption::Load()
{
    ReadInt(QStringLiteral("TextPage"), TextPage);
    ReadInt(QStringLiteral("PictPage"), PictPage);
    if (!TextPage && !PictPage) {
        TextPage = PictPage = 1;
    }
    ReadInt(QStringLiteral("WritingDir"), WritingDir, {0, 2, 0});
    ReadInt(QStringLiteral("LinePerPage"), LinePerPage, {0, 999, 0});
    ReadInt(QStringLiteral("BackBorder"), BackBorder, {0, 255, 230});
    BackColor =
        static_cast<COLORREF>(GetProfileInt(kSection, QStringLiteral("BackColor"), static_cast<int>(BackColor)));

    for (int k = 0; k < 2; ++k) {
        ReadInt(MakeIndexedKey(QStringLiteral("Slant"), k), Slant[k], {0, 2, 0});
        ReadAngle(MakeIndexedKey(QStringLiteral("RotateAngle"), k), RotateAngle[k]);
    }
    for (int k = 0; k < 2; ++k) {
        ReadInt(MakeIndexedKey(QStringLiteral("CutMargin"), k), CutMargin[k], {0, 2, 0});
        ReadRect(MakeIndexedKey(QStringLiteral("MgnCutRect"), k), MgnCutRect[k], {0, 99, 5}, true);
        ReadRect(MakeIndexedKey(QStringLiteral("MgnMinRect"), k), MgnMinRect[k], {0, 99, 0}, true);
        ReadRect(MakeIndexedKey(QStringLiteral("MgnMaxRect"), k), MgnMaxRect[k], {0, 99, 30}, true);
        RaiseTo(MgnMaxRect[k], MgnMinRect[k]);
        ReadRect(MakeIndexedKey(QStringLiteral("MgnDefRect"), k), MgnDefRect[k], {0, 99, 10}, true);
        ReadRect(MakeIndexedKey(QStringLiteral("MgnAddRect"), k), MgnAddRect[k], {0, 100, 5}, false);
        ReadInt(MakeIndexedKey(QStringLiteral("SpotDot"), k), SpotDot[k], {0, 999, 5});
        ReadInt(MakeIndexedKey(QStringLiteral("IgnoreShadow"), k), IgnoreShadow[k]);
        ReadInt(MakeIndexedKey(QStringLiteral("ShadowClear"), k), ShadowClear[k]);
    }

    ReadInt(QStringLiteral("Resize"), Resize, {0, 2, 0});
    QByteArray size;
    if (ReadBinary(QStringLiteral("FixSize"), 8, size)) {
        FixSize = {UnpackInt(size, 0), UnpackInt(size, 1)};
    }
    Check(FixSize.cx, {1, 9999, 800});
    Check(FixSize.cy, {1, 9999, 1280});
    ReadInt(QStringLiteral("KeepRate"), KeepRate);
    ReadInt(QStringLiteral("OnlySmall"), OnlySmall);
    ReadInt(QStringLiteral("AdjustTextColor"), AdjustTextColor);
    ReadInt(QStringLiteral("BrightText"), BrightText, {-255, 255, 0});
    ReadInt(QStringLiteral("GrayText"), GrayText);
    ReadInt(QStringLiteral("BackUnify"), BackUnify);
    ReadInt(QStringLiteral("AdjustPictColor"), AdjustPictColor);
    ReadInt(QStringLiteral("BrightPict"), BrightPict, {10, 400, 100});
    ReadInt(QStringLiteral("GrayPict"), GrayPict);
    ReadInt(QStringLiteral("SaveFormat"), SaveFormat, {0, 3, 2});
    ReadInt(QStringLiteral("SaveDepth"), SaveDepth, {1, 4, 4});
    ReadInt(QStringLiteral("SavePalette"), SavePalette, {1, 3, 1});
    ReadInt(QStringLiteral("SaveQuality"), SaveQuality, {0, 100, 80});
    ReadInt(QStringLiteral("SaveDirType"), SaveDirType, {1, 2, 1});

    // A chosen folder needs a name; a subfolder of the source needs one too.
    SaveAnyDir = GetProfileString(kSection, QStringLiteral("SaveAnyDir"), SaveAnyDir);
    if (SaveAnyDir.isEmpty()) {
        SaveDirType = 1;
    }
    // A subfolder the save page would refuse could send the output anywhere:
    // like any value that cannot be used, it is ignored. An empty one is the
    // folder rule's below.
    const QString subDir = GetProfileString(kSection, QStringLiteral("SaveSubDir"), SaveSubDir);
    if (subDir.isEmpty() || IsValidSubFolderName(subDir)) {
        SaveSubDir = subDir;
    }
    if (SaveDirType == 1 && SaveSubDir.isEmpty()) {
        SaveSubDir = QStringLiteral("adj");
    }
    ReadInt(QStringLiteral("OwPrompt"), OwPrompt);
}

void CAdjustOption::Save() const
{
    WriteInt(QStringLiteral("TextPage"), TextPage);
    WriteInt(QStringLiteral("PictPage"), PictPage);
    WriteInt(QStringLiteral("WritingDir"), WritingDir);
    WriteInt(QStringLiteral("LinePerPage"), LinePerPage);
    WriteInt(QStringLiteral("BackBorder"), BackBorder);
    WriteInt(QStringLiteral("BackColor"), static_cast<int>(BackColor));
    for (int k = 0; k < 2; ++k) {
        WriteInt(MakeIndexedKey(QStringLiteral("Slant"), k), Slant[k]);
        WriteAngle(MakeIndexedKey(QStringLiteral("RotateAngle"), k), RotateAngle[k]);
    }
    for (int k = 0; k < 2; ++k) {
        WriteInt(MakeIndexedKey(QStringLiteral("CutMargin"), k), CutMargin[k]);
        WriteRect(MakeIndexedKey(QStringLiteral("MgnCutRect"), k), MgnCutRect[k]);
        WriteRect(MakeIndexedKey(QStringLiteral("MgnMinRect"), k), MgnMinRect[k]);
        WriteRect(MakeIndexedKey(QStringLiteral("MgnMaxRect"), k), MgnMaxRect[k]);
        WriteRect(MakeIndexedKey(QStringLiteral("MgnDefRect"), k), MgnDefRect[k]);
        WriteRect(MakeIndexedKey(QStringLiteral("MgnAddRect"), k), MgnAddRect[k]);
        WriteInt(MakeIndexedKey(QStringLiteral("SpotDot"), k), SpotDot[k]);
        WriteInt(MakeIndexedKey(QStringLiteral("IgnoreShadow"), k), IgnoreShadow[k]);
        WriteInt(MakeIndexedKey(QStringLiteral("ShadowClear"), k), ShadowClear[k]);
    }
    WriteInt(QStringLiteral("Resize"), Resize);
    WriteProfileBinary(kSection, QStringLiteral("FixSize"), PackInts({FixSize.cx, FixSize.cy}));
    WriteInt(QStringLiteral("KeepRate"), KeepRate);
    WriteInt(QStringLiteral("OnlySmall"), OnlySmall);
    WriteInt(QStringLiteral("AdjustTextColor"), AdjustTextColor);
    WriteInt(QStringLiteral("BrightText"), BrightText);
    WriteInt(QStringLiteral("GrayText"), GrayText);
    WriteInt(QStringLiteral("BackUnify"), BackUnify);
    WriteInt(QStringLiteral("AdjustPictColor"), AdjustPictColor);
    WriteInt(QStringLiteral("BrightPict"), BrightPict);
    WriteInt(QStringLiteral("GrayPict"), GrayPict);
    WriteInt(QStringLiteral("SaveFormat"), SaveFormat);
    WriteInt(QStringLiteral("SaveDepth"), SaveDepth);
    WriteInt(QStringLiteral("SavePalette"), SavePalette);
    WriteInt(QStringLiteral("SaveQuality"), SaveQuality);
    WriteInt(QStringLiteral("SaveDirType"), SaveDirType);
    WriteProfileString(kSection, QStringLiteral("SaveSubDir"), SaveSubDir);
    WriteProfileString(kSection, QStringLiteral("SaveAnyDir"), SaveAnyDir);
    WriteInt(QStringLiteral("OwPrompt"), OwPrompt);
}

namespace {

bool Truth(BOOL value)
{
    return value != 0;
}

// Bits 0x1/0x2 when a page kind appears or goes: entries taken as the kind
// that stays may now belong to the other one.
int PageKindChange(const CAdjustOption& now, const CAdjustOption& old)
{
    const bool oT = Truth(old.TextPage), oP = Truth(old.PictPage);
    const bool nT = Truth(now.TextPage), nP = Truth(now.PictPage);
    if (oT && oP) {
        if (nT && !nP) {
            return OPTCHG_PICTITEMS;
        }
        if (!nT && nP) {
            return OPTCHG_TEXTITEMS;
        }
        return 0;
    }
    if (oT) {
        return nP ? OPTCHG_TEXTITEMS | OPTCHG_PICTITEMS : 0;
    }
    if (oP) {
        return nT ? OPTCHG_TEXTITEMS | OPTCHG_PICTITEMS : 0;
    }
    return 0;
}

// Not-a-number never equals anything, so such an angle always differs.
bool AngleDiffers(double a, double b)
{
    return !(a == b);
}

// Nine margin fields of one page kind.
bool MarginDiffers(const CAdjustOption& a, const CAdjustOption& b, int k)
{
    return a.CutMargin[k] != b.CutMargin[k] || !(a.MgnCutRect[k] == b.MgnCutRect[k]) ||
           !(a.MgnMinRect[k] == b.MgnMinRect[k]) || !(a.MgnMaxRect[k] == b.MgnMaxRect[k]) ||
           !(a.MgnDefRect[k] == b.MgnDefRect[k]) || !(a.MgnAddRect[k] == b.MgnAddRect[k]) ||
           a.SpotDot[k] != b.SpotDot[k] || Truth(a.IgnoreShadow[k]) != Truth(b.IgnoreShadow[k]) ||
           Truth(a.ShadowClear[k]) != Truth(b.ShadowClear[k]);
}

}  // namespace

int CAdjustOption::Compare(const CAdjustOption& old) const
{
    int mask = PageKindChange(*this, old);
    if (WritingDir != old.WritingDir || LinePerPage != old.LinePerPage) {
        mask |= OPTCHG_TEXTITEMS | OPTCHG_PICTITEMS;
    }
    if (BackBorder != old.BackBorder) {
        mask |= OPTCHG_TEXT | OPTCHG_PICT | OPTCHG_SLANT;
    }
    if (BackColor != old.BackColor) {
        mask |= OPTCHG_BACKCOLOR;
    }
    for (int k = 0; k < 2; ++k) {
        const int kind = k == 0 ? OPTCHG_TEXT : OPTCHG_PICT;
        if (Slant[k] != old.Slant[k] || AngleDiffers(RotateAngle[k], old.RotateAngle[k])) {
            mask |= kind | OPTCHG_SLANT;
        }
        if (MarginDiffers(*this, old, k)) {
            mask |= kind | OPTCHG_MARGIN;
        }
    }
    if (Resize != old.Resize || !(FixSize == old.FixSize) || Truth(KeepRate) != Truth(old.KeepRate) ||
        Truth(OnlySmall) != Truth(old.OnlySmall)) {
        mask |= OPTCHG_TEXT | OPTCHG_PICT | OPTCHG_SIZE;
    }
    if (Truth(AdjustTextColor) != Truth(old.AdjustTextColor) || BrightText != old.BrightText ||
        Truth(GrayText) != Truth(old.GrayText) || Truth(BackUnify) != Truth(old.BackUnify)) {
        mask |= OPTCHG_TEXT | OPTCHG_COLOR;
    }
    if (Truth(AdjustPictColor) != Truth(old.AdjustPictColor) || BrightPict != old.BrightPict ||
        Truth(GrayPict) != Truth(old.GrayPict)) {
        mask |= OPTCHG_PICT | OPTCHG_COLOR;
    }
    if (SaveFormat != old.SaveFormat || SaveDirType != old.SaveDirType) {
        mask |= OPTCHG_OUTNAME;
    }
    if (SaveDepth != old.SaveDepth || SavePalette != old.SavePalette || SaveQuality != old.SaveQuality ||
        SaveSubDir != old.SaveSubDir || SaveAnyDir != old.SaveAnyDir || Truth(OwPrompt) != Truth(old.OwPrompt)) {
        mask |= OPTCHG_SAVE;
    }
    return mask;
}
