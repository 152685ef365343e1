#include "Texture.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>

#include "PictureCodecs.h"

namespace kivcore {

namespace {
// Rows start on 16-byte boundaries.
constexpr uint32_t kRowAlignWords = 4;

uint64_t NextStamp() {
    static std::atomic<uint64_t> stamp{0};
    return ++stamp;
}
}  // namespace

CTexture::~CTexture() {
    if (texels_) Engine()->Allocator().Free(texels_);
}

bool CTexture::Allocate(uint32_t width, uint32_t height) {
    if (width == 0 || height == 0 || width > kMaxPictureSide || height > kMaxPictureSide)
        return false;
    uint32_t pitch = (width + kRowAlignWords - 1) / kRowAlignWords * kRowAlignWords;
    size_t bytes = size_t(pitch) * height * 4;
    void* memory = Engine()->Allocator().Allocate(bytes, "KcTexture", __LINE__);
    if (!memory) return false;
    std::memset(memory, 0, bytes);
    texels_ = static_cast<uint32_t*>(memory);
    width_ = width;
    height_ = height;
    pitchWords_ = pitch;
    stamp_ = NextStamp();
    return true;
}

bool CTexture::Lock(uint32_t level, uint32_t* pitch, void** bits) {
    if (level != 0 || locked_ || !texels_ || !pitch || !bits) return false;
    locked_ = true;
    *pitch = pitchWords_ * 4;
    *bits = texels_;
    return true;
}

void CTexture::Unlock() {
    if (!locked_) return;
    locked_ = false;
    stamp_ = NextStamp();
}

bool CTexture::SaveToFile(const char* path) {
    if (!texels_) return false;
    return SavePicture(path, texels_, width_, height_, pitchWords_, &texts_);
}

void CTexture::SetText(const char* key, const char* value) {
    if (!key || !*key) return;
    auto it =
        std::find_if(texts_.begin(), texts_.end(), [key](const auto& t) { return t.first == key; });
    if (!value || !*value) {
        if (it != texts_.end()) texts_.erase(it);
    } else if (it != texts_.end()) {
        it->second = value;
    } else {
        texts_.emplace_back(key, value);
    }
}

const char* CTexture::GetText(const char* key) const {
    if (!key) return nullptr;
    for (const auto& [k, v] : texts_)
        if (k == key) return v.c_str();
    return nullptr;
}

CTexture* CTexturesMgr::NewTexture(uint32_t width, uint32_t height) {
    CKivEngine* engine = Engine();
    CTexture* texture = engine ? engine->NewObject<CTexture>("KcTexture", __LINE__) : nullptr;
    if (texture && !texture->Allocate(width, height)) {
        engine->DeleteObject(texture);
        return nullptr;
    }
    return texture;
}

KcTexture* CTexturesMgr::CreateTexture(uint32_t width, uint32_t height, uint32_t levels,
                                       KivTextureFormat format, KivMemoryPool pool) {
    if (levels != 1 || format != kKivFormatA8R8G8B8 || pool > kKivPoolManaged) return nullptr;
    return NewTexture(width, height);
}

KcTexture* CTexturesMgr::LoadTexture(const char* path) {
    CTexture* texture = nullptr;
    PictureTexts texts;
    // The decoder allocates its picture outside the allocator: it gets what the budget leaves.
    size_t left = Engine() ? Engine()->Allocator().BudgetLeft() : SIZE_MAX;
    bool ok = LoadPicture(
        path,
        [&](uint32_t width, uint32_t height, uint32_t* pitch) {
            texture = NewTexture(width, height);
            if (!texture) return static_cast<uint32_t*>(nullptr);
            *pitch = texture->PitchWords();
            return texture->Texels();
        },
        &texts, left == SIZE_MAX ? 0 : (left ? uint64_t(left) : 1));
    if (ok) texture->Texts() = std::move(texts);
    if (!ok && texture) {
        Engine()->DeleteObject(texture);
        texture = nullptr;
    }
    return texture;
}

}  // namespace kivcore
