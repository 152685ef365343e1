// The command line of `luneth` as a user (or a script that builds it) types it: the input is
// split at NUL bytes into arguments. The host is built to stop after parsing
// (LUNETH_PARSE_ONLY), so every subcommand's options, validators and callbacks are tried
// without running anything; whatever the arguments, parsing ends with an exit status.
#include <iostream>
#include <string>
#include <vector>

int LunethMain(int argc, char** argv);

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Help and usage texts would flood the campaign's output.
    std::cout.setstate(std::ios::badbit);
    std::cerr.setstate(std::ios::badbit);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> words{"luneth"};
    std::string word;
    for (size_t i = 0; i < size && words.size() < 64; ++i) {
        if (data[i] == 0) {
            words.push_back(word);
            word.clear();
        } else {
            word += char(data[i]);
        }
    }
    if (!word.empty()) words.push_back(word);
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    int status = LunethMain(int(words.size()), argv.data());
    if (status != 0 && status != 2) __builtin_trap();  // parsing alone: success or usage error
    return 0;
}
