// The block reader against a plain splitter: every kind of line end at every place relative to the block
// borders, lines far longer than a block, NUL bytes and the end-of-file mark.
#include "app/LineReader.h"

#include <gtest/gtest.h>

#include <random>

#include "TestSupport.h"
#include "base/OpenFile.h"

namespace {

struct TExpectedLine {
    std::string Text;
    bool Crlf;
    bool operator==(const TExpectedLine&) const = default;
};

std::vector<TExpectedLine> SplitPlainly(std::string bytes) {
    while (!bytes.empty() && bytes.back() == '\x1A') bytes.pop_back();
    std::vector<TExpectedLine> lines;
    std::size_t i = 0;
    while (i < bytes.size()) {
        TExpectedLine line{"", false};
        while (i < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n') {
            if (bytes[i] != '\0') line.Text += bytes[i];
            ++i;
        }
        if (i < bytes.size()) {
            line.Crlf = bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
            i += line.Crlf ? 2 : 1;
        }
        lines.push_back(line);
    }
    return lines;
}

TEST(LineReader, BlocksSplitLikeAPlainSplitter) {
    TTempDir dir;
    std::mt19937 rng(5);
    const char alphabet[] = {'a', 'b', '\r', '\n', '\0', '#', '\x1A'};
    for (int round = 0; round < 90; ++round) {
        // Files with only CR LF, with only lone CRs, and with everything mixed.
        const std::string lineEnd = round % 3 == 0 ? "\r\n" : round % 3 == 1 ? "\r" : "\n";
        std::string bytes;
        const int pieces = 1 + static_cast<int>(rng() % 60);
        for (int p = 0; p < pieces; ++p) {
            switch (rng() % 4) {
                case 0:  // a run far longer than the smallest blocks
                    bytes += std::string(rng() % 3000, 'x');
                    break;
                case 1:
                    bytes += std::string(rng() % 40, 'y') + lineEnd;
                    break;
                default:
                    if (round % 3 == 2)
                        for (int n = static_cast<int>(rng() % 8); n > 0; --n)
                            bytes += alphabet[rng() % sizeof alphabet];
            }
        }
        if (round % 5 == 0) bytes += "\x1A\x1A";
        WriteBytes(dir / "lines", bytes);
        const std::vector<TExpectedLine> expected = SplitPlainly(bytes);
        for (std::size_t block : {16u, 17u, 100u, 4096u}) {
            std::error_code error;
            TFilePtr f = OpenRegularFile(dir / "lines", error);
            ASSERT_TRUE(f);
            TLineReader reader(f.get(), block);
            std::vector<TExpectedLine> got;
            TLineReader::TLine line;
            while (reader.Next(line)) got.push_back({std::string(line.Text), line.Crlf});
            EXPECT_FALSE(reader.Failed());
            ASSERT_EQ(got, expected) << "round " << round << ", block " << block;
        }
    }
}

}  // namespace
