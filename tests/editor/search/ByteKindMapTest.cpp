#include "editor/search/ByteKindMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "text/ShiftJis.h"

// Whatever order the questions come in, the map answers as a walk from the start of the text would.
TEST(ByteKindMap, AgreesWithAWalkFromTheStartInAnyQueryOrder) {
    std::mt19937 rng(4711);
    // Lead-range bytes dominate, so that long runs of them (where the parity decides) are common.
    const unsigned char alphabet[] = {0x88, 0x9F, 0xE0, 0xFC, 0x81, 0x40, 0x5C, 'a', 0xB6, 0xDE};
    for (int round = 0; round < 300; ++round) {
        std::string text(1 + rng() % 80, '\0');
        for (char& c : text) c = static_cast<char>(alphabet[rng() % (rng() % 2 ? 4 : sizeof alphabet)]);

        std::vector<std::size_t> order(text.size() + 1);
        std::iota(order.begin(), order.end(), 0);
        const int how = round % 3;
        if (how == 1) std::reverse(order.begin(), order.end());
        if (how == 2) std::shuffle(order.begin(), order.end(), rng);

        TByteKindMap map(text);
        for (std::size_t pos : order) {
            const bool boundary = sjis::IsCharBoundary(text, pos);
            ASSERT_EQ(map.IsBoundary(pos), boundary) << "round " << round << " pos " << pos;
            if (pos == text.size()) continue;
            const TByteKindMap::TKind expected = !boundary                          ? TByteKindMap::bkTrail
                                                 : sjis::CharLength(text, pos) == 2 ? TByteKindMap::bkLead
                                                                                    : TByteKindMap::bkSingle;
            ASSERT_EQ(map.Kind(pos), expected) << "round " << round << " pos " << pos;
        }
    }
}

TEST(ByteKindMap, LeadByteAtTheEndStandsAlone) {
    const std::string text = "\x88\x9F\x88";  // 亜 and a lone lead byte
    TByteKindMap map(text);
    EXPECT_EQ(map.Kind(2), TByteKindMap::bkSingle);
    EXPECT_EQ(map.Kind(1), TByteKindMap::bkTrail);
    EXPECT_EQ(map.Kind(0), TByteKindMap::bkLead);
    EXPECT_TRUE(map.IsBoundary(3));
}
