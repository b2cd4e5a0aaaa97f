#include "engine/ColorAdjust.h"

#include "engine/BitmapConvert.h"
#include "engine/PageRecord.h"
#include "platform/BitmapLock.h"
#include "platform/PixelFormat.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

}  // namespace

std::array<int, 256> GetGammaTable(int brightPict)
{
    static std::mutex lock;
    static std::array<int, 256> table{};
    static int builtFor = -1;
    const std::lock_guard<std::mutex> guard(lock);
    if (builtFor != brightPict) {
        const double exponent = 100.0 / brightPict;
        for (int i = 0; i < 256; ++i) {
            const double value = std::floor(255.0 * std::pow(i / 255.0, exponent));
            table[i] = static_cast<int>(std::clamp(value, 0.0, 255.0));
        }
        builtFor = brightPict;
    }
    return table;  // the pixel loops read their own copy
}

void AdjustColors(QImage& image, const CAdjustOption& option, int pageKind, const CancelFlag* cancel)
{
    if (pageKind != kTextPage && pageKind != kPictPage)
        return;
    const bool picture = pageKind == kPictPage;
    const bool gamma = picture && option.BrightPict != 100;
    const std::array<int, 256> table = gamma ? GetGammaTable(option.BrightPict) : std::array<int, 256>{};
    const bool grey = picture ? option.GrayPict != 0 : option.GrayText != 0;
    const int backSum = 3 * option.BackBorder;
    const int backR = GetRValue(option.BackColor), backG = GetGValue(option.BackColor),
              backB = GetBValue(option.BackColor);

    CBitmapLock lock;
    lock.Lock(&image, 1, 1, PixelFormat32bppARGB);
    const int width = static_cast<int>(lock.m_data.Width);
    const int height = static_cast<int>(lock.m_data.Height);
    for (int y = 0; y < height; ++y) {
        if (IsCancelled(cancel))
            return;
        uchar* p = lock.Row(y);
        for (int x = 0; x < width; ++x, p += 4) {
            if (IsCancelled(cancel))
                return;
            if (p[3] == 0)
                continue;
            int b = p[0], g = p[1], r = p[2];
            if (picture) {
                if (grey)
                    r = g = b = GrayValue(r, g, b);
                if (gamma) {
                    r = table[r];
                    g = table[g];
                    b = table[b];
                }
            } else if (r + g + b >= backSum) {
                if (option.BackUnify) {
                    r = backR;
                    g = backG;
                    b = backB;
                }
                if (grey)
                    r = g = b = GrayValue(r, g, b);
            } else {
                if (grey)
                    r = g = b = GrayValue(r, g, b);
                if (option.BrightText != 0) {
                    r = std::clamp(r + option.BrightText, 0, 255);
                    g = std::clamp(g + option.BrightText, 0, 255);
                    b = std::clamp(b + option.BrightText, 0, 255);
                }
            }
            if (r != p[2] || g != p[1] || b != p[0]) {
                p[0] = static_cast<uchar>(b);
                p[1] = static_cast<uchar>(g);
                p[2] = static_cast<uchar>(r);
            }
        }
    }
}
