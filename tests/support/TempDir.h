// A private temporary folder for one test or benchmark, and reading and writing whole files: a new folder with a random name under the system's
// temporary directory, removed with everything in it when the object goes (Keep() leaves it, e.g. for
// pictures to look at after a failure). No two tests, runs or programs share a name.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>

class TTempDir {
public:
    explicit TTempDir(std::string_view prefix = "vel_test_") {
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        std::mt19937_64 rng(static_cast<std::uint64_t>(std::random_device{}()) ^ static_cast<std::uint64_t>(now));
        for (;;) {
            FPath = base / (std::string(prefix) + std::to_string(rng() % 1'000'000'000'000ull));
            if (std::filesystem::create_directory(FPath)) break;  // false: the name is taken, draw again
        }
    }
    ~TTempDir() {
        if (FKeep) return;
        std::error_code ec;
        std::filesystem::permissions(FPath, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(FPath, ec);
    }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    std::filesystem::path operator/(const std::string& name) const { return FPath / name; }
    void Keep() { FKeep = true; }

private:
    std::filesystem::path FPath;
    bool FKeep = false;
};

// The whole content of a file, and a file made of bytes.
inline void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
