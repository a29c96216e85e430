#include "app/ForbiddenWords.h"

TForbiddenWordMatch FindForbiddenWord(std::string_view text) {
    // A plain byte search: the list reader matches its tags on bytes too, so a word that straddles a
    // two-byte character would still confuse it.
    for (std::string_view word : ForbiddenWords) {
        std::size_t pos = text.find(word);
        if (pos != std::string_view::npos) return TForbiddenWordMatch{true, pos, word.size(), word};
    }
    return {};
}
