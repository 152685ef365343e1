// The core group's fixed order, readable for listings and tests.
#pragma once

#include <cstdint>
#include <span>

namespace luneth {

struct CoreName {
    const char* name;
    uint32_t kind;
};

// All names of the core group in index order, whether or not their family is built yet.
std::span<const CoreName> CoreGroupOrder();

// Hands the core group to the empty function registry (the module does this once at start);
// false when the registry already holds entries.
bool InstallCoreFunctions();

}  // namespace luneth
