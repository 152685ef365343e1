// Geometry directives: sweeping a vertex curve into a surface.
//
//   surface_slices = N                                   S = max(2, N) slices (32 by default)
//   scale     = anchor(x, y, z) x(from, to[, expr]) y(...) z(...)
//   rotate    = anchor(x, y, z) axis(x, y, z) angle(from, to[, expr])
//   translate = dir(x, y, z) dis(from, to[, expr])
//   pipe      = radius(r) type(t)
//
// A per-slice value "(from, to)" ramps from..to over the S slices; "(from, to, expr)" sets the
// letter v to that ramp and evaluates expr (which may use v) into the value. Directives are
// recorded while the lines run; after the last line, a script without a grid has its curve of
// N points (x, y, z) turned into N x S points: dimension1 = S, dimension2 = N, element
// slice + point * S. Every array variable is repeated per slice, the records rewrite x, y, z in
// order, and v receives the slice parameter. A failing directive only logs a warning.
#include <cmath>
#include <type_traits>
#include <vector>

#include "common/FloatConstants.h"
#include "script/Evaluate.h"
#include "script/FunctionRegistry.h"
#include "script/Lexer.h"
#include "script/MathScript.h"

namespace luneth {

namespace {

bool ReadTriple(const float* letters, const char*& p, float out[3]) {
    int count = 0;
    return ReadScalarList(letters, p, out, 3, 3, &count);
}

bool ReadSingle(const float* letters, const char*& p, float* out) {
    int count = 0;
    return ReadScalarList(letters, p, out, 1, 1, &count);
}

// After a group: blanks and one optional comma.
void SkipGroupSeparator(const char*& p) {
    p = SkipBlanks(p);
    if (*p == ',') ++p;
}

void Ramp(float* out, uint32_t n, float from, float to) {
    if (n < 2) return;
    float step = (to - from) / static_cast<float>(n - 1);
    for (uint32_t k = 0; k < n; ++k) out[k] = static_cast<float>(k) * step + from;
}

}  // namespace

bool CMathScript::ParseBracketValueNode(const char*& position, const char* rhs,
                                        ScriptValue* target) {
    const uint32_t slices = surfaceSlices_;
    if (!target->SetCount(slices)) return false;
    const char* p = SkipBlanks(position);
    int bracket = OpeningBracketKind(*p);
    if (bracket < 0) return false;
    ++p;
    char argument[kArgumentCapacity];
    float from = 0.0f, to = 0.0f;
    if (!ExtractArgumentStrict(p, bracket, ArgumentMode::More, argument) ||
        !EvaluateScalar(letterScalars_, argument, &from))
        return false;
    const char* save = p;
    if (!ExtractArgumentStrict(p, bracket, ArgumentMode::More, argument)) {
        // (from, to)
        p = save;
        if (!ExtractArgumentStrict(p, bracket, ArgumentMode::Last, argument) ||
            !EvaluateScalar(letterScalars_, argument, &to))
            return false;
        Ramp(target->data, slices, from, to);
        position = p;
        return true;
    }
    // (from, to, expression): the expression sees v as the slice ramp and may call functions of
    // several arguments, so it is extracted like any call argument.
    if (!EvaluateScalar(letterScalars_, argument, &to) ||
        !ExtractArgument(p, bracket, ArgumentMode::Last, argument))
        return false;
    ScriptValue& v = letters_['v' - 'a'];
    if (!v.SetCount(slices)) return false;
    Ramp(v.data, slices, from, to);
    if (!ParseExpression(this, argument, target)) return false;
    if (target->count != v.count) {
        target->SetCount(v.count);
        Warn("[Warning] ParseBracketValueNode used invalid params. Line:%d, Expression:%s",
             currentLine_, rhs);
    }
    position = p;
    return true;
}

void CMathScript::ParseGeometryDirective(const char* word, const char* rhs) {
    const char* p = rhs;
    char sub[kWordCapacity];

    if (EqualsNoCase(word, "surface_slices")) {
        int n = 0;
        if (!ReadWord(p, sub)) {
            Warn("[Warning] Failed to set surface_slices. Line:%d, Expression:%s", currentLine_,
                 rhs);
            Diagnose(rhs, "expected a slice count after 'surface_slices ='");
        } else if (ParseIntegerWord(sub, &n)) {
            float slices = static_cast<float>(n) + 0.1f;
            if (slices > static_cast<float>(kMaxSurfaceSlices)) {
                // Every record of a directive holds a value per slice: refused, not allocated.
                Warn("[Warning] Failed to set surface_slices. Line:%d, Expression:%s", currentLine_,
                     rhs);
                Diagnose(rhs, "at most " + std::to_string(kMaxSurfaceSlices) + " slices");
            } else {
                surfaceSlices_ = slices < 2.0f ? 2u : static_cast<uint32_t>(slices);
            }
        }
        return;
    }

    // Reads sub-words until none can be read; `handle` parses the group after a known sub-word
    // and returns false (after logging) when it fails, which discards the record.
    auto readSubWords = [&](auto handle) {
        while (ReadWord(p, sub)) {
            int outcome = handle(sub);
            if (outcome < 0) return false;
            if (outcome > 0) SkipGroupSeparator(p);
        }
        return true;
    };
    auto fail = [&](const char* what) {
        Warn("[Warning] Failed to set %s. Line:%d, Expression:%s", what, currentLine_, rhs);
        Diagnose(p, std::string("cannot read the ") + what + " of this '" + word + "' directive");
        return -1;
    };

    if (EqualsNoCase(word, "scale")) {
        ScaleTransform t;
        bool ok = readSubWords([&](const char* w) {
            if (EqualsNoCase(w, "anchor"))
                return ReadTriple(letterScalars_, p, t.anchor) ? 1 : fail("scale anchor");
            if (EqualsNoCase(w, "x"))
                return ParseBracketValueNode(p, rhs, &t.scaleX) ? 1 : fail("scale scaleX");
            if (EqualsNoCase(w, "y"))
                return ParseBracketValueNode(p, rhs, &t.scaleY) ? 1 : fail("scale scaleY");
            if (EqualsNoCase(w, "z"))
                return ParseBracketValueNode(p, rhs, &t.scaleZ) ? 1 : fail("scale scaleZ");
            return 0;
        });
        if (!ok) return;
        if (t.scaleX.IsArray() || t.scaleY.IsArray() || t.scaleZ.IsArray())
            transforms_.emplace_back(std::move(t));
        else
            fail("scale tm");
        return;
    }
    if (EqualsNoCase(word, "rotate")) {
        RotateTransform t;
        bool ok = readSubWords([&](const char* w) {
            if (EqualsNoCase(w, "anchor"))
                return ReadTriple(letterScalars_, p, t.anchor) ? 1 : fail("rotate anchor");
            if (EqualsNoCase(w, "axis"))
                return ReadTriple(letterScalars_, p, t.axis) ? 1 : fail("rotate axis");
            if (EqualsNoCase(w, "angle"))
                return ParseBracketValueNode(p, rhs, &t.angle) ? 1 : fail("roate angle");
            return 0;
        });
        if (!ok) return;
        if (t.angle.IsArray())
            transforms_.emplace_back(std::move(t));
        else
            fail("rotate tm");
        return;
    }
    if (EqualsNoCase(word, "translate")) {
        TranslateTransform t;
        bool ok = readSubWords([&](const char* w) {
            if (EqualsNoCase(w, "dir"))
                return ReadTriple(letterScalars_, p, t.direction) ? 1 : fail("translate Dir");
            if (EqualsNoCase(w, "dis"))
                return ParseBracketValueNode(p, rhs, &t.distance) ? 1 : fail("translate dis");
            return 0;
        });
        if (!ok) return;
        if (t.distance.IsArray())
            transforms_.emplace_back(std::move(t));
        else
            fail("translate tm");
        return;
    }
    // pipe
    PipeTransform t;
    bool ok = readSubWords([&](const char* w) {
        if (EqualsNoCase(w, "radius"))
            return ReadSingle(letterScalars_, p, &t.radius) ? 1 : fail("pipe radius");
        if (EqualsNoCase(w, "type")) {
            float type = 0.0f;
            if (!ReadSingle(letterScalars_, p, &type)) return fail("pipe type");
            t.type = TruncateInt(type);
            return 1;
        }
        return 0;
    });
    if (!ok) return;
    if (t.radius > 0.001f)
        transforms_.emplace_back(t);
    else
        fail("pipe tm");
}

// ---------------------------------------------------------------------------------------------
// Applying the records
// ---------------------------------------------------------------------------------------------

namespace {

struct Surface {
    uint32_t points;  // N
    uint32_t slices;  // S
    ScriptValue* c[3];
    float& At(int axis, uint32_t point, uint32_t slice) {
        return c[axis]->data[slice + point * slices];
    }
};

void ApplyScale(Surface& s, const ScaleTransform& t) {
    const ScriptValue* factors[3] = {&t.scaleX, &t.scaleY, &t.scaleZ};
    for (int axis = 0; axis < 3; ++axis) {
        if (!factors[axis]->IsArray()) continue;
        for (uint32_t i = 0; i < s.points; ++i)
            for (uint32_t j = 0; j < s.slices; ++j) {
                float& c = s.At(axis, i, j);
                c = (c - t.anchor[axis]) * factors[axis]->At(j) + t.anchor[axis];
            }
    }
}

void ApplyRotate(Surface& s, const RotateTransform& t) {
    float a = t.axis[0], b = t.axis[1], w = t.axis[2];
    float length = std::sqrt(a * a + b * b + w * w);
    if (length <= kEpsilon) {
        a = 1.0f;
        b = w = 0.0f;
    } else {
        a /= length;
        b /= length;
        w /= length;
    }
    for (uint32_t j = 0; j < s.slices; ++j) {
        double theta = t.angle.At(j);
        float sn = static_cast<float>(std::sin(theta));
        float cs = static_cast<float>(std::cos(theta));
        float g = 1.0f - cs;
        for (uint32_t i = 0; i < s.points; ++i) {
            float dx = s.At(0, i, j) - t.anchor[0];
            float dy = s.At(1, i, j) - t.anchor[1];
            float dz = s.At(2, i, j) - t.anchor[2];
            s.At(0, i, j) = (g * a * a + cs) * dx + (g * a * b + sn * w) * dy +
                            (g * a * w - sn * b) * dz + t.anchor[0];
            s.At(1, i, j) = (g * a * b - sn * w) * dx + (g * b * b + cs) * dy +
                            (g * b * w + sn * a) * dz + t.anchor[1];
            s.At(2, i, j) = (g * a * w + sn * b) * dx + (g * b * w - sn * a) * dy +
                            (g * w * w + cs) * dz + t.anchor[2];
        }
    }
}

void ApplyTranslate(Surface& s, const TranslateTransform& t) {
    for (int axis = 0; axis < 3; ++axis) {
        float d = t.direction[axis];
        if (std::fabs(d) <= kEpsilon) continue;
        for (uint32_t i = 0; i < s.points; ++i)
            for (uint32_t j = 0; j < s.slices; ++j) s.At(axis, i, j) += d * t.distance.At(j);
    }
}

void ApplyPipe(Surface& s, const PipeTransform& t) {
    // The centre curve is read from slice 0 of every point before any ring is written, so each
    // tangent comes from the curve itself and not from a ring point already placed.
    std::vector<float> centre(static_cast<size_t>(s.points) * 3);
    for (uint32_t i = 0; i < s.points; ++i)
        for (int axis = 0; axis < 3; ++axis) centre[i * 3 + axis] = s.At(axis, i, 0);
    const float r = t.radius;
    for (uint32_t i = 0; i < s.points; ++i) {
        const float* P = &centre[i * 3];
        float T[3] = {0.0f, 1.0f, 0.0f};  // a one-point curve: a ring about the y axis
        if (s.points > 1) {
            const float* from = i + 1 < s.points ? P : &centre[(i - 1) * 3];
            const float* to = i + 1 < s.points ? &centre[(i + 1) * 3] : P;
            for (int axis = 0; axis < 3; ++axis) T[axis] = to[axis] - from[axis];
            float length = std::sqrt(T[0] * T[0] + T[1] * T[1] + T[2] * T[2]);
            if (length > kEpsilon)
                for (float& c : T) c /= length;
        }
        for (uint32_t j = 0; j < s.slices; ++j) {
            float alpha = static_cast<float>(j) * kTwoPi / static_cast<float>(s.slices - 1);
            float ca = std::cos(alpha), sa = std::sin(alpha);
            float x, y, z;
            if (t.type == 1) {
                float phi = std::atan2(std::sqrt(T[2] * T[2] + T[0] * T[0]), T[1]);
                float psi = std::atan2(T[0], T[2]);
                x = r * ca * std::cos(psi) + r * sa * std::cos(phi) * std::sin(psi) + P[0];
                y = P[1] - r * sa * std::sin(phi);
                z = r * sa * std::cos(phi) * std::cos(psi) - r * ca * std::sin(psi) + P[2];
            } else {
                float q = std::sqrt(T[2] * T[2] + T[1] * T[1]);
                float A = 0.0f, B = 1.0f;
                if (q > kEpsilon) {
                    A = T[2] / q;
                    B = -T[1] / q;
                }
                float D = r * ca, H = r * sa;
                x = (B * T[1] - A * T[2]) * D + P[0];
                y = H * A - D * T[0] * B + P[1];
                z = D * T[0] * A + H * B + P[2];
            }
            s.At(0, i, j) = x;
            s.At(1, i, j) = y;
            s.At(2, i, j) = z;
        }
    }
}

}  // namespace

void CMathScript::ApplyTransforms() {
    const uint32_t points = elementCount_, slices = surfaceSlices_;
    if (points == 0 || static_cast<uint64_t>(points) * slices > kMaxElementCount) {
        Warn("[Warning] Surface of %u x %u points is too large to build", slices, points);
        return;
    }
    dimension2_ = points;
    dimension1_ = slices;
    elementCount_ = points * slices;
    for (ScriptValue& letter : letters_)
        if (letter.IsArray()) letter.RepeatEach(slices);
    for (uint32_t i = 0; i < userVariableCount_; ++i)
        if (userVariables_[i].value.IsArray()) userVariables_[i].value.RepeatEach(slices);

    ScriptValue* xyz[3] = {&letters_['x' - 'a'], &letters_['y' - 'a'], &letters_['z' - 'a']};
    ScriptValue& v = letters_['v' - 'a'];
    Surface surface{points, slices, {xyz[0], xyz[1], xyz[2]}};
    for (const TransformRecord& record : transforms_) {
        // Every coordinate a record writes becomes a full array first.
        bool writes[3] = {true, true, true};
        if (const auto* scale = std::get_if<ScaleTransform>(&record)) {
            writes[0] = scale->scaleX.IsArray();
            writes[1] = scale->scaleY.IsArray();
            writes[2] = scale->scaleZ.IsArray();
        } else if (const auto* move = std::get_if<TranslateTransform>(&record)) {
            for (int axis = 0; axis < 3; ++axis)
                writes[axis] = std::fabs(move->direction[axis]) > kEpsilon;
        }
        bool ready = true;
        for (int axis = 0; axis < 3; ++axis)
            if (writes[axis] && xyz[axis]->count != elementCount_)
                ready = ready && xyz[axis]->SetCount(elementCount_);
        if (!ready) return;

        float length = 1.0f;
        std::visit(
            [&](const auto& t) {
                using T = std::decay_t<decltype(t)>;
                if constexpr (std::is_same_v<T, ScaleTransform>) {
                    ApplyScale(surface, t);
                } else if constexpr (std::is_same_v<T, RotateTransform>) {
                    ApplyRotate(surface, t);
                    length = kTwoPi;
                } else if constexpr (std::is_same_v<T, TranslateTransform>) {
                    ApplyTranslate(surface, t);
                    length = t.distance.At(slices - 1);
                } else {
                    ApplyPipe(surface, t);
                    length = kTwoPi;
                }
            },
            record);

        if (v.count != elementCount_ && v.SetCount(slices)) {
            Ramp(v.data, slices, 0.0f, length);
            v.Tile(points);
        }
    }
}

void CMathScript::FreeTransforms() { transforms_.clear(); }

}  // namespace luneth
