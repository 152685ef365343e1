// DXT-compressed DDS files through the engine's texture manager. The input gives the size,
// the compression and the header's flags, pitch and mip count; the rest is the block data.
// With a valid header made for it, every input reaches the block decoder, which must read
// neither past the data nor past the picture for any size, also sides that are not a
// multiple of 4.
#include <vector>

#include "FuzzSupport.h"
#include "kiv/services.h"

namespace {
KcTexturesMgr* g_textures = nullptr;
std::string g_path;

void Put(std::vector<uint8_t>& out, size_t at, uint32_t word) {
    for (int i = 0; i < 4; ++i) out[at + size_t(i)] = uint8_t(word >> (8 * i));
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!fuzz::StartEngine("", 512)) std::abort();
    g_textures = KivEngineGetAPI()->AcquireServiceAs<KcTexturesMgr>("KcTexturesMgr");
    if (!g_textures) std::abort();
    g_path = fuzz::ScratchPath("dds");
    std::atexit([] { std::remove(g_path.c_str()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Reader in{data, size};
    uint32_t width = in.Bytes(2) % 300 + 1, height = in.Bytes(2) % 300 + 1;
    static const char* const kFourCC[] = {"DXT1", "DXT3", "DXT5", "DXT2"};
    const char* fourCC = kFourCC[in.Byte() % 4];
    uint32_t flags = 0x1007 | (in.Byte() & 1 ? 0x20000 : 0) | (in.Byte() & 1 ? 0x80000 : 0);
    uint32_t linearSize = in.Bytes(4), mipCount = in.Byte();

    std::vector<uint8_t> file(128, 0);
    Put(file, 0, 0x20534444);  // "DDS "
    Put(file, 4, 124);
    Put(file, 8, flags);
    Put(file, 12, height);
    Put(file, 16, width);
    Put(file, 20, linearSize);
    Put(file, 28, mipCount);
    Put(file, 76, 32);
    Put(file, 80, 0x4);  // FourCC
    for (int i = 0; i < 4; ++i) file[84 + size_t(i)] = uint8_t(fourCC[i]);
    Put(file, 108, 0x1000);
    file.insert(file.end(), in.data, in.data + in.size);
    if (!fuzz::WriteScratch(g_path, file.data(), file.size())) return 0;

    KcTexture* texture = g_textures->LoadTexture(g_path.c_str());
    if (!texture) {
        if (!*g_textures->GetLastError()) __builtin_trap();
        return 0;
    }
    if (texture->GetWidth() != width || texture->GetHeight() != height) __builtin_trap();
    texture->Release();
    return 0;
}
