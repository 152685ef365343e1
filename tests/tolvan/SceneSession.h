// A headless engine with the scene module loaded, and readable forms of the render record.
#pragma once

#include <string>
#include <vector>

#include "kiv/messages.h"
#include "kiv/module.h"
#include "kivcore/EngineSession.h"
#include "tolvan/Scenes.h"

namespace tolvantest {

constexpr const char* kSceneNames[] = {"KcSimpleScene", "KcMultipleScene", "KcRectFrameScene",
                                       "KcZAxisScene", "KcOrthoScene"};

// One call as text: "RS 137 1", "TSS 0 1 2", "LE 0 1", "T 256", "MAT", "LIGHT 0", "FVF 66",
// "SS 0 0 16", "DP 2 18" (type, primitives), "DUP 2 3", "MESH", "TEXT ...".
inline std::string Describe(const KivRenderCall& c) {
    auto n = [](uint32_t v) { return std::to_string(v); };
    switch (c.op) {
        case KivRenderOp::kSetTransform:
            return "T " + n(c.a);
        case KivRenderOp::kSetRenderState:
            return "RS " + n(c.a) + " " + n(c.b);
        case KivRenderOp::kSetTextureStageState:
            return "TSS " + n(c.a) + " " + n(c.b) + " " + n(c.c);
        case KivRenderOp::kSetLight:
            return "LIGHT " + n(c.a);
        case KivRenderOp::kLightEnable:
            return "LE " + n(c.a) + " " + n(c.b);
        case KivRenderOp::kSetMaterial:
            return "MAT";
        case KivRenderOp::kSetFVF:
            return "FVF " + n(c.a);
        case KivRenderOp::kSetStreamSource:
            return "SS " + n(c.a) + " " + n(c.b) + " " + n(c.c);
        case KivRenderOp::kDrawPrimitive:
            return "DP " + n(c.a) + " " + n(c.b);
        case KivRenderOp::kDrawPrimitiveUP:
            return "DUP " + n(c.a) + " " + n(c.b);
        case KivRenderOp::kDrawMesh:
            return "MESH";
        case KivRenderOp::kDrawText:
            return std::string("TEXT ") + static_cast<const char*>(c.data);
        default:
            return "?";
    }
}

class SceneSession : public kivtest::EngineSession {
public:
    explicit SceneSession(const std::string& keys = "", const std::string& sections = "")
        : EngineSession("Modules=Tolvan\n" + keys, nullptr, sections) {}

    KcDX9Render* Render() { return Service<KcDX9Render>("KcDX9Render"); }
    template <class T = KicSceneControl>
    T* Create(const char* name) {
        return static_cast<T*>(api->CreateEngineObject(name));
    }
    std::vector<std::string> Calls() {
        std::vector<std::string> texts;
        for (uint32_t i = 0; i < Render()->GetCallCount(); ++i)
            texts.push_back(Describe(*Render()->GetCall(i)));
        return texts;
    }
    // The first recorded call of an operation, null when there is none.
    const KivRenderCall* First(KivRenderOp op) {
        for (uint32_t i = 0; i < Render()->GetCallCount(); ++i)
            if (Render()->GetCall(i)->op == op) return Render()->GetCall(i);
        return nullptr;
    }
    bool Send(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0, uint32_t keys = 0) {
        return api->DispatchMessage(message, wParam, lParam, keys);
    }
    void Mouse(uint32_t message, int x, int y) { Send(message, 0, KivMakeLParam(x, y)); }
    void Wheel(int delta, int x = 0, int y = 0) {
        Send(WM_MOUSEWHEEL, uintptr_t(uint32_t(delta) << 16), KivMakeLParam(x, y));
    }
};

}  // namespace tolvantest
