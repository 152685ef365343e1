// KicAllocator: the engine's tagged allocator.
//
// Every block carries the source tag and line it was allocated with and its byte count. Blocks
// still alive at KivEngineShutdown are reported to the log (level 4, one line per block:
// "Memory leak: %zu bytes from %s(%d)") and then freed. Plug-in objects live in this memory
// (kiv/module.h), so do the engine's textures and controls.
//
//   Allocate(bytes, tag, line)   16-byte aligned memory, or null when memory can't be had or the
//                                block would pass the configured budget ("KivCore/MemoryBudget",
//                                bytes, 0 = none). A request of 0 bytes gives a block of size 0.
//   Free(memory)                 null is ignored; a pointer that is not a live block is logged
//                                and otherwise ignored.
//   BlockSize(memory)            the byte count asked for; 0 for null or an unknown pointer.
#pragma once

#include <cstddef>

class KicAllocator {
public:
    virtual void* Allocate(size_t bytes, const char* tag, int line) = 0;
    virtual void Free(void* memory) = 0;
    virtual size_t BlockSize(const void* memory) const = 0;
    // Live blocks and their total bytes.
    virtual size_t LiveBlockCount() const = 0;
    virtual size_t LiveBytes() const = 0;
    // The byte budget for all live blocks together; 0 removes it.
    virtual void SetBudget(size_t bytes) = 0;
    // The budget (0: none) and what of it is not yet allocated (SIZE_MAX without a budget):
    // what code that allocates elsewhere (script arrays, decoders) checks its sizes against.
    virtual size_t GetBudget() const = 0;
    virtual size_t BudgetLeft() const = 0;

protected:
    ~KicAllocator() = default;
};
