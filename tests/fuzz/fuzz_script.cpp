// Script text as a file or the viewer's panel hands it to CMathScript. Every run must end, true
// or false, with a log that stays within its buffer and keeps every message's line end, and
// with an element count within bounds. A run that takes too long is cancelled as a host would;
// only work that can't be stopped shows up as a hang.
#include <cstring>

#include "FuzzSupport.h"
#include "module/LibraryStart.h"
#include "script/MathScript.h"

namespace {
fuzz::Deadline* g_deadline = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    luneth::StartFunctionLibrary();
    // A small budget keeps each run quick and tries the refusals of arrays that won't fit.
    luneth::SetArrayMemoryBudget(size_t(16) << 20);
    g_deadline = new fuzz::Deadline(std::chrono::milliseconds(2000));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    luneth::CMathScript script;
    script.SetThreadCount(1);
    luneth::ComputeControl control;
    script.SetControl(&control);
    g_deadline->Start(&control);
    script.LoadText(reinterpret_cast<const char*>(data), size);
    g_deadline->Stop();

    const size_t logged = std::strlen(script.Messages());
    if (logged != script.MessagesLength() || logged >= luneth::kMessageCapacity) __builtin_trap();
    if (logged && std::strcmp(script.Messages() + logged - 2, "\r\n") != 0) __builtin_trap();
    if (script.ElementCount() > luneth::kMaxElementCount) __builtin_trap();
    return 0;
}
