// The record every node of the document tree carries: one document or group of a document list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Kind values as they are stored in the list file. The value 2 is never assigned; other values can only
// come from a file and are kept as they are.
enum TDocumentKind : std::int32_t {
    dkDocument = 0,
    dkGroup = 1,
    dkMarked = 3,  // a document that shows the marker
};

// All texts are Shift-JIS bytes. Name and Address are single lines (the list file keeps each on one line);
// the tree's setters see to that.
struct TDocumentRecord {
    // "無題", the name of a new node.
    static constexpr const char* kDefaultName = "\x96\xB3\x91\xE8";
    static constexpr const char* kDefaultAddress = "http://";

    std::string Name = kDefaultName;
    std::string Date;  // yyyymmdd, exactly 8 characters, set once at creation
    std::string Text;  // every line followed by CR LF; empty body = empty string
    std::string Address = kDefaultAddress;
    std::int32_t Kind = dkDocument;

    bool operator==(const TDocumentRecord&) const = default;
};

// text with every line break (CR LF, a lone CR, a lone LF) replaced by one space.
std::string OnOneLine(std::string_view text);
