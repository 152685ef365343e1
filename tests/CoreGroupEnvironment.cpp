// Test programs of the script engine and the function library start as the module does: the
// core group is in the registry before the first test looks a name up.
#include <gtest/gtest.h>

#include "functions/CoreGroup.h"

namespace {

class CoreGroupEnvironment : public testing::Environment {
public:
    void SetUp() override { luneth::InstallCoreFunctions(); }
};

const testing::Environment* const kInstalled =
    testing::AddGlobalTestEnvironment(new CoreGroupEnvironment);

}  // namespace
