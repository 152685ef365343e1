// The headless engine with the image module loaded, and what the module tests share.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "equations/PixelEquation.h"
#include "kivcore/EngineSession.h"
#include "module/Luneth.h"
#include "module/LunethUI.h"

namespace lunethtest {

// Every ImageCallback call, in order.
struct CallbackRecord {
    std::string name;
    int width, height;
    float cost;
};
inline std::vector<CallbackRecord>& Calls() {
    static std::vector<CallbackRecord> calls;
    return calls;
}
inline void RecordCall(const char* name, int width, int height, float cost) {
    Calls().push_back({name ? name : "", width, height, cost});
}

class LunethSession : public kivtest::EngineSession {
public:
    explicit LunethSession(const std::string& extraKeys = "", const std::string& sections = "")
        : EngineSession("Modules=Luneth\n" + extraKeys, "CLuneth", sections) {
        Calls().clear();
        if (api && api->GetGame()) {
            luneth = static_cast<CLuneth*>(static_cast<ILuneth*>(api->GetGame()));
            luneth->SetImageCallback(RecordCall);
            panel = luneth->GetPanel();
        }
    }

    int TimerDepth() { return api->GetTimerStack()->depth; }

    // The texels of the current texture, row after row.
    std::vector<uint32_t> Texels() {
        std::vector<uint32_t> out;
        KcTexture* t = luneth->GetTexture();
        uint32_t pitch = 0;
        void* bits = nullptr;
        if (!t || !t->Lock(0, &pitch, &bits)) return out;
        for (uint32_t y = 0; y < t->GetHeight(); ++y)
            for (uint32_t x = 0; x < t->GetWidth(); ++x)
                out.push_back(static_cast<uint32_t*>(bits)[size_t(y) * pitch / 4 + x]);
        t->Unlock();
        return out;
    }

    // A small picture file written through the engine: w x h, texel (x, y) = 0xFF000000 | x << 8 |
    // y.
    std::string MakePicture(const std::string& name, uint32_t w = 37, uint32_t h = 23) {
        KcTexture* t = Textures()->CreateTexture(w, h, 1, kKivFormatA8R8G8B8, kKivPoolManaged);
        uint32_t pitch = 0;
        void* bits = nullptr;
        EXPECT_TRUE(t && t->Lock(0, &pitch, &bits));
        for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x)
                static_cast<uint32_t*>(bits)[size_t(y) * pitch / 4 + x] = 0xFF000000u | x << 8 | y;
        t->Unlock();
        std::string path = Path(name);
        EXPECT_TRUE(t->SaveToFile(path.c_str()));
        t->Release();
        return path;
    }

    // The first built equation with at least `params` named parameters, or -1.
    int EquationWithParams(int params) {
        for (int i = 0; i < 512; ++i)
            if (luneth::IPixelEquation* e = luneth->GetEquation(i))
                if (params == 0 ? !e->GetParamName(0)
                                : e->GetParamName(uint32_t(params - 1)) != nullptr)
                    return i;
        return -1;
    }

    CLuneth* luneth = nullptr;
    CLunethUI* panel = nullptr;
};

}  // namespace lunethtest
