// The colour classes of the token scanner: ten TEditorColor, each bound to this object's ChildChanged.
#pragma once

#include <array>

#include "editor/options/EditorColor.h"

class TEditorColors : public TNotifyPersistent {
public:
    // Index of each colour class; also the order in which Assign and the settings go through them.
    enum Index {
        ciAnk,
        ciComment,
        ciDBCS,
        ciInt,
        ciMail,
        ciReserve,
        ciSelect,
        ciStr,
        ciSymbol,
        ciUrl,
        ciCount
    };

    TEditorColors();

    TEditorColor& Ank() { return FItems[ciAnk]; }
    TEditorColor& Comment() { return FItems[ciComment]; }
    TEditorColor& DBCS() { return FItems[ciDBCS]; }
    TEditorColor& Int() { return FItems[ciInt]; }
    TEditorColor& Mail() { return FItems[ciMail]; }
    TEditorColor& Reserve() { return FItems[ciReserve]; }
    TEditorColor& Select() { return FItems[ciSelect]; }
    TEditorColor& Str() { return FItems[ciStr]; }
    TEditorColor& Symbol() { return FItems[ciSymbol]; }
    TEditorColor& Url() { return FItems[ciUrl]; }
    const TEditorColor& Ank() const { return FItems[ciAnk]; }
    const TEditorColor& Comment() const { return FItems[ciComment]; }
    const TEditorColor& DBCS() const { return FItems[ciDBCS]; }
    const TEditorColor& Int() const { return FItems[ciInt]; }
    const TEditorColor& Mail() const { return FItems[ciMail]; }
    const TEditorColor& Reserve() const { return FItems[ciReserve]; }
    const TEditorColor& Select() const { return FItems[ciSelect]; }
    const TEditorColor& Str() const { return FItems[ciStr]; }
    const TEditorColor& Symbol() const { return FItems[ciSymbol]; }
    const TEditorColor& Url() const { return FItems[ciUrl]; }

    TEditorColor& Item(Index index) { return FItems[index]; }
    const TEditorColor& Item(Index index) const { return FItems[index]; }

    // Setting a member assigns into the owned object.
    void SetAnk(const TEditorColor& value) { FItems[ciAnk].Assign(value); }
    void SetComment(const TEditorColor& value) { FItems[ciComment].Assign(value); }
    void SetDBCS(const TEditorColor& value) { FItems[ciDBCS].Assign(value); }
    void SetInt(const TEditorColor& value) { FItems[ciInt].Assign(value); }
    void SetMail(const TEditorColor& value) { FItems[ciMail].Assign(value); }
    void SetReserve(const TEditorColor& value) { FItems[ciReserve].Assign(value); }
    void SetSelect(const TEditorColor& value) { FItems[ciSelect].Assign(value); }
    void SetStr(const TEditorColor& value) { FItems[ciStr].Assign(value); }
    void SetSymbol(const TEditorColor& value) { FItems[ciSymbol].Assign(value); }
    void SetUrl(const TEditorColor& value) { FItems[ciUrl].Assign(value); }

    // Write one field of every member except Select, with one notification.
    virtual void SetAllBkColor(TColor value);
    virtual void SetAllColor(TColor value);
    virtual void SetAllStyle(TFontStyles value);

    // Copies all ten members with one notification.
    void Assign(const TEditorColors& source);

private:
    std::array<TEditorColor, ciCount> FItems;
};
