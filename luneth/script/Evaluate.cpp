#include "script/Evaluate.h"

#include <cstring>

#include "script/MathScript.h"
#include "script/Program.h"
#include "script/Readers.h"

namespace luneth {

// ---------------------------------------------------------------------------------------------
// Argument extraction
// ---------------------------------------------------------------------------------------------

bool ExtractText(const char*& position, int bracketKind, ArgumentMode mode, bool strict,
                 char argument[kArgumentCapacity]) {
    int stack[kMaxBracketDepth];
    int depth = 0;
    stack[depth++] = bracketKind;
    const char* p = position;
    size_t n = 0;
    for (;; ++p) {
        char c = *p;
        if (c == '\0') return false;  // unclosed bracket
        int open = OpeningBracketKind(c);
        int close = ClosingBracketKind(c);
        if (open >= 0) {
            if (depth == kMaxBracketDepth) return false;
            stack[depth++] = open;
        } else if (close >= 0) {
            if (stack[--depth] != close) return false;
            if (depth == 0) {
                if (mode == ArgumentMode::More) return false;  // too few arguments
                break;
            }
        } else if (c == ',') {
            if (mode == ArgumentMode::Last && strict) return false;
            if (mode == ArgumentMode::More && depth == 1) break;
        }
        if (n == kArgumentCapacity - 1) return false;  // longer than 255 characters
        argument[n++] = c;
    }
    argument[n] = '\0';
    position = p + 1;
    return true;
}

bool ExtractArgument(const char*& p, int bracketKind, ArgumentMode mode,
                     char argument[kArgumentCapacity]) {
    return ExtractText(p, bracketKind, mode, false, argument);
}

bool ExtractArgumentStrict(const char*& p, int bracketKind, ArgumentMode mode,
                           char argument[kArgumentCapacity]) {
    return ExtractText(p, bracketKind, mode, true, argument);
}

// Steps over blanks and the opening bracket of a call; returns its kind or -1.
int OpenCall(const char*& p) {
    p = SkipBlanks(p);
    int kind = OpeningBracketKind(*p);
    if (kind >= 0) ++p;
    return kind;
}

bool CloseCall(const char*& p, int bracketKind) {
    p = SkipBlanks(p);
    if (ClosingBracketKind(*p) != bracketKind) return false;
    ++p;
    return true;
}

bool NumberOrConstant(const char* word, float* value) {
    int i = 0;
    if (IsDigit(word[0]) && ParseIntegerWord(word, &i)) {
        *value = static_cast<float>(i);
        return true;
    }
    if (ParseDecimalWord(word, value)) return true;
    return LookupConstant(word, value);
}

int LetterIndex(const char* word) {
    return (word[0] >= 'a' && word[0] <= 'z' && word[1] == '\0') ? word[0] - 'a' : -1;
}

const FunctionRecord* FindFunction(const char* word) {
    return GetFunctionRecord(LookupFunction(word));
}

bool OpensGroup(const char*& p) {
    p = SkipBlanks(p);
    return OpeningBracketKind(*p) >= 0;
}

// p at an opening bracket: the group's text up to its matching close.
bool ExtractGroup(const char*& p, char argument[kArgumentCapacity]) {
    int bracket = OpeningBracketKind(*p++);
    return ExtractArgument(p, bracket, ArgumentMode::Last, argument);
}

// After = < > a '-' before the operand negates it; nowhere else does a sign stand alone.
bool ReadComparisonSign(const char*& p, const FunctionRecord* last) {
    if (!last || OperatorPrecedence(last) != 1) return false;
    p = SkipBlanks(p);
    if (*p != '-') return false;
    ++p;
    return true;
}

namespace {

// Machine supplies: Value, ReadOperand(p, lastOperator, value&), Negate(value&),
// Apply(op, left&, right&), Store(value&, result*).
template <class Machine>
bool RunPrecedence(Machine& m, const char* text, typename Machine::Value* result) {
    if (!text || !*text) return false;
    const char* p = SkipBlanks(text);
    bool negate = false;
    if (*p == '+' || *p == '-') negate = (*p++ == '-');
    typename Machine::Value values[kValueStackSize];
    const FunctionRecord* ops[kOperatorStackSize];
    int nv = 0, nop = 0;
    const FunctionRecord* last = nullptr;
    auto reduce = [&]() {
        const FunctionRecord* op = ops[--nop];
        bool ok = m.Apply(op, values[nv - 2], values[nv - 1]);
        m.Discard(values[--nv]);
        return ok;
    };
    while (*p) {
        p = SkipBlanks(p);
        if (*p == '\0' || *p == '#') break;
        if (nv > nop) {
            const FunctionRecord* op = FindBinaryOperator(*p);
            if (!op) return false;
            ++p;
            last = op;
            while (nop > 0 && OperatorPrecedence(op) <= OperatorPrecedence(ops[nop - 1]))
                if (!reduce()) return false;
            if (nop == kOperatorStackSize) return false;
            ops[nop++] = op;
        } else {
            if (nv == kValueStackSize) return false;
            if (!m.ReadOperand(p, last, values[nv])) return false;
            if (++nv == 1 && negate && !m.Negate(values[0])) return false;
        }
    }
    if (nv != nop + 1) return false;
    while (nop > 0)
        if (!reduce()) return false;
    return m.Store(values[0], result);
}

// ---- on floats ----

bool CallScalarFunction(const float* letters, const char*& p, const FunctionRecord& f, float* out);

class ScalarMachine {
public:
    using Value = float;
    explicit ScalarMachine(const float* letters) : letters_(letters) {}

    bool ReadOperand(const char*& p, const FunctionRecord* last, float& v) {
        char argument[kArgumentCapacity];
        if (OpensGroup(p))
            return ExtractGroup(p, argument) && EvaluateScalar(letters_, argument, &v);
        if (ReadExponentLiteral(p, &v)) return true;
        bool negated = ReadComparisonSign(p, last);
        char word[kWordCapacity];
        if (!ReadWord(p, word)) return false;
        bool ok = true;
        int letter = LetterIndex(word);
        if (NumberOrConstant(word, &v)) {
        } else if (letter >= 0) {
            v = letters_ ? letters_[letter] : 0.0f;
        } else if (const FunctionRecord* f = FindFunction(word)) {
            ok = CallScalarFunction(letters_, p, *f, &v);
        } else {
            ok = false;
        }
        if (ok && negated) v = -v;
        return ok;
    }
    bool Negate(float& v) {
        v = -v;
        return true;
    }
    bool Apply(const FunctionRecord* op, float& left, float& right) {
        left = op->slots.float2(left, right);
        return true;
    }
    void Discard(float&) {}
    bool Store(float& result, float* target) {
        *target = result;
        return true;
    }

private:
    const float* letters_;
};

bool CallScalarFunction(const float* letters, const char*& p, const FunctionRecord& f, float* out) {
    int bracket = OpenCall(p);
    if (bracket < 0) return false;
    float a[kMaxVariadicArguments] = {};
    auto eval = [&](const char* text, int i) { return EvaluateScalar(letters, text, &a[i]); };
    switch (f.kind) {
        case kKindUnaryOperator:
        case kKindFloat1:
            if (!f.slots.float1 || !ReadFixedArguments(p, bracket, 1, eval)) return false;
            *out = f.slots.float1(a[0]);
            return true;
        case kKindBinaryOperator:
        case kKindFloat2:
            if (!f.slots.float2 || !ReadFixedArguments(p, bracket, 2, eval)) return false;
            *out = f.slots.float2(a[0], a[1]);
            return true;
        case kKindFloat3:
            if (!f.slots.float3 || !ReadFixedArguments(p, bracket, 3, eval)) return false;
            *out = f.slots.float3(a[0], a[1], a[2]);
            return true;
        case kKindFloat4:
            if (!f.slots.float4 || !ReadFixedArguments(p, bracket, 4, eval)) return false;
            *out = f.slots.float4(a[0], a[1], a[2], a[3]);
            return true;
        case kKindVariadic: {
            int count = 0;
            if (!f.slots.variadic ||
                !ReadArgumentList(p, bracket, false, kMaxVariadicArguments, &count, eval))
                return false;
            *out = f.slots.variadic(a, count);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Public entry points
// ---------------------------------------------------------------------------------------------

bool ParseExpression(CMathScript* script, const char* text, ScriptValue* target) {
    CompiledExpression program;
    program.Compile(script, text);
    return program.Run(script, target);
}

bool EvaluateScalar(const float* letters, const char* text, float* value) {
    ScalarMachine machine(letters);
    return RunPrecedence(machine, text, value);
}

bool ReadScalarList(const float* letters, const char*& p, float* values, int minCount, int maxCount,
                    int* count) {
    const char* q = p;
    int bracket = OpenCall(q);
    if (bracket < 0) return false;
    int n = 0;
    auto eval = [&](const char* text, int i) { return EvaluateScalar(letters, text, &values[i]); };
    if (!ReadArgumentList(q, bracket, true, maxCount, &n, eval) || n < minCount) return false;
    *count = n;
    p = q;
    return true;
}

}  // namespace luneth
