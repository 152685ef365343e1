// Assembles the core group: the names of CoreGroup.def, in that order, each served by the entry
// of the same name in one of the core families' tables.
#include "functions/CoreGroup.h"

#include <cstring>
#include <vector>

#include "functions/Families.h"
#include "script/FunctionRegistry.h"

namespace luneth {

namespace {

constexpr CoreName kCoreOrder[] = {
#define CORE_FUNCTION(name, kind) {name, kind},
#include "functions/CoreGroup.def"
#undef CORE_FUNCTION
};

// The families whose names belong to the core group.
constexpr FunctionTable (*kCoreFamilies[])() = {
    ColourHelperFunctions,
    ScalarFunctions,
    ArrayFunctions,
    SolidFunctions,
    HashFunctions,
    LatticeNoiseFunctions,
    NamedNoiseFunctions,
    SinWaveNoiseFunctions,
    PerlinNoiseFunctions,
    CoherentNoiseFunctions,
    CellularFunctions,
    CraterFunctions,
    PlainFunctions,
    QuasicrystalFunctions,
};

const BuiltinFunction* FindInFamilies(const CoreName& wanted) {
    for (auto family : kCoreFamilies) {
        for (const BuiltinFunction& entry : family()) {
            if (std::strcmp(entry.name, wanted.name) == 0)
                return entry.kind == wanted.kind ? &entry : nullptr;
        }
    }
    return nullptr;
}

std::vector<const BuiltinFunction*> AssembleCoreGroup() {
    std::vector<const BuiltinFunction*> table;
    table.reserve(std::size(kCoreOrder));
    for (const CoreName& name : kCoreOrder) {
        if (const BuiltinFunction* entry = FindInFamilies(name)) table.push_back(entry);
    }
    return table;
}

}  // namespace

std::span<const CoreName> CoreGroupOrder() { return kCoreOrder; }

bool InstallCoreFunctions() {
    static const std::vector<const BuiltinFunction*> table = AssembleCoreGroup();
    InstallTileKernels(ScalarTileKernels());
    return InstallCoreGroup({table.data(), static_cast<uint32_t>(table.size())});
}

}  // namespace luneth
