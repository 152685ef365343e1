// One picture format's loader through the engine's texture manager, as the viewer and luneth
// load a file: built once per format (FUZZ_PICTURE_EXTENSION). A load either gives a texture
// of a sane size whose texels can be read, or fails with a reason; it never crashes, reads
// out of bounds or allocates past the memory budget.
#include "FuzzSupport.h"
#include "kiv/services.h"

namespace {
KcTexturesMgr* g_textures = nullptr;
std::string g_path;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!fuzz::StartEngine("", 512)) std::abort();
    g_textures = KivEngineGetAPI()->AcquireServiceAs<KcTexturesMgr>("KcTexturesMgr");
    if (!g_textures) std::abort();
    g_path = fuzz::ScratchPath(FUZZ_PICTURE_EXTENSION);
    std::atexit([] { std::remove(g_path.c_str()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!fuzz::WriteScratch(g_path, data, size)) return 0;
    KcTexture* texture = g_textures->LoadTexture(g_path.c_str());
    if (!texture) {
        if (!*g_textures->GetLastError()) __builtin_trap();  // a failure always says why
        return 0;
    }
    uint32_t width = texture->GetWidth(), height = texture->GetHeight();
    if (width == 0 || height == 0 || width > 16384 || height > 16384) __builtin_trap();
    uint32_t pitch = 0;
    void* bits = nullptr;
    if (!texture->Lock(0, &pitch, &bits)) __builtin_trap();
    // Every texel is there: the last one of the last row is read.
    volatile uint32_t last =
        static_cast<const uint32_t*>(bits)[size_t(pitch / 4) * (height - 1) + width - 1];
    (void)last;
    texture->Unlock();
    texture->Release();
    return 0;
}
