// What every scene shares, on the headless engine: factories, event registrations, the default
// light and material, settings, Apply's calls in order, projections, the engine's frame.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "tolvan/SceneSession.h"
#include "tolvan/TestTolerance.h"

using tolvantest::kSceneNames;
using tolvantest::SceneSession;

namespace {

constexpr float kPi = 3.14159265f;

// A configuration that answers from a table and notes every key asked for, in order.
class RecordingConfig final : public KicConfig {
public:
    std::vector<std::string> keys;
    std::map<std::string, std::vector<float>> values;

    int ReadInt(const char*, const char* key, int d) override {
        const float* v = Find(key, 1);
        return v ? int(v[0]) : d;
    }
    bool ReadBool(const char*, const char* key, bool d) override {
        const float* v = Find(key, 1);
        return v ? v[0] != 0 : d;
    }
    float ReadFloat(const char*, const char* key, float d) override {
        const float* v = Find(key, 1);
        return v ? v[0] : d;
    }
    bool ReadFloats(const char*, const char* key, float* out, int count) override {
        const float* v = Find(key, count);
        if (v) std::copy(v, v + count, out);
        return v != nullptr;
    }
    int ReadString(const char*, const char* key, const char*, char*, int) override {
        keys.push_back(key);
        return 0;
    }

private:
    const float* Find(const char* key, int count) {
        keys.push_back(key);
        auto it = values.find(key);
        return it != values.end() && int(it->second.size()) == count ? it->second.data() : nullptr;
    }
};

}  // namespace

TEST(SceneModule, FactoriesRunFromOrthoToSimpleAndMakeKindTwoScenes) {
    SceneSession engine;
    KicSceneControl* ortho = engine.Create("KcOrthoScene");
    ASSERT_NE(ortho, nullptr);
    std::vector<std::string> names;
    for (KivModuleAPI* f = ortho->GetFactory(); f; f = f->next) {
        names.push_back(f->GetTypeName());
        EXPECT_EQ(f->kind, kKivKindSceneEntity);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"KcOrthoScene", "KcZAxisScene", "KcRectFrameScene",
                                               "KcMultipleScene", "KcSimpleScene"}));
    const char* interfaces[] = {"KicSimpleScene", "KicMultipleScene", "KicRectFrameScene",
                                "KicZAxisScene", "KicOrthoScene"};
    for (int i = 0; i < 5; ++i) {
        KicSceneControl* a = engine.Create(kSceneNames[i]);
        KicSceneControl* b = engine.Create(kSceneNames[i]);
        ASSERT_NE(a, nullptr) << kSceneNames[i];
        EXPECT_NE(a, b);
        EXPECT_EQ(a->GetClassKind(), a->GetFactory()->kind);
        EXPECT_STREQ(a->GetFactory()->GetTypeName(), kSceneNames[i]);
        for (const char* name : {kSceneNames[i], interfaces[i], "KicSceneControl", "KicEntity"})
            EXPECT_TRUE(a->IsKindOf(name)) << kSceneNames[i] << " " << name;
        EXPECT_FALSE(a->IsKindOf(interfaces[(i + 1) % 5]));
        engine.api->DestroyEngineObject(b);
        a->Release();  // the last reference destroys it
    }
    engine.api->DestroyEngineObject(ortho);
    engine.Shutdown();
    EXPECT_NE(engine.Log().find("Memory: no leaks"), std::string::npos) << engine.Log();
}

TEST(SceneModule, EventsAreRegisteredWithTheirOrders) {
    const std::vector<std::pair<int, int>> expected[] = {
        {{2, 16}, {32, 4096}}, {{1, 0}, {2, 0}, {8, 0}, {16, -16}, {32, 4096}},
        {{2, 32}, {32, 4096}}, {{1, 16}, {2, 16}, {32, 4096}},
        {{2, 16}, {32, 4096}},
    };
    SceneSession engine;
    for (int i = 0; i < 5; ++i) {
        KicSceneControl* scene = engine.Create(kSceneNames[i]);
        ASSERT_NE(scene, nullptr);
        std::vector<std::pair<int, int>> registered;
        for (int kind : {1, 2, 8, 16, 32}) {
            int order = 0;
            if (engine.api->GetEventOrder(scene, kind, &order)) registered.push_back({kind, order});
        }
        EXPECT_EQ(registered, expected[i]) << kSceneNames[i];
        engine.api->DestroyEngineObject(scene);
        EXPECT_FALSE(engine.api->GetEventOrder(scene, 32, nullptr));
    }
}

TEST(SceneModule, DefaultLightAndMaterialReachTheRenderService) {
    SceneSession engine;
    KicSceneControl* scene = engine.Create("KcSimpleScene");
    scene->Apply();
    D3DLIGHT9 light;
    D3DMATERIAL9 material;
    ASSERT_TRUE(engine.Render()->GetLight(0, &light));
    engine.Render()->GetMaterial(&material);
    EXPECT_TRUE(engine.Render()->GetLightEnable(0));
    EXPECT_EQ(light.Type, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(light.Diffuse, (D3DCOLORVALUE{0.8f, 0.8f, 0.8f, 1}));
    EXPECT_EQ(light.Specular, (D3DCOLORVALUE{0.25f, 0.25f, 0.25f, 1}));
    EXPECT_EQ(light.Ambient, (D3DCOLORVALUE{0.6f, 0.6f, 0.6f, 1}));
    EXPECT_EQ(light.Position, (KivVector3{}));
    const float root14 = float(std::sqrt(14.0));
    ExpectVectorNear(light.Direction, {-3 / root14, -2 / root14, 1 / root14}, 4);
    EXPECT_EQ(light.Attenuation0, 1.0f);
    EXPECT_EQ(light.Range + light.Falloff + light.Attenuation1 + light.Attenuation2 + light.Theta +
                  light.Phi,
              0.0f);
    const float grey = 128.0f / 255.0f;
    EXPECT_EQ(material.Diffuse, (D3DCOLORVALUE{grey, grey, grey, 1}));
    EXPECT_EQ(material.Ambient, (D3DCOLORVALUE{1, 1, 1, 1}));
    EXPECT_EQ(material.Specular, (D3DCOLORVALUE{grey, grey, grey, 1}));
    EXPECT_EQ(material.Emissive, (D3DCOLORVALUE{0, 0, 0, 1}));
    EXPECT_EQ(material.Power, 5.0f);
    // ResetLight takes a direction and normalises it; SetLightDirection keeps it as given.
    KivVector3 down{0, -2, 0};
    scene->SetLightDirection(0, -2, 0);
    EXPECT_EQ(scene->GetLight().Direction, down);
    scene->ResetLight(&down);
    EXPECT_EQ(scene->GetLight().Direction, (KivVector3{0, -1, 0}));
}

TEST(SceneModule, SettingsAreReadInOrderAndAppliedBeyondTheTolerance) {
    SceneSession engine;
    KicSceneControl* scene = engine.Create("KcSimpleScene");
    RecordingConfig none;
    scene->LoadSettings(&none);
    EXPECT_EQ(none.keys,
              (std::vector<std::string>{"LightAble", "SpecularAble", "FOV", "Near", "Far", "OrthoX",
                                        "OrthoY", "LightType", "LightDiffuse", "LightSpecular",
                                        "LightAmbient", "LightPosition", "LightDirection",
                                        "MaterialDiffuse", "MaterialAmbient", "MaterialSpecular",
                                        "MaterialEmissive", "MaterialPower"}));

    // A value within 1e-5 of the current one is not applied and leaves the projection alone
    // (made stale by a resize that the scene was not told of); one beyond it is applied.
    struct {
        const char* key;
        float (KicSceneControl::*get)() const;
        float current;
    } cases[] = {{"FOV", &KicSceneControl::GetFOV, 0.7853982f},
                 {"Near", &KicSceneControl::GetNearZ, 0.1f},
                 {"OrthoX", &KicSceneControl::GetOrthoX, 1.0f},
                 {"OrthoY", &KicSceneControl::GetOrthoY, 1.0f}};
    int width = 600;
    for (const auto& c : cases) {
        for (float delta : {0.9e-5f, 3e-5f}) {
            engine.Render()->Resize(++width, 600);
            KivMatrix stale = scene->GetProjection();
            RecordingConfig config;
            config.values[c.key] = {c.current + delta};
            scene->LoadSettings(&config);
            bool applied = delta > 1e-5f;
            EXPECT_EQ((scene->*c.get)(), applied ? c.current + delta : c.current) << c.key;
            EXPECT_EQ(scene->GetProjection() == stale, !applied) << c.key;
            config.values[c.key] = {c.current};
            scene->LoadSettings(&config);
        }
    }
    engine.Render()->Resize(1280, 720);

    // The projection follows an applied field of view; light and material take their keys.
    KicSceneControl* plain = engine.Create("KcSimpleScene");
    RecordingConfig config;
    config.values = {{"FOV", {1.2f}},
                     {"LightAble", {0}},
                     {"LightType", {1}},
                     {"LightDiffuse", {0.1f, 0.2f, 0.3f, 0.4f}},
                     {"LightDirection", {0, 0, 1}},
                     {"MaterialPower", {12}},
                     {"MaterialEmissive", {1, 2}}};  // too few numbers: kept
    plain->LoadSettings(&config);
    EXPECT_EQ(plain->GetProjection(),
              kivmath::MatrixPerspectiveFovLH(1.2f, 1280.0f / 720.0f, 0.1f, 500.0f));
    EXPECT_FALSE(plain->IsLightAble());
    EXPECT_EQ(plain->GetLight().Type, D3DLIGHT_POINT);
    EXPECT_EQ(plain->GetLight().Diffuse, (D3DCOLORVALUE{0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_EQ(plain->GetLight().Direction, (KivVector3{0, 0, 1}));
    EXPECT_EQ(plain->GetMaterial().Power, 12.0f);
    EXPECT_EQ(plain->GetMaterial().Emissive, (D3DCOLORVALUE{0, 0, 0, 1}));
    // Values that would break the projection are refused with a warning.
    RecordingConfig bad;
    bad.values = {{"FOV", {0}}, {"Near", {5}}, {"Far", {1}}, {"OrthoX", {-1}}, {"LightType", {7}}};
    plain->LoadSettings(&bad);
    EXPECT_EQ(plain->GetFOV(), 1.2f);
    EXPECT_EQ(plain->GetNearZ(), 0.1f);
    EXPECT_EQ(plain->GetOrthoX(), 1.0f);
    EXPECT_EQ(plain->GetLight().Type, D3DLIGHT_POINT);
    engine.Shutdown();
    EXPECT_NE(engine.Log().find("SceneControl: FOV must lie between 0 and pi"), std::string::npos);
}

TEST(SceneModule, SettingsComeFromTheEngineConfiguration) {
    SceneSession engine("", "[SceneControl]\nFOV=0.5\nMaterialDiffuse=1, 0, 0, 1\n");
    auto* scene = engine.Create("KcZAxisScene");
    EXPECT_EQ(scene->GetFOV(), 0.5f);
    EXPECT_EQ(scene->GetMaterial().Diffuse, (D3DCOLORVALUE{1, 0, 0, 1}));
}

TEST(SceneModule, ApplySetsStatesInOrder) {
    const std::vector<std::string> lit = {"RS 137 1", "RS 143 1", "LE 0 1",
                                          "MAT",      "LIGHT 0",  "RS 29 1"};
    const std::vector<std::string> transforms = {"T 256", "T 2", "T 3"};
    auto join = [](std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    SceneSession engine;
    for (const char* name : kSceneNames) {
        if (std::string(name) == "KcMultipleScene") continue;
        KicSceneControl* scene = engine.Create(name);
        auto* ortho = dynamic_cast<KicOrthoScene*>(scene);
        if (ortho) ortho->SetGridShown(false);
        engine.Render()->ClearCalls();
        scene->Apply();
        std::vector<std::string> calls = engine.Calls();
        calls.resize(std::min<size_t>(calls.size(), 10));  // the scene's own drawing follows
        EXPECT_EQ(calls, join(join(lit, {"RS 22 3"}), transforms)) << name;
    }
    auto* multiple = engine.Create<KicMultipleScene>("KcMultipleScene");
    for (bool leftHanded : {true, false}) {
        multiple->SetLeftHanded(leftHanded);
        engine.Render()->ClearCalls();
        multiple->Apply();
        EXPECT_EQ(engine.Calls(),
                  join(join(transforms, lit), {leftHanded ? "RS 22 3" : "RS 22 2"}));
    }
    multiple->SetLightAble(false);
    multiple->SetSpecularAble(false);
    engine.Render()->ClearCalls();
    multiple->Apply();
    EXPECT_EQ(engine.Calls(),
              join(transforms, {"RS 137 0", "RS 143 0", "LE 0 0", "RS 29 0", "RS 22 2"}));
    multiple->SetDisabled(true);
    engine.Render()->ClearCalls();
    multiple->Apply();
    multiple->Render();
    EXPECT_TRUE(engine.Calls().empty());
}

// Tangents folded by the compiler may differ from the library's by an ulp.
TEST(SceneModule, ProjectionsPerScene) {
    SceneSession engine;
    const float aspect = 1280.0f / 720.0f;
    const KivMatrix lh = kivmath::MatrixPerspectiveFovLH(kPi / 4, aspect, 0.1f, 500.0f);
    for (const char* name : {"KcSimpleScene", "KcRectFrameScene", "KcZAxisScene"})
        ExpectMatrixNear(engine.Create(name)->GetProjection(), lh, 4);
    auto* multiple = engine.Create<KicMultipleScene>("KcMultipleScene");
    ExpectMatrixNear(multiple->GetProjection(),
                     kivmath::MatrixPerspectiveFovLH(1.0471976f, aspect, 0.5f, 1000.0f), 4);
    multiple->SetLeftHanded(false);
    ExpectMatrixNear(multiple->GetProjection(),
                     kivmath::MatrixPerspectiveFovRH(1.0471976f, aspect, 0.5f, 1000.0f), 4);
    auto* ortho = engine.Create<KicOrthoScene>("KcOrthoScene");
    ExpectMatrixNear(ortho->GetProjection(), kivmath::MatrixOrthoLH(1, 1, 1, 50000), 4);
    ortho->SetLeftHanded(false);
    ExpectMatrixNear(ortho->GetProjection(), kivmath::MatrixOrthoRH(1, 1, 1, 50000), 4);
    // A resize reaches the projections through the window-size message (the frame's too, or
    // its picture would stretch).
    auto* plain = engine.Create("KcSimpleScene");
    auto* frame = engine.Create("KcRectFrameScene");
    engine.Render()->Resize(600, 600);
    engine.Send(WM_SIZE, 0, KivMakeLParam(600, 600));
    for (KicSceneControl* scene : {plain, frame})
        ExpectMatrixNear(scene->GetProjection(),
                         kivmath::MatrixPerspectiveFovLH(kPi / 4, 1, 0.1f, 500), 4);
    ExpectMatrixNear(multiple->GetProjection(),
                     kivmath::MatrixPerspectiveFovRH(1.0471976f, 1, 0.5f, 1000.0f), 4);
}

TEST(SceneModule, EveryMessageIsLeftForOthers) {
    SceneSession engine;
    std::vector<KicSceneControl*> scenes;
    for (const char* name : kSceneNames) scenes.push_back(engine.Create(name));
    const std::pair<uint32_t, uintptr_t> messages[] = {{WM_SIZE, 0},
                                                       {WM_KEYDOWN, 'X'},
                                                       {WM_KEYUP, 'X'},
                                                       {WM_KEYDOWN, 'W'},
                                                       {WM_KEYDOWN, VK_UP},
                                                       {WM_RBUTTONDOWN, 0},
                                                       {WM_MOUSEMOVE, 0},
                                                       {WM_RBUTTONUP, 0},
                                                       {WM_MBUTTONDOWN, 0},
                                                       {WM_MBUTTONUP, 0},
                                                       {WM_LBUTTONDOWN, 0},
                                                       {WM_LBUTTONUP, 0},
                                                       {WM_MOUSEWHEEL, 120u << 16},
                                                       {WM_CHAR, 'a'},
                                                       {WM_DROPFILES, 0}};
    for (KicSceneControl* scene : scenes)
        for (auto [message, wParam] : messages)
            EXPECT_FALSE(scene->OnMessage(message, wParam, KivMakeLParam(3, 4)));
}

// The engine makes the scenes of "KivCore/Scenes" and runs their events each frame in order.
TEST(SceneModule, TheEngineRunsConfiguredScenesInOrder) {
    SceneSession engine("Scenes=KcOrthoScene, KcMultipleScene, NoSuchScene\n");
    ASSERT_TRUE(engine.ok);
    auto* multiple = static_cast<KicMultipleScene*>(engine.api->FindEntity("KcMultipleScene"));
    ASSERT_NE(multiple, nullptr);
    ASSERT_NE(engine.api->FindEntity("KicOrthoScene"), nullptr);
    multiple->SetFrameRateShown(true);
    ASSERT_TRUE(KivEngineFrame());
    // Apply: the multiple scene (order 0) before the orthographic one (16); then Render (the
    // gizmo, the target marker) and the overlay's frame rate.
    std::vector<std::string> expected = {"T 256",    "T 2",      "T 3",     "RS 137 1", "RS 143 1",
                                         "LE 0 1",   "MAT",      "LIGHT 0", "RS 29 1",  "RS 22 3",
                                         "RS 137 1", "RS 143 1", "LE 0 1",  "MAT",      "LIGHT 0",
                                         "RS 29 1",  "RS 22 3",  "T 256",   "T 2",      "T 3"};
    std::vector<std::string> calls = engine.Calls();
    ASSERT_GT(calls.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 20), expected);
    std::vector<std::string> draws;
    for (const std::string& c : calls)
        if (c.rfind("MESH", 0) == 0 || c.rfind("DUP", 0) == 0 || c.rfind("TEXT", 0) == 0)
            draws.push_back(c.substr(0, 10));
    EXPECT_EQ(draws, (std::vector<std::string>{"MESH", "DUP 2 3", "TEXT FPS: "}));
    engine.Shutdown();
    std::string log = engine.Log();
    EXPECT_NE(log.find("can not create the scene NoSuchScene"), std::string::npos);
    EXPECT_EQ(log.find("was not destroyed"), std::string::npos);
    EXPECT_NE(log.find("Memory: no leaks"), std::string::npos);
}
