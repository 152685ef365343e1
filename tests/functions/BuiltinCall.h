// Calling built-in functions by name in tests, through the registry as scripts do.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "functions/CoreGroup.h"
#include "functions/Groups.h"
#include "script/FunctionRegistry.h"

namespace luneth::test {

// Fills the registry once as the module does at start: the core group, then the library groups.
inline void EnsureLibraryGroups() {
    static bool done = (InstallCoreFunctions(), RegisterLibraryGroups(), true);
    (void)done;
}

// The groups register before the first test, as the image module registers them at start-up:
// a lookup before registration finds no later group, so a test must not be the first to do it.
class LibraryGroupsEnvironment : public ::testing::Environment {
public:
    void SetUp() override { EnsureLibraryGroups(); }
};
inline ::testing::Environment* const kLibraryGroupsEnvironment =
    ::testing::AddGlobalTestEnvironment(new LibraryGroupsEnvironment);

// The record of a registered name, or null (with a test failure) when it is absent.
inline const FunctionRecord* Builtin(const char* name) {
    EnsureLibraryGroups();
    const FunctionRecord* r = GetFunctionRecord(LookupFunction(name));
    EXPECT_NE(r, nullptr) << "not registered: " << name;
    return r;
}

// Calls a kind 5..9 function with the given arguments (kind 9 receives them as its list).
inline float Call(const char* name, std::initializer_list<float> args) {
    const FunctionRecord* r = Builtin(name);
    if (!r) return 0.0f;
    std::vector<float> a(args);
    a.resize(24, 0.0f);
    switch (r->kind) {
        case kKindFloat1:
            EXPECT_EQ(args.size(), 1u) << name;
            return r->slots.float1(a[0]);
        case kKindFloat2:
            EXPECT_EQ(args.size(), 2u) << name;
            return r->slots.float2(a[0], a[1]);
        case kKindFloat3:
            EXPECT_EQ(args.size(), 3u) << name;
            return r->slots.float3(a[0], a[1], a[2]);
        case kKindFloat4:
            EXPECT_EQ(args.size(), 4u) << name;
            return r->slots.float4(a[0], a[1], a[2], a[3]);
        case kKindVariadic:
            return r->slots.variadic(a.data(), static_cast<int>(args.size()));
        default:
            ADD_FAILURE() << name << " has kind " << r->kind;
            return 0.0f;
    }
}

}  // namespace luneth::test
