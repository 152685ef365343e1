// CRenderRecorder: the 3D half of the render service. It keeps the device state that the calls
// of kiv/render.h leave (transforms, render and texture-stage states, lights, material, vertex
// format, stream source, viewport) and records every call of the frame in order, so that the
// headless engine can be inspected and a windowed engine can draw the same calls.
//
// CDeviceState is that state with the one rule that changes it: the recorder applies each call
// as it records it, and the windowed drawing replays the record from the state the record
// began with (RecordStart), so both meet the same state at every call.
//
// CVertexBuffer is the service's vertex buffer: bytes from the engine allocator.
#pragma once

#include <array>
#include <vector>

#include "EngineObject.h"
#include "kiv/services.h"

namespace kivcore {

struct CDeviceState {
    // The defaults of a fresh device (kiv/render.h) with a viewport over width x height.
    CDeviceState(int width, int height);
    // What a call that the service accepted changes (nothing for draws and texts).
    void Apply(const KivRenderCall& call);
    // The transform of a type, null for an unknown type.
    KivMatrix* Transform(uint32_t type);
    bool operator==(const CDeviceState&) const = default;

    KivMatrix world, view, projection;
    std::array<uint32_t, kKivRenderStateCount> renderStates{};
    std::array<std::array<uint32_t, kKivTextureStageStateCount>, kKivTextureStageCount> stages{};
    std::array<D3DLIGHT9, kKivLightCount> lights{};
    std::array<bool, kKivLightCount> lightEnabled{};
    D3DMATERIAL9 material;
    uint32_t fvf = 0;
    KivViewport viewport;
    uint32_t streamOffset = 0, streamStride = 0;  // of stream 0; its buffer is in each draw
};

class CVertexBuffer final : public CEngineObject<KcVertexBuffer, kKivKindResource> {
public:
    static constexpr uint32_t kMaxLength = 64u << 20;

    ~CVertexBuffer() override;
    // Zero-filled bytes; false when the length is 0, too large or the memory can't be had.
    bool Allocate(uint32_t length, uint32_t fvf);

    bool IsKindOf(const char* name) const override {
        return NameIn(name, {"KcVertexBuffer", "KicBaseClass"});
    }
    uint32_t GetLength() const override { return length_; }
    uint32_t GetFVF() const override { return fvf_; }
    bool Lock(uint32_t offset, uint32_t size, void** data) override;
    void Unlock() override { locked_ = false; }
    const uint8_t* Bytes() const { return bytes_; }

private:
    uint8_t* bytes_ = nullptr;
    uint32_t length_ = 0;
    uint32_t fvf_ = 0;
    bool locked_ = false;
};

class CRenderRecorder : public CServiceObject<KcDX9Render> {
public:
    CRenderRecorder(int width, int height);
    ~CRenderRecorder() override;

    bool SetTransform(uint32_t type, const KivMatrix& matrix) override;
    bool GetTransform(uint32_t type, KivMatrix* matrix) const override;
    bool SetRenderState(uint32_t state, uint32_t value) override;
    uint32_t GetRenderState(uint32_t state) const override;
    bool SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) override;
    uint32_t GetTextureStageState(uint32_t stage, uint32_t type) const override;
    bool SetLight(uint32_t index, const D3DLIGHT9& light) override;
    bool GetLight(uint32_t index, D3DLIGHT9* light) const override;
    bool LightEnable(uint32_t index, bool enable) override;
    bool GetLightEnable(uint32_t index) const override;
    void SetMaterial(const D3DMATERIAL9& material) override;
    void GetMaterial(D3DMATERIAL9* material) const override { *material = state_.material; }
    void SetFVF(uint32_t fvf) override;
    uint32_t GetFVF() const override { return state_.fvf; }
    void SetViewport(const KivViewport& viewport) override;
    KivViewport GetViewport() const override { return state_.viewport; }
    KcVertexBuffer* CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf,
                                       KivMemoryPool pool) override;
    bool SetStreamSource(uint32_t stream, KcVertexBuffer* buffer, uint32_t offset,
                         uint32_t stride) override;
    bool DrawPrimitive(uint32_t type, uint32_t startVertex, uint32_t primitiveCount) override;
    bool DrawPrimitiveUP(uint32_t type, uint32_t primitiveCount, const void* vertices,
                         uint32_t stride) override;
    uint32_t GetCallCount() const override { return uint32_t(calls_.size()); }
    const KivRenderCall* GetCall(uint32_t index) const override {
        return index < calls_.size() ? &calls_[index] : nullptr;
    }
    void ClearCalls() override;

    // For the engine's own services: a mesh drawn with the current state, a text of the font.
    void RecordMesh(KcDxMesh* mesh, uint32_t subset);
    void RecordText(float x, float y, const char* text, uint32_t argb, float scale);
    // The record starts empty every frame.
    void BeginFrame() { ClearCalls(); }
    // Drops every reference the service holds (the record and the stream source), before the
    // engine destroys what is left at shutdown.
    void ReleaseResources();
    // The state when the record was last emptied: replaying the record from it gives the
    // current state.
    const CDeviceState& RecordStart() const { return recordStart_; }
    const CDeviceState& State() const { return state_; }

protected:
    // The viewport covers a surface of this size again.
    void ResetViewport(int width, int height);

private:
    KivRenderCall& Record(KivRenderOp op, uint32_t a = 0, uint32_t b = 0, uint32_t c = 0);
    // The state follows a recorded call.
    void Commit(const KivRenderCall& call) { state_.Apply(call); }
    void Keep(KivRenderCall& call, KicBaseClass* resource);
    void Copy(KivRenderCall& call, const void* bytes, uint32_t size);

    CDeviceState state_, recordStart_;
    KcVertexBuffer* stream_ = nullptr;
    std::vector<KivRenderCall> calls_;
    KivRenderCall overflow_;                      // where calls past the record's limit go
    std::vector<std::vector<uint8_t>> payloads_;  // the bytes that calls_ point at
};

}  // namespace kivcore
