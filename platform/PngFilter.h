#pragma once

#include <cstddef>
#include <memory>

#include "platform/EncoderImage.h"

// The PNG image data before compression: each row as a filter type byte and
// the filtered row. 24 bpp rows are turned from B, G, R into R, G, B and take,
// row by row, the filter whose output has the smallest sum of absolute values
// as signed bytes; palette rows stay unfiltered, as filtering indices gains
// nothing.
struct PngRows {
    std::unique_ptr<unsigned char[]> bytes;
    size_t size = 0;
    // The sum of the filtered bytes' sizes as signed bytes (24 bpp rows only):
    // how far the page is from flat.
    unsigned long long residue = 0;
};

// The bytes of one row without its filter type byte.
size_t PngRowBytes(const EncoderImage& image);

// Throws std::bad_alloc when the rows do not fit in memory.
PngRows FilterPngRows(const EncoderImage& image);
