// Scenes showing a mesh as their contents (the viewer's surface), on the headless engine: each
// scene frames the box it is given and draws the mesh with the vertices' colours as diffuse and
// ambient; the mesh service makes meshes of the caller's vertices and refuses bad ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tolvan/SceneSession.h"

using tolvantest::kSceneNames;
using tolvantest::SceneSession;

namespace {

struct Vertex {
    KivVector3 position, normal;
    uint32_t colour;
};

// One triangle.
KcDxMesh* Triangle(KcDxMeshBuilder* builder) {
    const Vertex v[3] = {{{0, 0, 0}, {0, 0, -1}, 0xFFFF0000},
                         {{0, 1, 0}, {0, 0, -1}, 0xFF00FF00},
                         {{1, 0, 0}, {0, 0, -1}, 0xFF0000FF}};
    const uint32_t faces[3] = {0, 1, 2};
    return builder->CreateMesh(v, 3, faces, 1);
}

}  // namespace

TEST(SceneContents, TheMeshServiceCopiesVerticesAndRefusesBadOnes) {
    SceneSession s;
    auto* builder = s.Service<KcDxMeshBuilder>("KcDxMeshBuilder");
    KcDxMesh* mesh = Triangle(builder);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->GetVertexCount(), 3u);
    EXPECT_EQ(mesh->GetFaceCount(), 1u);
    EXPECT_EQ(static_cast<const Vertex*>(mesh->GetVertices())[1].colour, 0xFF00FF00u);
    mesh->Release();
    const Vertex v[2] = {};
    const uint32_t past[3] = {0, 1, 2}, fine[3] = {0, 1, 1};
    EXPECT_EQ(builder->CreateMesh(v, 2, past, 1), nullptr);  // an index past the vertices
    EXPECT_EQ(builder->CreateMesh(v, 0, fine, 1), nullptr);
    EXPECT_EQ(builder->CreateMesh(v, 2, fine, 0), nullptr);
    EXPECT_EQ(builder->CreateMesh(nullptr, 2, fine, 1), nullptr);
    EXPECT_EQ(builder->CreateMesh(v, kKivMaxMeshVertices + 1, fine, 1), nullptr);
}

TEST(SceneContents, EverySceneFramesTheBoxAndDrawsTheMeshLitByItsColours) {
    SceneSession s;
    KcDxMesh* mesh = Triangle(s.Service<KcDxMeshBuilder>("KcDxMeshBuilder"));
    ASSERT_NE(mesh, nullptr);
    const KivVector3 low{2, -1, 5}, high{6, 3, 6}, centre = (low + high) * 0.5f;
    const KivViewport vp = s.Render()->GetViewport();
    for (const char* name : kSceneNames) {
        KicSceneControl* scene = s.Create(name);
        ASSERT_NE(scene, nullptr) << name;
        scene->SetContents(mesh, low, high);
        EXPECT_EQ(scene->GetContents(), mesh);
        ASSERT_TRUE(KivEngineFrame());
        // The transforms in force at the mesh's draw, and the states around it.
        KivMatrix t[3];
        std::vector<std::string> calls = s.Calls();
        size_t at = 0;
        for (uint32_t i = 0; i < s.Render()->GetCallCount(); ++i) {
            const KivRenderCall& c = *s.Render()->GetCall(i);
            if (c.op == KivRenderOp::kSetTransform) t[c.a == D3DTS_WORLD ? 0 : c.a - 1] = c.matrix;
            if (c.op == KivRenderOp::kDrawMesh && c.resource == mesh) {
                at = i;
                break;
            }
        }
        ASSERT_GT(at, 0u) << name;
        EXPECT_NE(std::find(calls.begin(), calls.begin() + at, "RS 147 1"), calls.begin() + at);
        EXPECT_EQ(calls[at + 1], "RS 147 0") << name;
        // The centre in the middle of the view, the box across much of it and not beyond.
        KivVector3 middle = kivmath::Vec3Project(centre, vp, t[2], t[1], t[0]);
        EXPECT_NEAR(middle.x, vp.width / 2.0f, 1.0f) << name;
        EXPECT_NEAR(middle.y, vp.height / 2.0f, 1.0f) << name;
        float top = 1e9f, bottom = -1e9f;
        for (int corner = 0; corner < 8; ++corner) {
            KivVector3 p{corner & 1 ? high.x : low.x, corner & 2 ? high.y : low.y,
                         corner & 4 ? high.z : low.z};
            KivVector3 q = kivmath::Vec3Project(p, vp, t[2], t[1], t[0]);
            EXPECT_TRUE(q.x > 0.0f && q.x < float(vp.width) && q.z > 0.0f && q.z < 1.0f)
                << name << " corner " << corner;
            top = std::min(top, q.y), bottom = std::max(bottom, q.y);
        }
        EXPECT_GT(bottom - top, 0.4f * float(vp.height)) << name;
        EXPECT_LT(bottom - top, 1.1f * float(vp.height)) << name;
        // A point, and a box beyond measure: finite views all the same.
        for (float size : {0.0f, 3e38f}) {
            scene->SetContents(mesh, {-size, 1, 1}, {size, 1, 1});
            const KivMatrix& v = scene->GetView();
            EXPECT_TRUE(
                std::all_of(&v.m[0][0], &v.m[0][0] + 16, [](float f) { return std::isfinite(f); }))
                << name << " " << size;
        }
        scene->SetContents(nullptr, {}, {});
        EXPECT_EQ(scene->GetContents(), nullptr);
        s.api->DestroyEngineObject(scene);
    }
    s.Render()->ClearCalls();        // the record let go too
    EXPECT_EQ(mesh->RefCount(), 1);  // the scenes let go
    mesh->Release();
}
