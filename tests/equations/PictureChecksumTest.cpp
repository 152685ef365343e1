// Whole-picture regression check of every filled catalogue slot, and the same picture whatever
// the number of threads.
#include <gtest/gtest.h>

#include <cstdio>

#include "equations/EquationCatalogue.h"
#include "equations/EquationTestUtil.h"
#include "equations/PictureChecksums.h"

namespace luneth {
namespace {

TEST(PictureChecksums, EveryFilledSlotDrawsItsRecordedPicture) {
    EquationTable table;
    BuildEquationCatalogue(table);
    for (uint32_t i = 0; i < kEquationSlotCount; ++i) {
        if (!table[i]) continue;
        const uint64_t actual = test::PictureChecksum(*table[i], 3);
        // A third of the slots again on one thread (whole-catalogue thread invariance is what
        // the renderer guarantees; this samples it without doubling the test's time).
        if (i % 3 == 0) {
            EXPECT_EQ(test::PictureChecksum(*table[i], 1), actual) << i << " differs on one thread";
        }
        const test::RecordedPicture* recorded = nullptr;
        for (const auto& row : test::kPictureChecksums)
            if (row.index == i) recorded = &row;
        char line[96];
        std::snprintf(line, sizeof line, "    {%u, 0x%016llXull},  // %s", i,
                      static_cast<unsigned long long>(actual), table[i]->GetName());
        if (!recorded) {
            ADD_FAILURE() << "no checksum recorded; add the row\n" << line;
            continue;
        }
#ifndef __clang__
        // The recorded sums are GCC's pictures. clang folds some constant library calls (atan2,
        // sin) in double and rounds once more, so a picture may differ in a last bit; the
        // sanitizer build (clang) checks everything else here.
        EXPECT_EQ(recorded->checksum, actual) << "picture changed; if deliberate, record\n" << line;
#endif
    }
    // Every recorded picture belongs to a filled slot.
    for (const auto& row : test::kPictureChecksums)
        EXPECT_NE(table[row.index], nullptr) << row.index;
}

}  // namespace
}  // namespace luneth
