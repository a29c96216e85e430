// A read-only memory mapping of a whole file, where the system offers one. This is the document model's
// only platform-specific module besides the disk sync of TSafeFileWriter: on systems without POSIX mappings
// Data() stays null and callers read the file with stdio instead.
#pragma once

#include <cstddef>
#include <cstdio>

class TMappedFile {
public:
    // Maps the regular file behind f (which stays open and owned by the caller) when it has at least
    // minSize bytes.
    TMappedFile(std::FILE* f, std::size_t minSize);
    ~TMappedFile();
    TMappedFile(const TMappedFile&) = delete;
    TMappedFile& operator=(const TMappedFile&) = delete;

    const char* Data() const { return FData; }
    std::size_t Size() const { return FSize; }

    // The bytes before upTo will not be needed soon: the system may drop them from the process's memory
    // (reading them again is still allowed and brings them back).
    void Release(std::size_t upTo);

private:
    const char* FData = nullptr;
    std::size_t FSize = 0;
    std::size_t FReleased = 0;
};
