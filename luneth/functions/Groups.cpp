#include "functions/Groups.h"

#include "functions/Families.h"
#include "functions/Materials.h"
#include "functions/RandomTexture.h"
#include "script/FunctionRegistry.h"

namespace luneth {

namespace {

void RegisterTable(FunctionTable table) {
    for (const BuiltinFunction& entry : table) RegisterBuiltin(entry);
}

}  // namespace

// Each group lists its families' tables in registration order. A group whose families are not
// built yet registers nothing.
// The texture family reads the shared random texture, built here so that its fill (and the
// generator's reseeding with it) happens at module start rather than at a first call; the
// materials that mineral2d/3d_color paint with come first.
void RegisterTextureGroup() {
    texture::GetRandomTexture();
    DefineNamedMaterials();
    RegisterTable(TextureFunctions());
}

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

void RegisterTerrainGroup() { RegisterTable(TerrainFunctions()); }

void RegisterLibraryGroups() {
    RegisterTextureGroup();
    RegisterColourGroup();
    RegisterDistanceGroup();
    RegisterFractalGroup();
    RegisterTerrainGroup();
}

}  // namespace luneth
