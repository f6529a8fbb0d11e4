#include "gbk.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <mutex>
#include <vector>

namespace xb::store {
namespace {

// Code page 936 as Windows maps it: GBK from iconv, 0x80 as the euro sign, and every code iconv
// leaves out in the Unicode private-use range. People's names use such codes for rare
// characters, so each of the 23,940 double-byte codes must come back as the bytes it came from.
constexpr uint32_t kEuro = 0x20AC;
constexpr unsigned char kEuroByte = 0x80;

// The user-defined areas in the order Windows numbers them from U+E000, row by row.
struct Area {
    int firstLead, lastLead, firstTrail, lastTrail;
};
constexpr Area kUserAreas[] = {
    {0xAA, 0xAF, 0xA1, 0xFE}, {0xF8, 0xFE, 0xA1, 0xFE}, {0xA1, 0xA7, 0x40, 0xA0}};
// Codes GBK leaves unassigned within its own rows; they follow the user-defined areas in the
// private-use range (from U+E766), in code order.
struct Run {
    int lead, firstTrail, lastTrail;
};
constexpr Run kUnassigned[] = {
    {0xA2, 0xAB, 0xB0}, {0xA2, 0xE3, 0xE4}, {0xA2, 0xEF, 0xF0}, {0xA2, 0xFD, 0xFE},
    {0xA4, 0xF4, 0xFE}, {0xA5, 0xF7, 0xFE}, {0xA6, 0xB9, 0xC0}, {0xA6, 0xD9, 0xDF},
    {0xA6, 0xEC, 0xED}, {0xA6, 0xF3, 0xF3}, {0xA6, 0xF6, 0xFE}, {0xA7, 0xC2, 0xD0},
    {0xA7, 0xF2, 0xFE}, {0xA8, 0x96, 0xA0}, {0xA8, 0xBC, 0xBC}, {0xA8, 0xBF, 0xBF},
    {0xA8, 0xC1, 0xC4}, {0xA8, 0xEA, 0xFE}, {0xA9, 0x58, 0x58}, {0xA9, 0x5B, 0x5B},
    {0xA9, 0x5D, 0x5F}, {0xA9, 0x89, 0x95}, {0xA9, 0x97, 0xA3}, {0xA9, 0xF0, 0xFE},
    {0xD7, 0xFA, 0xFE}, {0xFE, 0x50, 0xA0}};
constexpr uint32_t kPrivateUse = 0xE000;

bool isTrail(int t) {
    return t >= 0x40 && t <= 0xFE && t != 0x7F;
}

// Conversion tables built once: every double-byte code to its Unicode code point, and back.
// A table lookup per character keeps scans of large tables cheap.
struct GbkTables {
    std::vector<uint16_t> toUnicode;   // index (lead - 0x81) * 256 + trail; 0 = not mapped
    std::vector<uint16_t> fromUnicode; // index code point (BMP); 0 = not mapped, < 0x100 one byte
    GbkTables() : toUnicode(126 * 256, 0), fromUnicode(65536, 0) {
        fromIconv();
        uint32_t next = kPrivateUse;
        for (const Area& a : kUserAreas)
            for (int lead = a.firstLead; lead <= a.lastLead; ++lead)
                for (int trail = a.firstTrail; trail <= a.lastTrail; ++trail)
                    if (isTrail(trail)) put(lead, trail, next++, true);
        for (const Run& r : kUnassigned)
            for (int trail = r.firstTrail; trail <= r.lastTrail; ++trail)
                if (isTrail(trail)) put(r.lead, trail, next++, false);
        fromUnicode[kEuro] = kEuroByte;
    }
    void put(int lead, int trail, uint32_t cp, bool replace) {
        uint16_t& slot = toUnicode[(lead - 0x81) * 256 + trail];
        if (slot != 0 && !replace) return;
        slot = static_cast<uint16_t>(cp);
        fromUnicode[cp] = static_cast<uint16_t>((lead << 8) | trail);
    }
    void fromIconv() {
        iconv_t cd = iconv_open("UCS-2LE", "GBK");
        if (cd == reinterpret_cast<iconv_t>(-1)) return;
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                if (!isTrail(trail)) continue;
                char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                unsigned char out[4] = {};
                char* inp = in;
                char* outp = reinterpret_cast<char*>(out);
                size_t inLeft = 2, outLeft = sizeof out;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1)) continue;
                if (sizeof out - outLeft != 2) continue;
                const uint16_t cp = static_cast<uint16_t>(out[0] | (out[1] << 8));
                const uint16_t gbk = static_cast<uint16_t>((lead << 8) | trail);
                toUnicode[(lead - 0x81) * 256 + trail] = cp;
                if (fromUnicode[cp] == 0) fromUnicode[cp] = gbk;
            }
        }
        iconv_close(cd);
    }
};

const GbkTables& tables() {
    static const GbkTables t;
    return t;
}

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at `i`, advancing it; malformed bytes decode as U+FFFD.
uint32_t nextCodePoint(std::string_view s, size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    int extra = 0;
    uint32_t cp = 0;
    if (b0 < 0x80) {
        ++i;
        return b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        cp = b0 & 0x07;
    } else {
        ++i;
        return 0xFFFD;
    }
    if (i + extra >= s.size()) {
        i = s.size();
        return 0xFFFD;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            i += k;
            return 0xFFFD;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    i += extra + 1;
    return cp;
}

// GBK bytes of one code point: 1 for ASCII, 2 for a mapped character, 1 ("?") otherwise.
int gbkWidthOf(uint32_t cp) {
    if (cp < 0x80) return 1;
    if (cp < 0x10000 && tables().fromUnicode[cp] >= 0x100) return 2;
    return 1;
}

// Length of the run of ASCII bytes starting at `i`: those are the same in both encodings.
size_t asciiRun(std::string_view s, size_t i) {
    size_t j = i;
    for (uint64_t word = 0; j + 8 <= s.size(); j += 8) {
        std::memcpy(&word, s.data() + j, 8);
        if (word & 0x8080808080808080ULL) break;
    }
    while (j < s.size() && static_cast<unsigned char>(s[j]) < 0x80)
        ++j;
    return j - i;
}

} // namespace

std::string toGbk(std::string_view utf8) {
    if (asciiRun(utf8, 0) == utf8.size()) return std::string(utf8);
    std::string out;
    out.reserve(utf8.size());
    const auto& from = tables().fromUnicode;
    for (size_t i = 0; i < utf8.size();) {
        if (const size_t run = asciiRun(utf8, i)) {
            out.append(utf8.substr(i, run));
            i += run;
            continue;
        }
        const uint32_t cp = nextCodePoint(utf8, i);
        const uint16_t code = cp < 0x10000 ? from[cp] : 0;
        if (code >= 0x100) {
            out += static_cast<char>(code >> 8);
            out += static_cast<char>(code & 0xFF);
        } else if (code != 0) {
            out += static_cast<char>(code);
        } else {
            out += '?';
        }
    }
    return out;
}

std::string fromGbk(std::string_view gbk) {
    // Codes, numbers and dates are ASCII, which reads the same in both encodings.
    const size_t plain = asciiRun(gbk, 0);
    if (plain == gbk.size()) return std::string(gbk);
    // At most three UTF-8 bytes for each GBK byte (a lone byte becomes U+FFFD).
    std::string out(plain + (gbk.size() - plain) * 3, '\0');
    std::memcpy(out.data(), gbk.data(), plain);
    char* o = out.data() + plain;
    const auto put = [&o](uint32_t cp) {
        if (cp < 0x80) {
            *o++ = static_cast<char>(cp);
        } else if (cp < 0x800) {
            *o++ = static_cast<char>(0xC0 | (cp >> 6));
            *o++ = static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            *o++ = static_cast<char>(0xE0 | (cp >> 12));
            *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            *o++ = static_cast<char>(0x80 | (cp & 0x3F));
        }
    };
    const auto& to = tables().toUnicode;
    for (size_t i = plain; i < gbk.size(); ++i) {
        const auto b = static_cast<unsigned char>(gbk[i]);
        if (b < 0x80) {
            *o++ = static_cast<char>(b);
            continue;
        }
        if (b == kEuroByte) {
            put(kEuro);
            continue;
        }
        if (b >= 0x81 && b <= 0xFE && i + 1 < gbk.size()) {
            const auto t = static_cast<unsigned char>(gbk[i + 1]);
            const uint16_t cp = to[(b - 0x81) * 256 + t];
            if (cp != 0) {
                put(cp);
                ++i;
                continue;
            }
        }
        // Only the lead byte is taken: the byte after it may be a TAB or a line end.
        put(0xFFFD);
    }
    out.resize(static_cast<size_t>(o - out.data()));
    return out;
}

size_t firstNonGbkByte(std::string_view gbk) {
    const auto& to = tables().toUnicode;
    for (size_t i = 0; i < gbk.size(); ++i) {
        const auto b = static_cast<unsigned char>(gbk[i]);
        if (b <= kEuroByte) continue;
        if (b == 0xFF || i + 1 == gbk.size()) return i;
        const auto t = static_cast<unsigned char>(gbk[i + 1]);
        if (!isTrail(t) || to[(b - 0x81) * 256 + t] == 0) return i;
        ++i;
    }
    return std::string_view::npos;
}

int gbkLength(std::string_view utf8) {
    int n = 0;
    for (size_t i = 0; i < utf8.size();)
        n += gbkWidthOf(nextCodePoint(utf8, i));
    return n;
}

std::string cutToGbkWidth(std::string_view utf8, int width) {
    int used = 0;
    size_t i = 0;
    while (i < utf8.size()) {
        size_t next = i;
        const int w = gbkWidthOf(nextCodePoint(utf8, next));
        if (used + w > width) break;
        used += w;
        i = next;
    }
    return std::string(utf8.substr(0, i));
}

std::string_view cutGbkBytes(std::string_view gbk, int width) {
    if (width < 0) width = 0;
    if (gbk.size() <= static_cast<size_t>(width)) return gbk;
    size_t i = 0;
    while (i < static_cast<size_t>(width)) {
        const auto b = static_cast<unsigned char>(gbk[i]);
        const size_t len = (b >= 0x81 && b <= 0xFE) ? 2 : 1;
        if (i + len > static_cast<size_t>(width)) break;
        i += len;
    }
    return gbk.substr(0, i);
}

} // namespace xb::store
