// The list file readers on arbitrary files, both formats, mapped and read in blocks.
//
// The first input byte chooses: which header goes before the rest of the input (none, the current one, the
// old format's version line), the block size of the block path (small sizes make lines cross block ends),
// and whether the file is merged next to a node of a tree that already holds some. The rest is the file.
//
// What must hold for any file:
// - reading never crashes, and the host's progress bar, busy cursor and status text are back at rest;
// - the mapped and the block path give the same result and the same tree;
// - a merge leaves the nodes that were there before as they were;
// - read → write → read: a tree that was read without damage is written (unless the writer refuses a
//   record whose text would read back differently, which only a file of the old format can bring in) and
//   read back to the same tree, and writing that tree again gives the same bytes. The second read finds no
//   damage either, unless a name, date or address holds one of the format's tags: those lines are taken
//   whole, so they read back the same, but the reader reports the tag as damage (only an old file can
//   bring in such a name, and none has an address).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/DocumentTree.h"
#include "app/LineReader.h"
#include "app/ListFile.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzFolder.h"

namespace {

void WriteFile(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    FUZZ_CHECK(out.good());
}

// Checks that every read puts the window's busy state back the way it found it.
class THost : public TListFileHost {
public:
    int Busy = 0;
    bool ProgressVisible = false;
    int Position = 0;
    std::string Status;
    int Damage = 0;
    void SetBusyCursor(bool busy) override {
        Busy += busy ? 1 : -1;
        FUZZ_CHECK(Busy == 0 || Busy == 1);
    }
    void SetProgressVisible(bool visible) override { ProgressVisible = visible; }
    void SetProgressPosition(int position) override { Position = position; }
    void SetStatusText(std::string_view text) override { Status = std::string(text); }
    void ReportDamage(const std::filesystem::path&, long line) override {
        FUZZ_CHECK(line > 0);
        ++Damage;
    }
    void CheckAtRest() const {
        FUZZ_CHECK(Busy == 0);
        FUZZ_CHECK(!ProgressVisible);
        FUZZ_CHECK(Position == 0);
        FUZZ_CHECK(Status.empty());
        FUZZ_CHECK(Damage <= 1);
    }
};

// Each node as (depth, record), in pre-order.
struct TFlatNode {
    int Depth;
    TDocumentRecord Record;
    bool operator==(const TFlatNode&) const = default;
};
std::vector<TFlatNode> Flatten(const TDocumentTree& tree) {
    std::vector<TFlatNode> out;
    tree.ForEachPreOrder(nullptr, [&](TDocumentNode* node, int depth) { out.push_back({depth, node->Record()}); });
    return out;
}

bool SameResult(const TListReadResult& a, const TListReadResult& b) {
    return a.Status == b.Status && a.OldFormat == b.OldFormat && a.Records == b.Records &&
           a.FirstBadLine == b.FirstBadLine && a.DamagedLines == b.DamagedLines;
}

struct TRead {
    TListReadResult Result;
    std::vector<TFlatNode> Nodes;
};

// Reads file into tree (next to target when given) by one path; checks the host afterwards.
TListReadResult Read(TDocumentTree& tree, TDocumentNode* target, const std::filesystem::path& file, bool mapped,
                     std::size_t blockSize) {
    TLineReader::MapThreshold = mapped ? 1 : static_cast<std::size_t>(-1);
    TLineReader::BlockSize = blockSize;
    THost host;
    TListFile list(tree, host);
    TListReadResult result = list.ReadListFile(file, target);
    host.CheckAtRest();
    FUZZ_CHECK(host.Damage == (result.Damaged() ? 1 : 0));
    FUZZ_CHECK(result.Damaged() == (result.DamagedLines > 0));
    return result;
}

// The tree the merge tests start from: a group with one document, then a document.
void FillBefore(TDocumentTree& tree) {
    TDocumentRecord group;
    group.Name = "g";
    group.Date = "20010101";
    group.Kind = dkGroup;
    TDocumentNode* g = tree.AppendChild(nullptr, group);
    TDocumentRecord doc;
    doc.Name = "d";
    doc.Date = "20010102";
    doc.Text = "x\r\n";
    tree.AppendChild(g, doc);
    tree.AppendChild(nullptr, doc);
}

// A tag of the format in s (the reader's list).
bool HoldsTag(std::string_view s) {
    for (std::string_view tag : {"#[DAT:", "#[ADDR:", "#[DATA:S]", "#[DATA:E]", "#[END]", "#[FILETYPE:",
                                 "#[DOCCOUNT:", "#[VERSION:"})
        if (s.find(tag) != std::string_view::npos) return true;
    return false;
}

// A record whose record line or address line will hold a tag when written.
bool TagInALine(const std::vector<TFlatNode>& nodes) {
    for (const TFlatNode& n : nodes)
        if (HoldsTag(n.Record.Date + ":" + n.Record.Name + "]") || HoldsTag(n.Record.Address + "]")) return true;
    return false;
}

// How deep the tree goes (1 for a tree of top-level nodes only).
int Height(const std::vector<TFlatNode>& nodes) {
    int height = 0;
    for (const TFlatNode& n : nodes) height = std::max(height, n.Depth + 1);
    return height;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned flags = data[0];
    std::string bytes;
    switch (flags & 3) {
        case 1:
            bytes = "Velloria version 2.03\r\n#[FILETYPE:VL203]\r\n#[DOCCOUNT:2]\r\n";
            break;
        case 2:
            bytes = "#[VERSION:200]\r\n";
            break;
        default:
            break;
    }
    bytes.append(reinterpret_cast<const char*>(data) + 1, size - 1);
    static constexpr std::size_t kBlockSizes[] = {16, 17, 64, 4096};
    const std::size_t blockSize = kBlockSizes[(flags >> 2) & 3];
    const bool merge = (flags & 0x10) != 0;

    const std::filesystem::path file = FuzzFolder() / "list.vlt";
    WriteFile(file, bytes);

    // The same file by both paths.
    TDocumentTree mappedTree, blockTree;
    TDocumentNode* mappedTarget = nullptr;
    TDocumentNode* blockTarget = nullptr;
    std::vector<TFlatNode> before;
    if (merge) {
        FillBefore(mappedTree);
        FillBefore(blockTree);
        before = Flatten(blockTree);
        // Next to the group's child: depth 1, so the file's records land below the group.
        mappedTarget = mappedTree.First()->FirstChild();
        blockTarget = blockTree.First()->FirstChild();
    }
    const TListReadResult mapped = Read(mappedTree, mappedTarget, file, true, blockSize);
    const TListReadResult block = Read(blockTree, blockTarget, file, false, blockSize);
    FUZZ_CHECK(SameResult(mapped, block));
    const std::vector<TFlatNode> nodes = Flatten(blockTree);
    FUZZ_CHECK(Flatten(mappedTree) == nodes);
    FUZZ_CHECK(blockTree.Count() == nodes.size());
    FUZZ_CHECK(static_cast<std::size_t>(block.Records) + before.size() == nodes.size());
    if (merge) {
        // The records before the target and the target itself are untouched; the merged ones follow them
        // in pre-order (they go below the group, after the target), then the last top-level document.
        FUZZ_CHECK(nodes.size() >= before.size());
        FUZZ_CHECK(nodes[0] == before[0] && nodes[1] == before[1]);
        FUZZ_CHECK(nodes.back() == before.back());
        for (std::size_t i = 2; i + 1 < nodes.size(); ++i) FUZZ_CHECK(nodes[i].Depth >= 1);
        return 0;
    }

    if (!block.Succeeded() || block.Damaged()) return 0;
    // Read → write → read.
    THost host;
    TListFile list(blockTree, host);
    const std::string written = list.Serialize();
    if (written.empty()) {
        // Refused: only records of an old file can hold what the current format cannot store.
        FUZZ_CHECK(block.OldFormat);
        return 0;
    }
    WriteFile(file, written);
    for (bool pathMapped : {false, true}) {
        TDocumentTree again;
        const TListReadResult reread = Read(again, nullptr, file, pathMapped, blockSize);
        FUZZ_CHECK(reread.Succeeded());
        if (reread.Damaged()) FUZZ_CHECK(TagInALine(nodes) && block.OldFormat);
        FUZZ_CHECK(!reread.OldFormat);
        FUZZ_CHECK(reread.Records == static_cast<long>(nodes.size()));
        // The format stores depths in two hex digits: a deeper tree (only an old file can make one) comes
        // back flatter, with every record and its order kept.
        const std::vector<TFlatNode> back = Flatten(again);
        if (Height(nodes) <= 256) {
            FUZZ_CHECK(back == nodes);
        } else {
            FUZZ_CHECK(back.size() == nodes.size());
            for (std::size_t i = 0; i < back.size(); ++i) FUZZ_CHECK(back[i].Record == nodes[i].Record);
        }
        THost host2;
        TListFile list2(again, host2);
        if (Height(nodes) <= 256) FUZZ_CHECK(list2.Serialize() == written);
    }
    return 0;
}
