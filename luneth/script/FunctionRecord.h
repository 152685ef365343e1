// FunctionRecord and FunctionKind: how built-in functions and operators are stored.
//
// A record names a function, carries the ELF hash of the name, its kind (call signature) and
// the implementation in the slot of that kind; the other nine slots are null. Operators and
// brackets use the same layout in fixed tables of their own (name = symbol + precedence digit).
//
//   kind  slot  signature                                              use
//   1     0     float f(float)                                         unary operator (+, -)
//   2     1     float f(float, float)                                  binary operator
//   3     -     -                                                      opening bracket
//   4     -     -                                                      closing bracket
//   5     0     float f(float)                                         one argument
//   6     1     float f(float, float)                                  two arguments
//   7     2     float f(float, float, float)                           three arguments
//   8     3     float f(float, float, float, float)                    four arguments
//   9     4     float f(const float* args, int count)                  1..24 arguments
//   10    5     float f(const ScriptValue*)                            reduction of a whole value
//   11    6     void f(const ScriptValue* in, ScriptValue* out, int n) value transform
//   12    7     void f(ScriptValue* out, float v)                      generator
//   13    8     void f(ScriptValue* out, float p, float q)             generator, two parameters
//   14    9     float f(const ScriptValue*, int index)                 element access
//
// BuiltinFunction is the entry of a family's registration table: a name and an implementation
// whose kind follows from its signature, so a table reads `{"sin", Sin}, {"max", Max}, ...`.
#pragma once

#include <cstdint>

namespace luneth {

struct ScriptValue;

enum FunctionKind : uint32_t {
    kKindUnaryOperator = 1,
    kKindBinaryOperator = 2,
    kKindOpenBracket = 3,
    kKindCloseBracket = 4,
    kKindFloat1 = 5,
    kKindFloat2 = 6,
    kKindFloat3 = 7,
    kKindFloat4 = 8,
    kKindVariadic = 9,
    kKindReduce = 10,
    kKindTransform = 11,
    kKindGenerate = 12,
    kKindGenerate2 = 13,
    kKindElement = 14,
};

// Largest number of arguments a kind-9 call takes.
constexpr int kMaxVariadicArguments = 24;

using Float1Fn = float (*)(float);
using Float2Fn = float (*)(float, float);
using Float3Fn = float (*)(float, float, float);
using Float4Fn = float (*)(float, float, float, float);
using VariadicFn = float (*)(const float* args, int count);
using ReduceFn = float (*)(const ScriptValue* value);
using TransformFn = void (*)(const ScriptValue* in, ScriptValue* out, int n);
using GenerateFn = void (*)(ScriptValue* out, float v);
using Generate2Fn = void (*)(ScriptValue* out, float p, float q);
using ElementFn = float (*)(const ScriptValue* value, int index);

// The ten slots, in slot order (slot = kind - 5 for kinds 5..14; operators use slots 0 and 1).
struct FunctionSlots {
    Float1Fn float1 = nullptr;
    Float2Fn float2 = nullptr;
    Float3Fn float3 = nullptr;
    Float4Fn float4 = nullptr;
    VariadicFn variadic = nullptr;
    ReduceFn reduce = nullptr;
    TransformFn transform = nullptr;
    GenerateFn generate = nullptr;
    Generate2Fn generate2 = nullptr;
    ElementFn element = nullptr;
};

constexpr int kFunctionNameCapacity = 32;  // names of 1..31 characters

struct FunctionRecord {
    char name[kFunctionNameCapacity] = {};
    uint32_t nameHash = 0;
    uint32_t kind = 0;
    FunctionSlots slots;
    // The function draws from the random stream: its calls must happen one after another in
    // the order of the elements, so a line that calls it is never split across threads.
    bool drawsRandom = false;
};

// One entry of a family's registration table.
struct BuiltinFunction {
    const char* name;
    uint32_t kind;
    bool drawsRandom = false;
    union {
        Float1Fn float1;
        Float2Fn float2;
        Float3Fn float3;
        Float4Fn float4;
        VariadicFn variadic;
        ReduceFn reduce;
        TransformFn transform;
        GenerateFn generate;
        Generate2Fn generate2;
        ElementFn element;
    };

    constexpr BuiltinFunction(const char* n, Float1Fn f) : name(n), kind(kKindFloat1), float1(f) {}
    constexpr BuiltinFunction(const char* n, Float2Fn f) : name(n), kind(kKindFloat2), float2(f) {}
    constexpr BuiltinFunction(const char* n, Float3Fn f) : name(n), kind(kKindFloat3), float3(f) {}
    constexpr BuiltinFunction(const char* n, Float4Fn f) : name(n), kind(kKindFloat4), float4(f) {}
    constexpr BuiltinFunction(const char* n, VariadicFn f)
        : name(n), kind(kKindVariadic), variadic(f) {}
    constexpr BuiltinFunction(const char* n, ReduceFn f) : name(n), kind(kKindReduce), reduce(f) {}
    constexpr BuiltinFunction(const char* n, TransformFn f)
        : name(n), kind(kKindTransform), transform(f) {}
    constexpr BuiltinFunction(const char* n, GenerateFn f)
        : name(n), kind(kKindGenerate), generate(f) {}
    constexpr BuiltinFunction(const char* n, Generate2Fn f)
        : name(n), kind(kKindGenerate2), generate2(f) {}
    constexpr BuiltinFunction(const char* n, ElementFn f)
        : name(n), kind(kKindElement), element(f) {}

    // The record slots holding this implementation.
    FunctionSlots Slots() const;
};

// A table entry for a function that draws from the random stream.
constexpr BuiltinFunction DrawsRandom(BuiltinFunction entry) {
    entry.drawsRandom = true;
    return entry;
}

}  // namespace luneth
