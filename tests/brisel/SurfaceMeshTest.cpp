// The surface grid as the scenes show it: smooth normals across a closed seam, a mesh with two
// sides, finite normals where faces have no area.
#include <gtest/gtest.h>

#include <cmath>

#include "SurfaceGrid.h"

namespace {

// A cylinder of radius 1 along y: S slices around (the last one on the first), N rings.
SurfaceGrid Cylinder(uint32_t slices, uint32_t points) {
    SurfaceGrid g;
    g.slices = slices, g.points = points;
    for (uint32_t i = 0; i < points; ++i)
        for (uint32_t j = 0; j < slices; ++j) {
            float a = j + 1 == slices ? 0.0f : 6.2831855f * float(j) / float(slices - 1);
            g.positions.insert(g.positions.end(), {std::cos(a), float(i), std::sin(a)});
            g.colours.insert(g.colours.end(), {0.5f, float(j) / float(slices), 1.0f});
        }
    return g;
}

}  // namespace

TEST(SurfaceMesh, CylinderNormalsAreRadialAndTheSeamDoesNotShow) {
    SurfaceGrid g = Cylinder(9, 4);
    std::vector<KivVector3> normals = SurfaceNormals(g);
    ASSERT_EQ(normals.size(), 36u);
    float side = 0;
    for (size_t v = 0; v < normals.size(); ++v) {
        KivVector3 radial{g.positions[v * 3], 0, g.positions[v * 3 + 2]};
        float along = kivmath::Dot(normals[v], radial);
        EXPECT_NEAR(std::fabs(along), 1.0f, 1e-5f) << v;
        if (v == 0) side = along;
        EXPECT_GT(along * side, 0.0f) << v;  // all on the same side
    }
    for (uint32_t i = 0; i < g.points; ++i) EXPECT_EQ(normals[i * 9], normals[i * 9 + 8]);
    KivVector3 low, high;
    SurfaceBounds(g, &low, &high);
    EXPECT_EQ(low, (KivVector3{-1, 0, std::sin(6.2831855f * 6 / 8)}));
    EXPECT_EQ(high.y, 3.0f);
}

TEST(SurfaceMesh, TwoSidesWithReversedNormalsAndWindings) {
    SurfaceGrid g = Cylinder(5, 3);
    SurfaceMesh mesh;
    ASSERT_TRUE(BuildSurfaceMesh(g, &mesh));
    const size_t count = 15;
    ASSERT_EQ(mesh.vertices.size(), 2 * count);
    ASSERT_EQ(mesh.indices.size(), size_t(4 * 2 * 2 * 2 * 3));  // (S-1)(N-1) cells, 2 x 2 faces
    for (size_t v = 0; v < count; ++v) {
        EXPECT_EQ(mesh.vertices[v + count].normal, -mesh.vertices[v].normal);
        EXPECT_EQ(mesh.vertices[v + count].position, mesh.vertices[v].position);
    }
    EXPECT_EQ(mesh.vertices[3].colour, 0xFF7F99FFu);  // 0.5, 0.6, 1 as the pictures make them
    // Each face faces along its corners' normals; its twin faces the other way.
    for (size_t f = 0; f < mesh.indices.size(); f += 3) {
        const SurfaceVertex& a = mesh.vertices[mesh.indices[f]];
        const SurfaceVertex& b = mesh.vertices[mesh.indices[f + 1]];
        const SurfaceVertex& c = mesh.vertices[mesh.indices[f + 2]];
        KivVector3 facing = kivmath::Cross(b.position - a.position, c.position - a.position);
        EXPECT_GT(kivmath::Dot(facing, a.normal + b.normal + c.normal), 0.0f) << f;
    }
}

TEST(SurfaceMesh, FacesWithoutAreaLeaveZeroNormals) {
    SurfaceGrid g;
    g.slices = 3, g.points = 2;
    g.positions.assign(18, 1.0f);
    g.colours.assign(18, 0.0f);
    for (const KivVector3& n : SurfaceNormals(g)) EXPECT_EQ(n, KivVector3{});
}
