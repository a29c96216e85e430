// What the token scanner recognises and how each token class is coloured.
//
// The string and Boolean setters notify when the value changes; Brackets and Colors are owned objects
// bound to this object's ChildChanged, and their setters assign into them.
#pragma once

#include <string>
#include <string_view>

#include "editor/options/EditorBracketCollection.h"
#include "editor/options/EditorColors.h"

class TEditorViewInfo : public TNotifyPersistent {
public:
    TEditorViewInfo();

    TEditorBracketCollection& Brackets() { return FBrackets; }
    const TEditorBracketCollection& Brackets() const { return FBrackets; }
    void SetBrackets(const TEditorBracketCollection& value) { FBrackets.Assign(value); }

    TEditorColors& Colors() { return FColors; }
    const TEditorColors& Colors() const { return FColors; }
    void SetColors(const TEditorColors& value) { FColors.Assign(value); }

    // Text that starts a comment running to the end of the line (byte-exact).
    const std::string& Commenter() const { return FCommenter; }
    void SetCommenter(std::string_view value);
    // '#' with decimal digits, and '#' '$' with hex digits, are character codes.
    bool ControlCode() const { return FControlCode; }
    void SetControlCode(bool value);
    // Prefix of hexadecimal numbers, matched without regard to ASCII case.
    const std::string& HexPrefix() const { return FHexPrefix; }
    void SetHexPrefix(std::string_view value);
    bool Mail() const { return FMail; }
    void SetMail(bool value);
    // The string quote character: only the first byte of the value is kept.
    const std::string& Quotation() const { return FQuotation; }
    void SetQuotation(std::string_view value);
    bool Url() const { return FUrl; }
    void SetUrl(bool value);

    // Copies every value with one notification. Raises when source holds more bracket pairs than allowed.
    void Assign(const TEditorViewInfo& source);

private:
    TEditorBracketCollection FBrackets;
    TEditorColors FColors;
    std::string FCommenter;
    bool FControlCode = false;
    std::string FHexPrefix;
    bool FMail = false;
    std::string FQuotation;
    bool FUrl = false;
};
