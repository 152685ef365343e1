// Element-wise application of operators and functions to script values.
//
// n is the largest element count among the operands; n == 0 gives a scalar result. Otherwise the
// result has n elements and reads every operand by the ScriptValue rule: a scalar is broadcast,
// a shorter array reads 0 past its end. The common shapes (full-length arrays and scalars) run
// through "lanes" (a pointer and a stride of 1 or 0) so the loops stay tight; padded arrays take
// the general path. Every result is allocated once.
#include <cmath>
#include <initializer_list>

#include "common/FloatConstants.h"
#include "script/Evaluate.h"

namespace luneth {

namespace {

struct Lane {
    const float* p;
    uint32_t step;
    float operator[](uint32_t i) const { return p[i * step]; }
};

// A lane for an operand read over n elements; false for an array shorter than n.
bool MakeLane(const ScriptValue& v, uint32_t n, Lane* lane) {
    if (!v.data) {
        *lane = {&v.scalar, 0};
        return true;
    }
    if (v.count == n) {
        *lane = {v.data, 1};
        return true;
    }
    return false;
}

uint32_t MaxCount(std::initializer_list<const ScriptValue*> values) {
    uint32_t n = 0;
    for (const ScriptValue* v : values)
        if (v->count > n) n = v->count;
    return n;
}

// Runs body(i) -> float for i < n into a fresh array adopted by out.
template <class Body>
bool Fill(uint32_t n, ScriptValue* out, Body body) {
    float* r = ScriptValue::AllocateElements(n);
    if (!r) return false;
    for (uint32_t i = 0; i < n; ++i) r[i] = body(i);
    out->Adopt(r, n);
    return true;
}

// ---- binary operators, result in the left operand's place ----------------------------------

struct AddOp {
    float operator()(float a, float b) const { return a + b; }
};
struct SubOp {
    float operator()(float a, float b) const { return a - b; }
};
struct MulOp {
    float operator()(float a, float b) const { return a * b; }
};
struct DivOp {
    float operator()(float a, float b) const {
        if (b > -kEpsilon && b < kEpsilon)
            return a > kEpsilon ? kBig : (a < -kEpsilon ? -kBig : 0.0f);
        return a / b;
    }
};
struct TableOp {
    Float2Fn f;
    float operator()(float a, float b) const { return f(a, b); }
};

template <class Op>
bool OperatorKernel(Op op, ScriptValue& left, const ScriptValue& right) {
    uint32_t n = left.count > right.count ? left.count : right.count;
    if (n == 0) {
        left.SetScalar(op(left.scalar, right.scalar));
        return true;
    }
    // The left slot is resized to n before it is read, so a scalar below 2^-23 reads as 0.
    const bool inPlace = left.data && !left.IsView() && left.count == n;
    float* out = inPlace ? left.data : ScriptValue::AllocateElements(n);
    if (!out) return false;
    const float leftScalar = std::fabs(left.scalar) < kEpsilon ? 0.0f : left.scalar;
    Lane a, b;
    bool laneA = left.data ? left.count == n : true;
    if (left.data && laneA) a = {left.data, 1};
    if (!left.data) a = {&leftScalar, 0};
    bool laneB = MakeLane(right, n, &b);
    if (laneA && laneB) {
        if (a.step && b.step) {
            const float* x = a.p;
            const float* y = b.p;
            for (uint32_t i = 0; i < n; ++i) out[i] = op(x[i], y[i]);
        } else if (a.step) {
            const float* x = a.p;
            const float y = *b.p;
            for (uint32_t i = 0; i < n; ++i) out[i] = op(x[i], y);
        } else {
            const float x = *a.p;
            const float* y = b.p;
            for (uint32_t i = 0; i < n; ++i) out[i] = op(x, y[i]);
        }
    } else {
        for (uint32_t i = 0; i < n; ++i) {
            float x = left.data ? (i < left.count ? left.data[i] : 0.0f) : leftScalar;
            out[i] = op(x, right.At(i));
        }
    }
    if (inPlace)
        left.valid = true;
    else
        left.Adopt(out, n);
    return true;
}

}  // namespace

bool ApplyOperatorInPlace(const FunctionRecord* op, ScriptValue& left, const ScriptValue& right) {
    switch (op->name[0]) {
        case '+':
            return OperatorKernel(AddOp{}, left, right);
        case '-':
            return OperatorKernel(SubOp{}, left, right);
        case '*':
            return OperatorKernel(MulOp{}, left, right);
        case '/':
            return OperatorKernel(DivOp{}, left, right);
        default:
            return OperatorKernel(TableOp{op->slots.float2}, left, right);
    }
}

// ---- functions of kinds 5 to 9 ---------------------------------------------------------------

bool ApplyUnary(Float1Fn f, const ScriptValue& x, ScriptValue* out) {
    if (!x.data) {
        out->SetScalar(f(x.scalar));
        return true;
    }
    const float* in = x.data;
    return Fill(x.count, out, [&](uint32_t i) { return f(in[i]); });
}

bool ApplyBinary(Float2Fn f, const ScriptValue& a, const ScriptValue& b, ScriptValue* out) {
    uint32_t n = MaxCount({&a, &b});
    if (n == 0) {
        out->SetScalar(f(a.scalar, b.scalar));
        return true;
    }
    Lane la, lb;
    if (MakeLane(a, n, &la) && MakeLane(b, n, &lb))
        return Fill(n, out, [&](uint32_t i) { return f(la[i], lb[i]); });
    return Fill(n, out, [&](uint32_t i) { return f(a.At(i), b.At(i)); });
}

bool ApplyTernary(Float3Fn f, const ScriptValue& a, const ScriptValue& b, const ScriptValue& c,
                  ScriptValue* out) {
    uint32_t n = MaxCount({&a, &b, &c});
    if (n == 0) {
        out->SetScalar(f(a.scalar, b.scalar, c.scalar));
        return true;
    }
    Lane la, lb, lc;
    if (MakeLane(a, n, &la) && MakeLane(b, n, &lb) && MakeLane(c, n, &lc))
        return Fill(n, out, [&](uint32_t i) { return f(la[i], lb[i], lc[i]); });
    return Fill(n, out, [&](uint32_t i) { return f(a.At(i), b.At(i), c.At(i)); });
}

bool ApplyQuaternary(Float4Fn f, const ScriptValue& a, const ScriptValue& b, const ScriptValue& c,
                     const ScriptValue& d, ScriptValue* out) {
    uint32_t n = MaxCount({&a, &b, &c, &d});
    if (n == 0) {
        out->SetScalar(f(a.scalar, b.scalar, c.scalar, d.scalar));
        return true;
    }
    Lane la, lb, lc, ld;
    if (MakeLane(a, n, &la) && MakeLane(b, n, &lb) && MakeLane(c, n, &lc) && MakeLane(d, n, &ld))
        return Fill(n, out, [&](uint32_t i) { return f(la[i], lb[i], lc[i], ld[i]); });
    return Fill(n, out, [&](uint32_t i) { return f(a.At(i), b.At(i), c.At(i), d.At(i)); });
}

bool ApplyVariadic(VariadicFn f, const ScriptValue* args, int count, ScriptValue* out) {
    if (count < 1 || count > kMaxVariadicArguments) return false;
    // Zeroed once per call: a function that reads past `count` sees 0.
    float buffer[kMaxVariadicArguments] = {};
    uint32_t n = 0;
    for (int j = 0; j < count; ++j)
        if (args[j].count > n) n = args[j].count;
    if (n == 0) {
        for (int j = 0; j < count; ++j) buffer[j] = args[j].scalar;
        out->SetScalar(f(buffer, count));
        return true;
    }
    Lane lanes[kMaxVariadicArguments];
    bool fast = true;
    for (int j = 0; j < count && fast; ++j) fast = MakeLane(args[j], n, &lanes[j]);
    return Fill(n, out, [&](uint32_t i) {
        for (int j = 0; j < count; ++j) buffer[j] = fast ? lanes[j][i] : args[j].At(i);
        return f(buffer, count);
    });
}

}  // namespace luneth
