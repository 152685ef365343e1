#include <gtest/gtest.h>

#include <vector>

#include "script/ScriptValue.h"

using namespace luneth;

namespace {

std::vector<float> Elements(const ScriptValue& v) {
    return std::vector<float>(v.data, v.data + v.count);
}

ScriptValue Array(std::initializer_list<float> xs) {
    ScriptValue v;
    v.SetCount(static_cast<uint32_t>(xs.size()));
    uint32_t i = 0;
    for (float x : xs) v.data[i++] = x;
    return v;
}

}  // namespace

TEST(ScriptValue, SetCountFromScalarBroadcastsAndClearsTheScalar) {
    ScriptValue v(2.0f);
    ASSERT_TRUE(v.SetCount(4));
    EXPECT_EQ(Elements(v), (std::vector<float>{2, 2, 2, 2}));
    EXPECT_EQ(v.scalar, 0.0f);
    EXPECT_TRUE(v.valid);

    ScriptValue tiny(1e-8f);
    ASSERT_TRUE(tiny.SetCount(4));
    EXPECT_EQ(Elements(tiny), (std::vector<float>{0, 0, 0, 0}));
}

TEST(ScriptValue, SetCountKeepsThePrefixAndPadsWithZero) {
    ScriptValue v = Array({1, 2, 3});
    ASSERT_TRUE(v.SetCount(5));
    EXPECT_EQ(Elements(v), (std::vector<float>{1, 2, 3, 0, 0}));
    ASSERT_TRUE(v.SetCount(2));
    EXPECT_EQ(Elements(v), (std::vector<float>{1, 2}));
    ASSERT_TRUE(v.SetCount(0));
    EXPECT_FALSE(v.IsArray());
    EXPECT_FALSE(v.SetCount(kMaxElementCount + 1));
}

TEST(ScriptValue, ReadingRule) {
    ScriptValue v = Array({1, 2});
    EXPECT_EQ(v.At(1), 2.0f);
    EXPECT_EQ(v.At(2), 0.0f);
    ScriptValue s(7.0f);
    EXPECT_EQ(s.At(123), 7.0f);
}

TEST(ScriptValue, RepeatEachAndTile) {
    ScriptValue v = Array({1, 2});
    ASSERT_TRUE(v.RepeatEach(3));
    EXPECT_EQ(Elements(v), (std::vector<float>{1, 1, 1, 2, 2, 2}));
    ScriptValue w = Array({1, 2});
    ASSERT_TRUE(w.Tile(3));
    EXPECT_EQ(Elements(w), (std::vector<float>{1, 2, 1, 2, 1, 2}));
    ScriptValue s(4.0f);
    ASSERT_TRUE(s.Tile(3));
    EXPECT_FALSE(s.IsArray());
}

TEST(ScriptValue, CopiesAreDeepAndViewsNeverWriteTheirSource) {
    ScriptValue source = Array({1, 2, 3});
    ScriptValue copy;
    ASSERT_TRUE(copy.CopyFrom(source));
    copy.data[0] = 9;
    EXPECT_EQ(source.data[0], 1.0f);

    ScriptValue view;
    view.MakeView(source);
    EXPECT_TRUE(view.IsView());
    EXPECT_EQ(view.data, source.data);
    ASSERT_TRUE(view.SetCount(3));  // a write makes the storage its own
    EXPECT_NE(view.data, source.data);
    view.data[1] = 42;
    EXPECT_EQ(source.data[1], 2.0f);

    // Copying a view of itself back into the source must not lose the elements.
    ScriptValue alias;
    alias.MakeView(source);
    ASSERT_TRUE(alias.CopyFrom(source));
    EXPECT_FALSE(alias.IsView());
    EXPECT_EQ(Elements(alias), (std::vector<float>{1, 2, 3}));
}
