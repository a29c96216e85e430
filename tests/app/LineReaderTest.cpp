// The block reader against a plain splitter: every kind of line end at every place relative to the block
// borders, lines far longer than a block, NUL bytes and the end-of-file mark.
#include "app/LineReader.h"

#include <gtest/gtest.h>

#include <random>

#include "TestSupport.h"
#include "base/OpenFile.h"

namespace {

// (text without NUL bytes, ended by CR LF) for every line.
std::vector<std::pair<std::string, bool>> SplitPlainly(std::string bytes) {
    while (!bytes.empty() && bytes.back() == '\x1A') bytes.pop_back();
    std::vector<std::pair<std::string, bool>> lines;
    for (std::size_t i = 0; i < bytes.size();) {
        std::string text;
        for (; i < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n'; ++i)
            if (bytes[i] != '\0') text += bytes[i];
        const bool crlf = i + 1 < bytes.size() && bytes[i] == '\r' && bytes[i + 1] == '\n';
        i += i < bytes.size() ? (crlf ? 2 : 1) : 0;
        lines.emplace_back(text, crlf);
    }
    return lines;
}

TEST(LineReader, BlocksSplitLikeAPlainSplitter) {
    TTempDir dir;
    std::mt19937 rng(5);
    const char noise[] = {'a', '\r', '\n', '\0', '#', '\x1A'};
    for (int round = 0; round < 90; ++round) {
        // Files with only CR LF, with only lone CRs, and with everything mixed; runs far longer than a block.
        const std::string lineEnd = round % 3 == 0 ? "\r\n" : round % 3 == 1 ? "\r" : "\n";
        std::string bytes;
        for (int p = static_cast<int>(rng() % 60); p >= 0; --p) {
            const unsigned what = rng() % 4;
            if (what == 0) bytes += std::string(rng() % 3000, 'x');
            if (what == 1) bytes += std::string(rng() % 40, 'y') + lineEnd;
            if (what >= 2 && round % 3 == 2)
                for (int n = static_cast<int>(rng() % 8); n > 0; --n) bytes += noise[rng() % sizeof noise];
        }
        if (round % 5 == 0) bytes += "\x1A\x1A";
        WriteBytes(dir / "lines", bytes);
        for (std::size_t block : {16u, 17u, 100u, 4096u}) {
            std::error_code error;
            TFilePtr f = OpenRegularFile(dir / "lines", error);
            TLineReader reader(f.get(), block);
            std::vector<std::pair<std::string, bool>> got;
            for (TLineReader::TLine line; reader.Next(line);) got.emplace_back(line.Text, line.Crlf);
            ASSERT_EQ(got, SplitPlainly(bytes)) << "round " << round << ", block " << block;
        }
    }
}

}  // namespace
