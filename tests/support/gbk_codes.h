// The codes of the three user-defined areas of code page 936, in the order Windows numbers
// them: the bytes that most easily get lost on the way through a program.
#pragma once

#include <array>
#include <string>
#include <vector>

inline std::vector<std::string> userDefinedCodes() {
    std::vector<std::string> codes;
    const std::array<std::array<int, 4>, 3> areas{
        {{0xAA, 0xAF, 0xA1, 0xFE}, {0xF8, 0xFE, 0xA1, 0xFE}, {0xA1, 0xA7, 0x40, 0xA0}}};
    for (const auto& [firstLead, lastLead, firstTrail, lastTrail] : areas)
        for (int lead = firstLead; lead <= lastLead; ++lead)
            for (int trail = firstTrail; trail <= lastTrail; ++trail)
                if (trail != 0x7F)
                    codes.push_back({static_cast<char>(lead), static_cast<char>(trail)});
    return codes;
}

// 0x80 (the euro sign) followed by every user-defined code, as one text.
inline std::string euroAndUserDefinedCodes() {
    std::string text = "\x80";
    for (const std::string& code : userDefinedCodes())
        text += code;
    return text;
}
