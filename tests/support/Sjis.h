// Shift-JIS bytes of a UTF-8 literal, so that tests can write Japanese text as it reads. Tests that use it
// link the codec (vel_codec).
#pragma once

#include <QString>
#include <string>

#include "text/SjisCodec.h"

inline std::string Sjis(const char* utf8) {
    return SjisCodec::FromUnicode(QString::fromUtf8(utf8));
}
