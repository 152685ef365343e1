#include "script/Lexer.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace luneth {

namespace {

constexpr char kDelimiters[] = " \t,:()[]{}<>+-*/%^=";

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Accumulates digits of the given base in wrapping 32-bit arithmetic.
bool ParseBase(const char* digits, int base, int* value) {
    uint32_t v = 0;
    for (const char* p = digits; *p; ++p) {
        int d = HexDigit(*p);
        if (d < 0 || d >= base) return false;
        v = v * static_cast<uint32_t>(base) + static_cast<uint32_t>(d);
    }
    *value = static_cast<int>(v);
    return true;
}

// Copies a run of digits with at most one '.', up to 63 characters. Returns the number of
// points seen, or -1 for a second point.
int CopyMantissa(const char*& p, char buffer[kWordCapacity]) {
    size_t n = 0;
    int points = 0;
    while (n < kWordCapacity - 1 && (IsDigit(*p) || *p == '.')) {
        if (*p == '.' && ++points > 1) return -1;
        buffer[n++] = *p++;
    }
    buffer[n] = '\0';
    return points;
}

// Blanks, an optional sign, then digits with exactly one '.' (at most 63 characters),
// converted by the standard text-to-double routine and rounded to float.
bool ReadSignedMantissa(const char*& p, bool* negative, float* value) {
    p = SkipBlanks(p);
    *negative = false;
    if (*p == '-' || *p == '+') *negative = (*p++ == '-');
    if (!IsDigit(*p)) return false;
    char mantissa[kWordCapacity];
    if (CopyMantissa(p, mantissa) != 1) return false;
    *value = static_cast<float>(std::strtod(mantissa, nullptr));
    return true;
}

}  // namespace

bool IsDelimiter(char c) { return c == '\0' || std::strchr(kDelimiters, c) != nullptr; }

bool EqualsNoCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (Lower(*a) != Lower(*b)) return false;
    return *a == *b;
}

bool StartsWithNoCase(const char* text, const char* prefix) {
    for (; *prefix; ++text, ++prefix)
        if (!*text || Lower(*text) != Lower(*prefix)) return false;
    return true;
}

bool ReadWord(const char*& p, char word[kWordCapacity]) {
    p = SkipBlanks(p);
    size_t n = 0;
    while (n < kWordCapacity - 1 && !IsDelimiter(*p)) word[n++] = *p++;
    word[n] = '\0';
    return n > 0;
}

bool ParseIntegerWord(const char* word, int* value) {
    if (!word || !word[0]) return false;
    if (word[0] != '0') {
        for (const char* p = word; *p; ++p)
            if (!IsDigit(*p)) return false;
        // Decimal words saturate like the standard text-to-integer routine.
        int64_t v = 0;
        for (const char* p = word; *p; ++p) {
            v = v * 10 + (*p - '0');
            if (v > INT32_MAX) {
                v = INT32_MAX;
                break;
            }
        }
        *value = static_cast<int>(v);
        return true;
    }
    if (word[1] == 'x' || word[1] == 'X') return ParseBase(word + 2, 16, value);
    if (word[1] == 'y' || word[1] == 'Y') return ParseBase(word + 2, 2, value);
    return ParseBase(word + 1, 8, value);
}

bool ParseDecimalWord(const char* word, float* value) {
    if (!word || !IsDigit(word[0])) return false;
    int points = 0;
    for (const char* p = word; *p; ++p) {
        if (*p == '.') {
            if (++points > 1) return false;
        } else if (!IsDigit(*p)) {
            return false;
        }
    }
    if (points != 1) return false;
    *value = static_cast<float>(std::strtod(word, nullptr));
    return true;
}

bool ReadExponentLiteral(const char*& position, float* value) {
    const char* p = position;
    bool negative = false;
    float v = 0.0f;
    if (!ReadSignedMantissa(p, &negative, &v)) return false;
    if (*p != 'e' && *p != 'E') return false;
    ++p;
    bool negativeExponent = false;
    if (*p == '+' || *p == '-') negativeExponent = (*p++ == '-');
    // The exponent saturates: past a few hundred steps the value is already 0 or infinite.
    int exponent = 0;
    while (!IsDelimiter(*p)) {
        if (!IsDigit(*p)) return false;
        if (exponent < 100000) exponent = exponent * 10 + (*p - '0');
        ++p;
    }
    for (int i = 0; i < exponent && v != 0.0f && v - v == 0.0f; ++i) {
        if (negativeExponent)
            v /= 10.0f;
        else
            v *= 10.0f;
    }
    *value = negative ? -v : v;
    position = p;
    return true;
}

bool ReadInteger(const char*& position, int* value) {
    const char* p = SkipBlanks(position);
    bool negative = false;
    if (*p == '-' || *p == '+') negative = (*p++ == '-');
    if (!IsDigit(*p)) return false;
    char word[kWordCapacity];
    size_t n = 0;
    while (n < kWordCapacity - 1 && !IsDelimiter(*p)) word[n++] = *p++;
    word[n] = '\0';
    int v = 0;
    if (!ParseIntegerWord(word, &v)) return false;
    *value = negative ? static_cast<int>(0u - static_cast<uint32_t>(v)) : v;
    position = p;
    return true;
}

bool ReadDecimalLiteral(const char*& position, float* value) {
    const char* p = position;
    bool negative = false;
    float v = 0.0f;
    if (!ReadSignedMantissa(p, &negative, &v)) return false;
    *value = negative ? -v : v;
    position = p;
    return true;
}

}  // namespace luneth
