// The pages of one print or preview job: an ordered list that owns one recorded picture per page. A
// picture's bounding rectangle is the printable area in printer pixels.
#pragma once

#include <QPicture>
#include <memory>
#include <vector>

class TMetaFileList {
public:
    // Appends a new empty picture and returns it; earlier pictures stay where they are.
    QPicture& Add() { return *FPages.emplace_back(std::make_unique<QPicture>()); }
    void Clear() { FPages.clear(); }
    int Count() const { return static_cast<int>(FPages.size()); }
    const QPicture& operator[](int i) const { return *FPages[static_cast<std::size_t>(i)]; }
    QPicture& operator[](int i) { return *FPages[static_cast<std::size_t>(i)]; }

private:
    std::vector<std::unique_ptr<QPicture>> FPages;
};
