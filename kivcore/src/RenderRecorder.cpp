#include "RenderRecorder.h"

#include <cstring>
#include <utility>

#include "Services.h"

namespace kivcore {

// ---------------------------------------------------------------- vertex buffers

CVertexBuffer::~CVertexBuffer() {
    if (bytes_) Engine()->Allocator().Free(bytes_);
}

bool CVertexBuffer::Allocate(uint32_t length, uint32_t fvf) {
    if (length == 0 || length > kMaxLength) return false;
    void* memory = Engine()->Allocator().Allocate(length, "KcVertexBuffer", __LINE__);
    if (!memory) return false;
    std::memset(memory, 0, length);
    bytes_ = static_cast<uint8_t*>(memory);
    length_ = length;
    fvf_ = fvf;
    return true;
}

bool CVertexBuffer::Lock(uint32_t offset, uint32_t size, void** data) {
    if (locked_ || !data || offset > length_) return false;
    if (size == 0) size = length_ - offset;
    if (size > length_ - offset) return false;
    locked_ = true;
    *data = bytes_ + offset;
    return true;
}

// ---------------------------------------------------------------- state

CDeviceState::CDeviceState(int width, int height) {
    world = view = projection = kivmath::MatrixIdentity();
    const std::pair<uint32_t, uint32_t> defaults[] = {
        {D3DRS_ZENABLE, 1},
        {D3DRS_FILLMODE, D3DFILL_SOLID},
        {D3DRS_ZWRITEENABLE, 1},
        {D3DRS_SRCBLEND, D3DBLEND_ONE},
        {D3DRS_DESTBLEND, D3DBLEND_ZERO},
        {D3DRS_CULLMODE, D3DCULL_CCW},
        {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
        {D3DRS_ALPHAFUNC, D3DCMP_ALWAYS},
        {D3DRS_TEXTUREFACTOR, 0xFFFFFFFF},
        {D3DRS_LIGHTING, 1},
        {D3DRS_COLORVERTEX, 1},
        {D3DRS_LOCALVIEWER, 1},
        {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1},
        {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2},
    };
    for (auto [state, value] : defaults) renderStates[state] = value;
    for (uint32_t s = 0; s < kKivTextureStageCount; ++s) {
        stages[s][D3DTSS_COLOROP] = s == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        stages[s][D3DTSS_ALPHAOP] = s == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        stages[s][D3DTSS_COLORARG1] = stages[s][D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        stages[s][D3DTSS_COLORARG2] = stages[s][D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    }
    for (D3DLIGHT9& light : lights) {
        light.Diffuse = {1, 1, 1, 0};
        light.Direction = {0, 0, 1};
    }
    material.Diffuse = material.Ambient = {1, 1, 1, 1};
    viewport = KivViewport{0, 0, uint32_t(width), uint32_t(height), 0.0f, 1.0f};
}

KivMatrix* CDeviceState::Transform(uint32_t type) {
    switch (type) {
        case D3DTS_WORLD:
            return &world;
        case D3DTS_VIEW:
            return &view;
        case D3DTS_PROJECTION:
            return &projection;
        default:
            return nullptr;
    }
}

void CDeviceState::Apply(const KivRenderCall& call) {
    switch (call.op) {
        case KivRenderOp::kSetTransform:
            if (KivMatrix* target = Transform(call.a)) *target = call.matrix;
            break;
        case KivRenderOp::kSetRenderState:
            if (call.a < kKivRenderStateCount) renderStates[call.a] = call.b;
            break;
        case KivRenderOp::kSetTextureStageState:
            if (call.a < kKivTextureStageCount && call.b < kKivTextureStageStateCount)
                stages[call.a][call.b] = call.c;
            break;
        case KivRenderOp::kSetLight:
            if (call.a < kKivLightCount) lights[call.a] = call.light;
            break;
        case KivRenderOp::kLightEnable:
            if (call.a < kKivLightCount) lightEnabled[call.a] = call.b != 0;
            break;
        case KivRenderOp::kSetMaterial:
            material = call.material;
            break;
        case KivRenderOp::kSetFVF:
            fvf = call.a;
            break;
        case KivRenderOp::kSetViewport:
            viewport = call.viewport;
            break;
        case KivRenderOp::kSetStreamSource:
            streamOffset = call.b, streamStride = call.c;
            break;
        case KivRenderOp::kDrawPrimitiveUP:  // unsets stream 0
            streamOffset = streamStride = 0;
            break;
        default:
            break;
    }
}

CRenderRecorder::CRenderRecorder(int width, int height)
    : state_(width, height), recordStart_(width, height) {}

CRenderRecorder::~CRenderRecorder() { ReleaseResources(); }

void CRenderRecorder::ResetViewport(int width, int height) {
    state_.viewport = KivViewport{0, 0, uint32_t(width), uint32_t(height), 0.0f, 1.0f};
}

bool CRenderRecorder::SetTransform(uint32_t type, const KivMatrix& matrix) {
    if (!state_.Transform(type)) return false;
    KivRenderCall& call = Record(KivRenderOp::kSetTransform, type);
    call.matrix = matrix;
    Commit(call);
    return true;
}

bool CRenderRecorder::GetTransform(uint32_t type, KivMatrix* matrix) const {
    const KivMatrix* source = const_cast<CDeviceState&>(state_).Transform(type);
    if (!source || !matrix) return false;
    *matrix = *source;
    return true;
}

bool CRenderRecorder::SetRenderState(uint32_t state, uint32_t value) {
    if (state >= kKivRenderStateCount) return false;
    Commit(Record(KivRenderOp::kSetRenderState, state, value));
    return true;
}

uint32_t CRenderRecorder::GetRenderState(uint32_t state) const {
    return state < kKivRenderStateCount ? state_.renderStates[state] : 0;
}

bool CRenderRecorder::SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) {
    if (stage >= kKivTextureStageCount || type >= kKivTextureStageStateCount) return false;
    Commit(Record(KivRenderOp::kSetTextureStageState, stage, type, value));
    return true;
}

uint32_t CRenderRecorder::GetTextureStageState(uint32_t stage, uint32_t type) const {
    if (stage >= kKivTextureStageCount || type >= kKivTextureStageStateCount) return 0;
    return state_.stages[stage][type];
}

bool CRenderRecorder::SetLight(uint32_t index, const D3DLIGHT9& light) {
    if (index >= kKivLightCount) return false;
    KivRenderCall& call = Record(KivRenderOp::kSetLight, index);
    call.light = light;
    Commit(call);
    return true;
}

bool CRenderRecorder::GetLight(uint32_t index, D3DLIGHT9* light) const {
    if (index >= kKivLightCount || !light) return false;
    *light = state_.lights[index];
    return true;
}

bool CRenderRecorder::LightEnable(uint32_t index, bool enable) {
    if (index >= kKivLightCount) return false;
    Commit(Record(KivRenderOp::kLightEnable, index, enable ? 1 : 0));
    return true;
}

bool CRenderRecorder::GetLightEnable(uint32_t index) const {
    return index < kKivLightCount && state_.lightEnabled[index];
}

void CRenderRecorder::SetMaterial(const D3DMATERIAL9& material) {
    KivRenderCall& call = Record(KivRenderOp::kSetMaterial);
    call.material = material;
    Commit(call);
}

void CRenderRecorder::SetFVF(uint32_t fvf) { Commit(Record(KivRenderOp::kSetFVF, fvf)); }

void CRenderRecorder::SetViewport(const KivViewport& viewport) {
    KivRenderCall& call = Record(KivRenderOp::kSetViewport);
    call.viewport = viewport;
    Commit(call);
}

// ---------------------------------------------------------------- buffers and draws

KcVertexBuffer* CRenderRecorder::CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf,
                                                    KivMemoryPool pool) {
    (void)usage, (void)pool;  // memory is memory here
    CKivEngine* engine = Engine();
    CVertexBuffer* buffer =
        engine ? engine->NewObject<CVertexBuffer>("KcVertexBuffer", __LINE__) : nullptr;
    if (!buffer) return nullptr;
    if (!buffer->Allocate(length, fvf)) {
        buffer->Release();
        return nullptr;
    }
    return buffer;
}

bool CRenderRecorder::SetStreamSource(uint32_t stream, KcVertexBuffer* buffer, uint32_t offset,
                                      uint32_t stride) {
    if (stream != 0) return false;
    if (buffer) buffer->AddRef();
    if (stream_) stream_->Release();
    stream_ = buffer;
    KivRenderCall& call = Record(KivRenderOp::kSetStreamSource, stream, offset, stride);
    Keep(call, buffer);
    Commit(call);
    return true;
}

bool CRenderRecorder::DrawPrimitive(uint32_t type, uint32_t startVertex, uint32_t primitiveCount) {
    uint32_t vertices = KivPrimitiveVertexCount(type, primitiveCount);
    const uint32_t stride = state_.streamStride;
    if (!stream_ || vertices == 0 || stride == 0) return false;
    uint64_t end = state_.streamOffset + (uint64_t(startVertex) + vertices) * stride;
    if (end > stream_->GetLength()) return false;
    KivRenderCall& call = Record(KivRenderOp::kDrawPrimitive, type, primitiveCount, startVertex);
    call.vertexCount = vertices;
    Keep(call, stream_);
    return true;
}

bool CRenderRecorder::DrawPrimitiveUP(uint32_t type, uint32_t primitiveCount, const void* vertices,
                                      uint32_t stride) {
    uint32_t count = KivPrimitiveVertexCount(type, primitiveCount);
    if (!vertices || count == 0 || stride == 0 ||
        uint64_t(count) * stride > CVertexBuffer::kMaxLength)
        return false;
    // Stream 0 is unset as a side effect of the call, not as a call of its own.
    if (stream_) stream_->Release();
    stream_ = nullptr;
    KivRenderCall& call = Record(KivRenderOp::kDrawPrimitiveUP, type, primitiveCount, stride);
    call.vertexCount = count;
    Copy(call, vertices, count * stride);
    Commit(call);
    return true;
}

void CRenderRecorder::RecordMesh(KcDxMesh* mesh, uint32_t subset) {
    KivRenderCall& call = Record(KivRenderOp::kDrawMesh, subset, mesh->GetFaceCount());
    call.vertexCount = mesh->GetVertexCount();
    Keep(call, mesh);
}

void CRenderRecorder::RecordText(float x, float y, const char* text, uint32_t argb, float scale) {
    KivRenderCall& call = Record(KivRenderOp::kDrawText, argb);
    call.x = x, call.y = y, call.scale = scale;
    Copy(call, text, uint32_t(std::strlen(text) + 1));
}

// ---------------------------------------------------------------- the record

KivRenderCall& CRenderRecorder::Record(KivRenderOp op, uint32_t a, uint32_t b, uint32_t c) {
    // Past the limit the calls still change the state but land in a scratch record.
    overflow_ = KivRenderCall{};
    if (calls_.size() >= kKivMaxRenderCalls) return overflow_;
    try {
        calls_.push_back(KivRenderCall{});
    } catch (const std::bad_alloc&) {
        return overflow_;
    }
    KivRenderCall& call = calls_.back();
    call.op = op, call.a = a, call.b = b, call.c = c;
    return call;
}

void CRenderRecorder::Keep(KivRenderCall& call, KicBaseClass* resource) {
    if (!resource || &call == &overflow_) return;
    resource->AddRef();
    call.resource = resource;
}

void CRenderRecorder::Copy(KivRenderCall& call, const void* bytes, uint32_t size) {
    if (&call == &overflow_) return;
    try {
        const uint8_t* p = static_cast<const uint8_t*>(bytes);
        payloads_.emplace_back(p, p + size);
    } catch (const std::bad_alloc&) {
        return;
    }
    call.data = payloads_.back().data();
    call.size = size;
}

void CRenderRecorder::ClearCalls() {
    recordStart_ = state_;
    std::vector<KivRenderCall> calls;
    calls.swap(calls_);
    payloads_.clear();
    for (KivRenderCall& call : calls)
        if (call.resource) call.resource->Release();
}

void CRenderRecorder::ReleaseResources() {
    ClearCalls();
    if (stream_) stream_->Release();
    stream_ = nullptr;
}

// ---------------------------------------------------------------- the font's text

bool CFontService::DrawText(float x, float y, const char* text, uint32_t argb, float scale) {
    CKivEngine* engine = Engine();
    if (!text || !engine || !engine->Render()) return false;
    engine->Render()->RecordText(x, y, text, argb, scale);
    return true;
}

}  // namespace kivcore
