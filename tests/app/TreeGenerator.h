// Random document trees with Japanese (Shift-JIS) names and texts, for the list file tests and benchmark.
#pragma once

#include <cstddef>
#include <random>
#include <string>

#include "app/DocumentTree.h"

struct TTreeGeneratorOptions {
    std::size_t Documents = 50;   // documents (groups come on top)
    std::size_t TextBytes = 200;  // average body size of a document
    int MaxDepth = 6;             // deepest level of a group
    double GroupShare = 0.08;     // chance that the next node opens a new group
    bool Awkward = true;          // names with ":" and "]", bodies with empty first and last lines
};

// Japanese text of about `bytes` bytes: lines of hiragana, katakana, kanji, punctuation and a little ASCII,
// each followed by CR LF. Never contains a forbidden word or a lone CR or LF.
std::string GenerateText(std::mt19937& rng, std::size_t bytes);
// A short Japanese name; with awkward, sometimes with ":" or "]" in it.
std::string GenerateName(std::mt19937& rng, bool awkward);

// Fills tree (appending at the top level) with random groups and documents.
void GenerateTree(TDocumentTree& tree, std::mt19937& rng, const TTreeGeneratorOptions& options);
