// Access to the fields of a document record for the window code.
//
// Every read and write of a record field in the main window goes through these few functions, so that the
// record's own interface can change (plain members today, accessors over shared slices of the file image
// later) without touching the window.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/DocumentRecord.h"

namespace recfield {

inline std::string_view Name(const TDocumentRecord& r) {
    return r.Name;
}
inline std::string_view Date(const TDocumentRecord& r) {
    return r.Date;
}
inline std::string_view Text(const TDocumentRecord& r) {
    return r.Text;
}
inline std::string_view Address(const TDocumentRecord& r) {
    return r.Address;
}
inline std::int32_t Kind(const TDocumentRecord& r) {
    return r.Kind;
}

// Names and addresses stay on one line (a line break becomes a space), as everywhere they enter the tree.
inline void SetName(TDocumentRecord& r, std::string value) {
    r.Name = OnOneLine(value);
}
inline void SetText(TDocumentRecord& r, std::string value) {
    r.Text = std::move(value);
}
inline void SetAddress(TDocumentRecord& r, std::string value) {
    r.Address = OnOneLine(value);
}
inline void SetKind(TDocumentRecord& r, std::int32_t value) {
    r.Kind = value;
}

// A record for a new node: the default name and address, the given date (yyyymmdd) and kind, no text.
inline TDocumentRecord NewRecord(std::string date, std::int32_t kind) {
    TDocumentRecord r;
    r.Date = std::move(date);
    r.Kind = kind;
    return r;
}

}  // namespace recfield
