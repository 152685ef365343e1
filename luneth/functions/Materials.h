// The material table: named mineral colours that the texture family paints with.
//
//   MaterialTable::Register(spec)  enters a material; a present name is replaced in place (so
//                                  defining the named materials twice changes nothing), a new
//                                  one is appended. Refused (false): a missing or empty name,
//                                  one of 16 or more characters, a 33rd entry.
//   Count(), Get(i)                readers; Get is null outside 0 .. Count() - 1
//   Materials()                    the library's table
//   DefineNamedMaterials()         enters the nine materials "gold" ... "pink", in order
//
// A material: name, colour 0xAARRGGBB, a value range, a scale and a second range; each range
// is stored as the max and min of the two values given. The library's table is written while
// the groups register, before any evaluation, and only read afterwards.
#pragma once

#include <cstdint>

namespace luneth {

constexpr int kMaxMaterials = 32;
constexpr int kMaterialNameCapacity = 16;  // at most 15 characters and the terminating zero

struct Material {
    char name[kMaterialNameCapacity];
    uint32_t colour;
    float high1, low1;
    float scale;
    float high2, low2;
};

// The values as a caller gives them: each range in either order.
struct MaterialSpec {
    const char* name;
    uint32_t colour;
    float range1a, range1b;
    float scale;
    float range2a, range2b;
};

class MaterialTable {
public:
    bool Register(const MaterialSpec& spec);
    int Count() const { return count_; }
    const Material* Get(int index) const {
        return index >= 0 && index < count_ ? &entries_[index] : nullptr;
    }

private:
    Material entries_[kMaxMaterials] = {};
    int count_ = 0;
};

MaterialTable& Materials();
void DefineNamedMaterials();

}  // namespace luneth
