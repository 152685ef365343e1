#include "Allocator.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

namespace kivcore {

CAllocator::~CAllocator() {
    for (auto& [memory, block] : blocks_) std::free(const_cast<void*>(memory));
}

size_t CAllocator::LiveBlockCount() const {
    std::lock_guard lock(mutex_);
    return blocks_.size();
}

size_t CAllocator::LiveBytes() const {
    std::lock_guard lock(mutex_);
    return liveBytes_;
}

void CAllocator::SetBudget(size_t bytes) {
    std::lock_guard lock(mutex_);
    budget_ = bytes;
}

size_t CAllocator::GetBudget() const {
    std::lock_guard lock(mutex_);
    return budget_;
}

size_t CAllocator::BudgetLeft() const {
    std::lock_guard lock(mutex_);
    if (!budget_) return SIZE_MAX;
    return liveBytes_ < budget_ ? budget_ - liveBytes_ : 0;
}

void* CAllocator::Allocate(size_t bytes, const char* tag, int line) {
    std::lock_guard lock(mutex_);
    if (budget_ && (bytes > budget_ || liveBytes_ > budget_ - bytes)) return nullptr;
    // A zero-byte block still gets a unique address.
    void* memory = std::malloc(bytes ? bytes : 1);
    if (!memory) return nullptr;
    Block block{bytes, {}, line, nextOrder_++};
    std::snprintf(block.tag, sizeof block.tag, "%s", tag ? tag : "?");
    try {
        blocks_.emplace(memory, block);
    } catch (const std::bad_alloc&) {
        std::free(memory);
        return nullptr;
    }
    liveBytes_ += bytes;
    return memory;
}

void CAllocator::Free(void* memory) {
    if (!memory) return;
    std::lock_guard lock(mutex_);
    auto it = blocks_.find(memory);
    if (it == blocks_.end()) {
        if (reporter_) {
            char line[96];
            std::snprintf(line, sizeof line, "Memory: free of an unknown block %p ignored", memory);
            reporter_(4, line);
        }
        return;
    }
    liveBytes_ -= it->second.size;
    blocks_.erase(it);
    std::free(memory);
}

size_t CAllocator::BlockSize(const void* memory) const {
    std::lock_guard lock(mutex_);
    auto it = memory ? blocks_.find(memory) : blocks_.end();
    return it == blocks_.end() ? 0 : it->second.size;
}

size_t CAllocator::ReportLeaksAndFree() {
    std::lock_guard lock(mutex_);
    size_t leaked = blocks_.size();
    if (reporter_) {
        if (leaked == 0) {
            reporter_(1, "Memory: no leaks");
        } else {
            // In allocation order, so the report reads the same on every run.
            std::vector<const Block*> order;
            order.reserve(leaked);
            for (const auto& entry : blocks_) order.push_back(&entry.second);
            std::sort(order.begin(), order.end(),
                      [](const Block* a, const Block* b) { return a->order < b->order; });
            char line[256];
            for (const Block* block : order) {
                std::snprintf(line, sizeof line, "Memory leak: %zu bytes from %s(%d)", block->size,
                              block->tag, block->line);
                reporter_(4, line);
            }
        }
    }
    for (auto& [memory, block] : blocks_) std::free(const_cast<void*>(memory));
    blocks_.clear();
    liveBytes_ = 0;
    return leaked;
}

}  // namespace kivcore
