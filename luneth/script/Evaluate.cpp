#include "script/Evaluate.h"

#include <cstring>

#include "script/FunctionRegistry.h"
#include "script/Lexer.h"
#include "script/MathScript.h"

namespace luneth {

// ---------------------------------------------------------------------------------------------
// Argument extraction
// ---------------------------------------------------------------------------------------------

namespace {

bool Extract(const char*& position, int bracketKind, ArgumentMode mode, bool strict,
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

}  // namespace

bool ExtractArgument(const char*& p, int bracketKind, ArgumentMode mode,
                     char argument[kArgumentCapacity]) {
    return Extract(p, bracketKind, mode, false, argument);
}

bool ExtractArgumentStrict(const char*& p, int bracketKind, ArgumentMode mode,
                           char argument[kArgumentCapacity]) {
    return Extract(p, bracketKind, mode, true, argument);
}

namespace {

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
        if (Extract(p, bracketKind, ArgumentMode::More, strict, argument)) {
            if (!eval(argument, n++)) return false;
            continue;
        }
        p = save;
        if (!Extract(p, bracketKind, ArgumentMode::Last, strict, argument)) return false;
        if (!eval(argument, n++)) return false;
        *count = n;
        return true;
    }
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

// ---------------------------------------------------------------------------------------------
// The operator-precedence machine shared by both evaluators
// ---------------------------------------------------------------------------------------------

bool EvaluateTemporary(CMathScript* script, const char* text, ScriptValue* value);

// Operand readers shared by both evaluators.
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

constexpr int kValueStackSize = 9;
constexpr int kOperatorStackSize = 8;

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

// ---- on script values ----

class ValueMachine {
public:
    using Value = ScriptValue;
    // A temporary target (a bracket group or a function argument) may receive a read-only view
    // of a variable instead of a copy: variables change only when a whole line has been
    // evaluated, after every temporary is gone.
    ValueMachine(CMathScript* script, const char* text, bool temporaryTarget)
        : script_(script), text_(text), temporaryTarget_(temporaryTarget) {}

    bool ReadOperand(const char*& p, const FunctionRecord* last, ScriptValue& v) {
        char argument[kArgumentCapacity];
        if (OpensGroup(p)) {
            return ExtractGroup(p, argument) && EvaluateTemporary(script_, argument, &v);
        }
        float number = 0.0f;
        if (ReadExponentLiteral(p, &number)) {
            v.SetScalar(number);
            return true;
        }
        bool negated = ReadComparisonSign(p, last);
        char word[kWordCapacity];
        if (!ReadWord(p, word)) return false;
        if (NumberOrConstant(word, &number)) {
            v.SetScalar(negated ? -number : number);
            return true;
        }
        if (negated || !script_) return false;
        int letter = LetterIndex(word);
        if (letter >= 0) {
            const ScriptValue* value = script_->Letter(word[0]);
            if (!value->valid)
                script_->Warn("[Warning] Line:%d the param '%c' may be not set value:%s",
                              script_->CurrentLine(), word[0], text_);
            v.MakeView(*value);
            return true;
        }
        if (const FunctionRecord* f = FindFunction(word)) return CallFunction(script_, p, *f, &v);
        if (UserVariable* u = script_->FindUserVariable(word)) {
            v.MakeView(u->value);
            return true;
        }
        return false;
    }

    bool Negate(ScriptValue& v) {
        if (!v.data) {
            v.scalar = -v.scalar;
            return true;
        }
        if (!v.MakeOwned()) return false;
        for (uint32_t i = 0; i < v.count; ++i) v.data[i] = -v.data[i];
        return true;
    }

    bool Apply(const FunctionRecord* op, ScriptValue& left, ScriptValue& right) {
        return ApplyOperatorInPlace(op, left, right);
    }

    void Discard(ScriptValue& v) { v.Clear(); }

    bool Store(ScriptValue& result, ScriptValue* target) {
        if (!result.data) {
            bool valid = result.valid;
            target->SetScalar(result.scalar);
            target->valid = valid;
            return true;
        }
        if (result.IsView() && temporaryTarget_) {
            *target = std::move(result);
            return true;
        }
        if (result.IsView()) {
            // Reading a variable as a whole (x = y): copy, unless it is the target itself.
            if (result.data != target->data) {
                bool wasScalar = !target->data;
                if (!target->CopyFrom(result)) return false;
                if (wasScalar) target->scalar = 0.0f;
            }
            target->valid = result.valid;
            return true;
        }
        // A freshly computed array: hand it over instead of copying. An array target keeps its
        // scalar field, a scalar target's becomes 0, as resizing would leave them.
        float keep = target->data ? target->scalar : 0.0f;
        bool valid = result.valid;
        *target = std::move(result);
        target->scalar = keep;
        target->valid = valid;
        return true;
    }

private:
    CMathScript* script_;
    const char* text_;
    bool temporaryTarget_;
};

// ---- on floats ----

bool CallScalarFunction(const char*& p, const FunctionRecord& f, float* out);

class ScalarMachine {
public:
    using Value = float;

    bool ReadOperand(const char*& p, const FunctionRecord* last, float& v) {
        char argument[kArgumentCapacity];
        if (OpensGroup(p)) return ExtractGroup(p, argument) && EvaluateScalar(argument, &v);
        if (ReadExponentLiteral(p, &v)) return true;
        bool negated = ReadComparisonSign(p, last);
        char word[kWordCapacity];
        if (!ReadWord(p, word)) return false;
        bool ok = true;
        int letter = LetterIndex(word);
        if (NumberOrConstant(word, &v)) {
        } else if (letter >= 0) {
            v = LetterTable[letter];
        } else if (const FunctionRecord* f = FindFunction(word)) {
            ok = CallScalarFunction(p, *f, &v);
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
};

bool CallScalarFunction(const char*& p, const FunctionRecord& f, float* out) {
    int bracket = OpenCall(p);
    if (bracket < 0) return false;
    float a[kMaxVariadicArguments] = {};
    auto eval = [&](const char* text, int i) { return EvaluateScalar(text, &a[i]); };
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
        default: return false;
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Public entry points
// ---------------------------------------------------------------------------------------------

bool ParseExpression(CMathScript* script, const char* text, ScriptValue* target) {
    ValueMachine machine(script, text, false);
    return RunPrecedence(machine, text, target);
}

namespace {
bool EvaluateTemporary(CMathScript* script, const char* text, ScriptValue* value) {
    ValueMachine machine(script, text, true);
    return RunPrecedence(machine, text, value);
}
}  // namespace

bool EvaluateScalar(const char* text, float* value) {
    ScalarMachine machine;
    return RunPrecedence(machine, text, value);
}

bool ReadScalarList(const char*& p, float* values, int minCount, int maxCount, int* count) {
    const char* q = p;
    int bracket = OpenCall(q);
    if (bracket < 0) return false;
    int n = 0;
    auto eval = [&](const char* text, int i) { return EvaluateScalar(text, &values[i]); };
    if (!ReadArgumentList(q, bracket, true, maxCount, &n, eval) || n < minCount) return false;
    *count = n;
    p = q;
    return true;
}

bool CallFunction(CMathScript* script, const char*& p, const FunctionRecord& f,
                  ScriptValue* out) {
    int bracket = OpenCall(p);
    if (bracket < 0) return false;
    ScriptValue args[kMaxVariadicArguments];
    auto eval = [&](const char* text, int i) { return EvaluateTemporary(script, text, &args[i]); };
    const FunctionSlots& s = f.slots;
    switch (f.kind) {
        case kKindUnaryOperator:
        case kKindFloat1:
            return s.float1 && ReadFixedArguments(p, bracket, 1, eval) &&
                   ApplyUnary(s.float1, args[0], out);
        case kKindBinaryOperator:
        case kKindFloat2:
            return s.float2 && ReadFixedArguments(p, bracket, 2, eval) &&
                   ApplyBinary(s.float2, args[0], args[1], out);
        case kKindFloat3:
            return s.float3 && ReadFixedArguments(p, bracket, 3, eval) &&
                   ApplyTernary(s.float3, args[0], args[1], args[2], out);
        case kKindFloat4:
            return s.float4 && ReadFixedArguments(p, bracket, 4, eval) &&
                   ApplyQuaternary(s.float4, args[0], args[1], args[2], args[3], out);
        case kKindVariadic: {
            int count = 0;
            return s.variadic &&
                   ReadArgumentList(p, bracket, false, kMaxVariadicArguments, &count, eval) &&
                   ApplyVariadic(s.variadic, args, count, out);
        }
        case kKindReduce:
            if (!s.reduce || !ReadFixedArguments(p, bracket, 1, eval)) return false;
            out->SetScalar(s.reduce(&args[0]));
            return true;
        case kKindTransform:
        case kKindElement: {
            char argument[kArgumentCapacity];
            int n = 0;
            if ((f.kind == kKindTransform ? !s.transform : !s.element) ||
                !ExtractArgument(p, bracket, ArgumentMode::More, argument) ||
                !EvaluateTemporary(script, argument, &args[0]) || !ReadInteger(p, &n) ||
                !CloseCall(p, bracket))
                return false;
            if (f.kind == kKindTransform) {
                ScriptValue result;
                s.transform(&args[0], &result, n);
                *out = std::move(result);
            } else {
                out->SetScalar(s.element(&args[0], n));
            }
            return true;
        }
        case kKindGenerate:
        case kKindGenerate2: {
            float v = 0.0f, w = 0.0f;
            bool two = f.kind == kKindGenerate2;
            if ((two ? !s.generate2 : !s.generate) || !ReadDecimalLiteral(p, &v)) return false;
            if (two) {
                p = SkipBlanks(p);
                if (*p != ',') return false;
                ++p;
                if (!ReadDecimalLiteral(p, &w)) return false;
            }
            if (!CloseCall(p, bracket)) return false;
            ScriptValue result;
            if (!result.SetCount(script ? script->ElementCount() : 0)) return false;
            if (two)
                s.generate2(&result, v, w);
            else
                s.generate(&result, v);
            *out = std::move(result);
            return true;
        }
        default: return false;
    }
}

}  // namespace luneth
