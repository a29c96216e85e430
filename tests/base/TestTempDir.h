// A private temporary folder for one test, removed with everything in it when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

class TTempDir {
public:
    TTempDir() {
        auto base = std::filesystem::temp_directory_path();
        // create_directory fails when the name is taken, so the folder is ours alone.
        for (int i = 0;; ++i) {
            FPath = base / ("vel_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                            "_" + std::to_string(reinterpret_cast<std::uintptr_t>(this) % 100000) + "_" +
                            std::to_string(i));
            if (std::filesystem::create_directory(FPath)) break;
        }
    }
    ~TTempDir() {
        std::error_code ec;
        std::filesystem::permissions(FPath, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(FPath, ec);
    }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    std::filesystem::path operator/(const std::string& name) const { return FPath / name; }

private:
    std::filesystem::path FPath;
};

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
