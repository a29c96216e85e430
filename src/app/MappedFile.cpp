#include "app/MappedFile.h"

#if defined(__unix__) || defined(__APPLE__)
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#define VEL_HAVE_MMAP 1
#endif

TMappedFile::TMappedFile(std::FILE* f, std::size_t minSize) {
#if VEL_HAVE_MMAP
    struct stat st {};
    int fd = fileno(f);
    if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0) return;
    if (static_cast<unsigned long long>(st.st_size) < minSize) return;
    if (static_cast<unsigned long long>(st.st_size) > static_cast<std::size_t>(-1) / 2) return;
    void* p = mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (p == MAP_FAILED) return;
    FData = static_cast<const char*>(p);
    FSize = static_cast<std::size_t>(st.st_size);
#else
    (void)f;
    (void)minSize;
#endif
}

TMappedFile::~TMappedFile() {
#if VEL_HAVE_MMAP
    if (FData) munmap(const_cast<char*>(FData), FSize);
#endif
}

void TMappedFile::Release(std::size_t upTo) {
#if VEL_HAVE_MMAP
    static const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    upTo = upTo / page * page;
    if (!FData || upTo <= FReleased) return;
    madvise(const_cast<char*>(FData) + FReleased, upTo - FReleased, MADV_DONTNEED);
    FReleased = upTo;
#else
    (void)upTo;
#endif
}
