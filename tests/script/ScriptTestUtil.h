// Helpers for script-engine tests: run text, read values, evaluate single expressions.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "script/Evaluate.h"
#include "script/MathScript.h"

namespace luneth::test {

inline bool RunText(CMathScript& script, const std::string& text) {
    return script.LoadText(text.data(), text.size());
}

inline std::vector<float> Elements(const ScriptValue& v) {
    return v.data ? std::vector<float>(v.data, v.data + v.count) : std::vector<float>{};
}

// Evaluates `expression` with a vertex count of `count` (scalars unless arrays are assigned in
// `setup`, lines separated by ';'); nullopt when the expression fails.
inline std::optional<ScriptValue> Evaluate(const std::string& expression,
                                           const std::string& setup = "",
                                           unsigned count = 1) {
    static CMathScript script;
    std::string text = "vertices = " + std::to_string(count) + ";" + setup;
    RunText(script, text);
    ScriptValue out;
    if (!ParseExpression(&script, expression.c_str(), &out)) return std::nullopt;
    return out;
}

// Evaluates `expression` on floats with the letters of `script`.
inline std::optional<float> EvaluateScalarText(const CMathScript& script,
                                               const std::string& expression) {
    float v = 0.0f;
    if (!EvaluateScalar(script.LetterScalars(), expression.c_str(), &v)) return std::nullopt;
    return v;
}

// Same shape, same bits (NaN patterns included), same valid flag.
inline bool SameBits(const ScriptValue& a, const ScriptValue& b) {
    if (a.valid != b.valid || (a.data == nullptr) != (b.data == nullptr)) return false;
    if (!a.data) return std::memcmp(&a.scalar, &b.scalar, sizeof(float)) == 0;
    return a.count == b.count && std::memcmp(a.data, b.data, a.count * sizeof(float)) == 0;
}

inline bool Contains(const char* haystack, const std::string& needle) {
    return std::strstr(haystack, needle.c_str()) != nullptr;
}

}  // namespace luneth::test
