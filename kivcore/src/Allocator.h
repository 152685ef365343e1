// CAllocator: the tagged allocator behind KicAllocator.
//
// Blocks come from malloc; a hash map from address to (size, tag, line) answers BlockSize and
// lets Free reject foreign pointers. Engine allocations are few and large (objects, textures),
// so the map costs nothing that matters. One lock guards the map: image objects may compute
// (and make textures) on threads of their own.
#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <unordered_map>

#include "kiv/allocator.h"

namespace kivcore {

class CAllocator final : public KicAllocator {
public:
    using Reporter = std::function<void(int level, const char* text)>;

    CAllocator() = default;
    ~CAllocator();

    void* Allocate(size_t bytes, const char* tag, int line) override;
    void Free(void* memory) override;
    size_t BlockSize(const void* memory) const override;
    size_t LiveBlockCount() const override;
    size_t LiveBytes() const override;
    void SetBudget(size_t bytes) override;
    size_t GetBudget() const override;
    size_t BudgetLeft() const override;

    // Where Free reports a foreign pointer and ReportLeaks writes; nothing is written without.
    void SetReporter(Reporter reporter) { reporter_ = std::move(reporter); }
    // Writes one line per live block (level 4) or "Memory: no leaks" (level 1), then frees
    // every block. Gives the number of leaked blocks.
    size_t ReportLeaksAndFree();

private:
    struct Block {
        size_t size;
        char tag[40];  // copied: a module's literals go away when it is unloaded
        int line;
        size_t order;
    };
    mutable std::mutex mutex_;
    std::unordered_map<const void*, Block> blocks_;
    size_t liveBytes_ = 0;
    size_t budget_ = 0;
    size_t nextOrder_ = 0;
    Reporter reporter_;
};

}  // namespace kivcore
