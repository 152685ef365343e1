#include "script/ScriptValue.h"

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "common/FloatConstants.h"

namespace luneth {

namespace {

// Recently freed element arrays, kept for reuse. A script allocates and frees arrays of one size
// (its element count) over and over; handing a block back to the system and faulting a fresh
// one in costs more than the arithmetic itself. The cache is per thread and bounded. It is a
// plain struct (no destructor) so that values freed while the thread ends, after the flusher
// below has run, still find it and simply free their storage.
struct BlockCache {
    static constexpr int kSlots = 8;
    static constexpr size_t kMaxBytes = size_t{256} << 20;
    struct Block {
        float* data;
        uint32_t size;
    };
    Block blocks[kSlots];
    int count;
    size_t bytes;
    bool closed;

    static size_t Bytes(uint32_t n) { return static_cast<size_t>(n) * sizeof(float); }
    float* Take(uint32_t n) {
        for (int i = count - 1; i >= 0; --i) {
            if (blocks[i].size == n) {
                float* data = blocks[i].data;
                bytes -= Bytes(n);
                blocks[i] = blocks[--count];
                return data;
            }
        }
        return nullptr;
    }
    bool Give(float* data, uint32_t n) {
        if (closed || count == kSlots || bytes + Bytes(n) > kMaxBytes) return false;
        blocks[count++] = {data, n};
        bytes += Bytes(n);
        return true;
    }
    void Drop();
    void Flush() {
        Drop();
        closed = true;
    }
};

// The bytes of element arrays the process holds from malloc (cached blocks included) and the
// budget they must stay within (0: none).
std::atomic<size_t> g_arrayBytes{0};
std::atomic<size_t> g_arrayBudget{0};

void ReleaseBlock(float* data, uint32_t n) {
    std::free(data);
    g_arrayBytes.fetch_sub(BlockCache::Bytes(n), std::memory_order_relaxed);
}

void BlockCache::Drop() {
    for (int i = 0; i < count; ++i) ReleaseBlock(blocks[i].data, blocks[i].size);
    count = 0;
    bytes = 0;
}

// Takes `bytes` from the budget; false when they would pass it.
bool Reserve(size_t bytes) {
    const size_t budget = g_arrayBudget.load(std::memory_order_relaxed);
    size_t held = g_arrayBytes.fetch_add(bytes, std::memory_order_relaxed) + bytes;
    if (!budget || held <= budget) return true;
    g_arrayBytes.fetch_sub(bytes, std::memory_order_relaxed);
    return false;
}

thread_local BlockCache t_blocks{};

struct BlockCacheFlusher {
    ~BlockCacheFlusher() { t_blocks.Flush(); }
};
thread_local BlockCacheFlusher t_flusher;

}  // namespace

void SetArrayMemoryBudget(size_t bytes) { g_arrayBudget.store(bytes, std::memory_order_relaxed); }

size_t ArrayMemoryBudget() { return g_arrayBudget.load(std::memory_order_relaxed); }

float* ScriptValue::AllocateElements(uint32_t n) {
    if (n == 0 || n > kMaxElementCount) return nullptr;
    if (float* reused = t_blocks.Take(n)) return reused;
    const size_t bytes = BlockCache::Bytes(n);
    if (!Reserve(bytes)) {
        // Blocks kept for reuse are the first to give way.
        t_blocks.Drop();
        if (!Reserve(bytes)) return nullptr;
    }
    // Cache-line aligned, so that no vector load of a tile loop straddles two lines.
    float* data = static_cast<float*>(std::aligned_alloc(64, (bytes + 63) & ~size_t(63)));
    if (!data) g_arrayBytes.fetch_sub(bytes, std::memory_order_relaxed);
    return data;
}

void ScriptValue::FreeElements(float* elements, uint32_t n) {
    (void)&t_flusher;  // constructed on first use in this thread, flushes the cache at its end
    if (elements && !t_blocks.Give(elements, n)) ReleaseBlock(elements, n);
}

void ScriptValue::Free() {
    if (data && !borrowed_) FreeElements(data, count);
    data = nullptr;
    count = 0;
    borrowed_ = false;
}

ScriptValue::ScriptValue(const ScriptValue& other) { CopyFrom(other); }

ScriptValue& ScriptValue::operator=(const ScriptValue& other) {
    if (this != &other) CopyFrom(other);
    return *this;
}

ScriptValue::ScriptValue(ScriptValue&& other) noexcept { Swap(other); }

ScriptValue& ScriptValue::operator=(ScriptValue&& other) noexcept {
    if (this != &other) {
        Clear();
        Swap(other);
    }
    return *this;
}

void ScriptValue::Swap(ScriptValue& other) noexcept {
    std::swap(scalar, other.scalar);
    std::swap(data, other.data);
    std::swap(count, other.count);
    std::swap(valid, other.valid);
    std::swap(borrowed_, other.borrowed_);
}

void ScriptValue::Clear() {
    Free();
    scalar = 0.0f;
    valid = false;
}

bool ScriptValue::SetCount(uint32_t n) {
    if (n == count && !borrowed_) {
        valid = true;
        return true;
    }
    if (n == 0) {
        Free();
        valid = true;
        return true;
    }
    float* fresh = AllocateElements(n);
    if (!fresh) return false;
    if (data) {
        uint32_t keep = n < count ? n : count;
        std::memcpy(fresh, data, static_cast<size_t>(keep) * sizeof(float));
        if (n > keep) std::memset(fresh + keep, 0, static_cast<size_t>(n - keep) * sizeof(float));
    } else {
        float fill = std::fabs(scalar) < kEpsilon ? 0.0f : scalar;
        if (fill == 0.0f) {
            std::memset(fresh, 0, static_cast<size_t>(n) * sizeof(float));
        } else {
            for (uint32_t i = 0; i < n; ++i) fresh[i] = fill;
        }
        scalar = 0.0f;
    }
    Free();
    data = fresh;
    count = n;
    valid = true;
    return true;
}

void ScriptValue::SetScalar(float x) {
    Free();
    scalar = x;
    valid = true;
}

bool ScriptValue::CopyFrom(const ScriptValue& other) {
    if (this == &other) return MakeOwned();
    if (other.data) {
        if (data == other.data) {
            // A view of the source: give it storage of its own first.
            if (!MakeOwned()) return false;
        } else if (count != other.count || borrowed_) {
            float* fresh = AllocateElements(other.count);
            if (!fresh) return false;
            Free();
            data = fresh;
            count = other.count;
        }
        std::memcpy(data, other.data, static_cast<size_t>(count) * sizeof(float));
        scalar = other.scalar;
    } else {
        Free();
        scalar = other.scalar;
    }
    valid = other.valid;
    return true;
}

bool ScriptValue::MakeOwned() {
    if (!borrowed_) return true;
    float* fresh = AllocateElements(count);
    if (!fresh) return false;
    std::memcpy(fresh, data, static_cast<size_t>(count) * sizeof(float));
    data = fresh;
    borrowed_ = false;
    return true;
}

void ScriptValue::MakeView(const ScriptValue& other) {
    Free();
    scalar = other.scalar;
    valid = other.valid;
    if (other.data) {
        data = other.data;
        count = other.count;
        borrowed_ = true;
    }
}

void ScriptValue::Adopt(float* elements, uint32_t n) {
    Free();
    data = elements;
    count = n;
    scalar = 0.0f;
    valid = true;
}

bool ScriptValue::RepeatEach(uint32_t k) {
    if (!data) return true;
    uint64_t total = static_cast<uint64_t>(count) * k;
    if (total > kMaxElementCount) return false;
    if (total == 0) {
        Free();
        valid = true;
        return true;
    }
    float* fresh = AllocateElements(static_cast<uint32_t>(total));
    if (!fresh) return false;
    float* out = fresh;
    for (uint32_t i = 0; i < count; ++i)
        for (uint32_t j = 0; j < k; ++j) *out++ = data[i];
    Free();
    data = fresh;
    count = static_cast<uint32_t>(total);
    valid = true;
    return true;
}

bool ScriptValue::Tile(uint32_t k) {
    if (!data) return true;
    uint64_t total = static_cast<uint64_t>(count) * k;
    if (total > kMaxElementCount) return false;
    if (total == 0) {
        Free();
        valid = true;
        return true;
    }
    float* fresh = AllocateElements(static_cast<uint32_t>(total));
    if (!fresh) return false;
    for (uint32_t j = 0; j < k; ++j)
        std::memcpy(fresh + static_cast<size_t>(j) * count, data,
                    static_cast<size_t>(count) * sizeof(float));
    Free();
    data = fresh;
    count = static_cast<uint32_t>(total);
    valid = true;
    return true;
}

}  // namespace luneth
