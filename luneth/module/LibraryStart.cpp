#include "module/LibraryStart.h"

#include <mutex>

#include "functions/CoreGroup.h"
#include "functions/Groups.h"
#include "functions/LatticeNoise.h"
#include "functions/RandomTexture.h"
#include "module/NoisePresets.h"

namespace luneth {

void StartFunctionLibrary() {
    static std::once_flag started;
    std::call_once(started, [] {
        InstallCoreFunctions();
        RegisterLibraryGroups();
        RegisterNoisePresets();
        texture::GetRandomTexture();
        noise::PerlinNoise1D(0.0);  // builds the reference Perlin tables
    });
}

}  // namespace luneth
