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

void RegisterColourGroup() { RegisterTable(ColourGroupFunctions()); }

void RegisterDistanceGroup() {
    RegisterTable(DistanceShape2DFunctions());
    RegisterTable(DistanceShape3DFunctions());
    RegisterTable(DistanceOperatorFunctions());
    RegisterTable(PolygonFunctions());
}

// The fractal sums come first, then the fractals.
void RegisterFractalGroup() {
    RegisterTable(FractalSumFunctions());
    RegisterTable(FractalFunctions());
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
