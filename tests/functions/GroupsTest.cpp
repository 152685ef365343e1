// The registration groups as a whole: the core group complete at its fixed indices, and the
// later groups appended in their order without taking over any earlier name.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "BuiltinCall.h"
#include "functions/CoreGroup.h"

using namespace luneth;

TEST(RegistrationGroups, CoreGroupHoldsIndicesZeroTo340InItsOrder) {
    auto order = CoreGroupOrder();
    ASSERT_EQ(order.size(), 341u);
    for (uint32_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(LookupFunction(order[i].name), i) << order[i].name;
        const FunctionRecord* r = GetFunctionRecord(i);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->kind, order[i].kind) << order[i].name;
    }
}

TEST(RegistrationGroups, LaterGroupsFollowTheCoreInTheirOrder) {
    test::EnsureLibraryGroups();
    // Group boundaries: the first and last names of the distance and fractal groups, which come
    // after the texture and colour groups (when built) and before the terrain group.
    uint32_t circle = LookupFunction("sdCircle2D");
    uint32_t polygon = LookupFunction("PolygonDistance");
    uint32_t firstSum = LookupFunction("perlin_fbm_1d");
    uint32_t lastSum = LookupFunction("gabor_noise2");
    uint32_t firstFractal = LookupFunction("fractal_hierarchy_sphere");
    uint32_t lastFractal = LookupFunction("fractal_cmpx_binocular");
    EXPECT_GE(circle, 341u);
    EXPECT_EQ(polygon - circle + 1, 48u);
    EXPECT_EQ(firstSum, polygon + 1);
    EXPECT_EQ(lastSum - firstSum + 1, 72u);
    EXPECT_EQ(firstFractal, lastSum + 1);
    EXPECT_EQ(lastFractal - firstFractal + 1, 58u);
    // No group replaced a name of another: every record's name is unique.
    std::set<std::string> names;
    for (uint32_t i = 0; i < FunctionCount(); ++i) {
        const FunctionRecord* r = GetFunctionRecord(i);
        EXPECT_TRUE(names.insert(r->name).second) << r->name;
        EXPECT_GE(r->kind, static_cast<uint32_t>(kKindFloat1)) << r->name;
    }
    EXPECT_EQ(GetFunctionRecord(LookupFunction("sdCircle2D"))->kind, static_cast<uint32_t>(kKindFloat3));
    EXPECT_EQ(GetFunctionRecord(lastFractal)->kind, static_cast<uint32_t>(kKindVariadic));
}
