// The mesh service "KcDxMeshBuilder" and its meshes: flat-shaded triangle lists in memory
// (position, normal, diffuse colour), drawn through the render service's record.
#pragma once

#include <vector>

#include "EngineObject.h"
#include "kiv/services.h"

namespace kivcore {

struct CMeshVertex {
    KivVector3 position;
    KivVector3 normal;
    uint32_t colour;
};
static_assert(sizeof(CMeshVertex) == 28, "the layout of D3DFVF_XYZ | D3DFVF_NORMAL | DIFFUSE");

class CMesh final : public CEngineObject<KcDxMesh, kKivKindResource> {
public:
    static constexpr uint32_t kFVF = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE;

    CMesh();
    // Tells this mesh from one made later at the same address (a drawing's cache keys on it).
    uint64_t Serial() const { return serial_; }

    bool IsKindOf(const char* name) const override {
        return NameIn(name, {"KcDxMesh", "KicBaseClass"});
    }
    uint32_t GetFVF() const override { return kFVF; }
    uint32_t GetVertexCount() const override { return uint32_t(vertices_.size()); }
    uint32_t GetFaceCount() const override { return uint32_t(indices_.size() / 3); }
    const void* GetVertices() const override { return vertices_.data(); }
    const uint32_t* GetIndices() const override { return indices_.data(); }
    bool DrawSubset(uint32_t subset) override;

    // One flat triangle facing along `normal` (its winding is made clockwise seen from there).
    void AddTriangle(KivVector3 a, KivVector3 b, KivVector3 c, KivVector3 normal, uint32_t colour);
    // A flat quad a-b-c-d (in order around its edge) facing along `normal`.
    void AddQuad(const KivVector3& a, const KivVector3& b, const KivVector3& c, const KivVector3& d,
                 const KivVector3& normal, uint32_t colour);
    // Copies the caller's vertices and triangles (checked by the builder).
    void Assign(const CMeshVertex* vertices, uint32_t vertexCount, const uint32_t* indices,
                uint32_t faceCount);

private:
    uint64_t serial_;
    std::vector<CMeshVertex> vertices_;
    std::vector<uint32_t> indices_;
};

class CMeshBuilder final : public CServiceObject<KcDxMeshBuilder> {
public:
    bool IsKindOf(const char* name) const override {
        return NameIn(name, {"KcDxMeshBuilder", "KicBaseClass"});
    }
    KcDxMesh* CreateAxisMesh(float length, float radius, float headRadius, uint32_t sides) override;
    KcDxMesh* CreateRectFrameMesh(float width, float height, float border, float depth,
                                  uint32_t colour1, uint32_t colour2, uint32_t colour3) override;
    void ReleaseMesh(KcDxMesh* mesh) override {
        if (mesh) mesh->Release();
    }
    KcDxMesh* CreateMesh(const void* vertices, uint32_t vertexCount, const uint32_t* indices,
                         uint32_t faceCount) override;
};

}  // namespace kivcore
