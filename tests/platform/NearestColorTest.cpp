#include <gtest/gtest.h>

#include "platform/NearestColor.h"

TEST(NearestColor, TheHintNeverChangesTheAnswer)
{
    const quint32 palette[] = {0xFF000000u, 0xFF808080u, 0xFFFFFFFFu, 0xFF808080u, 0xFF7F7F7Fu};
    for (int hint : {-1, 0, 1, 2, 3, 4, 99}) {
        EXPECT_EQ(NearestPaletteIndex(palette, 5, 0xFF808080u, hint), 1) << hint;  // first of the exact equals
        EXPECT_EQ(NearestPaletteIndex(palette, 5, 0xFF808081u, hint), 1) << hint;  // nearer than entry 4
        EXPECT_EQ(NearestPaletteIndex(palette, 5, 0xFF7F7F7Eu, hint), 4) << hint;
        EXPECT_EQ(NearestPaletteIndex(palette, 5, 0xFFF0F0F0u, hint), 2) << hint;
    }
    // Equal distances on both sides: the lower index wins.
    const quint32 pair[] = {0xFF000000u, 0xFF000002u};
    EXPECT_EQ(NearestPaletteIndex(pair, 2, 0xFF000001u, 1), 0);
    EXPECT_EQ(NearestPaletteIndex(pair, 0, 0xFF000001u, 1), 0);
}
