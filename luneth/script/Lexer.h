// Lexical readers shared by the line grammar, the expression parser and the call parsers.
//
// Every reader takes the text and a position (a pointer into it) and advances the position as
// described; `word` buffers hold kWordCapacity bytes (63 characters and a NUL).
//
//   ReadWord            skip blanks, copy up to 63 characters until a delimiter
//   ParseIntegerWord    "123", "0x1F", "0y101" (binary), "017" (octal); "08" fails
//   ParseDecimalWord    digits with exactly one '.', first character a digit: "2.", "2.5"
//   ReadExponentLiteral [+-]digits.digits(e|E)[+-]digits: "1.5e3", "-2.0E-2", "+1.e1"; not "1e3"
//   ReadInteger         [+-] then an integer word (directives, loop counts)
//   ReadDecimalLiteral  [+-] then digits with exactly one '.' (array generator arguments)
//
// Delimiters end a word: NUL, blank, TAB and , : ( ) [ ] { } < > + - * / % ^ =
// Everything else (including . & | # ! _) belongs to words, so `a&b` is one word.
#pragma once

#include <cstddef>

namespace luneth {

constexpr size_t kWordCapacity = 64;

bool IsDelimiter(char c);
inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }
inline const char* SkipBlanks(const char* p) {
    while (IsBlank(*p)) ++p;
    return p;
}
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Compares a and b without regard to ASCII case.
bool EqualsNoCase(const char* a, const char* b);
// True when the first strlen(prefix) characters of text equal prefix without regard to case.
bool StartsWithNoCase(const char* text, const char* prefix);

bool ReadWord(const char*& p, char word[kWordCapacity]);
bool ParseIntegerWord(const char* word, int* value);
bool ParseDecimalWord(const char* word, float* value);
bool ReadExponentLiteral(const char*& p, float* value);
bool ReadInteger(const char*& p, int* value);
bool ReadDecimalLiteral(const char*& p, float* value);

}  // namespace luneth
