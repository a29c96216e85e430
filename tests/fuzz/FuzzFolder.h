#pragma once
// A private folder (mkdtemp) for the fuzz targets that need real files, made on first use and removed when
// the fuzzer exits.
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "fuzz/FuzzCheck.h"

inline const std::filesystem::path& FuzzFolder() {
    static const struct TFolder {
        std::filesystem::path Path;
        TFolder() {
            std::string name = (std::filesystem::temp_directory_path() / "vel_fuzz_XXXXXX").string();
            FUZZ_CHECK(::mkdtemp(name.data()) != nullptr);
            Path = name;
        }
        ~TFolder() {
            std::error_code ec;
            std::filesystem::remove_all(Path, ec);
        }
    } folder;
    return folder.Path;
}
