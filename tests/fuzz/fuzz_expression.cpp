// The compiled form of an expression: the input is compiled as the right-hand side of a line
// over a few letters and variables, then run tiled and step by step. Both must give the same
// bits, the same log and the same failure, whatever the text.
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "common/Random.h"
#include "module/LibraryStart.h"
#include "script/MathScript.h"

namespace {

// Letters of every kind the evaluator meets: arrays, a scalar, an unset letter (q), and a user
// variable.
const char kSetup[] =
    "vertices = 37\nx = from -2 to 2\ny = from 1.5 to -0.5\nt = 0.25\nFoo = x * y\n";

bool SameBits(const luneth::ScriptValue& a, const luneth::ScriptValue& b) {
    if (a.valid != b.valid || a.IsArray() != b.IsArray()) return false;
    if (!a.IsArray()) return std::memcmp(&a.scalar, &b.scalar, sizeof(float)) == 0;
    return a.count == b.count && std::memcmp(a.data, b.data, a.count * sizeof(float)) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    luneth::StartFunctionLibrary();
    luneth::SetArrayMemoryBudget(size_t(16) << 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;  // one line's worth; longer texts belong to the script target
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.substr(0, text.find('\0'));

    luneth::CMathScript tiled, plain;
    plain.SetTiledLines(false);
    luneth::ScriptValue results[2];
    bool ran[2];
    luneth::CMathScript* scripts[2] = {&tiled, &plain};
    for (int k = 0; k < 2; ++k) {
        luneth::CMathScript& s = *scripts[k];
        luneth::RandomStream stream(1);  // both runs draw the same random numbers
        luneth::RandomBinding bind(stream);
        s.SetThreadCount(1);
        if (!s.LoadText(kSetup, sizeof kSetup - 1)) __builtin_trap();
        luneth::CompiledExpression program;
        program.Compile(&s, text.c_str());
        ran[k] = program.Run(&s, &results[k]);
    }
    if (ran[0] != ran[1] || std::strcmp(tiled.Messages(), plain.Messages()) != 0) __builtin_trap();
    if (ran[0] && !SameBits(results[0], results[1])) __builtin_trap();
    return 0;
}
