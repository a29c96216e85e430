#include "app/LineReader.h"

#include <algorithm>
#include <cerrno>

TLineReader::TLineReader(std::FILE* f, std::size_t blockSize)
    : FFile(f), FBuf(std::max<std::size_t>(blockSize, 16)) {}

bool TLineReader::Refill() {
    // Keep the incomplete tail, then read until the buffer holds at least one complete line or the file
    // ends. A line longer than the buffer makes it grow.
    std::size_t tail = FEnd - FPos;
    if (tail && FPos) std::memmove(FBuf.data(), FBuf.data() + FPos, tail);
    FPos = 0;
    FEnd = tail;
    FRegionEnd = 0;
    for (;;) {
        if (!FEof) {
            if (FEnd == FBuf.size()) FBuf.resize(FBuf.size() * 2);
            errno = 0;
            std::size_t got = std::fread(FBuf.data() + FEnd, 1, FBuf.size() - FEnd, FFile);
            FEnd += got;
            if (got == 0 || std::feof(FFile) || std::ferror(FFile)) {
                if (std::ferror(FFile)) {
                    FFailed = true;
                    FError = errno ? std::strerror(errno) : "read error";
                    FEof = true;
                    return false;
                }
                if (got == 0 || std::feof(FFile)) FEof = true;
            }
            if (FEof)
                while (FEnd > 0 && FBuf[FEnd - 1] == '\x1A') --FEnd;
        }
        // The region ends after the last LF; without one, after the last CR that cannot be the first half
        // of a CR LF still to come.
        std::size_t end = FEnd;
        while (end > 0 && FBuf[end - 1] != '\n') --end;
        if (end == 0) {
            end = FEof ? FEnd : (FEnd > 0 ? FEnd - 1 : 0);
            while (end > 0 && FBuf[end - 1] != '\r') --end;
        }
        if (FEof) end = FEnd;
        if (end > 0) {
            FRegionEnd = end;
            ScanRegion();
            return true;
        }
        if (FEof) return false;
    }
}

void TLineReader::ScanRegion() {
    const char* s = FBuf.data();
    const char* end = s + FRegionEnd;
    FIrregular = std::memchr(s, '\0', end - s) != nullptr;
    for (const char* p = s; !FIrregular && p < end;) {
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', end - p));
        if (!cr) break;
        if (cr + 1 >= end || cr[1] != '\n') FIrregular = true;
        p = cr + 2;
    }
}

bool TLineReader::NextIrregular(TLine& line, const char* s, const char* end) {
    const char* lf = static_cast<const char*>(std::memchr(s, '\n', end - s));
    const char* stop = lf ? lf : end;
    const char* cr = static_cast<const char*>(std::memchr(s, '\r', stop - s));
    const char* e;
    std::size_t next;
    if (cr && !(lf && cr + 1 == lf)) {
        e = cr;  // a lone CR ends the line
        next = (cr - FBuf.data()) + 1;
    } else {
        e = stop;
        if (lf && e > s && e[-1] == '\r') {
            --e;
            line.Crlf = true;
        }
        next = (stop - FBuf.data()) + (lf ? 1 : 0);
    }
    FPos = next;
    if (std::memchr(s, '\0', e - s)) {
        FCleaned.clear();
        for (const char* p = s; p < e; ++p)
            if (*p != '\0') FCleaned.push_back(*p);
        line.Text = FCleaned;
        line.Clean = false;
        FDroppedNul = true;
    } else {
        line.Text = std::string_view(s, e - s);
    }
    return true;
}
