#include "functions/Materials.h"

#include <algorithm>
#include <cstring>

namespace luneth {

namespace {

// name, colour, range 1, scale, range 2
constexpr MaterialSpec kNamedMaterials[] = {
    {"gold", 0xFFFFD700u, 0.5f, 0.95f, 0.1f, 0.0f, 0.1f},
    {"silver", 0xFFFFFFF0u, 0.5f, 0.95f, 0.1f, 0.1f, 0.2f},
    {"copper", 0xFFFF8020u, 0.5f, 0.95f, 0.1f, 0.2f, 0.4f},
    {"ivory", 0xFF80F0B0u, 0.5f, 0.95f, 0.1f, 0.4f, 0.6f},
    {"diamond", 0xFF87CEEBu, 0.2f, 0.8f, 0.1f, 0.9f, 1.0f},
    {"red", 0xFFFF0000u, 0.0f, 0.2f, 0.05f, 0.0f, 0.8f},
    {"green", 0xFF00FF00u, 0.2f, 0.4f, 0.05f, 0.0f, 0.8f},
    {"blue", 0xFF0000FFu, 0.3f, 0.6f, 0.05f, 0.0f, 0.8f},
    {"pink", 0xFFFF00FFu, 0.6f, 0.8f, 0.05f, 0.0f, 0.8f},
};

}  // namespace

bool MaterialTable::Register(const MaterialSpec& spec) {
    if (!spec.name) return false;
    const size_t length = std::strlen(spec.name);
    if (length == 0 || length >= kMaterialNameCapacity) return false;
    Material* end = entries_ + count_;
    Material* slot = std::find_if(
        entries_, end, [&](const Material& m) { return std::strcmp(m.name, spec.name) == 0; });
    if (slot == end) {
        if (count_ == kMaxMaterials) return false;
        ++count_;
    }
    Material m{};
    std::memcpy(m.name, spec.name, length + 1);
    m.colour = spec.colour;
    m.high1 = std::max(spec.range1a, spec.range1b);
    m.low1 = std::min(spec.range1a, spec.range1b);
    m.scale = spec.scale;
    m.high2 = std::max(spec.range2a, spec.range2b);
    m.low2 = std::min(spec.range2a, spec.range2b);
    *slot = m;
    return true;
}

MaterialTable& Materials() {
    static MaterialTable table;
    return table;
}

void DefineNamedMaterials() {
    for (const MaterialSpec& spec : kNamedMaterials) Materials().Register(spec);
}

}  // namespace luneth
