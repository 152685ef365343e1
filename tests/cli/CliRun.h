// The command-line host run as a program in a fresh directory with its own engine
// configuration: its exit status, standard output and standard error, the files it leaves.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "kivcore/EngineSession.h"

struct Result {
    int status = -1;
    std::string out, err;
};

class Cli : public testing::Test {
protected:
    void SetUp() override {
        dir = kivtest::FreshDirectory("cli");
        kivtest::WriteFile(dir / "kivcore.ini",
                           "[KivCore]\nLogFile=" + (dir / "kivcore.log").string() + "\n");
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    Result Run(const std::string& arguments) {
        // Under the sanitizers, luneth's own leak check is off: clang 14's leak checker stops
        // with a fault of its own on the threads of a module loaded with dlopen (the engine's
        // log still reports every leak of the engine's memory, which these tests read).
        std::string command =
            "cd '" + dir.string() +
            "' && KIV_CONFIG=kivcore.ini ASAN_OPTIONS=$ASAN_OPTIONS:detect_leaks=0 '" + LUNETH_CLI +
            "' " + arguments + " > out.txt 2> err.txt";
        Result r;
        int raw = std::system(command.c_str());
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = kivtest::ReadFile(dir / "out.txt");
        r.err = kivtest::ReadFile(dir / "err.txt");
        std::filesystem::remove(dir / "out.txt");
        std::filesystem::remove(dir / "err.txt");
        return r;
    }
    // A command that fails: its exit status and a part of what it says on standard error.
    struct Failure {
        std::string arguments;
        int status;
        std::string message;
    };
    void ExpectFailures(const std::vector<Failure>& failures) {
        for (const Failure& f : failures) {
            Result r = Run(f.arguments);
            EXPECT_EQ(r.status, f.status) << f.arguments << "\n" << r.err;
            EXPECT_NE(r.err.find(f.message), std::string::npos) << f.arguments << "\n" << r.err;
        }
    }
    // Files in the directory besides the configuration and the log.
    std::vector<std::string> Files() {
        std::vector<std::string> names;
        for (auto& e : std::filesystem::directory_iterator(dir)) {
            std::string n = e.path().filename().string();
            if (n != "kivcore.ini" && n != "kivcore.log") names.push_back(n);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path dir;
};
