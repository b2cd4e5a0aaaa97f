#include "engine/Rotate.h"

#include "platform/BitmapLock.h"
#include "platform/PixelFormat.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

// The turn is sampled here by hand instead of drawn through a rotated painter,
// which takes more processor time on a 24-bit page, the usual source. It gives
// the painter's result: the same canvas, bilinear samples at pixel centres,
// and edges that fade into the transparent outside without taking its colour.

namespace {

QImage CopyAsArgb(const QImage& bitmap)
{
    QImage copy = bitmap.convertToFormat(QImageFormatOf(PixelFormat32bppARGB));
    if (copy.isNull())
        return {};
    copy.bits();  // own pixels even when the source was already in this format
    return copy;
}

// Where a canvas pixel centre comes from in the source: the inverse of the
// turn, in source pixel units with pixel centres at whole numbers, as fixed
// point numbers with 16 fraction bits.
constexpr int kFractionBits = 16;
constexpr qint64 kOne = qint64(1) << kFractionBits;
constexpr int kStripWidth = 256;
constexpr int kPrefetchRows = 4;

struct InverseMap {
    double c;
    double s;
    double minX;
    double minY;
    void Start(int y, qint64& u, qint64& v) const
    {
        const double px = 0.5 + minX;
        const double py = y + 0.5 + minY;
        u = std::llround((c * px + s * py - 0.5) * kOne);
        v = std::llround((-s * px + c * py - 0.5) * kOne);
    }
    qint64 StepU() const { return std::llround(c * kOne); }
    qint64 StepV() const { return std::llround(-s * kOne); }
};

// The locked source pixels, 4 bytes each: B, G, R and alpha (or 255).
template <bool Opaque>
struct CSourcePixels {
    const uchar* scan0;
    qptrdiff stride;
    int width;
    int height;

    const uchar* At(int x, int y) const { return scan0 + y * stride + static_cast<qptrdiff>(x) * 4; }
    int Alpha(const uchar* p) const { return Opaque ? 255 : p[3]; }
};

// Bilinear sample near the edges or with alpha: colours are weighted by their
// alpha so that the transparent outside adds only transparency, no colour.
template <bool Opaque>
void SampleWeighted(const CSourcePixels<Opaque>& src, int i, int j, int fx, int fy, uchar* out)
{
    const int weights[4] = {(256 - fx) * (256 - fy), fx * (256 - fy), (256 - fx) * fy, fx * fy};
    qint64 sumA = 0;
    qint64 sum[3] = {0, 0, 0};
    for (int k = 0; k < 4; ++k) {
        const int x = i + (k & 1);
        const int y = j + (k >> 1);
        if (weights[k] == 0 || x < 0 || y < 0 || x >= src.width || y >= src.height)
            continue;
        const uchar* p = src.At(x, y);
        const qint64 wa = static_cast<qint64>(weights[k]) * src.Alpha(p);
        sumA += wa;
        for (int ch = 0; ch < 3; ++ch)
            sum[ch] += wa * p[ch];
    }
    if (sumA == 0) {
        std::memset(out, 0, 4);  // transparent
        return;
    }
    for (int ch = 0; ch < 3; ++ch)
        out[ch] = static_cast<uchar>((sum[ch] + sumA / 2) / sumA);
    out[3] = static_cast<uchar>((sumA + 32768) >> 16);
}

bool IsOpaque(const CBitmapLock& lock)
{
    for (quint32 y = 0; y < lock.m_data.Height; ++y) {
        const uchar* p = lock.Row(static_cast<int>(y));
        for (quint32 x = 0; x < lock.m_data.Width; ++x, p += 4)
            if (p[3] != 255)
                return false;
    }
    return true;
}

quint32 Load(const uchar* p)
{
    quint32 value;
    std::memcpy(&value, p, 4);
    return value;
}

// Two channels per multiplication: B and R in one word, G and A in another.
quint32 Mix(quint32 a, quint32 b, int fb)
{
    const quint32 fa = 256u - static_cast<quint32>(fb);
    const quint32 wb = static_cast<quint32>(fb);
    const quint32 br = (((a & 0x00FF00FFu) * fa + (b & 0x00FF00FFu) * wb) >> 8) & 0x00FF00FFu;
    const quint32 ga = (((a >> 8) & 0x00FF00FFu) * fa + ((b >> 8) & 0x00FF00FFu) * wb) & 0xFF00FF00u;
    return br | ga;
}

// Bilinear mean of four opaque pixels; the fourth byte comes out as 255.
quint32 Interpolate(quint32 tl, quint32 tr, quint32 bl, quint32 br, int fx, int fy)
{
    return Mix(Mix(tl, tr, fx), Mix(bl, br, fx), fy) | 0xFF000000u;
}

template <bool Opaque>
void DrawTurned(const CBitmapLock& source, CBitmapLock& canvas, const InverseMap& map)
{
    const CSourcePixels<Opaque> src{source.m_data.Scan0, source.m_data.Stride,
                                         static_cast<int>(source.m_data.Width), static_cast<int>(source.m_data.Height)};
    const qint64 uEnd = static_cast<qint64>(src.width) << kFractionBits;
    const qint64 vEnd = static_cast<qint64>(src.height) << kFractionBits;
    const qint64 du = map.StepU();
    const qint64 dv = map.StepV();
    const int width = static_cast<int>(canvas.m_data.Width);
    const int height = static_cast<int>(canvas.m_data.Height);
    // Narrow column strips keep the few source rows that a slanted run of
    // canvas pixels reads in the cache from one canvas row to the next.
    for (int strip = 0; strip < width; strip += kStripWidth) {
        const int stripEnd = std::min(width, strip + kStripWidth);
        for (int y = 0; y < height; ++y) {
            qint64 u = 0;
            qint64 v = 0;
            map.Start(y, u, v);
            u += strip * du;
            v += strip * dv;
            uchar* out = canvas.Row(y) + static_cast<qptrdiff>(strip) * 4;
            for (int x = strip; x < stripEnd; ++x, out += 4, u += du, v += dv) {
                if (u <= -kOne || v <= -kOne || u >= uEnd || v >= vEnd) {
                    std::memset(out, 0, 4);  // outside the turned image: transparent
                    continue;
                }
                const int i = static_cast<int>(u >> kFractionBits);  // floor
                const int j = static_cast<int>(v >> kFractionBits);
                const int fx = static_cast<int>((u >> (kFractionBits - 8)) & 0xFF);
                const int fy = static_cast<int>((v >> (kFractionBits - 8)) & 0xFF);
                if (!Opaque || i < 0 || j < 0 || i + 1 >= src.width || j + 1 >= src.height) {
                    SampleWeighted(src, i, j, fx, fy, out);
                    continue;
                }
                const uchar* p0 = src.At(i, j);
                const uchar* p1 = p0 + src.stride;
                if (j + kPrefetchRows + 1 < src.height)
                    __builtin_prefetch(p1 + kPrefetchRows * src.stride);  // the rows later canvas rows need
                *reinterpret_cast<quint32*>(out) = Interpolate(Load(p0), Load(p0 + 4), Load(p1), Load(p1 + 4), fx, fy);
            }
        }
    }
}

}  // namespace

QImage RotateBitmap(const QImage& bitmap, double angle)
{
    if (bitmap.isNull())
        return {};
    if (angle == 0.0)
        return CopyAsArgb(bitmap);
    // Corner positions in single precision, as the canvas size depends on them.
    const float theta = static_cast<float>(angle * std::numbers::pi / 180.0);
    const float c = std::cos(theta);
    const float s = std::sin(theta);
    const float w = static_cast<float>(bitmap.width());
    const float h = static_cast<float>(bitmap.height());
    const float xs[] = {0.0f, w * c, -h * s, w * c - h * s};
    const float ys[] = {0.0f, w * s, h * c, w * s + h * c};
    const float minX = *std::min_element(std::begin(xs), std::end(xs));
    const float maxX = *std::max_element(std::begin(xs), std::end(xs));
    const float minY = *std::min_element(std::begin(ys), std::end(ys));
    const float maxY = *std::max_element(std::begin(ys), std::end(ys));
    // Every canvas pixel is written below, so the canvas needs no zero fill.
    const int width = static_cast<int>(std::lround(maxX - minX));
    const int height = static_cast<int>(std::lround(maxY - minY));
    if (!IsAdmittedBitmapSize(width, height, 4))
        return {};
    QImage canvas(width, height, QImageFormatOf(PixelFormat32bppARGB));
    if (canvas.isNull())
        return {};

    // The source is read as 4-byte pixels: 32-bit images in place, others
    // through a converted lock. Pixels known to be opaque take the fast path.
    QImage source = bitmap;
    const bool hasAlpha = (GetPixelFormat(source) & PixelFormatAlpha) != 0;
    CBitmapLock in;
    CBitmapLock out;
    if (in.Lock(&source, 1, 0, hasAlpha ? PixelFormat32bppARGB : PixelFormat32bppRGB) != Ok
        || out.Lock(&canvas, 0, 1, PixelFormat32bppARGB) != Ok)
        return {};
    const InverseMap map{c, s, minX, minY};
    if (!hasAlpha || IsOpaque(in))
        DrawTurned<true>(in, out, map);
    else
        DrawTurned<false>(in, out, map);
    out.Unlock();
    return canvas;
}
