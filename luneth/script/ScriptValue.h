// ScriptValue: the value of every script variable, operand and function result.
//
// A value is either a scalar (data == nullptr) or an array of `count` floats, one per pixel or
// vertex. Element i, as every element-wise rule reads it (At):
//     data[i]   when data is set and i < count
//     0         when data is set and i >= count   (shorter arrays are padded with zeros)
//     scalar    when there is no array            (scalars are broadcast)
//
// A value owns its array and copies deeply. The evaluator may also hold a read-only *view* of
// another value's array (MakeView) so that reading a variable does not copy it; any operation
// that writes (SetCount, element writes through MutableData) first gives a view storage of its
// own. Allocation failures are reported as false, never thrown.
#pragma once

#include <cstddef>
#include <cstdint>

namespace luneth {

// Largest element count an array may have (16384 x 16384 pixels, 1 GiB of floats). Count
// directives above it are refused so that a typo cannot exhaust the machine's memory.
constexpr uint32_t kMaxElementCount = 1u << 28;

// The bytes that the element arrays of every script of the process may hold together (0, the
// start: no limit). The image module sets it from the engine's memory budget; an array that
// would pass it is not allocated, and the line that wanted it fails ("out of memory").
void SetArrayMemoryBudget(size_t bytes);
size_t ArrayMemoryBudget();

struct ScriptValue {
    float scalar = 0.0f;
    float* data = nullptr;
    uint32_t count = 0;
    bool valid = false;

    ScriptValue() = default;
    explicit ScriptValue(float s) : scalar(s), valid(true) {}
    ~ScriptValue() { Free(); }

    ScriptValue(const ScriptValue& other);
    ScriptValue& operator=(const ScriptValue& other);
    ScriptValue(ScriptValue&& other) noexcept;
    ScriptValue& operator=(ScriptValue&& other) noexcept;

    bool IsArray() const { return data != nullptr; }
    bool IsView() const { return borrowed_; }

    // Element i by the reading rule above.
    float At(uint32_t i) const { return data ? (i < count ? data[i] : 0.0f) : scalar; }

    // Resizes to n elements. An array keeps its first min(n, count) elements, the rest become 0;
    // a scalar fills all n elements with its value and then its scalar becomes 0 (a scalar of
    // magnitude below 2^-23 gives zeros). n == 0 turns the value into a scalar. Sets valid.
    // False (value unchanged) when memory can't be had or n exceeds kMaxElementCount.
    bool SetCount(uint32_t n);

    // Frees the array and stores the scalar x; sets valid.
    void SetScalar(float x);

    // Deep copy of other, including its valid flag. False when memory can't be had.
    bool CopyFrom(const ScriptValue& other);

    // Each element repeated k times in place: [x0, x1], k = 3 -> [x0, x0, x0, x1, x1, x1].
    bool RepeatEach(uint32_t k);
    // The whole array repeated k times: [x0, x1], k = 3 -> [x0, x1, x0, x1, x0, x1].
    bool Tile(uint32_t k);

    // Makes this value a read-only view of other's array (or a copy of its scalar).
    void MakeView(const ScriptValue& other);

    // Ensures the array is owned (copies a view); false when memory can't be had.
    bool MakeOwned();

    // Writable elements; the value must own its array (see MakeOwned).
    float* MutableData() { return data; }

    // Releases the array (if owned) and becomes the scalar 0, not valid.
    void Clear();

    // Gives the array to this value without copying; `elements` must come from AllocateElements.
    void Adopt(float* elements, uint32_t n);

    // Exchanges contents with other.
    void Swap(ScriptValue& other) noexcept;

    // Storage for n floats (uninitialised) that Adopt accepts; nullptr on failure. Storage that
    // is not adopted goes back with FreeElements and its size.
    static float* AllocateElements(uint32_t n);
    static void FreeElements(float* elements, uint32_t n);

private:
    void Free();
    bool borrowed_ = false;
};

}  // namespace luneth
