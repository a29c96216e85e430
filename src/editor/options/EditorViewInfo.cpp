#include "editor/options/EditorViewInfo.h"

TEditorViewInfo::TEditorViewInfo() {
    Own(FBrackets);
    Own(FColors);
}

void TEditorViewInfo::SetCommenter(std::string_view value) {
    if (FCommenter == value) return;
    FCommenter = value;
    Changed();
}

void TEditorViewInfo::SetControlCode(bool value) {
    if (FControlCode == value) return;
    FControlCode = value;
    Changed();
}

void TEditorViewInfo::SetHexPrefix(std::string_view value) {
    if (FHexPrefix == value) return;
    FHexPrefix = value;
    Changed();
}

void TEditorViewInfo::SetMail(bool value) {
    if (FMail == value) return;
    FMail = value;
    Changed();
}

void TEditorViewInfo::SetQuotation(std::string_view value) {
    const std::string_view kept = value.substr(0, 1);
    if (FQuotation == kept) return;
    FQuotation = kept;
    Changed();
}

void TEditorViewInfo::SetUrl(bool value) {
    if (FUrl == value) return;
    FUrl = value;
    Changed();
}

void TEditorViewInfo::Assign(const TEditorViewInfo& source) {
    if (&source == this) return;
    Update update(*this);
    FBrackets.Assign(source.FBrackets);
    FColors.Assign(source.FColors);
    FCommenter = source.FCommenter;
    FControlCode = source.FControlCode;
    FHexPrefix = source.FHexPrefix;
    FMail = source.FMail;
    FQuotation = source.FQuotation;
    FUrl = source.FUrl;
}
