// The editor's default delimiter set: the bytes that separate single-byte words.
#pragma once

#include "editor/EditorTypes.h"

// Bytes 0x00-0x2F, 0x3A-0x40, 0x5B-0x5E, 0x60, 0x7B-0x80, 0xA0-0xA5 and 0xFD-0xFF: control bytes, space,
// ASCII punctuation except the underscore, DEL and the single bytes that are neither letters nor
// half-width katakana nor lead bytes. Letters, digits, '_' and half-width katakana 0xA6-0xDF are not in it.
void FillDefaultDelimiters(TDelimiters& delimiters);
const TDelimiters& DefaultDelimiters();
