// Tile kernels: element-wise library functions as loops over a whole tile of elements.
//
// The tiled runner calls a function once per element through its record; for the busiest
// functions a kernel does the whole tile in one loop instead (no call per element, so the
// compiler vectorises it). A kernel gives exactly the bits of its element function on every
// element: it is the same operations, written without branches.
//
//   InstallTileKernels(kernels)   once, when the library starts (before any script runs)
//   FindTileKernel(record, arity) the kernel of a call with `arity` arguments, or null
#pragma once

#include <cstdint>
#include <span>

#include "script/FunctionRecord.h"

namespace luneth {

// in[j]: argument j's elements (every argument an array of m elements); out: m results.
using TileFn = void (*)(const float* const* in, float* out, uint32_t m);

struct TileKernel {
    uintptr_t element;  // the element function the kernel stands for
    int arity;          // the argument count it takes
    TileFn tile;
};

template <class F>
inline uintptr_t ElementKey(F f) {
    return reinterpret_cast<uintptr_t>(f);
}

void InstallTileKernels(std::span<const TileKernel> kernels);
TileFn FindTileKernel(const FunctionRecord& record, int arity);

}  // namespace luneth
