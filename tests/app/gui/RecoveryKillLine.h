// The lines the recovery kill test's child types: Shift-JIS "入力" with the round and the line's number.
#pragma once

#include <string>

inline std::string RecoveryKillLine(int round, int line) {
    return "\x93\xFC\x97\xCD " + std::to_string(round) + "." + std::to_string(line) + "\r\n";
}
