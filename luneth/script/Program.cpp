// Compiling expressions into steps, and running them (see Program.h).
//
// Index: the compiler (one routine per grammar rule, each the mirror of what the evaluator
// reads), failure reasons, the step-by-step runner, the tiled runner, name suggestions.
#include "script/Program.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "common/FloatConstants.h"
#include "common/Parallel.h"
#include "script/MathScript.h"
#include "script/Readers.h"
#include "script/TileKernels.h"

namespace luneth {

// =============================================================================================
// The compiler
// =============================================================================================

class ExpressionCompiler {
public:
    ExpressionCompiler(const CMathScript* script, CompiledExpression& out)
        : script_(script), out_(out) {}

    // expression := [sign] operand { operator operand }
    // `text` lies `base` bytes into the top text; a temporary expression (a group or an
    // argument) ends with kEndGroup. False once a failure step has been written.
    bool Expression(const char* text, uint32_t base, bool temporary) {
        if (!text || !*text) return Fail(base, "expected an expression");
        Frame frame{text, base, -1};
        const char* p = SkipBlanks(text);
        bool negate = false;
        if (*p == '+' || *p == '-') negate = (*p++ == '-');
        const FunctionRecord* ops[kOperatorStackSize];
        int nv = 0, nop = 0;
        const FunctionRecord* last = nullptr;
        auto reduce = [&] {
            Emit(StepCode::kOperator).record = ops[--nop];
            Pop(1);
            --nv;
        };
        while (*p) {
            p = SkipBlanks(p);
            if (*p == '\0' || *p == '#') break;
            if (nv > nop) {
                const FunctionRecord* op = FindBinaryOperator(*p);
                if (!op) return Fail(frame, p, UnexpectedCharacter(*p, "an operator"));
                ++p;
                last = op;
                while (nop > 0 && OperatorPrecedence(op) <= OperatorPrecedence(ops[nop - 1]))
                    reduce();
                if (nop == kOperatorStackSize)
                    return Fail(frame, p - 1, "too many operators wait here; add brackets");
                ops[nop++] = op;
            } else {
                if (nv == kValueStackSize)
                    return Fail(frame, p, "too many operands wait here; add brackets");
                if (!Operand(frame, p, last)) return false;
                if (++nv == 1 && negate) Emit(StepCode::kNegate);
            }
        }
        if (nv != nop + 1)
            return Fail(frame, p, nv == 0 ? "expected an expression" : "expected an operand");
        while (nop > 0) reduce();
        if (temporary) Emit(StepCode::kEndGroup);
        return true;
    }

private:
    // The text an expression reads, where it lies in the top text, and its warning text.
    struct Frame {
        const char* text;
        uint32_t base;
        int warningText;
    };

    uint32_t Offset(const Frame& f, const char* at) const {
        return f.base + static_cast<uint32_t>(at - f.text);
    }

    Step& Emit(StepCode code) {
        out_.steps_.push_back(Step{});
        Step& s = out_.steps_.back();
        s.code = code;
        if (code == StepCode::kConstant || code == StepCode::kLetter ||
            code == StepCode::kUserVariable || code == StepCode::kGenerate)
            Push();
        return s;
    }
    void Push() { out_.maxDepth_ = std::max(out_.maxDepth_, ++depth_); }
    void Pop(int n) { depth_ -= n; }

    bool Fail(uint32_t offset, std::string message) {
        Emit(StepCode::kFail);
        out_.error_ = {offset, std::move(message)};
        return false;
    }
    bool Fail(const Frame& f, const char* at, std::string message) {
        return Fail(Offset(f, at), std::move(message));
    }

    // operand := group | exponent-literal | [-] number-or-constant | letter | call | variable
    bool Operand(Frame& f, const char*& p, const FunctionRecord* last) {
        char argument[kArgumentCapacity];
        if (OpensGroup(p)) {
            const char* open = p;
            if (!ExtractGroup(p, argument))
                return Fail(f, open, ExtractFailure(open + 1, OpeningBracketKind(*open)));
            return Expression(argument, Offset(f, open + 1), true);
        }
        float number = 0.0f;
        if (ReadExponentLiteral(p, &number)) {
            Emit(StepCode::kConstant).number = number;
            return true;
        }
        bool negated = ReadComparisonSign(p, last);
        const char* wordStart = SkipBlanks(p);
        char word[kWordCapacity];
        if (!ReadWord(p, word))
            return Fail(f, wordStart,
                        *wordStart ? UnexpectedCharacter(*wordStart, "an operand")
                                   : std::string("expected an operand"));
        if (NumberOrConstant(word, &number)) {
            Emit(StepCode::kConstant).number = negated ? -number : number;
            return true;
        }
        if (negated)
            return Fail(f, wordStart, "only a number or a constant may follow the sign here");
        if (!script_) return Fail(f, wordStart, "'" + std::string(word) + "' needs a script");
        if (int letter = LetterIndex(word); letter >= 0) {
            if (f.warningText < 0) {
                f.warningText = static_cast<int>(out_.texts_.size());
                out_.texts_.emplace_back(f.text);
            }
            Step& s = Emit(StepCode::kLetter);
            s.index = letter;
            s.index2 = f.warningText;
            return true;
        }
        if (const FunctionRecord* fn = FindFunction(word)) return Call(f, p, *fn);
        if (int slot = script_->UserVariableIndex(word); slot >= 0) {
            Emit(StepCode::kUserVariable).index = slot;
            return true;
        }
        const bool called = OpeningBracketKind(*SkipBlanks(p)) >= 0;
        return Fail(f, wordStart, UnknownName(word, called));
    }

    // call := name bracket arguments close, the arguments by the function's kind
    bool Call(Frame& f, const char*& p, const FunctionRecord& fn) {
        const char* afterName = p;
        int bracket = OpenCall(p);
        if (bracket < 0)
            return Fail(f, SkipBlanks(afterName), "expected '(' after '" + Name(fn) + "'");
        const FunctionSlots& s = fn.slots;
        auto callable = [&](bool present) {
            return present || Fail(f, p, "'" + Name(fn) + "' cannot be called");
        };
        switch (fn.kind) {
            case kKindUnaryOperator:
            case kKindFloat1:
                return callable(s.float1) && Fixed(f, p, bracket, fn, 1);
            case kKindBinaryOperator:
            case kKindFloat2:
                return callable(s.float2) && Fixed(f, p, bracket, fn, 2);
            case kKindFloat3:
                return callable(s.float3) && Fixed(f, p, bracket, fn, 3);
            case kKindFloat4:
                return callable(s.float4) && Fixed(f, p, bracket, fn, 4);
            case kKindReduce:
                return callable(s.reduce) && Fixed(f, p, bracket, fn, 1);
            case kKindVariadic:
                return callable(s.variadic) && List(f, p, bracket, fn);
            case kKindTransform:
            case kKindElement: {
                if (fn.kind == kKindTransform ? !s.transform : !s.element)
                    return Fail(f, p, "'" + Name(fn) + "' cannot be called");
                char argument[kArgumentCapacity];
                const char* start = p;
                if (!ExtractArgument(p, bracket, ArgumentMode::More, argument))
                    return Fail(f, start,
                                ExtractFailure(start, bracket, ArgumentMode::More) + " in '" +
                                    Name(fn) + "' (it takes an array and a whole number)");
                if (!Expression(argument, Offset(f, start), true)) return false;
                int n = 0;
                const char* integerAt = SkipBlanks(p);
                if (!ReadInteger(p, &n))
                    return Fail(
                        f, integerAt,
                        "expected a whole number as the second argument of '" + Name(fn) + "'");
                if (!CloseCall(p, bracket)) return Fail(f, p, ExpectedClose(bracket));
                Step& step = Emit(StepCode::kCallInteger);
                step.record = &fn;
                step.index = n;
                return true;
            }
            case kKindGenerate:
            case kKindGenerate2: {
                bool two = fn.kind == kKindGenerate2;
                if (two ? !s.generate2 : !s.generate)
                    return Fail(f, p, "'" + Name(fn) + "' cannot be called");
                float v = 0.0f, w = 0.0f;
                auto decimal = [&] {
                    return "expected a decimal number such as 1.0 in '" + Name(fn) + "'";
                };
                if (!ReadDecimalLiteral(p, &v)) return Fail(f, SkipBlanks(p), decimal());
                if (two) {
                    p = SkipBlanks(p);
                    if (*p != ',') return Fail(f, p, UnexpectedCharacter(*p, "','"));
                    ++p;
                    if (!ReadDecimalLiteral(p, &w)) return Fail(f, SkipBlanks(p), decimal());
                }
                if (!CloseCall(p, bracket)) return Fail(f, p, ExpectedClose(bracket));
                Step& step = Emit(StepCode::kGenerate);
                step.record = &fn;
                step.number = v;
                step.number2 = w;
                return true;
            }
            default:
                return Fail(f, p, "'" + Name(fn) + "' cannot be called");
        }
    }

    // Exactly `count` arguments: all but the last up to a comma, the last up to the close.
    bool Fixed(Frame& f, const char*& p, int bracket, const FunctionRecord& fn, int count) {
        char argument[kArgumentCapacity];
        for (int i = 0; i < count; ++i) {
            ArgumentMode mode = i + 1 < count ? ArgumentMode::More : ArgumentMode::Last;
            const char* start = p;
            if (!ExtractArgument(p, bracket, mode, argument)) {
                std::string why = ExtractFailure(start, bracket, mode);
                if (why == kTooFew) why = TakesArguments(fn, std::to_string(count));
                return Fail(f, start, why);
            }
            if (!Argument(f, start, argument, mode, fn, std::to_string(count))) return false;
        }
        Step& step = Emit(StepCode::kCall);
        step.record = &fn;
        step.index = count;
        Pop(count - 1);
        return true;
    }

    // 1 .. 24 arguments: up to commas while there are commas, then the last up to the close.
    bool List(Frame& f, const char*& p, int bracket, const FunctionRecord& fn) {
        char argument[kArgumentCapacity];
        int n = 0;
        for (;;) {
            if (n == kMaxVariadicArguments) return Fail(f, p, TakesArguments(fn, "at most 24"));
            const char* start = p;
            if (ExtractText(p, bracket, ArgumentMode::More, false, argument)) {
                if (!Argument(f, start, argument, ArgumentMode::More, fn, "")) return false;
                ++n;
                continue;
            }
            p = start;
            if (!ExtractText(p, bracket, ArgumentMode::Last, false, argument))
                return Fail(f, start, ExtractFailure(start, bracket, ArgumentMode::Last));
            if (!Argument(f, start, argument, ArgumentMode::Last, fn, "")) return false;
            ++n;
            break;
        }
        Step& step = Emit(StepCode::kCall);
        step.record = &fn;
        step.index = n;
        Pop(n - 1);
        return true;
    }

    // One argument's expression. A last argument that stops at a comma of its own had one
    // argument too many: say so rather than "expected an operator".
    bool Argument(Frame& f, const char* start, const char* argument, ArgumentMode mode,
                  const FunctionRecord& fn, const std::string& count) {
        const uint32_t base = Offset(f, start);
        if (Expression(argument, base, true)) return true;
        CompileError& e = out_.error_;
        if (mode == ArgumentMode::Last && !count.empty() && e.offset >= base &&
            e.offset - base < std::strlen(argument) && argument[e.offset - base] == ',' &&
            AtTopLevel(argument, e.offset - base))
            e.message = TakesArguments(fn, count);
        return false;
    }

    static bool AtTopLevel(const char* text, size_t at) {
        int depth = 0;
        for (size_t i = 0; i < at; ++i) {
            if (OpeningBracketKind(text[i]) >= 0) ++depth;
            if (ClosingBracketKind(text[i]) >= 0) --depth;
        }
        return depth == 0;
    }

    // ---- failure reasons ----

    static constexpr const char* kTooFew = "too few arguments";

    static std::string Name(const FunctionRecord& fn) { return fn.name; }

    static std::string TakesArguments(const FunctionRecord& fn, const std::string& count) {
        return "'" + Name(fn) + "' takes " + count + (count == "1" ? " argument" : " arguments");
    }

    static std::string Quoted(char c) {
        if (c == '\0') return "the end of the line";
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            char code[16];
            std::snprintf(code, sizeof code, "byte 0x%02X", static_cast<unsigned char>(c));
            return code;
        }
        return std::string("'") + c + "'";
    }

    static std::string UnexpectedCharacter(char c, const char* expected) {
        return std::string("expected ") + expected + ", found " + Quoted(c);
    }

    static std::string ExpectedClose(int bracket) {
        static constexpr char kClose[] = ")]}";
        return std::string("expected '") + kClose[bracket] + "'";
    }

    // Why extraction from p (just inside a bracket of kind `bracket`) fails; the same scan
    // as the extractor, naming the first problem it meets.
    static std::string ExtractFailure(const char* p, int bracket,
                                      ArgumentMode mode = ArgumentMode::Last) {
        static constexpr char kOpen[] = "([{";
        static constexpr char kClose[] = ")]}";
        int stack[kMaxBracketDepth];
        int depth = 0;
        stack[depth++] = bracket;
        size_t n = 0;
        for (;; ++p) {
            char c = *p;
            if (c == '\0') return std::string("'") + kOpen[stack[depth - 1]] + "' is never closed";
            int open = OpeningBracketKind(c), close = ClosingBracketKind(c);
            if (open >= 0) {
                if (depth == kMaxBracketDepth) return "brackets nest deeper than 32 levels";
                stack[depth++] = open;
            } else if (close >= 0) {
                int expected = stack[--depth];
                if (expected != close)
                    return std::string("'") + kOpen[expected] + "' is closed by '" + kClose[close] +
                           "'";
                if (depth == 0) {
                    if (mode == ArgumentMode::More) return kTooFew;
                    break;
                }
            } else if (c == ',' && mode == ArgumentMode::More && depth == 1) {
                break;
            }
            if (n++ == kArgumentCapacity - 1)
                return "a bracket holds more than 255 characters; split the expression";
        }
        return "cannot read the bracket";
    }

    std::string UnknownName(const char* word, bool called) const {
        std::string message =
            std::string(called ? "unknown function '" : "unknown name '") + word + "'";
        std::vector<std::string> near = NearestNames(script_, word, called);
        for (size_t i = 0; i < near.size(); ++i)
            message += (i == 0 ? "; did you mean '" : ", '") + near[i] + "'";
        if (!near.empty()) message += "?";
        return message;
    }

    const CMathScript* script_;
    CompiledExpression& out_;
    int depth_ = 0;
};

bool CompiledExpression::Compile(const CMathScript* script, const char* text) {
    steps_.clear();
    texts_.clear();
    error_ = {};
    maxDepth_ = 0;
    ExpressionCompiler compiler(script, *this);
    complete_ = compiler.Expression(text, 0, false);
    elementwise_ = complete_ && std::all_of(steps_.begin(), steps_.end(), [](const Step& s) {
                       switch (s.code) {
                           case StepCode::kConstant:
                           case StepCode::kLetter:
                           case StepCode::kUserVariable:
                           case StepCode::kNegate:
                           case StepCode::kOperator:
                           case StepCode::kEndGroup:
                               return true;
                           case StepCode::kCall:
                               return s.record->kind != kKindReduce && !s.record->drawsRandom;
                           default:
                               return false;
                       }
                   });
    return complete_;
}

// =============================================================================================
// Running step by step
// =============================================================================================

namespace {

bool Negate(ScriptValue& v) {
    if (!v.data) {
        v.scalar = -v.scalar;
        return true;
    }
    if (!v.MakeOwned()) return false;
    for (uint32_t i = 0; i < v.count; ++i) v.data[i] = -v.data[i];
    return true;
}

// The end of a whole expression: the result goes into the assignment's target.
bool Store(ScriptValue& result, ScriptValue* target) {
    if (!result.data) {
        bool valid = result.valid;
        target->SetScalar(result.scalar);
        target->valid = valid;
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

// A call of kinds 1, 2, 5 .. 10 on args[0 .. count - 1].
bool CallValues(const FunctionRecord& f, ScriptValue* args, int count, ScriptValue* out) {
    const FunctionSlots& s = f.slots;
    switch (f.kind) {
        case kKindUnaryOperator:
        case kKindFloat1:
            return ApplyUnary(s.float1, args[0], out);
        case kKindBinaryOperator:
        case kKindFloat2:
            return ApplyBinary(s.float2, args[0], args[1], out);
        case kKindFloat3:
            return ApplyTernary(s.float3, args[0], args[1], args[2], out);
        case kKindFloat4:
            return ApplyQuaternary(s.float4, args[0], args[1], args[2], args[3], out);
        case kKindVariadic:
            return ApplyVariadic(s.variadic, args, count, out);
        case kKindReduce:
            out->SetScalar(s.reduce(&args[0]));
            return true;
        default:
            return false;
    }
}

}  // namespace

bool CompiledExpression::Run(CMathScript* script, ScriptValue* target) const {
    bool ran = false;
    if (elementwise_ && script && script->TiledLines()) {
        bool ok = RunTiled(script, target, &ran);
        if (ran) return ok;
    }
    return RunSteps(script, target);
}

bool CompiledExpression::RunSteps(CMathScript* script, ScriptValue* target) const {
    std::vector<ScriptValue> stack(static_cast<size_t>(maxDepth_) + 1);
    size_t n = 0;
    for (const Step& s : steps_) {
        switch (s.code) {
            case StepCode::kConstant:
                stack[n++].SetScalar(s.number);
                break;
            case StepCode::kLetter: {
                const char c = static_cast<char>('a' + s.index);
                const ScriptValue* v = script->Letter(c);
                if (!v->valid)
                    script->Warn("[Warning] Line:%d the param '%c' may be not set value:%s",
                                 script->CurrentLine(), c, texts_[s.index2].c_str());
                stack[n++].MakeView(*v);
                break;
            }
            case StepCode::kUserVariable:
                stack[n++].MakeView(script->UserVariableAt(uint32_t(s.index)).value);
                break;
            case StepCode::kNegate:
                if (!Negate(stack[n - 1])) return false;
                break;
            case StepCode::kOperator: {
                bool ok = ApplyOperatorInPlace(s.record, stack[n - 2], stack[n - 1]);
                stack[--n].Clear();
                if (!ok) return false;
                break;
            }
            case StepCode::kEndGroup: {
                // A group's value is settled into a fresh temporary: a computed array's scalar
                // field reads 0 there.
                ScriptValue& v = stack[n - 1];
                if (v.data && !v.IsView()) v.scalar = 0.0f;
                break;
            }
            case StepCode::kCall: {
                const size_t first = n - size_t(s.index);
                ScriptValue out;
                bool ok = CallValues(*s.record, &stack[first], s.index, &out);
                for (size_t i = first; i < n; ++i) stack[i].Clear();
                if (!ok) return false;
                n = first;
                stack[n++] = std::move(out);
                break;
            }
            case StepCode::kCallInteger: {
                ScriptValue& arg = stack[n - 1];
                ScriptValue out;
                if (s.record->kind == kKindTransform)
                    s.record->slots.transform(&arg, &out, s.index);
                else
                    out.SetScalar(s.record->slots.element(&arg, s.index));
                arg = std::move(out);
                break;
            }
            case StepCode::kGenerate: {
                ScriptValue result;
                if (!result.SetCount(script ? script->ElementCount() : 0)) return false;
                if (s.record->kind == kKindGenerate2)
                    s.record->slots.generate2(&result, s.number, s.number2);
                else
                    s.record->slots.generate(&result, s.number);
                stack[n++] = std::move(result);
                break;
            }
            case StepCode::kFail:
                return false;
        }
    }
    return n == 1 && Store(stack[0], target);
}

// =============================================================================================
// Running tile by tile
// =============================================================================================
//
// The shape pass walks the steps once as the step-by-step runner would, but only works out
// what each value is: a scalar (computed right away, as the runner computes scalars), a
// variable's array, or an array to compute. Every array to compute becomes one operation of
// the plan, reading earlier operations' registers, variables' arrays and scalars. The plan
// then runs over tiles of kTile elements: each operation writes its tile into its register
// (zero past its own count, which is how a shorter array reads past its end), the last one
// straight into the result. Every element goes through the same function with the same
// operands as step by step, so the bits are the same for any number of threads.

namespace {

// A tile of every operand and register of a line stays in the first-level cache (2048
// overflowed it on x * y + w and ran 20% slower).
constexpr uint32_t kTile = 512;

enum class PlanOp : uint8_t { kNegate, kAdd, kSub, kMul, kDiv, kOperator, kCall, kMulCombine };

// How a fused product a * b meets its third operand c.
enum class Combine : uint8_t { kProductPlus, kProductMinus, kPlusProduct, kMinusProduct };

// An operand of a planned operation: a scalar, a register, or a variable's array.
struct Operand {
    enum Kind : uint8_t { kScalar, kRegister, kSource } kind = kScalar;
    float scalar = 0.0f;
    int reg = -1;
    const float* source = nullptr;
    uint32_t count = 0;  // elements of an array operand (register or source)
};

struct PlannedOperation {
    PlanOp op;
    const FunctionRecord* record = nullptr;
    int out = 0;         // register
    uint32_t count = 0;  // elements of the result
    int first = 0;       // operands [first, first + arity) of the plan's operand list
    int arity = 0;
    TileFn tile = nullptr;                    // a call's whole-tile kernel, if it has one
    Combine combine = Combine::kProductPlus;  // kMulCombine only
};

struct Plan {
    std::vector<PlannedOperation> operations;
    std::vector<Operand> operands;
    int registers = 0;
};

// A value of the shape pass.
struct Shape {
    Operand value;  // kScalar, kSource (a variable's array) or kRegister (to compute)
};

uint32_t CountOf(const Operand& o) { return o.kind == Operand::kScalar ? 0 : o.count; }

float ApplyScalarCall(const FunctionRecord& f, const Shape* args, int count) {
    const FunctionSlots& s = f.slots;
    auto a = [&](int i) { return args[i].value.scalar; };
    switch (f.kind) {
        case kKindUnaryOperator:
        case kKindFloat1:
            return s.float1(a(0));
        case kKindBinaryOperator:
        case kKindFloat2:
            return s.float2(a(0), a(1));
        case kKindFloat3:
            return s.float3(a(0), a(1), a(2));
        case kKindFloat4:
            return s.float4(a(0), a(1), a(2), a(3));
        default: {
            float buffer[kMaxVariadicArguments] = {};
            for (int i = 0; i < count; ++i) buffer[i] = a(i);
            return s.variadic(buffer, count);
        }
    }
}

float ApplyOperatorScalar(const FunctionRecord* op, float a, float b) {
    ScriptValue left(a);
    ScriptValue right(b);
    ApplyOperatorInPlace(op, left, right);
    return left.scalar;
}

// One tile of the elements [i0, i0 + length) of an operand: a pointer to its elements (zero
// past its count), or null for a scalar.
const float* TileOf(const Operand& o, uint32_t i0, uint32_t length, float* registers,
                    float* padded) {
    switch (o.kind) {
        case Operand::kScalar:
            return nullptr;
        case Operand::kRegister:
            return registers + size_t(o.reg) * kTile;
        case Operand::kSource:
            if (o.count >= i0 + length) return o.source + i0;
            for (uint32_t k = 0; k < length; ++k)
                padded[k] = i0 + k < o.count ? o.source[i0 + k] : 0.0f;
            return padded;
    }
    return nullptr;
}

// The operator loops over one tile, with a second copy for processors with AVX2 picked at run
// time: the same IEEE operations on every element, eight at a time.
#define LUNETH_TILE_KERNEL(Name, expression)                                          \
    __attribute__((target_clones("avx2", "default"))) void Name(                      \
        const float* a, float sa, const float* b, float sb, float* out, uint32_t m) { \
        if (a && b) {                                                                 \
            for (uint32_t k = 0; k < m; ++k) {                                        \
                const float x = a[k], y = b[k];                                       \
                out[k] = expression;                                                  \
            }                                                                         \
        } else if (a) {                                                               \
            for (uint32_t k = 0; k < m; ++k) {                                        \
                const float x = a[k], y = sb;                                         \
                out[k] = expression;                                                  \
            }                                                                         \
        } else {                                                                      \
            for (uint32_t k = 0; k < m; ++k) {                                        \
                const float x = sa, y = b[k];                                         \
                out[k] = expression;                                                  \
            }                                                                         \
        }                                                                             \
    }

LUNETH_TILE_KERNEL(AddTile, x + y)
LUNETH_TILE_KERNEL(SubTile, x - y)
LUNETH_TILE_KERNEL(MulTile, x* y)
// The division operator: a divisor within 2^-23 of 0 gives +-FLT_MAX or 0.
LUNETH_TILE_KERNEL(DivTile, (y > -kEpsilon && y < kEpsilon)
                                ? (x > kEpsilon ? kBig : (x < -kEpsilon ? -kBig : 0.0f))
                                : x / y)
#undef LUNETH_TILE_KERNEL

__attribute__((target_clones("avx2", "default"))) void NegateTile(const float* a, float* out,
                                                                  uint32_t m) {
    for (uint32_t k = 0; k < m; ++k) out[k] = -a[k];
}

// A product and a sum or difference in one pass (x * y + w, the commonest shape of a line):
// the product is rounded to float and then added, exactly as the two operations apart, but is
// never written to a register and read back. A, B and C say which operands are arrays.
template <Combine K, bool A, bool B, bool C>
__attribute__((always_inline)) inline void MulCombineLoop(const float* a, float sa, const float* b,
                                                          float sb, const float* c, float sc,
                                                          float* out, uint32_t m) {
    for (uint32_t k = 0; k < m; ++k) {
        const float p = (A ? a[k] : sa) * (B ? b[k] : sb);
        const float z = C ? c[k] : sc;
        if constexpr (K == Combine::kProductPlus) out[k] = p + z;
        if constexpr (K == Combine::kProductMinus) out[k] = p - z;
        if constexpr (K == Combine::kPlusProduct) out[k] = z + p;
        if constexpr (K == Combine::kMinusProduct) out[k] = z - p;
    }
}

template <Combine K>
__attribute__((always_inline)) inline void MulCombineShapes(const float* a, float sa,
                                                            const float* b, float sb,
                                                            const float* c, float sc, float* out,
                                                            uint32_t m) {
    // At least one factor is an array: a product of two scalars is folded when planned.
    if (a && b) {
        if (c)
            MulCombineLoop<K, true, true, true>(a, sa, b, sb, c, sc, out, m);
        else
            MulCombineLoop<K, true, true, false>(a, sa, b, sb, c, sc, out, m);
    } else if (a) {
        if (c)
            MulCombineLoop<K, true, false, true>(a, sa, b, sb, c, sc, out, m);
        else
            MulCombineLoop<K, true, false, false>(a, sa, b, sb, c, sc, out, m);
    } else {
        if (c)
            MulCombineLoop<K, false, true, true>(a, sa, b, sb, c, sc, out, m);
        else
            MulCombineLoop<K, false, true, false>(a, sa, b, sb, c, sc, out, m);
    }
}

__attribute__((target_clones("avx2", "default"))) void MulCombineTile(Combine k, const float* a,
                                                                      float sa, const float* b,
                                                                      float sb, const float* c,
                                                                      float sc, float* out,
                                                                      uint32_t m) {
    switch (k) {
        case Combine::kProductPlus:
            MulCombineShapes<Combine::kProductPlus>(a, sa, b, sb, c, sc, out, m);
            break;
        case Combine::kProductMinus:
            MulCombineShapes<Combine::kProductMinus>(a, sa, b, sb, c, sc, out, m);
            break;
        case Combine::kPlusProduct:
            MulCombineShapes<Combine::kPlusProduct>(a, sa, b, sb, c, sc, out, m);
            break;
        case Combine::kMinusProduct:
            MulCombineShapes<Combine::kMinusProduct>(a, sa, b, sb, c, sc, out, m);
            break;
    }
}

// Folds each product that the next operation adds or subtracts into one kMulCombine. The
// product's register has no other reader (a stack value is used once), and only a product as
// long as the sum is folded: past a shorter product's end its register reads +0, which a
// product of padded operands need not give (-5 * 0, infinity * 0).
void FuseProducts(Plan& plan) {
    std::vector<PlannedOperation> fused;
    fused.reserve(plan.operations.size());
    for (const PlannedOperation& p : plan.operations) {
        if ((p.op == PlanOp::kAdd || p.op == PlanOp::kSub) && !fused.empty() &&
            fused.back().op == PlanOp::kMul && fused.back().count == p.count) {
            const PlannedOperation& mul = fused.back();
            const Operand left = plan.operands[size_t(p.first)];
            const Operand right = plan.operands[size_t(p.first) + 1];
            const bool productLeft = left.kind == Operand::kRegister && left.reg == mul.out;
            const bool productRight = right.kind == Operand::kRegister && right.reg == mul.out;
            if (productLeft != productRight) {
                PlannedOperation f = p;
                f.op = PlanOp::kMulCombine;
                f.arity = 3;
                f.first = int(plan.operands.size());
                const bool plus = p.op == PlanOp::kAdd;
                f.combine = productLeft ? (plus ? Combine::kProductPlus : Combine::kProductMinus)
                                        : (plus ? Combine::kPlusProduct : Combine::kMinusProduct);
                const Operand a = plan.operands[size_t(mul.first)];
                const Operand b = plan.operands[size_t(mul.first) + 1];
                plan.operands.push_back(a);
                plan.operands.push_back(b);
                plan.operands.push_back(productLeft ? right : left);
                fused.back() = f;
                continue;
            }
        }
        fused.push_back(p);
    }
    plan.operations.swap(fused);
}

void TableTile(Float2Fn f, const float* a, float sa, const float* b, float sb, float* out,
               uint32_t m) {
    for (uint32_t k = 0; k < m; ++k) out[k] = f(a ? a[k] : sa, b ? b[k] : sb);
}

void RunOperation(const Plan& plan, const PlannedOperation& p, uint32_t i0, uint32_t length,
                  float* registers, float* padded, float* out) {
    const uint32_t m = p.count > i0 ? std::min(length, p.count - i0) : 0;
    const Operand* ops = &plan.operands[size_t(p.first)];
    const float* in[kMaxVariadicArguments];
    for (int j = 0; j < p.arity; ++j)
        in[j] = TileOf(ops[j], i0, length, registers, padded + size_t(j) * kTile);
    auto scalarOf = [&](int j) { return ops[j].scalar; };
    switch (p.op) {
        case PlanOp::kNegate:
            NegateTile(in[0], out, m);
            break;
        case PlanOp::kAdd:
            AddTile(in[0], scalarOf(0), in[1], scalarOf(1), out, m);
            break;
        case PlanOp::kSub:
            SubTile(in[0], scalarOf(0), in[1], scalarOf(1), out, m);
            break;
        case PlanOp::kMul:
            MulTile(in[0], scalarOf(0), in[1], scalarOf(1), out, m);
            break;
        case PlanOp::kDiv:
            DivTile(in[0], scalarOf(0), in[1], scalarOf(1), out, m);
            break;
        case PlanOp::kMulCombine:
            MulCombineTile(p.combine, in[0], scalarOf(0), in[1], scalarOf(1), in[2], scalarOf(2),
                           out, m);
            break;
        case PlanOp::kOperator:
            TableTile(p.record->slots.float2, in[0], scalarOf(0), in[1], scalarOf(1), out, m);
            break;
        case PlanOp::kCall: {
            if (p.tile) {
                // The kernel takes arrays only: a scalar argument is spread over its tile.
                const float* args[kMaxVariadicArguments];
                for (int j = 0; j < p.arity; ++j) {
                    if (in[j]) {
                        args[j] = in[j];
                        continue;
                    }
                    float* spread = padded + size_t(j) * kTile;
                    std::fill(spread, spread + m, ops[j].scalar);
                    args[j] = spread;
                }
                p.tile(args, out, m);
                break;
            }
            const FunctionSlots& s = p.record->slots;
            auto at = [&](int j, uint32_t k) { return in[j] ? in[j][k] : ops[j].scalar; };
            switch (p.record->kind) {
                case kKindUnaryOperator:
                case kKindFloat1:
                    for (uint32_t k = 0; k < m; ++k) out[k] = s.float1(in[0][k]);
                    break;
                case kKindBinaryOperator:
                case kKindFloat2:
                    for (uint32_t k = 0; k < m; ++k) out[k] = s.float2(at(0, k), at(1, k));
                    break;
                case kKindFloat3:
                    for (uint32_t k = 0; k < m; ++k)
                        out[k] = s.float3(at(0, k), at(1, k), at(2, k));
                    break;
                case kKindFloat4:
                    for (uint32_t k = 0; k < m; ++k)
                        out[k] = s.float4(at(0, k), at(1, k), at(2, k), at(3, k));
                    break;
                default: {
                    // Zeroed once per call: a function that reads past its count sees 0.
                    float buffer[kMaxVariadicArguments] = {};
                    for (uint32_t k = 0; k < m; ++k) {
                        for (int j = 0; j < p.arity; ++j) buffer[j] = at(j, k);
                        out[k] = s.variadic(buffer, p.arity);
                    }
                    break;
                }
            }
            break;
        }
    }
    if (m < length) std::memset(out + m, 0, size_t(length - m) * sizeof(float));
}

// Streaming stores for one-operation lines of 4 MiB and more. A plain store first reads the
// result's line into the cache; a streaming store writes it to memory directly. At this size a
// line's arrays have outgrown the second-level caches, and streaming measured faster even when
// the next line reads the result back (x * y + w: about a fifth; below 2 MiB it is slower).
// The operations are the plain loops' IEEE operations eight at a time, so the bits are the same.
constexpr size_t kStreamBytes = size_t(4) << 20;

#if defined(__x86_64__)
#define LUNETH_AVX2 __attribute__((target("avx2")))

template <PlanOp Op, Combine K>
LUNETH_AVX2 inline __m256 Apply8(__m256 a, __m256 b, __m256 c) {
    if constexpr (Op == PlanOp::kNegate) return _mm256_xor_ps(a, _mm256_set1_ps(-0.0f));
    if constexpr (Op == PlanOp::kAdd) return _mm256_add_ps(a, b);
    if constexpr (Op == PlanOp::kSub) return _mm256_sub_ps(a, b);
    if constexpr (Op == PlanOp::kMul) return _mm256_mul_ps(a, b);
    if constexpr (Op == PlanOp::kDiv) {
        // As DivTile: a divisor within 2^-23 of 0 gives +-FLT_MAX or 0.
        const __m256 eps = _mm256_set1_ps(kEpsilon), minusEps = _mm256_set1_ps(-kEpsilon);
        const __m256 nearZero = _mm256_and_ps(_mm256_cmp_ps(b, minusEps, _CMP_GT_OQ),
                                              _mm256_cmp_ps(b, eps, _CMP_LT_OQ));
        const __m256 big = _mm256_and_ps(_mm256_cmp_ps(a, eps, _CMP_GT_OQ), _mm256_set1_ps(kBig));
        const __m256 minusBig =
            _mm256_and_ps(_mm256_cmp_ps(a, minusEps, _CMP_LT_OQ), _mm256_set1_ps(-kBig));
        return _mm256_blendv_ps(_mm256_div_ps(a, b), _mm256_or_ps(big, minusBig), nearZero);
    }
    if constexpr (Op == PlanOp::kMulCombine) {
        const __m256 p = _mm256_mul_ps(a, b);
        if constexpr (K == Combine::kProductPlus) return _mm256_add_ps(p, c);
        if constexpr (K == Combine::kProductMinus) return _mm256_sub_ps(p, c);
        if constexpr (K == Combine::kPlusProduct) return _mm256_add_ps(c, p);
        if constexpr (K == Combine::kMinusProduct) return _mm256_sub_ps(c, p);
    }
    return a;
}

// Elements [k0, k1) of out, k1 - k0 a multiple of 8 and out + k0 32-byte aligned. Operand j
// reads at[j] + (k & step[j]): an array's elements (step all ones), or eight copies of a scalar
// (step 0), so the loop has no branch.
template <PlanOp Op, Combine K = Combine::kProductPlus>
LUNETH_AVX2 void StreamLoop(const float* const* at, const uint32_t* step, float* out, uint32_t k0,
                            uint32_t k1) {
    const float *x = at[0], *y = at[1], *z = at[2];
    const uint32_t sx = step[0], sy = step[1], sz = step[2];
    for (uint32_t k = k0; k < k1; k += 8) {
        const __m256 a = _mm256_loadu_ps(x + (k & sx));
        const __m256 b = _mm256_loadu_ps(y + (k & sy));
        const __m256 c = _mm256_loadu_ps(z + (k & sz));
        _mm256_stream_ps(out + k, Apply8<Op, K>(a, b, c));
    }
    _mm_sfence();  // visible to every thread before the line ends
}

using StreamFn = void (*)(const float* const*, const uint32_t*, float*, uint32_t, uint32_t);

// The streamed operations: kNegate .. kDiv by their PlanOp, then kMulCombine by its Combine.
constexpr StreamFn kStreamLoops[] = {
    StreamLoop<PlanOp::kNegate>,
    StreamLoop<PlanOp::kAdd>,
    StreamLoop<PlanOp::kSub>,
    StreamLoop<PlanOp::kMul>,
    StreamLoop<PlanOp::kDiv>,
    StreamLoop<PlanOp::kMulCombine, Combine::kProductPlus>,
    StreamLoop<PlanOp::kMulCombine, Combine::kProductMinus>,
    StreamLoop<PlanOp::kMulCombine, Combine::kPlusProduct>,
    StreamLoop<PlanOp::kMulCombine, Combine::kMinusProduct>,
};

StreamFn StreamLoopOf(const PlannedOperation& p) {
    if (p.op == PlanOp::kMulCombine) return kStreamLoops[5 + int(p.combine)];
    return p.op <= PlanOp::kDiv ? kStreamLoops[int(p.op)] : nullptr;
}

// Runs a one-operation line's elements [i0, i0 + length) into result + i0 with streaming
// stores, its operands being scalars and arrays that cover the range; false if this processor
// or this operation has none (the caller runs it plainly).
bool StreamOperation(const Plan& plan, const PlannedOperation& p, uint32_t i0, uint32_t length,
                     float* registers, float* padded, float* result) {
    static const bool avx2 = __builtin_cpu_supports("avx2");
    const StreamFn loop = avx2 ? StreamLoopOf(p) : nullptr;
    if (!loop) return false;
    float copies[3][8] = {};
    const float* in[3] = {copies[0], copies[1], copies[2]};
    uint32_t s[3] = {};
    for (int j = 0; j < p.arity; ++j) {
        const Operand& o = plan.operands[size_t(p.first + j)];
        if (o.kind == Operand::kSource) {
            in[j] = o.source + i0;
            s[j] = ~0u;
        } else {
            std::fill(copies[j], copies[j] + 8, o.scalar);
        }
    }
    float* out = result + i0;
    // The unaligned head and the tail shorter than 8 go through the plain loops.
    uint32_t head = uint32_t((32 - reinterpret_cast<uintptr_t>(out) % 32) % 32 / sizeof(float));
    head = std::min(head, length);
    const uint32_t body = head + (length - head) / 8 * 8;
    loop(in, s, out, head, body);
    if (head) RunOperation(plan, p, i0, head, registers, padded, out);
    if (body < length)
        RunOperation(plan, p, i0 + body, length - body, registers, padded, out + body);
    return true;
}
#undef LUNETH_AVX2
#else
bool StreamOperation(const Plan&, const PlannedOperation&, uint32_t, uint32_t, float*, float*,
                     float*) {
    return false;
}
#endif

}  // namespace

bool CompiledExpression::RunTiled(CMathScript* script, ScriptValue* target, bool* ran) const {
    *ran = false;
    Plan plan;
    std::vector<Shape> stack;
    stack.reserve(size_t(maxDepth_) + 1);
    // Registers follow the stack: the value at depth d computes into register d.
    auto planned = [&](PlanOp op, const FunctionRecord* record, uint32_t count, int arity) {
        const size_t first = stack.size() - size_t(arity);
        PlannedOperation p{op, record, int(first), count, int(plan.operands.size()), arity};
        for (int j = 0; j < arity; ++j) plan.operands.push_back(stack[first + size_t(j)].value);
        if (op == PlanOp::kCall) p.tile = FindTileKernel(*record, arity);
        plan.operations.push_back(p);
        plan.registers = std::max(plan.registers, int(first) + 1);
        stack.resize(first + 1);
        stack.back().value = Operand{Operand::kRegister, 0.0f, int(first), nullptr, count};
    };
    auto view = [&](const ScriptValue& v) {
        Shape s;
        if (v.data)
            s.value = Operand{Operand::kSource, 0.0f, -1, v.data, v.count};
        else
            s.value.scalar = v.scalar;
        stack.push_back(s);
    };
    for (const Step& s : steps_) {
        switch (s.code) {
            case StepCode::kConstant:
                stack.push_back(Shape{Operand{Operand::kScalar, s.number}});
                break;
            case StepCode::kLetter:
                view(*script->Letter(char('a' + s.index)));
                break;
            case StepCode::kUserVariable:
                view(script->UserVariableAt(uint32_t(s.index)).value);
                break;
            case StepCode::kNegate: {
                Operand& v = stack.back().value;
                if (v.kind == Operand::kScalar)
                    v.scalar = -v.scalar;
                else
                    planned(PlanOp::kNegate, nullptr, v.count, 1);
                break;
            }
            case StepCode::kOperator: {
                Operand& a = stack[stack.size() - 2].value;
                Operand& b = stack.back().value;
                const uint32_t n = std::max(CountOf(a), CountOf(b));
                if (n == 0) {
                    a.scalar = ApplyOperatorScalar(s.record, a.scalar, b.scalar);
                    stack.pop_back();
                    break;
                }
                // A scalar on the left reads as 0 below 2^-23 once broadcast.
                if (a.kind == Operand::kScalar && std::fabs(a.scalar) < kEpsilon) a.scalar = 0.0f;
                PlanOp op = PlanOp::kOperator;
                switch (s.record->name[0]) {
                    case '+':
                        op = PlanOp::kAdd;
                        break;
                    case '-':
                        op = PlanOp::kSub;
                        break;
                    case '*':
                        op = PlanOp::kMul;
                        break;
                    case '/':
                        op = PlanOp::kDiv;
                        break;
                    default:
                        break;
                }
                planned(op, s.record, n, 2);
                break;
            }
            case StepCode::kEndGroup:
                break;
            case StepCode::kCall: {
                const int arity = s.index;
                const Shape* args = &stack[stack.size() - size_t(arity)];
                uint32_t n = 0;
                for (int j = 0; j < arity; ++j) n = std::max(n, CountOf(args[j].value));
                if (n == 0) {
                    float v = ApplyScalarCall(*s.record, args, arity);
                    stack.resize(stack.size() - size_t(arity));
                    stack.push_back(Shape{Operand{Operand::kScalar, v}});
                    break;
                }
                // A one-argument function keeps its argument's count.
                planned(PlanOp::kCall, s.record, n, arity);
                break;
            }
            default:
                return false;
        }
    }
    if (stack.size() != 1 || stack[0].value.kind != Operand::kRegister) return false;
    FuseProducts(plan);
    const uint32_t n = stack[0].value.count;
    float* result = ScriptValue::AllocateElements(n);
    if (!result) return false;
    *ran = true;

    // The warnings of the letter reads, in order, as the step-by-step run gives them.
    for (const Step& s : steps_) {
        if (s.code != StepCode::kLetter) continue;
        const char c = static_cast<char>('a' + s.index);
        if (!script->Letter(c)->valid)
            script->Warn("[Warning] Line:%d the param '%c' may be not set value:%s",
                         script->CurrentLine(), c, texts_[s.index2].c_str());
    }

    const uint32_t tiles = (n + kTile - 1) / kTile;
    const int threads = ResolveThreadCount(script->ThreadCount());
    const uint32_t chunks = std::min<uint32_t>(tiles, uint32_t(threads) * 8);
    const size_t scratch = size_t(plan.registers + kMaxVariadicArguments) * kTile;
    // A line of one arithmetic operation on full-length arrays runs over a chunk in one call:
    // it has no registers to keep in the cache and nothing to pad, and a call per tile cost
    // about a tenth of x * y + w.
    bool wholeChunks = plan.operations.size() == 1;
    if (wholeChunks) {
        const PlannedOperation& p = plan.operations[0];
        wholeChunks = p.op != PlanOp::kCall && p.op != PlanOp::kOperator;
        for (int j = 0; j < p.arity; ++j) {
            const Operand& o = plan.operands[size_t(p.first + j)];
            if (o.kind != Operand::kScalar && o.count < n) wholeChunks = false;
        }
    }
    const bool stream = size_t(n) * sizeof(float) >= kStreamBytes;
    std::atomic<bool> memoryOk{true};
    ComputeControl* control = script->Control();
    ParallelFor(chunks, threads, [&](size_t chunk) {
        // Cache-line aligned, as the arrays are (kTile floats keep every tile aligned).
        std::unique_ptr<float, void (*)(void*)> space(
            static_cast<float*>(std::aligned_alloc(64, scratch * sizeof(float))), std::free);
        if (!space) {
            memoryOk = false;  // the line fails as out of memory
            return;
        }
        float* registers = space.get();
        float* padded = registers + size_t(plan.registers) * kTile;
        const uint32_t firstTile = uint32_t(uint64_t(tiles) * chunk / chunks);
        const uint32_t lastTile = uint32_t(uint64_t(tiles) * (chunk + 1) / chunks);
        if (wholeChunks) {
            if (control && control->Cancelled()) return;
            const uint32_t i0 = firstTile * kTile, end = std::min(n, lastTile * kTile);
            const PlannedOperation& p = plan.operations[0];
            if (!stream || !StreamOperation(plan, p, i0, end - i0, registers, padded, result))
                RunOperation(plan, p, i0, end - i0, registers, padded, result + i0);
            return;
        }
        for (uint32_t t = firstTile; t < lastTile; ++t) {
            if (control && control->Cancelled()) return;
            const uint32_t i0 = t * kTile, length = std::min(kTile, n - i0);
            for (size_t k = 0; k < plan.operations.size(); ++k) {
                const PlannedOperation& p = plan.operations[k];
                float* out = k + 1 == plan.operations.size() ? result + i0
                                                             : registers + size_t(p.out) * kTile;
                RunOperation(plan, p, i0, length, registers, padded, out);
            }
        }
    });
    if (!memoryOk || (control && control->Cancelled())) {
        ScriptValue::FreeElements(result, n);
        return false;
    }
    ScriptValue value;
    value.Adopt(result, n);
    return Store(value, target);
}

// =============================================================================================
// Name suggestions
// =============================================================================================

namespace {

// Edit distance (insertions, deletions, substitutions and swaps of neighbours).
size_t EditDistance(const std::string& a, const std::string& b) {
    const size_t n = a.size(), m = b.size();
    std::vector<size_t> d((n + 1) * (m + 1));
    auto at = [&](size_t i, size_t j) -> size_t& { return d[i * (m + 1) + j]; };
    for (size_t i = 0; i <= n; ++i) at(i, 0) = i;
    for (size_t j = 0; j <= m; ++j) at(0, j) = j;
    for (size_t i = 1; i <= n; ++i) {
        for (size_t j = 1; j <= m; ++j) {
            size_t v = std::min({at(i - 1, j) + 1, at(i, j - 1) + 1,
                                 at(i - 1, j - 1) + (a[i - 1] == b[j - 1] ? 0 : 1)});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                v = std::min(v, at(i - 2, j - 2) + 1);
            at(i, j) = v;
        }
    }
    return at(n, m);
}

size_t CommonPrefix(const std::string& a, const std::string& b) {
    size_t k = 0;
    while (k < a.size() && k < b.size() && a[k] == b[k]) ++k;
    return k;
}

}  // namespace

std::vector<std::string> NearestNames(const CMathScript* script, const char* name,
                                      bool functionsOnly) {
    const std::string wanted = name ? name : "";
    if (wanted.empty()) return {};
    std::vector<std::string> candidates;
    for (uint32_t i = 0, count = FunctionCount(); i < count; ++i)
        candidates.emplace_back(GetFunctionRecord(i)->name);
    if (!functionsOnly && script) {
        for (uint32_t i = 0; i < script->UserVariableCount(); ++i)
            candidates.emplace_back(script->UserVariableAt(i).name);
        const NamedConstant* constants = NamedConstants();
        for (int i = 0; i < kNamedConstantCount; ++i) candidates.emplace_back(constants[i].name);
    }
    // The closest names, within a third of the name's length (at least one edit); among those
    // at the same distance the ones sharing the longest start with the name.
    const size_t limit = std::max<size_t>(1, wanted.size() / 3);
    size_t best = limit + 1, bestPrefix = 0;
    std::vector<std::string> near;
    for (const std::string& c : candidates) {
        // The distance is at least the difference in length: such names are passed over
        // without measuring (a failing line costs a lookup, not 732 full distances).
        const size_t gap =
            c.size() > wanted.size() ? c.size() - wanted.size() : wanted.size() - c.size();
        if (gap > limit) continue;
        const size_t d = EditDistance(wanted, c);
        if (d > limit || d > best) continue;
        const size_t prefix = CommonPrefix(wanted, c);
        if (d < best || prefix > bestPrefix) {
            near.clear();
            best = d;
            bestPrefix = prefix;
        }
        if (prefix == bestPrefix && near.size() < 3 &&
            std::find(near.begin(), near.end(), c) == near.end())
            near.push_back(c);
    }
    return near;
}

}  // namespace luneth
