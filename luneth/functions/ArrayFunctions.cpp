// Array functions of the core group: built-ins that take or fill whole script values.
//
//   kind 10  array_add, array_min, array_max, array_ave(a)   sum, minimum, maximum, mean;
//            a plain scalar returns itself. Sums accumulate in double so that a long array
//            does not lose its small elements.
//   kind 11  array_move_right(a, n)   out[i + n] = a[i], the first n slots repeat a[0]
//            array_move_left(a, n)    out[i] = a[i + n], the last n slots repeat the last one
//            array_cumulate(a, n)     running sum with stride n: out[k] += out[k - n]
//            array_difference(a, n)   out[j] = a[j + n] - a[j], the last n slots repeat the
//                                     last difference; the scalar 0 when a has <= n elements
//            The output is a new array of a's count (a may be the output itself). A plain
//            scalar gives itself (its difference is 0). A negative n copies a, where the
//            formulas would read before the array's start.
//   kind 12  array_set, array_set_all_values(v)   every element, or the scalar, becomes v
//   kind 13  array_lerp(p, q)       element i = p + i (q - p) / (count - 1); one element is p
//            array_rand(p, q)       p + (q - p) rand() 2^-15
//            array_rand_int(p, q)   integers from i0 toward i1 (i1 excluded) with
//                                   i0, i1 = truncate(p + 0.1), truncate(q + 0.1); all i0
//                                   when they are equal
//            The caller has sized the output to the script's element count; a plain scalar
//            output is left as it is.
//   kind 14  array_get_value(a, i)  element i, 0 at or beyond the count or for i < 0; a plain
//            scalar returns itself.
//
// A value that cannot get memory is left unchanged.
#include <algorithm>
#include <cstdint>

#include "common/FloatConstants.h"
#include "common/Random.h"
#include "functions/Families.h"
#include "functions/RandomInt.h"
#include "script/ScriptValue.h"

namespace luneth {

namespace {

// ---------------------------------------------------------------------------------------------
// Reductions (kind 10)
// ---------------------------------------------------------------------------------------------

double Sum(const ScriptValue& v) {
    double sum = 0.0;
    for (uint32_t i = 0; i < v.count; ++i) sum += v.data[i];
    return sum;
}

float ArrayAdd(const ScriptValue* v) {
    return v->IsArray() ? static_cast<float>(Sum(*v)) : v->scalar;
}
float ArrayAve(const ScriptValue* v) {
    return v->IsArray() ? static_cast<float>(Sum(*v) / v->count) : v->scalar;
}
float ArrayMin(const ScriptValue* v) {
    return v->IsArray() ? *std::min_element(v->data, v->data + v->count) : v->scalar;
}
float ArrayMax(const ScriptValue* v) {
    return v->IsArray() ? *std::max_element(v->data, v->data + v->count) : v->scalar;
}

// ---------------------------------------------------------------------------------------------
// Transforms (kind 11)
// ---------------------------------------------------------------------------------------------

// Builds the result apart (in may be out) and swaps it into out: `scalarResult` for a plain
// scalar input, otherwise an array of in's count filled by fill(a, r, count).
template <class Fill>
void TransformInto(const ScriptValue* in, ScriptValue* out, float scalarResult, Fill fill) {
    ScriptValue result;
    if (!in->IsArray()) {
        result.SetScalar(scalarResult);
    } else {
        if (!result.SetCount(in->count)) return;
        fill(in->data, result.MutableData(), in->count);
    }
    out->Swap(result);
}

// The shift, limited to [0, count].
uint32_t Shift(int n, uint32_t count) {
    if (n <= 0) return 0;
    return static_cast<uint32_t>(n) < count ? static_cast<uint32_t>(n) : count;
}

void ArrayMoveRight(const ScriptValue* in, ScriptValue* out, int n) {
    TransformInto(in, out, in->scalar, [n](const float* a, float* r, uint32_t count) {
        uint32_t s = Shift(n, count);
        std::fill(r, r + s, a[0]);
        std::copy(a, a + (count - s), r + s);
    });
}

void ArrayMoveLeft(const ScriptValue* in, ScriptValue* out, int n) {
    TransformInto(in, out, in->scalar, [n](const float* a, float* r, uint32_t count) {
        uint32_t s = Shift(n, count);
        std::copy(a + s, a + count, r);
        std::fill(r + (count - s), r + count, a[count - 1]);
    });
}

void ArrayCumulate(const ScriptValue* in, ScriptValue* out, int n) {
    TransformInto(in, out, in->scalar, [n](const float* a, float* r, uint32_t count) {
        std::copy(a, a + count, r);
        if (n < 0) return;
        for (uint32_t k = static_cast<uint32_t>(n); k < count; ++k) r[k] += r[k - n];
    });
}

void ArrayDifference(const ScriptValue* in, ScriptValue* out, int n) {
    if (in->IsArray() && n >= 0 && in->count < static_cast<uint64_t>(n) + 1) {
        out->SetScalar(0.0f);
        return;
    }
    TransformInto(in, out, 0.0f, [n](const float* a, float* r, uint32_t count) {
        if (n < 0) {
            std::copy(a, a + count, r);
            return;
        }
        uint32_t last = count - static_cast<uint32_t>(n);
        for (uint32_t j = 0; j < last; ++j) r[j] = a[j + n] - a[j];
        std::fill(r + last, r + count, r[last - 1]);
    });
}

// ---------------------------------------------------------------------------------------------
// Generators (kinds 12 and 13)
// ---------------------------------------------------------------------------------------------

// Writable elements of an output array, or null for a plain scalar (or when memory fails).
float* OutputElements(ScriptValue* out) {
    if (!out->IsArray() || !out->MakeOwned()) return nullptr;
    return out->MutableData();
}

void ArraySet(ScriptValue* out, float v) {
    if (!out->IsArray()) {
        out->SetScalar(v);
        return;
    }
    if (float* r = OutputElements(out)) std::fill(r, r + out->count, v);
}

void ArrayLerp(ScriptValue* out, float p, float q) {
    float* r = OutputElements(out);
    if (!r) return;
    if (out->count == 1) {
        r[0] = p;
        return;
    }
    float last = static_cast<float>(out->count - 1);
    for (uint32_t i = 0; i < out->count; ++i) r[i] = p + static_cast<float>(i) * (q - p) / last;
}

void ArrayRand(ScriptValue* out, float p, float q) {
    float* r = OutputElements(out);
    if (!r) return;
    for (uint32_t i = 0; i < out->count; ++i) r[i] = p + (q - p) * RandUnit();
}

void ArrayRandInt(ScriptValue* out, float p, float q) {
    float* r = OutputElements(out);
    if (!r) return;
    int32_t i0 = TruncateInt(p + 0.1f), i1 = TruncateInt(q + 0.1f);
    for (uint32_t i = 0; i < out->count; ++i) r[i] = RandomIntToward(i0, i1);
}

// ---------------------------------------------------------------------------------------------
// Element access (kind 14)
// ---------------------------------------------------------------------------------------------

float ArrayGetValue(const ScriptValue* v, int index) {
    if (!v->IsArray()) return v->scalar;
    if (index < 0 || static_cast<uint32_t>(index) >= v->count) return 0.0f;
    return v->data[index];
}

constexpr BuiltinFunction kArrayFunctions[] = {
    {"array_add", ArrayAdd},
    {"array_min", ArrayMin},
    {"array_max", ArrayMax},
    {"array_ave", ArrayAve},
    {"array_move_right", ArrayMoveRight},
    {"array_move_left", ArrayMoveLeft},
    {"array_cumulate", ArrayCumulate},
    {"array_difference", ArrayDifference},
    {"array_set_all_values", ArraySet},
    {"array_set", ArraySet},
    {"array_lerp", ArrayLerp},
    DrawsRandom({"array_rand", ArrayRand}),
    DrawsRandom({"array_rand_int", ArrayRandInt}),
    {"array_get_value", ArrayGetValue},
};

}  // namespace

FunctionTable ArrayFunctions() { return kArrayFunctions; }

}  // namespace luneth
