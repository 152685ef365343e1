// The texts a picture carries so that it can be computed again (see ILuneth.h), and their
// small list formats, shared by the image module that writes them and the hosts that read
// them back:
//
//   kTextSoftware ...          the keys
//   ParseUnsigned              a whole number below 2^32
//   FormatSize / ParseSize     "WxH"
//   FormatRect / ParseRect     "X,Y,W,H"
//   FormatValues / ParseValues "name=value name=value" (values "%.9g": the float comes back
//                              bit for bit); names are words without blanks and '='
//   IsUtf8Text                 valid UTF-8 without NUL: can stand in a text chunk as it is
//   Base64Encode / Decode      for a script that can't
#pragma once

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace luneth {

inline constexpr const char* kTextSoftware = "Software";
inline constexpr const char* kTextScript = "Luneth.Script";
inline constexpr const char* kTextScriptBytes = "Luneth.ScriptBytes";
inline constexpr const char* kTextEquation = "Luneth.Equation";
inline constexpr const char* kTextParameters = "Luneth.Parameters";
inline constexpr const char* kTextRandom = "Luneth.Random";
inline constexpr const char* kTextDefines = "Luneth.Defines";
inline constexpr const char* kTextSize = "Luneth.Size";
inline constexpr const char* kTextRegion = "Luneth.Region";

using NamedValues = std::vector<std::pair<std::string, float>>;

namespace detail {
// A whole unsigned decimal number below 2^32 at p (no sign, no blanks); advances p.
inline bool ReadUnsigned(const char*& p, uint32_t* value) {
    if (*p < '0' || *p > '9') return false;
    errno = 0;
    char* end = nullptr;
    unsigned long long v = std::strtoull(p, &end, 10);
    if (errno || v > 0xFFFFFFFFull) return false;
    *value = uint32_t(v);
    p = end;
    return true;
}
}  // namespace detail

// A whole number below 2^32 ("Luneth.Random").
inline bool ParseUnsigned(const char* text, uint32_t* value) {
    const char* p = text;
    return p && detail::ReadUnsigned(p, value) && *p == '\0';
}

inline std::string FormatSize(uint32_t width, uint32_t height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

inline bool ParseSize(const char* text, uint32_t* width, uint32_t* height) {
    const char* p = text;
    return p && detail::ReadUnsigned(p, width) && (*p == 'x' || *p == 'X') &&
           detail::ReadUnsigned(++p, height) && *p == '\0';
}

inline std::string FormatRect(const uint32_t rect[4]) {
    return std::to_string(rect[0]) + "," + std::to_string(rect[1]) + "," + std::to_string(rect[2]) +
           "," + std::to_string(rect[3]);
}

inline bool ParseRect(const char* text, uint32_t rect[4]) {
    const char* p = text;
    if (!p) return false;
    for (int i = 0; i < 4; ++i) {
        if (!detail::ReadUnsigned(p, &rect[i])) return false;
        if (*p != (i < 3 ? ',' : '\0')) return false;
        p += i < 3;
    }
    return true;
}

inline std::string FormatValues(const NamedValues& values) {
    std::string text;
    for (const auto& [name, value] : values) {
        char number[32];
        std::snprintf(number, sizeof number, "%.9g", double(value));
        text += (text.empty() ? "" : " ") + name + "=" + number;
    }
    return text;
}

inline bool ParseValues(const char* text, NamedValues* values) {
    std::string all = text ? text : "";
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find(' ', start);
        if (end == std::string::npos) end = all.size();
        std::string item = all.substr(start, end - start);
        size_t eq = item.find('=');
        if (eq == 0 || eq == std::string::npos) return false;
        char* stop = nullptr;
        float v = std::strtof(item.c_str() + eq + 1, &stop);
        if (stop == item.c_str() + eq + 1 || *stop || !std::isfinite(v)) return false;
        values->emplace_back(item.substr(0, eq), v);
        start = end + 1;
    }
    return true;
}

inline bool IsUtf8Text(const std::string& s) {
    const auto byte = [&s](size_t i) { return static_cast<unsigned char>(s[i]); };
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = byte(i);
        if (c == 0) return false;
        if (c < 0x80) {
            ++i;
            continue;
        }
        // The sequence's length and the range of its second byte (no overlong forms, no
        // surrogates, nothing above U+10FFFF).
        size_t length = c >= 0xC2 && c <= 0xDF   ? 2
                        : c >= 0xE0 && c <= 0xEF ? 3
                        : c >= 0xF0 && c <= 0xF4 ? 4
                                                 : 0;
        unsigned char low = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
        unsigned char high = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
        if (length == 0 || i + length > s.size() || byte(i + 1) < low || byte(i + 1) > high)
            return false;
        for (size_t k = 2; k < length; ++k)
            if ((byte(i + k) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

inline constexpr char kBase64Digits[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

inline std::string Base64Encode(const std::string& bytes) {
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t n = uint32_t(uint8_t(bytes[i])) << 16;
        if (i + 1 < bytes.size()) n |= uint32_t(uint8_t(bytes[i + 1])) << 8;
        if (i + 2 < bytes.size()) n |= uint8_t(bytes[i + 2]);
        for (int k = 0; k < 4; ++k)
            out += i + size_t(k) <= bytes.size() ? kBase64Digits[(n >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}

// False for text that is not base64 (whole groups of four, '=' only at the end).
inline bool Base64Decode(const std::string& text, std::string* bytes) {
    if (text.size() % 4) return false;
    bytes->clear();
    for (size_t i = 0; i < text.size(); i += 4) {
        uint32_t n = 0;
        int pad = 0;
        for (int k = 0; k < 4; ++k) {
            char c = text[i + size_t(k)];
            const char* at = c ? std::char_traits<char>::find(kBase64Digits, 64, c) : nullptr;
            if (c == '=' && i + 4 == text.size() && k >= 2) {
                ++pad;
            } else if (!at || pad) {
                return false;
            }
            n = n << 6 | uint32_t(at ? at - kBase64Digits : 0);
        }
        for (int k = 0; k < 3 - pad; ++k) *bytes += char(n >> (16 - 8 * k));
    }
    return true;
}

}  // namespace luneth
