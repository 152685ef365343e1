// Readers shared by the expression compiler and the scalar evaluator (internal to the script
// engine): argument extraction, call brackets, operands.
#pragma once

#include "script/Evaluate.h"
#include "script/FunctionRegistry.h"
#include "script/Lexer.h"

namespace luneth {

// Values and operators that one expression may hold waiting at a time.
constexpr int kValueStackSize = 9;
constexpr int kOperatorStackSize = 8;

// ExtractArgument (strict = false) and ExtractArgumentStrict (strict = true) in one.
bool ExtractText(const char*& position, int bracketKind, ArgumentMode mode, bool strict,
                 char argument[kArgumentCapacity]);

// Steps over blanks and the opening bracket of a call; returns its kind or -1.
int OpenCall(const char*& p);
// Steps over blanks and the closing bracket of kind bracketKind; false when another follows.
bool CloseCall(const char*& p, int bracketKind);
// An integer word, a decimal word or a named constant.
bool NumberOrConstant(const char* word, float* value);
// 0 .. 25 for a one-letter lower-case word, else -1.
int LetterIndex(const char* word);
const FunctionRecord* FindFunction(const char* word);
// Steps over blanks; true when an opening bracket follows.
bool OpensGroup(const char*& p);
// p at an opening bracket: the group's text up to its matching close.
bool ExtractGroup(const char*& p, char argument[kArgumentCapacity]);
// After = < > a '-' before the operand negates it; nowhere else does a sign stand alone.
bool ReadComparisonSign(const char*& p, const FunctionRecord* last);

// Reads `count` arguments: all but the last in "more" mode, the last in "last" mode; each is
// handed to eval(text, index).
template <class Eval>
bool ReadFixedArguments(const char*& p, int bracketKind, int count, Eval eval) {
    char argument[kArgumentCapacity];
    for (int i = 0; i < count; ++i) {
        ArgumentMode mode = i + 1 < count ? ArgumentMode::More : ArgumentMode::Last;
        if (!ExtractArgument(p, bracketKind, mode, argument)) return false;
        if (!eval(argument, i)) return false;
    }
    return true;
}

// Reads 1..maxCount arguments: "more" mode until one fails, then that one again in "last" mode.
template <class Eval>
bool ReadArgumentList(const char*& p, int bracketKind, bool strict, int maxCount, int* count,
                      Eval eval) {
    char argument[kArgumentCapacity];
    int n = 0;
    for (;;) {
        if (n == maxCount) return false;
        const char* save = p;
        if (ExtractText(p, bracketKind, ArgumentMode::More, strict, argument)) {
            if (!eval(argument, n++)) return false;
            continue;
        }
        p = save;
        if (!ExtractText(p, bracketKind, ArgumentMode::Last, strict, argument)) return false;
        if (!eval(argument, n++)) return false;
        *count = n;
        return true;
    }
}

}  // namespace luneth
