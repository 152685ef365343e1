#include "script/TileKernels.h"

#include <vector>

namespace luneth {

namespace {

// Written once at library start, read-only while scripts run.
std::vector<TileKernel>& Kernels() {
    static std::vector<TileKernel> kernels;
    return kernels;
}

uintptr_t ElementOf(const FunctionRecord& record) {
    const FunctionSlots& s = record.slots;
    switch (record.kind) {
        case kKindFloat1:
            return ElementKey(s.float1);
        case kKindFloat2:
            return ElementKey(s.float2);
        case kKindFloat3:
            return ElementKey(s.float3);
        case kKindFloat4:
            return ElementKey(s.float4);
        case kKindVariadic:
            return ElementKey(s.variadic);
        default:
            return 0;
    }
}

}  // namespace

void InstallTileKernels(std::span<const TileKernel> kernels) {
    Kernels().assign(kernels.begin(), kernels.end());
}

TileFn FindTileKernel(const FunctionRecord& record, int arity) {
    if (record.drawsRandom) return nullptr;
    const uintptr_t element = ElementOf(record);
    if (!element) return nullptr;
    for (const TileKernel& k : Kernels())
        if (k.element == element && k.arity == arity) return k.tile;
    return nullptr;
}

}  // namespace luneth
