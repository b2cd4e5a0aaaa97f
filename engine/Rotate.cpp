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

quint32 Load(const uchar* p)
{
    quint32 value;
    std::memcpy(&value, p, 4);
    return value;
}

// How many canvas rows ahead the source is fetched into the cache: a slanted
// run of canvas pixels takes short pieces of many source rows, which the
// processor does not foresee on its own.
constexpr int kLookAheadRows = 4;

// The source pixels, read in place: B, G, R and, with 4 bytes, alpha (or
// padding when the format has no alpha).
template <int Bytes, bool HasAlpha>
struct CSourcePixels {
    const uchar* scan0;
    qptrdiff stride;
    int width;
    int height;
    // Where the canvas pixel kLookAheadRows rows below reads, relative to here.
    int aheadX;
    int aheadY;

    const uchar* At(int x, int y) const { return scan0 + y * stride + static_cast<qptrdiff>(x) * Bytes; }

    // 0xAARRGGBB, as the canvas stores it.
    quint32 Pixel(const uchar* p) const
    {
        if constexpr (Bytes == 3)
            return 0xFF000000u | quint32(p[2]) << 16 | quint32(p[1]) << 8 | p[0];
        else
            return HasAlpha ? Load(p) : Load(p) | 0xFF000000u;
    }

    // The pixel at p and its right neighbour, in loads that stay within the two.
    void Pair(const uchar* p, quint32& left, quint32& right) const
    {
        if constexpr (Bytes == 3) {
            left = Load(p) | 0xFF000000u;
            right = Load(p + 2) >> 8 | 0xFF000000u;
        } else {
            left = Pixel(p);
            right = Pixel(p + 4);
        }
    }

    // The byte offset from the lower left neighbour of the samples u0..u1,
    // v0..v1 to the pixels read kLookAheadRows canvas rows below; 0 where those
    // would leave the source.
    qptrdiff LookAhead(qint64 u0, qint64 v0, qint64 u1, qint64 v1) const
    {
        const int left = static_cast<int>(std::min(u0, u1) >> kFractionBits) + aheadX;
        const int right = static_cast<int>(std::max(u0, u1) >> kFractionBits) + aheadX;
        const int top = static_cast<int>(std::min(v0, v1) >> kFractionBits) + 1 + aheadY;
        const int bottom = static_cast<int>(std::max(v0, v1) >> kFractionBits) + 1 + aheadY;
        if (left < 0 || top < 0 || right >= width || bottom >= height)
            return 0;
        return static_cast<qptrdiff>(aheadX) * Bytes + aheadY * stride;
    }
};

// Canvas columns [first, last) of one row.
struct Span {
    int first;
    int last;
};

qint64 FloorDiv(qint64 a, qint64 b)  // b > 0
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The columns x in [0, width) where lo <= start + x * step < hi.
Span Within(qint64 start, qint64 step, qint64 lo, qint64 hi, int width)
{
    qint64 first = 0;
    qint64 last = width;
    if (step > 0) {
        first = FloorDiv(lo - start + step - 1, step);
        last = FloorDiv(hi - start + step - 1, step);
    } else if (step < 0) {
        first = FloorDiv(start - hi, -step) + 1;
        last = FloorDiv(start - lo, -step) + 1;
    } else if (start < lo || start >= hi) {
        last = 0;
    }
    first = std::clamp<qint64>(first, 0, width);
    last = std::clamp<qint64>(last, first, width);
    return {static_cast<int>(first), static_cast<int>(last)};
}

// Bilinear sample near the edges or with alpha: colours are weighted by their
// alpha so that the transparent outside adds only transparency, no colour.
template <class Source>
quint32 SampleWeighted(const Source& src, qint64 u, qint64 v)
{
    const int i = static_cast<int>(u >> kFractionBits);  // floor
    const int j = static_cast<int>(v >> kFractionBits);
    const int fx = static_cast<int>((u >> (kFractionBits - 8)) & 0xFF);
    const int fy = static_cast<int>((v >> (kFractionBits - 8)) & 0xFF);
    const int weights[4] = {(256 - fx) * (256 - fy), fx * (256 - fy), (256 - fx) * fy, fx * fy};
    qint64 sumA = 0;
    qint64 sum[3] = {0, 0, 0};
    for (int k = 0; k < 4; ++k) {
        const int x = i + (k & 1);
        const int y = j + (k >> 1);
        if (weights[k] == 0 || x < 0 || y < 0 || x >= src.width || y >= src.height)
            continue;
        const quint32 p = src.Pixel(src.At(x, y));
        const qint64 wa = static_cast<qint64>(weights[k]) * (p >> 24);
        sumA += wa;
        for (int ch = 0; ch < 3; ++ch)
            sum[ch] += wa * ((p >> (8 * ch)) & 0xFF);
    }
    if (sumA == 0)
        return 0;  // transparent
    quint32 result = static_cast<quint32>((sumA + 32768) >> 16) << 24;
    for (int ch = 0; ch < 3; ++ch)
        result |= static_cast<quint32>((sum[ch] + sumA / 2) / sumA) << (8 * ch);
    return result;
}

// Canvas pixels that may lie outside the turned image or on its rim.
template <class Source>
void DrawEdge(const Source& src, qint64 u, qint64 v, qint64 du, qint64 dv, int count, uchar* out)
{
    const qint64 uEnd = static_cast<qint64>(src.width) << kFractionBits;
    const qint64 vEnd = static_cast<qint64>(src.height) << kFractionBits;
    for (int x = 0; x < count; ++x, out += 4, u += du, v += dv) {
        quint32 pixel = 0;  // outside the turned image: transparent
        if (u > -kOne && v > -kOne && u < uEnd && v < vEnd)
            pixel = SampleWeighted(src, u, v);
        std::memcpy(out, &pixel, 4);
    }
}

// A run of canvas pixels whose four source neighbours all lie inside the
// source: their neighbours and weights are gathered first, one byte per
// channel, so that the blend runs on whole arrays in vector registers.
constexpr int kChunk = 16;

struct CQuads {
    uchar tl[4 * kChunk];
    uchar tr[4 * kChunk];
    uchar bl[4 * kChunk];
    uchar br[4 * kChunk];
    uchar fx[4 * kChunk];  // horizontal weight, once per channel
    uchar fy[4 * kChunk];
    uchar out[4 * kChunk];
};

// Gathers count (<= kChunk) samples; whether all their neighbours are opaque.
template <class Source>
bool Gather(const Source& src, qint64 u, qint64 v, qint64 du, qint64 dv, int count, CQuads& q)
{
    const qptrdiff ahead = src.LookAhead(u, v, u + du * (count - 1), v + dv * (count - 1));
    quint32 alpha = 0xFF000000u;
    for (int k = 0; k < count; ++k, u += du, v += dv) {
        const uchar* p0 = src.At(static_cast<int>(u >> kFractionBits), static_cast<int>(v >> kFractionBits));
        const uchar* p1 = p0 + src.stride;
        __builtin_prefetch(p1 + ahead);
        quint32 pixels[4];
        src.Pair(p0, pixels[0], pixels[1]);
        src.Pair(p1, pixels[2], pixels[3]);
        alpha &= pixels[0] & pixels[1] & pixels[2] & pixels[3];
        std::memcpy(q.tl + 4 * k, &pixels[0], 4);
        std::memcpy(q.tr + 4 * k, &pixels[1], 4);
        std::memcpy(q.bl + 4 * k, &pixels[2], 4);
        std::memcpy(q.br + 4 * k, &pixels[3], 4);
        const quint32 fx = static_cast<quint32>((u >> (kFractionBits - 8)) & 0xFF) * 0x01010101u;
        const quint32 fy = static_cast<quint32>((v >> (kFractionBits - 8)) & 0xFF) * 0x01010101u;
        std::memcpy(q.fx + 4 * k, &fx, 4);
        std::memcpy(q.fy + 4 * k, &fy, 4);
    }
    return alpha == 0xFF000000u;
}

// (a * (256 - f) + b * f) / 256 rounded down. The sum fits 16 bits, so the
// arithmetic may wrap in 16-bit lanes on the way.
quint16 Lerp(quint16 a, quint16 b, quint16 f)
{
    return static_cast<quint16>(static_cast<quint16>((a << 8) + (b - a) * f) >> 8);
}

void Blend(CQuads& q)
{
    for (int n = 0; n < 4 * kChunk; ++n) {
        const quint16 top = Lerp(q.tl[n], q.tr[n], q.fx[n]);
        const quint16 bottom = Lerp(q.bl[n], q.br[n], q.fx[n]);
        q.out[n] = static_cast<uchar>(Lerp(top, bottom, q.fy[n]));
    }
}

// Canvas pixels inside the turned image, away from its rim. Where opaque,
// they take the plain bilinear mean; the weighted one gives the same within
// rounding.
template <class Source>
void DrawInterior(const Source& src, qint64 u, qint64 v, qint64 du, qint64 dv, int count, uchar* out)
{
    CQuads q{};
    for (int x = 0; x < count; x += kChunk, out += 4 * kChunk, u += du * kChunk, v += dv * kChunk) {
        const int n = std::min(kChunk, count - x);
        if (!Gather(src, u, v, du, dv, n, q)) {
            DrawEdge(src, u, v, du, dv, n, out);
            continue;
        }
        Blend(q);
        if (n == kChunk)
            std::memcpy(out, q.out, sizeof q.out);  // a fixed size copies without a loop
        else
            std::memcpy(out, q.out, 4 * static_cast<size_t>(n));
    }
}

// Row by row, each split into the part whose samples need all four
// neighbours inside the source and the parts beside it.
template <class Source>
void DrawTurned(const Source& src, CBitmapLock& canvas, const InverseMap& map)
{
    const qint64 du = map.StepU();
    const qint64 dv = map.StepV();
    const int width = static_cast<int>(canvas.m_data.Width);
    const int height = static_cast<int>(canvas.m_data.Height);
    const qint64 uInner = static_cast<qint64>(src.width - 1) << kFractionBits;
    const qint64 vInner = static_cast<qint64>(src.height - 1) << kFractionBits;
    for (int y = 0; y < height; ++y) {
        qint64 u = 0;
        qint64 v = 0;
        map.Start(y, u, v);
        const Span su = Within(u, du, 0, uInner, width);
        const Span sv = Within(v, dv, 0, vInner, width);
        const int first = std::max(su.first, sv.first);
        const int last = std::max(first, std::min(su.last, sv.last));
        uchar* out = canvas.Row(y);
        DrawEdge(src, u, v, du, dv, first, out);
        DrawInterior(src, u + first * du, v + first * dv, du, dv, last - first, out + 4 * first);
        DrawEdge(src, u + last * du, v + last * dv, du, dv, width - last, out + 4 * last);
    }
}

template <int Bytes, bool HasAlpha>
void DrawFrom(const CBitmapLock& source, CBitmapLock& canvas, const InverseMap& map)
{
    // One canvas row down moves a sample by (s, c) in the source.
    const CSourcePixels<Bytes, HasAlpha> src{source.m_data.Scan0,
                                             source.m_data.Stride,
                                             static_cast<int>(source.m_data.Width),
                                             static_cast<int>(source.m_data.Height),
                                             static_cast<int>(std::lround(kLookAheadRows * map.s)),
                                             static_cast<int>(std::lround(kLookAheadRows * map.c))};
    DrawTurned(src, canvas, map);
}

// The form the source is read in: 32-bit and 24-bit images in place, other
// formats converted to the nearest of these.
int ReadFormat(const QImage& bitmap)
{
    if ((GetPixelFormat(bitmap) & PixelFormatAlpha) != 0)
        return PixelFormat32bppARGB;
    return bitmap.format() == QImage::Format_RGB32 ? PixelFormat32bppRGB : PixelFormat24bppRGB;
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

    QImage source = bitmap;
    const int format = ReadFormat(source);
    CBitmapLock in;
    CBitmapLock out;
    if (in.Lock(&source, 1, 0, format) != Ok || out.Lock(&canvas, 0, 1, PixelFormat32bppARGB) != Ok)
        return {};
    const InverseMap map{c, s, minX, minY};
    if (format == PixelFormat24bppRGB)
        DrawFrom<3, false>(in, out, map);
    else if (format == PixelFormat32bppRGB)
        DrawFrom<4, false>(in, out, map);
    else
        DrawFrom<4, true>(in, out, map);
    out.Unlock();
    return canvas;
}
