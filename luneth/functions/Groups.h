// The registration groups that follow the core group.
//
// The image module calls RegisterLibraryGroups() once at initialisation; it registers, in this
// fixed order, the texture, colour, distance-function, fractal-sum and fractal, and terrain
// groups (the module's own noise presets come after them). Within a group the order of its
// families' tables is the registration order; a later group wins a name clash.
#pragma once

namespace luneth {

void RegisterTextureGroup();
void RegisterColourGroup();
void RegisterDistanceGroup();
void RegisterFractalGroup();
void RegisterTerrainGroup();

// All of the above, in order.
void RegisterLibraryGroups();

}  // namespace luneth
