#include "text/SjisCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <mutex>
#include <vector>

#include "text/ShiftJis.h"

namespace {

// Both directions are looked up in tables built once from the platform's windows-31j converter. Every CP932
// code maps to at most one UTF-16 unit, so decoding is one array access per character, and the converter's
// own choice among duplicates (the one Windows makes) fills the reverse table.
struct Tables {
    std::array<char16_t, 256> single{};  // single bytes
    std::vector<char16_t> twoByte;       // index (lead << 8 | trail) - 0x8000
    std::vector<int> reverse;            // index: UTF-16 unit; -1 = no code

    Tables() : twoByte(0x8000, SjisCodec::kNoChar), reverse(0x10000, -1) {
        single.fill(SjisCodec::kNoChar);
        QStringDecoder dec("windows-31j");
        QStringEncoder enc("windows-31j");
        auto decodeOne = [&dec](const char* bytes, qsizetype n) -> char16_t {
            QString s = dec.decode(QByteArrayView(bytes, n));
            dec.resetState();
            if (s.size() != 1) return SjisCodec::kNoChar;
            char16_t u = s[0].unicode();
            // The converter reports unmappable bytes as SUB or the replacement character.
            if (u == 0xFFFD || u == 0x1A) return SjisCodec::kNoChar;
            return u;
        };
        for (int b = 0; b < 256; ++b) {
            if (sjis::IsLeadByte(static_cast<unsigned char>(b))) continue;
            char c = static_cast<char>(b);
            // CP932 is ASCII below 0x80; ICU's table rotates three control codes (0x1A, 0x1C, 0x7F) as IBM
            // code pages do, which Windows does not.
            single[b] = (b < 0x80) ? static_cast<char16_t>(b) : decodeOne(&c, 1);
        }
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!sjis::IsLeadByte(static_cast<unsigned char>(lead))) continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (trail == 0x7F) continue;
                char b[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                twoByte[((lead << 8) | trail) - 0x8000] = decodeOne(b, 2);
            }
        }
        auto canonical = [&enc](char16_t u) -> int {
            if (u < 0x80) return u;
            QChar qc(u);
            QByteArray out = enc.encode(QStringView(&qc, 1));
            enc.resetState();
            if (out.size() == 1) return static_cast<unsigned char>(out[0]);
            if (out.size() == 2)
                return (static_cast<unsigned char>(out[0]) << 8) | static_cast<unsigned char>(out[1]);
            return -1;
        };
        auto addReverse = [&](char16_t u, int code) {
            if (u == SjisCodec::kNoChar || reverse[u] != -1) return;
            int c = canonical(u);
            reverse[u] = (c >= 0) ? c : code;
        };
        for (int b = 0; b < 256; ++b) addReverse(single[b], b);
        for (int i = 0; i < 0x8000; ++i) addReverse(twoByte[i], i + 0x8000);
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

}  // namespace

char16_t SjisCodec::Decode(unsigned code) {
    const Tables& t = tables();
    if (code < 0x100) return t.single[code];
    if (code >= 0x8000 && code < 0x10000) return t.twoByte[code - 0x8000];
    return kNoChar;
}

int SjisCodec::Encode(char16_t ch) {
    return tables().reverse[ch];
}

QString SjisCodec::ToUnicode(std::string_view bytes) {
    const Tables& t = tables();
    QString out;
    out.resize(static_cast<qsizetype>(bytes.size()));
    QChar* dst = out.data();
    qsizetype n = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        char16_t u;
        if (sjis::IsLeadByte(c) && i + 1 < bytes.size()) {
            u = t.twoByte[((c << 8) | static_cast<unsigned char>(bytes[i + 1])) - 0x8000];
            i += 2;
        } else {
            u = t.single[c];  // a lone lead byte at the end has no character
            ++i;
        }
        dst[n++] = QChar(u != kNoChar ? u : char16_t(0xFFFD));
    }
    out.truncate(n);
    return out;
}

std::string SjisCodec::FromUnicode(QStringView text) {
    const Tables& t = tables();
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()) * 2);
    for (QChar qc : text) {
        int code = t.reverse[qc.unicode()];
        if (code < 0) {
            out.push_back('?');
        } else if (code < 0x100) {
            out.push_back(static_cast<char>(code));
        } else {
            out.push_back(static_cast<char>(code >> 8));
            out.push_back(static_cast<char>(code & 0xFF));
        }
    }
    return out;
}
