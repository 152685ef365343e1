#include "MeshBuilder.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <new>
#include <utility>

#include "Services.h"

namespace kivcore {

using kivmath::Cross;
using kivmath::Dot;
using kivmath::Vec3Normalize;

namespace {

constexpr uint32_t kDefaultSides = 12;
constexpr uint32_t kMaxSides = 256;
constexpr float kTwoPi = 6.2831855f;
constexpr float kHeadShare = 0.2f;  // the cone takes the last fifth of an arrow

bool IsSize(float v) { return std::isfinite(v) && v > 0.0f; }

// Builds a mesh with `fill`; null when the sizes are refused or memory runs out.
template <class Fill>
KcDxMesh* BuildMesh(Fill fill) {
    CKivEngine* engine = Engine();
    CMesh* mesh = engine ? engine->NewObject<CMesh>("KcDxMesh", __LINE__) : nullptr;
    if (!mesh) return nullptr;
    try {
        fill(*mesh);
    } catch (const std::bad_alloc&) {
        mesh->Release();
        return nullptr;
    }
    return mesh;
}

// One arrow along `axis` (unit), with u and w completing it to an orthonormal frame.
void AddArrow(CMesh& mesh, KivVector3 axis, KivVector3 u, KivVector3 w, float length, float radius,
              float headRadius, uint32_t sides, uint32_t colour) {
    const float shaft = length * (1.0f - kHeadShare);
    const KivVector3 base = axis * shaft, tip = axis * length;
    for (uint32_t i = 0; i < sides; ++i) {
        float a0 = kTwoPi * float(i) / float(sides), a1 = kTwoPi * float(i + 1) / float(sides);
        KivVector3 r0 = u * std::cos(a0) + w * std::sin(a0);
        KivVector3 r1 = u * std::cos(a1) + w * std::sin(a1);
        KivVector3 mid = Vec3Normalize(r0 + r1);
        // Shaft side, its cap at the origin, the cone's base ring and its side.
        mesh.AddQuad(r0 * radius, r1 * radius, base + r1 * radius, base + r0 * radius, mid, colour);
        mesh.AddTriangle({}, r0 * radius, r1 * radius, -axis, colour);
        mesh.AddQuad(base + r0 * radius, base + r1 * radius, base + r1 * headRadius,
                     base + r0 * headRadius, -axis, colour);
        KivVector3 slope = Vec3Normalize(mid * (length * kHeadShare) + axis * headRadius);
        mesh.AddTriangle(base + r0 * headRadius, base + r1 * headRadius, tip, slope, colour);
    }
}

}  // namespace

// ---------------------------------------------------------------- meshes

CMesh::CMesh() {
    static std::atomic<uint64_t> next{1};
    serial_ = next++;
}

bool CMesh::DrawSubset(uint32_t subset) {
    CKivEngine* engine = Engine();
    if (subset != 0 || !engine || !engine->Render()) return false;
    engine->Render()->RecordMesh(this, subset);
    return true;
}

void CMesh::AddTriangle(KivVector3 a, KivVector3 b, KivVector3 c, KivVector3 normal,
                        uint32_t colour) {
    // Seen from the side the normal points to, front faces run clockwise (left-handed).
    if (Dot(Cross(b - a, c - a), normal) < 0.0f) std::swap(b, c);
    uint32_t first = uint32_t(vertices_.size());
    for (const KivVector3& p : {a, b, c}) vertices_.push_back(CMeshVertex{p, normal, colour});
    for (uint32_t i = 0; i < 3; ++i) indices_.push_back(first + i);
}

void CMesh::AddQuad(const KivVector3& a, const KivVector3& b, const KivVector3& c,
                    const KivVector3& d, const KivVector3& normal, uint32_t colour) {
    AddTriangle(a, b, c, normal, colour);
    AddTriangle(a, c, d, normal, colour);
}

void CMesh::Assign(const CMeshVertex* vertices, uint32_t vertexCount, const uint32_t* indices,
                   uint32_t faceCount) {
    vertices_.assign(vertices, vertices + vertexCount);
    indices_.assign(indices, indices + size_t(faceCount) * 3);
}

// ---------------------------------------------------------------- the builder

KcDxMesh* CMeshBuilder::CreateAxisMesh(float length, float radius, float headRadius,
                                       uint32_t sides) {
    if (!IsSize(length) || !IsSize(radius) || !IsSize(headRadius)) return nullptr;
    if (sides == 0) sides = kDefaultSides;
    sides = sides < 3 ? 3 : sides > kMaxSides ? kMaxSides : sides;
    return BuildMesh([&](CMesh& mesh) {
        const KivVector3 x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1};
        AddArrow(mesh, x, y, z, length, radius, headRadius, sides, 0xFFFF0000);
        AddArrow(mesh, y, z, x, length, radius, headRadius, sides, 0xFF00FF00);
        AddArrow(mesh, z, x, y, length, radius, headRadius, sides, 0xFF0000FF);
    });
}

KcDxMesh* CMeshBuilder::CreateRectFrameMesh(float width, float height, float border, float depth,
                                            uint32_t colour1, uint32_t colour2, uint32_t colour3) {
    if (!IsSize(width) || !IsSize(height) || !IsSize(border) || !IsSize(depth)) return nullptr;
    return BuildMesh([&](CMesh& mesh) {
        const float a = width / 2, b = height / 2, oa = a + border, ob = b + border;
        const KivVector3 front{0, 0, -1};
        mesh.AddQuad({-a, -b, 0}, {-a, b, 0}, {a, b, 0}, {a, -b, 0}, front, colour1);
        // The border as four quads, then the outer sides going back by `depth`.
        const KivVector3 inner[4] = {{-a, -b, 0}, {-a, b, 0}, {a, b, 0}, {a, -b, 0}};
        const KivVector3 outer[4] = {{-oa, -ob, 0}, {-oa, ob, 0}, {oa, ob, 0}, {oa, -ob, 0}};
        const KivVector3 back{0, 0, depth};
        for (int i = 0; i < 4; ++i) {
            int j = (i + 1) % 4;
            mesh.AddQuad(inner[i], outer[i], outer[j], inner[j], front, colour2);
            KivVector3 out = Vec3Normalize(Cross(outer[j] - outer[i], back));
            if (Dot(out, outer[i] + outer[j]) < 0.0f) out = -out;
            mesh.AddQuad(outer[i], outer[j], outer[j] + back, outer[i] + back, out, colour3);
        }
    });
}

KcDxMesh* CMeshBuilder::CreateMesh(const void* vertices, uint32_t vertexCount,
                                   const uint32_t* indices, uint32_t faceCount) {
    if (!vertices || !indices || vertexCount == 0 || faceCount == 0 ||
        vertexCount > kKivMaxMeshVertices || faceCount > kKivMaxMeshVertices)
        return nullptr;
    const uint32_t* end = indices + size_t(faceCount) * 3;
    if (std::any_of(indices, end, [vertexCount](uint32_t i) { return i >= vertexCount; }))
        return nullptr;
    return BuildMesh([&](CMesh& mesh) {
        mesh.Assign(static_cast<const CMeshVertex*>(vertices), vertexCount, indices, faceCount);
    });
}

}  // namespace kivcore
