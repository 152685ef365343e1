// Every sample script makes the same picture, byte for byte, whatever the number of threads.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

#include "kivcore/EngineSession.h"

namespace {

std::vector<std::string> SampleScripts() {
    std::vector<std::string> names;
    for (auto& e : std::filesystem::directory_iterator(SAMPLE_SCRIPT_DIR))
        if (e.path().extension() == ".txt") names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

class SampleThreads : public testing::TestWithParam<std::string> {};

TEST_P(SampleThreads, PictureIsTheSameOnOneToEightThreads) {
    const std::filesystem::path dir = kivtest::FreshDirectory(("threads-" + GetParam()).c_str());
    kivtest::WriteFile(dir / "kivcore.ini",
                       "[KivCore]\nLogFile=" + (dir / "kivcore.log").string() + "\n");
    const std::string script = std::string(SAMPLE_SCRIPT_DIR) + "/" + GetParam() + ".txt";
    std::string first;
    for (int threads : {1, 2, 3, 8}) {
        const std::string picture = (dir / (std::to_string(threads) + ".png")).string();
        const std::string command = "KIV_CONFIG='" + (dir / "kivcore.ini").string() + "' '" +
                                    LUNETH_CLI + "' run '" + script + "' -o '" + picture +
                                    "' --threads " + std::to_string(threads) + " 2>/dev/null";
        const int raw = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << command;
        const std::string bytes = kivtest::ReadFile(picture);
        ASSERT_FALSE(bytes.empty());
        if (first.empty())
            first = bytes;
        else
            EXPECT_TRUE(bytes == first) << GetParam() << " differs on " << threads << " threads";
    }
    std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(EverySample, SampleThreads, testing::ValuesIn(SampleScripts()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

}  // namespace
