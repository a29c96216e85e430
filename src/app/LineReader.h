// Splits a file into lines without an allocation per line: a large file is mapped into memory (where the
// system allows), a small one read in blocks.
//
// A line ends at CR LF, at a lone LF or at a lone CR; the line break itself is not part of the line. NUL
// bytes are dropped from a line (the line is then reported as not Clean). One 0x1A byte (or a run of them)
// at the very end of the file is the old end-of-file mark and is ignored.
//
// The returned text points into the block buffer and stays valid until the next call of Next(); before
// Next() moves the buffer it calls the caller's hook, so that the caller can copy what it still needs.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/MappedFile.h"

class TLineReader {
public:
    struct TLine {
        std::string_view Text;
        long Number = 0;       // 1-based, counting only the lines returned by Next()
        long long Offset = 0;  // of the line's first byte in the file
        bool Crlf = false;     // ended with CR LF (the format's line end)
        bool Clean = true;     // Text lies in the block buffer as read (no NUL bytes were dropped)
    };

    // f must be open in binary mode at its start; it is not closed here.
    explicit TLineReader(std::FILE* f, std::size_t blockSize = BlockSize);

    // Files of at least this size are mapped instead of read (tests lower it to run both ways).
    static inline std::size_t MapThreshold = std::size_t{1} << 20;
    // The first block size of a file that is read, not mapped (tests lower it to cross block ends).
    static inline std::size_t BlockSize = std::size_t{256} << 10;

    // The next line; false at the end of the file or after a read error (Failed()).
    template <class BeforeRefill>
    bool Next(TLine& line, BeforeRefill&& beforeRefill) {
        if (FPos >= FRegionEnd) {
            if (FEof && FPos >= FEnd) return false;
            beforeRefill();
            if (!Refill()) return false;
        }
        const char* s = FData + FPos;
        const char* end = FData + FRegionEnd;
        line.Number = ++FLineNumber;
        line.Offset = FBase + static_cast<long long>(FPos);
        line.Clean = true;
        line.Crlf = false;
        return NextLine(line, s, end);
    }
    bool Next(TLine& line) {
        return Next(line, [] {});
    }

    // Where the buffer holds plain lines (every one ending with CR LF, no NUL), moves past the complete
    // lines before the next line that contains a '#' and returns them, each with its CR LF. Returns an
    // empty view when the next line has a '#', when the buffer is not plain or when it is used up. The
    // list format has no tag without '#', so its readers can take such lines in one piece.
    std::string_view SkipPlainLines();

    // The 1-based number of the line that starts at offset, counted from the start of the file with the
    // same line ends as Next() (for messages; it reads the file again).
    static long LineNumberAt(std::FILE* f, long long offset);

    bool Failed() const { return FFailed; }
    const std::string& Error() const { return FError; }
    // True once a NUL byte was dropped from any line.
    bool DroppedNul() const { return FDroppedNul; }

private:
    bool Refill();
    bool NextLine(TLine& line, const char* s, const char* end);
    void ReleaseBehind();

    std::FILE* FFile;
    TMappedFile FMap;
    std::vector<char> FBuf;       // the block buffer when the file is not mapped
    const char* FData = nullptr;  // the mapping or FBuf
    std::size_t FPos = 0;         // next unread byte
    std::size_t FRegionEnd = 0;   // end of the complete lines in the buffer
    std::size_t FEnd = 0;         // end of the data in the buffer
    long long FBase = 0;          // file offset of the buffer's first byte
    std::size_t FReleased = 0;    // the mapping before this offset was given back
    bool FEof = false;
    bool FFailed = false;
    bool FDroppedNul = false;
    long FLineNumber = 0;
    std::string FCleaned;  // a line with its NUL bytes dropped
    std::string FError;
};
