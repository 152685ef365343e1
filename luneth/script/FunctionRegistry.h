// The function registry, the operator and bracket tables, and the named constants.
//
// FunctionRegistry: one module-wide table of up to 1024 FunctionRecords, filled once when the
// module starts (the function library hands over its core group, indices 0 .. core size - 1,
// then the module registers its groups) and only read afterwards, from any thread.
// Lookups are linear scans guarded by the ELF hash; a name is case-sensitive.
//
//   LookupFunction(name)        index; == FunctionCount() when absent; kInvalidFunctionIndex for a
//                               null, empty or 32+ character name
//   RegisterFunction(name, fn)  kinds 5..9; a present name is replaced in place (keeps its index),
//                               a new one is appended; false for a bad name or a full table
//   LookupConstant(name, &v)    the ten named constants (PI, E, GOLD, ...); false and v = 0 if
//   absent InstallCoreGroup(core)      the core group into the empty registry
#pragma once

#include <cstdint>

#include "script/FunctionRecord.h"

namespace luneth {

constexpr uint32_t kRegistryCapacity = 1024;
constexpr uint32_t kInvalidFunctionIndex = 0xFFFFFFFFu;

// ELF (PJW) hash; characters are taken as signed 8-bit values.
constexpr uint32_t ElfHash(const char* name) {
    uint32_t h = 0;
    for (const char* p = name; *p; ++p) {
        h = (h << 4) + static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(*p)));
        uint32_t g = h & 0xF0000000u;
        if (g != 0) {
            h ^= g >> 24;
            h ^= g;
        }
    }
    return h;
}

uint32_t LookupFunction(const char* name);
uint32_t FunctionCount();
// The record at index, or null when index >= FunctionCount().
const FunctionRecord* GetFunctionRecord(uint32_t index);

bool RegisterFunction(const char* name, Float1Fn fn);
bool RegisterFunction(const char* name, Float2Fn fn);
bool RegisterFunction(const char* name, Float3Fn fn);
bool RegisterFunction(const char* name, Float4Fn fn);
bool RegisterFunction(const char* name, VariadicFn fn);
// Registers a table entry of kind 5..9; other kinds are refused (they exist only in the core).
bool RegisterBuiltin(const BuiltinFunction& entry);

bool LookupConstant(const char* name, float* value);

struct NamedConstant {
    char name[16];
    uint32_t nameHash;
    float value;
};
constexpr int kNamedConstantCount = 10;
// The constants table (filled with hashes on first use).
const NamedConstant* NamedConstants();

// Operator and bracket tables, searched by first character. Binary operators carry their
// precedence digit '1' (lowest) .. '5' (highest) in name[1].
const FunctionRecord* FindBinaryOperator(char symbol);
const FunctionRecord* FindUnaryOperator(char symbol);
// Bracket kind 0 '(' 1 '[' 2 '{', or -1.
int OpeningBracketKind(char c);
int ClosingBracketKind(char c);
inline int OperatorPrecedence(const FunctionRecord* op) { return op->name[1] - '0'; }

// The core group in index order, as the function library hands it over.
struct CoreGroupView {
    const BuiltinFunction* const* entries;
    uint32_t count;
};
// Fills the empty registry with the core group (indices 0 .. count - 1); false, changing
// nothing, when the registry already holds entries.
bool InstallCoreGroup(CoreGroupView core);

}  // namespace luneth
