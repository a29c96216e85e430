// Helpers of the document model tests: a temporary folder, file bytes, a host that records every call and
// a compact text form of a tree.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/DocumentTree.h"
#include "app/ListFileHost.h"
#include "support/TempDir.h"

// Joins lines, each followed by CR LF.
inline std::string CrLf(std::initializer_list<std::string> lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

class TRecordingHost : public TListFileHost {
public:
    std::vector<std::string> Calls;  // every call in order, e.g. "max 3", "status  33 % ..."
    std::vector<std::string> Warnings;
    std::vector<std::string> Errors;
    std::vector<long> DamageLines;
    int Busy = 0;  // current depth of busy-cursor calls
    bool ProgressVisible = false;
    int ProgressMax = -1;
    std::string Status;
    int ModifiedCalls = 0;
    bool Modified = true;

    void ShowWarning(std::string_view pattern, const std::filesystem::path& file) override {
        Warnings.emplace_back(pattern);
        Calls.push_back("warning");
    }
    void ShowIoError(const std::filesystem::path& file, std::string_view reason) override {
        Errors.push_back(file.string() + ": " + std::string(reason));
        Calls.push_back("error");
    }
    void ReportDamage(const std::filesystem::path& file, long line) override {
        DamageLines.push_back(line);
        Calls.push_back("damage " + std::to_string(line));
    }
    void SetStatusText(std::string_view text) override {
        Status = std::string(text);
        Calls.push_back("status " + Status);
    }
    void SetProgressMax(int max) override {
        ProgressMax = max;
        Calls.push_back("max " + std::to_string(max));
    }
    void SetProgressMin(int min) override { Calls.push_back("min " + std::to_string(min)); }
    void SetProgressPosition(int pos) override { Calls.push_back("pos " + std::to_string(pos)); }
    void SetProgressVisible(bool visible) override {
        ProgressVisible = visible;
        Calls.push_back(visible ? "show" : "hide");
    }
    void SetBusyCursor(bool busy) override {
        Busy += busy ? 1 : -1;
        Calls.push_back(busy ? "busy" : "idle");
    }
    void SetModified(bool modified) override {
        Modified = modified;
        ++ModifiedCalls;
    }
    void DocumentsArrived() override { Calls.push_back("arrived"); }

    int Count(const std::string& call) const {
        int n = 0;
        for (const auto& c : Calls) n += c == call;
        return n;
    }
    // The progress bar and the cursor are back at rest.
    bool AtRest() const { return Busy == 0 && !ProgressVisible && Status.empty(); }
};

// "name(kind)[child,child]" for every node in tree order; names and kinds only.
inline std::string Shape(const TDocumentTree& tree, const TDocumentNode* parent = nullptr) {
    std::string out;
    for (int i = 0; i < tree.ChildCount(parent); ++i) {
        const TDocumentNode* n = tree.Child(parent, i);
        if (i) out += ",";
        out += n->Record().Name;
        if (n->Record().Kind != dkDocument) out += "(" + std::to_string(n->Record().Kind) + ")";
        if (n->HasChildren()) out += "[" + Shape(tree, n) + "]";
    }
    return out;
}

inline TDocumentRecord Rec(const std::string& name, std::int32_t kind = dkDocument,
                           const std::string& text = "", const std::string& date = "20240101") {
    TDocumentRecord r;
    r.Name = name;
    r.Kind = kind;
    r.Text = text;
    r.Date = date;
    return r;
}
