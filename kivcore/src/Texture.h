// Textures in memory and the texture manager.
#pragma once

#include <cstdint>

#include "EngineObject.h"
#include "PictureCodecs.h"
#include "kiv/services.h"

namespace kivcore {

class CTexture final : public CEngineObject<KcTexture, kKivKindResource> {
public:
    CTexture() = default;
    ~CTexture() override;

    // Allocates the texels (zeroed); false when the memory can't be had.
    bool Allocate(uint32_t width, uint32_t height);

    bool IsKindOf(const char* name) const override {
        return NameIn(name, {"KcTexture", "KicBaseClass"});
    }
    uint32_t GetWidth() const override { return width_; }
    uint32_t GetHeight() const override { return height_; }
    bool IsValid() const override { return texels_ != nullptr; }
    bool Lock(uint32_t level, uint32_t* pitch, void** bits) override;
    void Unlock() override;
    bool SaveToFile(const char* path) override;
    void SetText(const char* key, const char* value) override;
    const char* GetText(const char* key) const override;

    uint32_t* Texels() { return texels_; }
    const uint32_t* Texels() const { return texels_; }
    uint32_t PitchWords() const { return pitchWords_; }
    // A process-wide unique number for the texels as they are now: new at every allocation and
    // unlock, so a drawing cache knows when to upload again (also when an address is reused).
    uint64_t Stamp() const { return stamp_; }
    PictureTexts& Texts() { return texts_; }

private:
    uint32_t width_ = 0;
    uint32_t height_ = 0;
    uint32_t pitchWords_ = 0;
    uint32_t* texels_ = nullptr;
    uint64_t stamp_ = 0;
    bool locked_ = false;
    PictureTexts texts_;
};

class CTexturesMgr final : public CServiceObject<KcTexturesMgr> {
public:
    bool IsKindOf(const char* name) const override {
        return NameIn(name, {"KcTexturesMgr", "KicBaseClass"});
    }
    KcTexture* LoadTexture(const char* path) override;
    KcTexture* CreateTexture(uint32_t width, uint32_t height, uint32_t levels,
                             KivTextureFormat format, KivMemoryPool pool) override;
    const char* GetLastError() override { return LastPictureError(); }

private:
    CTexture* NewTexture(uint32_t width, uint32_t height);
};

}  // namespace kivcore
