// Splits a file into lines, reading it in large blocks, without an allocation per line.
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

class TLineReader {
public:
    struct TLine {
        std::string_view Text;
        long Number = 0;    // 1-based
        bool Crlf = false;  // ended with CR LF (the format's line end)
        bool Clean = true;  // Text lies in the block buffer as read (no NUL bytes were dropped)
    };

    // f must be open in binary mode; it is not closed here.
    explicit TLineReader(std::FILE* f, std::size_t blockSize = std::size_t{4} << 20);

    // The next line; false at the end of the file or after a read error (Failed()).
    template <class BeforeRefill>
    bool Next(TLine& line, BeforeRefill&& beforeRefill) {
        if (FPos >= FRegionEnd) {
            if (FEof && FPos >= FEnd) return false;
            beforeRefill();
            if (!Refill()) return false;
        }
        const char* s = FBuf.data() + FPos;
        const char* end = FBuf.data() + FRegionEnd;
        line.Number = ++FLineNumber;
        line.Clean = true;
        line.Crlf = false;
        if (!FIrregular) {
            // Every CR of the region is followed by LF and there is no NUL: only LF needs finding.
            const char* lf = static_cast<const char*>(std::memchr(s, '\n', end - s));
            const char* stop = lf ? lf : end;
            const char* e = stop;
            if (lf && e > s && e[-1] == '\r') {
                --e;
                line.Crlf = true;
            }
            line.Text = std::string_view(s, e - s);
            FPos = (stop - FBuf.data()) + (lf ? 1 : 0);
            return true;
        }
        return NextIrregular(line, s, end);
    }
    bool Next(TLine& line) {
        return Next(line, [] {});
    }

    bool Failed() const { return FFailed; }
    const std::string& Error() const { return FError; }
    // True once a NUL byte was dropped from any line.
    bool DroppedNul() const { return FDroppedNul; }

private:
    bool Refill();
    bool NextIrregular(TLine& line, const char* s, const char* end);
    void ScanRegion();

    std::FILE* FFile;
    std::vector<char> FBuf;
    std::size_t FPos = 0;        // next unread byte
    std::size_t FRegionEnd = 0;  // end of the complete lines in the buffer
    std::size_t FEnd = 0;        // end of the data in the buffer
    bool FEof = false;
    bool FFailed = false;
    bool FIrregular = false;  // the region holds a lone CR or a NUL byte
    bool FDroppedNul = false;
    long FLineNumber = 0;
    std::string FCleaned;  // a line with its NUL bytes dropped
    std::string FError;
};
