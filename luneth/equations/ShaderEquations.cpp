// The shader-style family: the member tables of the theme files joined into one, and the
// helpers the themes share (see ShaderEquation.h).
#include <vector>

#include "equations/ShaderEquation.h"

namespace luneth {

namespace shader {

vec3 StarField(vec3 dir, float density) {
    // Cells on the cube around the viewer: the largest axis picks the face.
    const vec3 a = abs(dir);
    const float m = std::max(a.x, std::max(a.y, a.z));
    if (!(m > 0.0f)) return {};
    vec2 face = a.x == m ? vec2{dir.y, dir.z} : a.y == m ? vec2{dir.x, dir.z} : vec2{dir.x, dir.y};
    const float side = a.x == m   ? (dir.x > 0 ? 1.0f : 2.0f)
                       : a.y == m ? (dir.y > 0 ? 3.0f : 4.0f)
                                  : (dir.z > 0 ? 5.0f : 6.0f);
    const vec2 p = face / m * density + side * 1000.0f;
    const vec2 cell = floor(p);
    const vec2 h = Hash2(cell);
    if (h.x < 0.94f) return {};  // most cells hold no star
    const float bright = std::pow((h.x - 0.94f) / 0.06f, 3.0f);
    const vec2 centre = cell + 0.25f + 0.5f * Hash2(cell + 71.0f);
    const float d = length(p - centre);
    const float core = std::exp(-d * d * 30.0f);
    // Colour from orange to blue-white by a second hash.
    const vec3 tint = mix(vec3{1.0f, 0.75f, 0.55f}, vec3{0.7f, 0.82f, 1.0f}, h.y);
    return tint * (bright * 3.0f * core);
}

vec3 SkyGradient(vec3 d, vec3 sun, vec3 zenith, vec3 horizon, vec3 glow) {
    const float up = saturate(d.y);
    vec3 sky = mix(horizon, zenith, std::pow(up, 0.5f));
    const float toward = saturate(dot(d, sun));
    sky += glow * (std::pow(toward, 8.0f) * 0.4f + std::pow(toward, 500.0f) * 6.0f);
    return sky;
}

}  // namespace shader

EquationClassTable ShaderEquations() {
    static const std::vector<EquationClass> members = [] {
        std::vector<EquationClass> all;
        for (auto theme :
             {shader::ShaderExactMembers, shader::ShaderSpaceMembers, shader::ShaderTerrainMembers,
              shader::ShaderSkyMembers, shader::ShaderFireMembers, shader::ShaderPatternMembers})
            all.insert(all.end(), theme().begin(), theme().end());
        return all;
    }();
    return members;
}

}  // namespace luneth
