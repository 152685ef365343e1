#include "functions/Groups.h"

#include "functions/Families.h"
#include "script/FunctionRegistry.h"

namespace luneth {

namespace {

void RegisterTable(FunctionTable table) {
    for (const BuiltinFunction& entry : table) RegisterBuiltin(entry);
}

}  // namespace

// Each group lists its families' tables in registration order. A group whose families are not
// built yet registers nothing.
void RegisterTextureGroup() {}

void RegisterColourGroup() {}

void RegisterDistanceGroup() {}

void RegisterFractalGroup() {
    RegisterTable(FractalSumFunctions());
    // RegisterTable(FractalFunctions());  <- the fractal table goes here, after the sums
}

void RegisterTerrainGroup() {}

void RegisterLibraryGroups() {
    RegisterTextureGroup();
    RegisterColourGroup();
    RegisterDistanceGroup();
    RegisterFractalGroup();
    RegisterTerrainGroup();
}

}  // namespace luneth
