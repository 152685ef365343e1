#include "script/FunctionRegistry.h"

#include <cmath>
#include <cstring>

#include "common/FloatConstants.h"

namespace luneth {

// ---------------------------------------------------------------------------------------------
// ELF hash
// ---------------------------------------------------------------------------------------------

FunctionSlots BuiltinFunction::Slots() const {
    FunctionSlots s;
    switch (kind) {
        case kKindFloat1:
            s.float1 = float1;
            break;
        case kKindFloat2:
            s.float2 = float2;
            break;
        case kKindFloat3:
            s.float3 = float3;
            break;
        case kKindFloat4:
            s.float4 = float4;
            break;
        case kKindVariadic:
            s.variadic = variadic;
            break;
        case kKindReduce:
            s.reduce = reduce;
            break;
        case kKindTransform:
            s.transform = transform;
            break;
        case kKindGenerate:
            s.generate = generate;
            break;
        case kKindGenerate2:
            s.generate2 = generate2;
            break;
        case kKindElement:
            s.element = element;
            break;
        default:
            break;
    }
    return s;
}

// ---------------------------------------------------------------------------------------------
// Registry
// ---------------------------------------------------------------------------------------------

namespace {

struct Registry {
    uint32_t count = 0;
    FunctionRecord records[kRegistryCapacity];
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

void WriteRecord(FunctionRecord& record, const char* name, uint32_t kind, const FunctionSlots& s,
                 bool drawsRandom) {
    std::memset(record.name, 0, sizeof record.name);
    std::strncpy(record.name, name, kFunctionNameCapacity - 1);
    record.nameHash = ElfHash(record.name);
    record.kind = kind;
    record.slots = s;
    record.drawsRandom = drawsRandom;
}

}  // namespace

bool InstallCoreGroup(CoreGroupView core) {
    Registry& reg = TheRegistry();
    if (reg.count != 0) return false;
    uint32_t n = core.count < kRegistryCapacity ? core.count : kRegistryCapacity;
    for (uint32_t i = 0; i < n; ++i) {
        const BuiltinFunction& e = *core.entries[i];
        WriteRecord(reg.records[i], e.name, e.kind, e.Slots(), e.drawsRandom);
    }
    reg.count = n;
    return true;
}

namespace {

bool ValidName(const char* name) {
    return name && name[0] && std::strlen(name) < static_cast<size_t>(kFunctionNameCapacity);
}

bool Register(const char* name, uint32_t kind, const FunctionSlots& slots,
              bool drawsRandom = false) {
    uint32_t i = LookupFunction(name);
    if (i >= kRegistryCapacity) return false;
    Registry& reg = TheRegistry();
    WriteRecord(reg.records[i], name, kind, slots, drawsRandom);
    if (i == reg.count) ++reg.count;
    return true;
}

}  // namespace

uint32_t LookupFunction(const char* name) {
    if (!ValidName(name)) return kInvalidFunctionIndex;
    const Registry& reg = TheRegistry();
    uint32_t h = ElfHash(name);
    for (uint32_t i = 0; i < reg.count; ++i) {
        if (reg.records[i].nameHash == h && std::strcmp(reg.records[i].name, name) == 0) return i;
    }
    return reg.count;
}

uint32_t FunctionCount() { return TheRegistry().count; }

const FunctionRecord* GetFunctionRecord(uint32_t index) {
    const Registry& reg = TheRegistry();
    return index < reg.count ? &reg.records[index] : nullptr;
}

bool RegisterFunction(const char* name, Float1Fn fn) {
    FunctionSlots s;
    s.float1 = fn;
    return Register(name, kKindFloat1, s);
}
bool RegisterFunction(const char* name, Float2Fn fn) {
    FunctionSlots s;
    s.float2 = fn;
    return Register(name, kKindFloat2, s);
}
bool RegisterFunction(const char* name, Float3Fn fn) {
    FunctionSlots s;
    s.float3 = fn;
    return Register(name, kKindFloat3, s);
}
bool RegisterFunction(const char* name, Float4Fn fn) {
    FunctionSlots s;
    s.float4 = fn;
    return Register(name, kKindFloat4, s);
}
bool RegisterFunction(const char* name, VariadicFn fn) {
    FunctionSlots s;
    s.variadic = fn;
    return Register(name, kKindVariadic, s);
}

bool RegisterBuiltin(const BuiltinFunction& entry) {
    if (entry.kind < kKindFloat1 || entry.kind > kKindVariadic) return false;
    return Register(entry.name, entry.kind, entry.Slots(), entry.drawsRandom);
}

// ---------------------------------------------------------------------------------------------
// Named constants
// ---------------------------------------------------------------------------------------------

namespace {

constexpr NamedConstant Constant(const char* name, float value) {
    NamedConstant c{};
    for (int i = 0; name[i]; ++i) c.name[i] = name[i];
    c.nameHash = ElfHash(name);
    c.value = value;
    return c;
}

constexpr NamedConstant kConstants[kNamedConstantCount] = {
    Constant("PI", kPi),
    Constant("E", 2.71828175f),
    Constant("GOLD", 0.618003428f),
    Constant("SQRT2", 1.41421354f),
    Constant("SQRT3", 1.73205078f),
    Constant("DEGREE", 57.2957802f),
    Constant("RADIAN", 0.0174532924f),
    Constant("EPSILON", 1.1920929e-07f),
    Constant("MILLIONTH", 9.99999997e-07f),
    Constant("DIMI", 9.99999975e-05f),
};

}  // namespace

const NamedConstant* NamedConstants() { return kConstants; }

bool LookupConstant(const char* name, float* value) {
    if (!name || !name[0] || std::strlen(name) >= 16) {
        if (value) *value = 0.0f;
        return false;
    }
    uint32_t h = ElfHash(name);
    for (const NamedConstant& c : kConstants) {
        if (c.nameHash == h && std::strcmp(c.name, name) == 0) {
            if (value) *value = c.value;
            return true;
        }
    }
    if (value) *value = 0.0f;
    return false;
}

// ---------------------------------------------------------------------------------------------
// Operators and brackets
// ---------------------------------------------------------------------------------------------

namespace {

float OpEqual(float a, float b) { return std::fabs(a - b) < kEpsilon ? 1.0f : 0.0f; }
float OpLess(float a, float b) { return a < b ? 1.0f : 0.0f; }
float OpGreater(float a, float b) { return a > b ? 1.0f : 0.0f; }
float OpAdd(float a, float b) { return a + b; }
float OpSub(float a, float b) { return a - b; }
float OpMul(float a, float b) { return a * b; }
float OpDiv(float a, float b) {
    if (b > -kEpsilon && b < kEpsilon) return a > kEpsilon ? kBig : (a < -kEpsilon ? -kBig : 0.0f);
    return a / b;
}
float OpMod(float a, float b) {
    if (b < kEpsilon) return 0.0f;
    return static_cast<float>(std::fmod(static_cast<double>(a), static_cast<double>(b)));
}
float OpPow(float a, float b) {
    if (std::fabs(a) < kEpsilon) return 0.0f;
    return static_cast<float>(std::pow(static_cast<double>(a), static_cast<double>(b)));
}
float OpAnd(float a, float b) { return (TruncateInt(a) != 0 && TruncateInt(b) != 0) ? 1.0f : 0.0f; }
float OpOr(float a, float b) { return (TruncateInt(a) != 0 || TruncateInt(b) != 0) ? 1.0f : 0.0f; }
float OpPlus(float x) { return x; }
float OpMinus(float x) { return -x; }

FunctionRecord MakeOperator(const char* name, uint32_t kind, Float2Fn f2, Float1Fn f1) {
    FunctionRecord r;
    std::strncpy(r.name, name, kFunctionNameCapacity - 1);
    r.nameHash = 1;
    r.kind = kind;
    r.slots.float1 = f1;
    r.slots.float2 = f2;
    return r;
}

const FunctionRecord kBinaryOperators[] = {
    MakeOperator("=1", kKindBinaryOperator, OpEqual, nullptr),
    MakeOperator("<1", kKindBinaryOperator, OpLess, nullptr),
    MakeOperator(">1", kKindBinaryOperator, OpGreater, nullptr),
    MakeOperator("+2", kKindBinaryOperator, OpAdd, nullptr),
    MakeOperator("-2", kKindBinaryOperator, OpSub, nullptr),
    MakeOperator("*3", kKindBinaryOperator, OpMul, nullptr),
    MakeOperator("/3", kKindBinaryOperator, OpDiv, nullptr),
    MakeOperator("%3", kKindBinaryOperator, OpMod, nullptr),
    MakeOperator("^4", kKindBinaryOperator, OpPow, nullptr),
    MakeOperator("&5", kKindBinaryOperator, OpAnd, nullptr),
    MakeOperator("|5", kKindBinaryOperator, OpOr, nullptr),
};
const FunctionRecord kUnaryOperators[] = {
    MakeOperator("+", kKindUnaryOperator, nullptr, OpPlus),
    MakeOperator("-", kKindUnaryOperator, nullptr, OpMinus),
};
const char kOpening[] = "([{";
const char kClosing[] = ")]}";

}  // namespace

const FunctionRecord* FindBinaryOperator(char symbol) {
    for (const FunctionRecord& r : kBinaryOperators)
        if (r.name[0] == symbol) return &r;
    return nullptr;
}

const FunctionRecord* FindUnaryOperator(char symbol) {
    for (const FunctionRecord& r : kUnaryOperators)
        if (r.name[0] == symbol) return &r;
    return nullptr;
}

int OpeningBracketKind(char c) {
    for (int k = 0; k < 3; ++k)
        if (kOpening[k] == c) return k;
    return -1;
}

int ClosingBracketKind(char c) {
    for (int k = 0; k < 3; ++k)
        if (kClosing[k] == c) return k;
    return -1;
}

}  // namespace luneth
