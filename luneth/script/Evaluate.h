// Expression evaluation: ParseExpression on script values and EvaluateScalar on plain floats.
//
// Grammar, read in one pass with an operand stack and an operator stack:
//
//   expression := [sign] operand { operator operand }        '#' ends the text (a comment)
//   operator   := '=' '<' '>' (1)  '+' '-' (2)  '*' '/' '%' (3)  '^' (4)  '&' '|' (5)
//   operand    := bracket-group | exponent-literal | [-] number-or-constant (after = < > only)
//               | letter | function-call | user-variable
//
// Equal precedence groups to the left (2 ^ 3 ^ 2 = 64); the leading sign binds tightest
// (-x ^ 2 = (-x)^2). Brackets () [] {} are interchangeable but close with their own kind.
//
// ExtractArgument copies the text of one bracketed argument (at most 255 characters, 32 levels):
// in "last" mode up to the matching close of the outermost bracket, in "more" mode up to a
// comma at depth 1. The strict twin used by directive lists refuses any comma in "last" mode.
#pragma once

#include <cstddef>

#include "script/FunctionRecord.h"
#include "script/ScriptValue.h"

namespace luneth {

class CMathScript;

constexpr size_t kArgumentCapacity = 256;  // 255 characters and a NUL
constexpr int kMaxBracketDepth = 32;

enum class ArgumentMode { Last, More };

// p points just after an opening bracket of bracketKind (0 '(', 1 '[', 2 '{').
bool ExtractArgument(const char*& p, int bracketKind, ArgumentMode mode,
                     char argument[kArgumentCapacity]);
bool ExtractArgumentStrict(const char*& p, int bracketKind, ArgumentMode mode,
                           char argument[kArgumentCapacity]);

// Evaluates text into target; target is written only on success. (Compiles the text and runs
// it once; a script's lines keep their compiled form, see Program.h.)
bool ParseExpression(CMathScript* script, const char* text, ScriptValue* target);

// Evaluates text on floats: a letter reads letters[0 .. 25] (the scalars last assigned to the
// letters; 0 when letters is null), user variables are not visible, calls accept kinds 1/5,
// 2/6, 7, 8 and 9.
bool EvaluateScalar(const float* letters, const char* text, float* value);

// Reads a bracketed list of scalar expressions "(e1, e2, ...)" at p with the strict extractor:
// between minCount and maxCount values. Leaves p after the closing bracket.
bool ReadScalarList(const float* letters, const char*& p, float* values, int minCount, int maxCount,
                    int* count);

// Element-wise application with broadcasting (n = the largest count; shorter arrays read 0).
bool ApplyUnary(Float1Fn f, const ScriptValue& x, ScriptValue* out);
bool ApplyBinary(Float2Fn f, const ScriptValue& a, const ScriptValue& b, ScriptValue* out);
bool ApplyTernary(Float3Fn f, const ScriptValue& a, const ScriptValue& b, const ScriptValue& c,
                  ScriptValue* out);
bool ApplyQuaternary(Float4Fn f, const ScriptValue& a, const ScriptValue& b, const ScriptValue& c,
                     const ScriptValue& d, ScriptValue* out);
bool ApplyVariadic(VariadicFn f, const ScriptValue* args, int count, ScriptValue* out);

// Applies binary operator `op` (a record of the operator table) with the result in `left`'s
// place, as the operand stack does.
bool ApplyOperatorInPlace(const FunctionRecord* op, ScriptValue& left, const ScriptValue& right);

}  // namespace luneth
