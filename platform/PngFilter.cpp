#include "platform/PngFilter.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kLeft = 3;  // bytes per 24 bpp pixel: the distance to the byte's left neighbour

// The five filter types of PNG, in their numbering.
enum : unsigned char { kNone, kSub, kUp, kAverage, kPaeth, kFilterTypes };

// The size of a filtered byte read as a signed byte, the measure of the
// adaptive filter choice: v or 256 - v, whichever is smaller, kept in 8 bits.
inline unsigned char Magnitude(unsigned char v)
{
    return std::min(v, static_cast<unsigned char>(-v));
}

// Rows are summed in blocks whose sum fits 16 bits (at most 128 a byte), as
// narrow sums vectorise twice as wide as 32-bit ones.
constexpr size_t kSumBlock = 256;

// In 16-bit arithmetic and without branches, so that the row loop vectorises
// eight bytes to a 16-byte register.
inline int PaethPredictor(int a, int b, int c)
{
    const auto pa = static_cast<int16_t>(std::abs(static_cast<int16_t>(b - c)));
    const auto pb = static_cast<int16_t>(std::abs(static_cast<int16_t>(a - c)));
    const auto pc = static_cast<int16_t>(std::abs(static_cast<int16_t>(a + b - 2 * c)));
    const int bOrC = pb <= pc ? b : c;
    return ((pa <= pb) & (pa <= pc)) ? a : bOrC;
}

// out[i] = row[i] minus the prediction from the left, upper and upper-left
// bytes; returns the sum of the magnitudes. row and above have kLeft readable
// zero bytes before them, so the loop has no special first pixel and
// vectorises.
template <typename Predict>
unsigned FilterRow(const unsigned char* __restrict row, const unsigned char* __restrict above,
                   unsigned char* __restrict out, size_t n, Predict predict)
{
    unsigned sum = 0;
    for (size_t block = 0; block < n; block += kSumBlock) {
        uint16_t part = 0;
        for (size_t i = block; i < std::min(n, block + kSumBlock); ++i) {
            const auto v = static_cast<unsigned char>(row[i] - predict(row[i - kLeft], above[i], above[i - kLeft]));
            out[i] = v;
            part = static_cast<uint16_t>(part + Magnitude(v));
        }
        sum += part;
    }
    return sum;
}

// Filters 24 bpp rows: keeps the current and the previous row in R, G, B
// order behind kLeft zero bytes, and one output row per filter type.
class CRgbFilter {
public:
    explicit CRgbFilter(size_t rowBytes) : m_n(rowBytes), m_row(kLeft + rowBytes, 0), m_above(kLeft + rowBytes, 0)
    {
        for (std::vector<unsigned char>& candidate : m_candidates)
            candidate.resize(rowBytes);
    }

    // Writes the filter type byte and the filtered row of bgr to out; returns
    // the row's residue.
    unsigned Filter(const unsigned char* bgr, unsigned char* out)
    {
        m_row.swap(m_above);
        unsigned char* row = m_row.data() + kLeft;
        ToRgb(bgr, row);
        std::array<unsigned, kFilterTypes> sums{};
        const unsigned char type = BestFilter(row, m_above.data() + kLeft, sums);
        out[0] = type;
        std::memcpy(out + 1, m_candidates[type].data(), m_n);
        return sums[type];
    }

private:
    // A pixel at a time as one 4-byte read, which takes the next pixel's first
    // byte along, and one 4-byte write, whose last byte the next pixel
    // overwrites; the last pixel bytewise, so that nothing past the row is read.
    void ToRgb(const unsigned char* bgr, unsigned char* row) const
    {
        size_t i = 0;
        for (; i + kLeft < m_n; i += kLeft)
            qToLittleEndian<quint32>(qFromBigEndian<quint32>(bgr + i) >> 8, row + i);
        row[i] = bgr[i + 2];
        row[i + 1] = bgr[i + 1];
        row[i + 2] = bgr[i];
    }

    // The first filter type with the smallest sum.
    unsigned char BestFilter(const unsigned char* row, const unsigned char* above,
                             std::array<unsigned, kFilterTypes>& sums)
    {
        sums[kNone] = FilterRow(row, above, m_candidates[kNone].data(), m_n, [](int, int, int) { return 0; });
        sums[kSub] = FilterRow(row, above, m_candidates[kSub].data(), m_n, [](int a, int, int) { return a; });
        sums[kUp] = FilterRow(row, above, m_candidates[kUp].data(), m_n, [](int, int b, int) { return b; });
        sums[kAverage] =
            FilterRow(row, above, m_candidates[kAverage].data(), m_n, [](int a, int b, int) { return (a + b) >> 1; });
        sums[kPaeth] = FilterRow(row, above, m_candidates[kPaeth].data(), m_n, PaethPredictor);
        unsigned char best = kNone;
        for (unsigned char type = kSub; type < kFilterTypes; ++type)
            best = sums[type] < sums[best] ? type : best;
        return best;
    }

    size_t m_n;
    std::vector<unsigned char> m_row;
    std::vector<unsigned char> m_above;
    std::array<std::vector<unsigned char>, kFilterTypes> m_candidates;
};

}  // namespace

size_t PngRowBytes(const EncoderImage& image)
{
    return (static_cast<size_t>(image.width) * static_cast<size_t>(image.bitsPerPixel) + 7) / 8;
}

PngRows FilterPngRows(const EncoderImage& image)
{
    const size_t rowBytes = PngRowBytes(image);
    PngRows rows;
    rows.size = static_cast<size_t>(image.height) * (1 + rowBytes);
    rows.bytes = std::make_unique_for_overwrite<unsigned char[]>(rows.size);
    unsigned char* out = rows.bytes.get();
    if (image.bitsPerPixel != 24) {
        for (int y = 0; y < image.height; ++y, out += 1 + rowBytes) {
            out[0] = kNone;
            std::memcpy(out + 1, image.Row(y), rowBytes);
        }
        return rows;
    }
    CRgbFilter filter(rowBytes);
    for (int y = 0; y < image.height; ++y, out += 1 + rowBytes)
        rows.residue += filter.Filter(image.Row(y), out);
    return rows;
}
