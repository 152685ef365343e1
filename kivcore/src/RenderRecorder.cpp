#include "RenderRecorder.h"

#include <cstring>

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

CRenderRecorder::CRenderRecorder(int width, int height) {
    world_ = view_ = projection_ = kivmath::MatrixIdentity();
    renderStates_[D3DRS_ZENABLE] = 1;
    renderStates_[D3DRS_ZWRITEENABLE] = 1;
    renderStates_[D3DRS_SRCBLEND] = 2;   // one
    renderStates_[D3DRS_DESTBLEND] = 1;  // zero
    renderStates_[D3DRS_CULLMODE] = D3DCULL_CCW;
    renderStates_[D3DRS_ALPHAFUNC] = 8;  // always
    renderStates_[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFF;
    renderStates_[D3DRS_LIGHTING] = 1;
    renderStates_[D3DRS_COLORVERTEX] = 1;
    for (uint32_t s = 0; s < kKivTextureStageCount; ++s) {
        stages_[s][D3DTSS_COLOROP] = s == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        stages_[s][D3DTSS_ALPHAOP] = s == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        stages_[s][D3DTSS_COLORARG1] = stages_[s][D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        stages_[s][D3DTSS_COLORARG2] = stages_[s][D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    }
    for (D3DLIGHT9& light : lights_) {
        light.Diffuse = {1, 1, 1, 0};
        light.Direction = {0, 0, 1};
    }
    material_.Diffuse = material_.Ambient = {1, 1, 1, 1};
    ResetViewport(width, height);
}

CRenderRecorder::~CRenderRecorder() { ReleaseResources(); }

void CRenderRecorder::ResetViewport(int width, int height) {
    viewport_ = KivViewport{0, 0, uint32_t(width), uint32_t(height), 0.0f, 1.0f};
}

KivMatrix* CRenderRecorder::Transform(uint32_t type) {
    switch (type) {
        case D3DTS_WORLD:
            return &world_;
        case D3DTS_VIEW:
            return &view_;
        case D3DTS_PROJECTION:
            return &projection_;
        default:
            return nullptr;
    }
}

bool CRenderRecorder::SetTransform(uint32_t type, const KivMatrix& matrix) {
    KivMatrix* target = Transform(type);
    if (!target) return false;
    *target = matrix;
    Record(KivRenderOp::kSetTransform, type).matrix = matrix;
    return true;
}

bool CRenderRecorder::GetTransform(uint32_t type, KivMatrix* matrix) const {
    KivMatrix* source = const_cast<CRenderRecorder*>(this)->Transform(type);
    if (!source || !matrix) return false;
    *matrix = *source;
    return true;
}

bool CRenderRecorder::SetRenderState(uint32_t state, uint32_t value) {
    if (state >= kKivRenderStateCount) return false;
    renderStates_[state] = value;
    Record(KivRenderOp::kSetRenderState, state, value);
    return true;
}

uint32_t CRenderRecorder::GetRenderState(uint32_t state) const {
    return state < kKivRenderStateCount ? renderStates_[state] : 0;
}

bool CRenderRecorder::SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) {
    if (stage >= kKivTextureStageCount || type >= kKivTextureStageStateCount) return false;
    stages_[stage][type] = value;
    Record(KivRenderOp::kSetTextureStageState, stage, type, value);
    return true;
}

uint32_t CRenderRecorder::GetTextureStageState(uint32_t stage, uint32_t type) const {
    if (stage >= kKivTextureStageCount || type >= kKivTextureStageStateCount) return 0;
    return stages_[stage][type];
}

bool CRenderRecorder::SetLight(uint32_t index, const D3DLIGHT9& light) {
    if (index >= kKivLightCount) return false;
    lights_[index] = light;
    Record(KivRenderOp::kSetLight, index).light = light;
    return true;
}

bool CRenderRecorder::GetLight(uint32_t index, D3DLIGHT9* light) const {
    if (index >= kKivLightCount || !light) return false;
    *light = lights_[index];
    return true;
}

bool CRenderRecorder::LightEnable(uint32_t index, bool enable) {
    if (index >= kKivLightCount) return false;
    lightEnabled_[index] = enable;
    Record(KivRenderOp::kLightEnable, index, enable ? 1 : 0);
    return true;
}

bool CRenderRecorder::GetLightEnable(uint32_t index) const {
    return index < kKivLightCount && lightEnabled_[index];
}

void CRenderRecorder::SetMaterial(const D3DMATERIAL9& material) {
    material_ = material;
    Record(KivRenderOp::kSetMaterial).material = material;
}

void CRenderRecorder::SetFVF(uint32_t fvf) {
    fvf_ = fvf;
    Record(KivRenderOp::kSetFVF, fvf);
}

void CRenderRecorder::SetViewport(const KivViewport& viewport) {
    viewport_ = viewport;
    Record(KivRenderOp::kSetViewport).viewport = viewport;
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
    streamOffset_ = offset;
    streamStride_ = stride;
    Keep(Record(KivRenderOp::kSetStreamSource, stream, offset, stride), buffer);
    return true;
}

bool CRenderRecorder::DrawPrimitive(uint32_t type, uint32_t startVertex, uint32_t primitiveCount) {
    uint32_t vertices = KivPrimitiveVertexCount(type, primitiveCount);
    if (!stream_ || vertices == 0 || streamStride_ == 0) return false;
    uint64_t end = streamOffset_ + (uint64_t(startVertex) + vertices) * streamStride_;
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
    streamOffset_ = streamStride_ = 0;
    KivRenderCall& call = Record(KivRenderOp::kDrawPrimitiveUP, type, primitiveCount, stride);
    call.vertexCount = count;
    Copy(call, vertices, count * stride);
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
