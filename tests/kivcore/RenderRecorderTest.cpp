// The render service's 3D half: device defaults, draws checked against their buffers, and the
// record's references that keep a buffer alive until the next frame.
#include <gtest/gtest.h>

#include "kivcore/EngineSession.h"

using kivtest::EngineSession;

TEST(RenderRecorder, StartsWithDeviceDefaultsAndAViewportOverTheSurface) {
    EngineSession engine;
    auto* render = engine.Service<KcDX9Render>("KcDX9Render");
    EXPECT_EQ(render->GetRenderState(D3DRS_ZENABLE), 1u);
    EXPECT_EQ(render->GetRenderState(D3DRS_CULLMODE), D3DCULL_CCW);
    EXPECT_EQ(render->GetRenderState(D3DRS_LIGHTING), 1u);
    EXPECT_EQ(render->GetRenderState(D3DRS_TEXTUREFACTOR), 0xFFFFFFFFu);
    EXPECT_EQ(render->GetTextureStageState(0, D3DTSS_COLOROP), D3DTOP_MODULATE);
    EXPECT_EQ(render->GetTextureStageState(1, D3DTSS_COLOROP), D3DTOP_DISABLE);
    EXPECT_FALSE(render->SetRenderState(kKivRenderStateCount, 1));
    EXPECT_FALSE(render->SetLight(kKivLightCount, D3DLIGHT9{}));
    EXPECT_EQ(render->GetViewport().width, 1280u);
    render->Resize(300, 200);
    EXPECT_EQ(render->GetViewport().height, 200u);
    EXPECT_EQ(render->GetCallCount(), 0u);  // state reads and refused calls record nothing
}

TEST(RenderRecorder, DrawsStayWithinTheirBufferAndKeepItUntilTheNextFrame) {
    EngineSession engine;
    auto* render = engine.Service<KcDX9Render>("KcDX9Render");
    KicAllocator* allocator = engine.api->GetAllocator();
    size_t blocks = allocator->LiveBlockCount();
    KcVertexBuffer* buffer =
        render->CreateVertexBuffer(10 * 12, D3DUSAGE_WRITEONLY, D3DFVF_XYZ, kKivPoolManaged);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(render->CreateVertexBuffer(0, 0, D3DFVF_XYZ, kKivPoolManaged), nullptr);
    EXPECT_FALSE(render->DrawPrimitive(D3DPT_LINELIST, 0, 1));  // no stream yet
    ASSERT_TRUE(render->SetStreamSource(0, buffer, 0, 12));
    struct {
        uint32_t type, start, count;
        bool drawn;
        uint32_t vertices;
    } draws[] = {{D3DPT_LINELIST, 0, 5, true, 10},    {D3DPT_LINELIST, 1, 5, false, 0},
                 {D3DPT_TRIANGLELIST, 0, 3, true, 9}, {D3DPT_TRIANGLESTRIP, 2, 6, true, 8},
                 {D3DPT_LINESTRIP, 0, 10, false, 0},  {D3DPT_POINTLIST, 9, 1, true, 1},
                 {D3DPT_TRIANGLEFAN, 0, 0, false, 0}, {99, 0, 1, false, 0}};
    for (const auto& d : draws) {
        uint32_t before = render->GetCallCount();
        EXPECT_EQ(render->DrawPrimitive(d.type, d.start, d.count), d.drawn) << d.type;
        if (d.drawn) {
            EXPECT_EQ(render->GetCall(before)->vertexCount, d.vertices);
        }
    }
    // The caller lets go, the stream is unset by a draw from memory: the record still holds it.
    buffer->Release();
    const float line[6] = {0, 0, 0, 1, 1, 1};
    ASSERT_TRUE(render->DrawPrimitiveUP(D3DPT_LINELIST, 1, line, 12));
    const KivRenderCall* up = render->GetCall(render->GetCallCount() - 1);
    EXPECT_EQ(up->size, 24u);
    EXPECT_EQ(static_cast<const float*>(up->data)[4], 1.0f);
    EXPECT_EQ(allocator->LiveBlockCount(), blocks + 2);  // the buffer and its bytes
    ASSERT_TRUE(KivEngineFrame());
    EXPECT_EQ(render->GetCallCount(), 0u);
    EXPECT_EQ(allocator->LiveBlockCount(), blocks);
}
