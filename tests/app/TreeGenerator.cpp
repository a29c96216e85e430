#include "TreeGenerator.h"

#include <vector>

namespace {

int Uniform(std::mt19937& rng, int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
}

void AppendCode(std::string& out, unsigned code) {
    out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
}

// One two-byte character: mostly hiragana, some katakana and first-level kanji.
void AppendJapaneseChar(std::mt19937& rng, std::string& out) {
    int pick = Uniform(rng, 0, 99);
    if (pick < 55) {
        AppendCode(out, 0x829F + Uniform(rng, 0, 0x82F1 - 0x829F));  // hiragana
    } else if (pick < 70) {
        unsigned trail = 0x40 + Uniform(rng, 0, 0x96 - 0x40 - 1);  // katakana, skipping 0x7F
        if (trail >= 0x7F) ++trail;
        AppendCode(out, 0x8300 | trail);
    } else {
        unsigned lead = 0x88 + Uniform(rng, 0, 0x97 - 0x88);  // kanji rows of level 1
        unsigned trail = lead == 0x88 ? 0x9F + Uniform(rng, 0, 0xFC - 0x9F) : 0x40 + Uniform(rng, 0, 0xBB);
        if (trail >= 0x7F && lead != 0x88) ++trail;
        AppendCode(out, (lead << 8) | trail);
    }
}

const char* const kWords[] = {"abc", "memo", "2024", "http", "ok", "todo", "v2", "x", "list", "note"};

}  // namespace

std::string GenerateText(std::mt19937& rng, std::size_t bytes) {
    std::string text;
    text.reserve(bytes + 128);
    while (text.size() < bytes) {
        int width = Uniform(rng, 0, 9) == 0 ? 0 : Uniform(rng, 8, 80);  // some empty lines
        std::size_t end = text.size() + width;
        while (text.size() < end) {
            int pick = Uniform(rng, 0, 39);
            if (pick == 0) {
                text += kWords[Uniform(rng, 0, 9)];
            } else if (pick == 1) {
                AppendCode(text, 0x8141);  // 、
            } else if (pick == 2) {
                AppendCode(text, 0x8142);  // 。
            } else if (pick == 3) {
                text.push_back(' ');
            } else {
                AppendJapaneseChar(rng, text);
            }
        }
        text += "\r\n";
    }
    return text;
}

std::string GenerateName(std::mt19937& rng, bool awkward) {
    std::string name;
    int chars = Uniform(rng, 1, 8);
    for (int i = 0; i < chars; ++i) {
        if (awkward && Uniform(rng, 0, 6) == 0)
            name.push_back(Uniform(rng, 0, 1) ? ':' : ']');
        else
            AppendJapaneseChar(rng, name);
    }
    return name;
}

void GenerateTree(TDocumentTree& tree, std::mt19937& rng, const TTreeGeneratorOptions& options) {
    std::vector<TDocumentNode*> open;  // the chain of groups new nodes go into; empty = top level
    auto makeRecord = [&](std::int32_t kind, std::size_t textBytes) {
        TDocumentRecord r;
        r.Kind = kind;
        r.Name = GenerateName(rng, options.Awkward);
        char date[16];
        std::snprintf(date, sizeof date, "%04d%02d%02d", Uniform(rng, 1995, 2030), Uniform(rng, 1, 12),
                      Uniform(rng, 1, 28));
        r.Date = date;
        r.Address = Uniform(rng, 0, 3) ? TDocumentRecord::kDefaultAddress
                                       : "http://example.jp/" + std::to_string(Uniform(rng, 1, 99999));
        if (textBytes) {
            std::size_t size =
                std::uniform_int_distribution<std::size_t>(textBytes / 2, textBytes * 3 / 2)(rng);
            r.Text = GenerateText(rng, size);
        }
        if (options.Awkward) {
            int shape = Uniform(rng, 0, 7);
            if (shape == 0) r.Text = "\r\n\r\n" + r.Text;                         // empty first lines
            if (shape == 1) r.Text += "\r\n\r\n";                                 // empty last lines
            if (shape == 2 && !r.Text.empty()) r.Text.resize(r.Text.size() - 2);  // no final line break
            if (shape == 3) r.Text.clear();
        }
        return r;
    };
    for (std::size_t made = 0; made < options.Documents;) {
        double roll = std::uniform_real_distribution<double>(0, 1)(rng);
        if (!open.empty() && roll < options.GroupShare) {
            open.pop_back();  // close a group
            continue;
        }
        TDocumentNode* parent = open.empty() ? nullptr : open.back();
        if (roll < 2 * options.GroupShare && static_cast<int>(open.size()) < options.MaxDepth) {
            TDocumentNode* group = tree.AppendChild(parent, makeRecord(dkGroup, Uniform(rng, 0, 2) ? 0 : 64));
            group->SetExpanded(Uniform(rng, 0, 1));
            open.push_back(group);
            continue;
        }
        std::int32_t kind = Uniform(rng, 0, 9) == 0 ? dkMarked : dkDocument;
        tree.AppendChild(parent, makeRecord(kind, options.TextBytes));
        ++made;
    }
}
