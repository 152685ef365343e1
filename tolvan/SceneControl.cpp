// KicSceneControl: defaults, settings, the common steps of Apply.
#include <algorithm>
#include <cmath>

#include "kiv/services.h"
#include "tolvan/Module.h"
#include "tolvan/Scenes.h"

namespace {

constexpr const char* kSection = "SceneControl";
constexpr float kSettingTolerance = 1e-5f;
constexpr float kPi = 3.14159265f;

D3DLIGHT9 DefaultLight(const KivVector3& direction) {
    D3DLIGHT9 light;
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {0.8f, 0.8f, 0.8f, 1.0f};
    light.Specular = {0.25f, 0.25f, 0.25f, 1.0f};
    light.Ambient = {0.6f, 0.6f, 0.6f, 1.0f};
    light.Direction = kivmath::Vec3Normalize(direction);
    light.Attenuation0 = 1.0f;
    return light;
}

D3DMATERIAL9 DefaultMaterial() {
    const float grey = 128.0f / 255.0f;
    D3DMATERIAL9 material;
    material.Diffuse = {grey, grey, grey, 1.0f};
    material.Ambient = {1.0f, 1.0f, 1.0f, 1.0f};
    material.Specular = {grey, grey, grey, 1.0f};
    material.Emissive = {0.0f, 0.0f, 0.0f, 1.0f};
    material.Power = 5.0f;
    return material;
}

const KivVector3 kDefaultLightDirection{-3.0f, -2.0f, 1.0f};

bool Differs(float a, float b) { return std::fabs(a - b) > kSettingTolerance; }

void Warn(const char* key, const char* why) {
    if (KivEngineAPI* api = TolvanApi())
        api->LogFormat(2, "SceneControl: %s %s, the setting is ignored", key, why);
}

void ReadColour(KicConfig* config, const char* key, D3DCOLORVALUE* colour) {
    float v[4] = {colour->r, colour->g, colour->b, colour->a};
    if (config->ReadFloats(kSection, key, v, 4)) *colour = {v[0], v[1], v[2], v[3]};
}

void ReadVector(KicConfig* config, const char* key, KivVector3* vector) {
    float v[3] = {vector->x, vector->y, vector->z};
    if (config->ReadFloats(kSection, key, v, 3)) *vector = {v[0], v[1], v[2]};
}

}  // namespace

KicSceneControl::KicSceneControl()
    : light_(DefaultLight(kDefaultLightDirection)),
      material_(DefaultMaterial()),
      world_(kivmath::MatrixIdentity()),
      view_(kivmath::MatrixIdentity()),
      projection_(kivmath::MatrixIdentity()) {}

KicSceneControl::~KicSceneControl() {
    if (contents_) contents_->Release();
}

int KicSceneControl::Release() {
    if (refCount_ > 1) return --refCount_;
    refCount_ = 0;
    if (KivEngineAPI* api = TolvanApi()) api->DestroyEngineObject(this);
    return 0;
}

bool KicSceneControl::IsKindOf(const char* name) const {
    return KivNameIs(name, "KicSceneControl") || KivNameIs(name, "KicEntity") ||
           KivNameIs(name, "KicBaseClass");
}

// ---------------------------------------------------------------- settings

void KicSceneControl::LoadSettings(KicConfig* config) {
    if (!config) return;
    lightAble_ = config->ReadBool(kSection, "LightAble", lightAble_);
    specularAble_ = config->ReadBool(kSection, "SpecularAble", specularAble_);

    float fov = config->ReadFloat(kSection, "FOV", fov_);
    if (!(fov > 0.0f && fov < kPi))
        Warn("FOV", "must lie between 0 and pi");
    else if (Differs(fov, fov_))
        SetFOV(fov);

    float nearZ = config->ReadFloat(kSection, "Near", nearZ_);
    float farZ = config->ReadFloat(kSection, "Far", farZ_);
    if (!(nearZ > 0.0f && farZ > nearZ))
        Warn("Near/Far", "must satisfy 0 < Near < Far");
    else if (Differs(nearZ, nearZ_) || Differs(farZ, farZ_))
        SetNearFar(nearZ, farZ);

    float orthoX = config->ReadFloat(kSection, "OrthoX", orthoX_);
    float orthoY = config->ReadFloat(kSection, "OrthoY", orthoY_);
    if (!(orthoX > 0.0f && orthoY > 0.0f))
        Warn("OrthoX/OrthoY", "must be positive");
    else if (Differs(orthoX, orthoX_) || Differs(orthoY, orthoY_))
        SetOrthoSize(orthoX, orthoY);

    D3DLIGHT9 light = light_;
    int type = config->ReadInt(kSection, "LightType", int(light.Type));
    if (type >= int(D3DLIGHT_POINT) && type <= int(D3DLIGHT_DIRECTIONAL))
        light.Type = uint32_t(type);
    else
        Warn("LightType", "must be 1 (point), 2 (spot) or 3 (directional)");
    ReadColour(config, "LightDiffuse", &light.Diffuse);
    ReadColour(config, "LightSpecular", &light.Specular);
    ReadColour(config, "LightAmbient", &light.Ambient);
    ReadVector(config, "LightPosition", &light.Position);
    ReadVector(config, "LightDirection", &light.Direction);
    SetLight(light);

    D3DMATERIAL9 material = material_;
    ReadColour(config, "MaterialDiffuse", &material.Diffuse);
    ReadColour(config, "MaterialAmbient", &material.Ambient);
    ReadColour(config, "MaterialSpecular", &material.Specular);
    ReadColour(config, "MaterialEmissive", &material.Emissive);
    material.Power = config->ReadFloat(kSection, "MaterialPower", material.Power);
    SetMaterial(material);
}

// ---------------------------------------------------------------- base operations

void KicSceneControl::SetFOV(float radians) {
    fov_ = radians;
    UpdateProjection();
}

void KicSceneControl::SetOrthoSize(float width, float height) {
    orthoX_ = width;
    orthoY_ = height;
    UpdateProjection();
}

void KicSceneControl::SetNearFar(float nearZ, float farZ) {
    nearZ_ = nearZ;
    farZ_ = farZ;
    UpdateProjection();
}

bool KicSceneControl::GetEyePosition(KivVector3* eye) const {
    KivMatrix inverse;
    if (!kivmath::MatrixInverse(view_, &inverse)) {
        if (eye) *eye = {};
        return false;
    }
    if (eye) *eye = {inverse.m[3][0], inverse.m[3][1], inverse.m[3][2]};
    return true;
}

void KicSceneControl::ResetLight(const KivVector3* direction) {
    light_ = DefaultLight(direction ? *direction : kDefaultLightDirection);
}

void KicSceneControl::ResetMaterial() { material_ = DefaultMaterial(); }

// ---------------------------------------------------------------- contents

void KicSceneControl::SetContents(KcDxMesh* mesh, const KivVector3& low, const KivVector3& high) {
    if (mesh) mesh->AddRef();
    if (contents_) contents_->Release();
    contents_ = mesh;
    if (!mesh) return;
    // Halves first, so that no sum overflows; a box of no size or beyond measure still gives
    // every scene a finite view.
    KivVector3 half = high * 0.5f - low * 0.5f;
    for (float* c : {&half.x, &half.y, &half.z}) *c = std::clamp(*c, 0.0f, kMaxContentsHalf);
    FrameContents(low * 0.5f + high * 0.5f, half);
}

float KicSceneControl::FitDistance(float radius) const {
    // The sphere's disc through its centre spans the narrower of the two fields of view.
    float t = std::tan(fov_ / 2.0f), width, height;
    if (BackBuffer(&width, &height) && width < height) t *= width / height;
    return t > 0.0f ? radius / t : radius;
}

void KicSceneControl::DrawContents() {
    if (!contents_) return;
    render_->SetTransform(D3DTS_WORLD, ContentsWorld());
    // The mesh's colours stand for the material's diffuse and ambient, so its dark side keeps
    // its hue; the specular highlight is the material's.
    render_->SetRenderState(D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_COLOR1);
    SelectColourArgument(D3DTA_DIFFUSE);
    contents_->DrawSubset(0);
    render_->SetRenderState(D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL);
    render_->SetTransform(D3DTS_WORLD, world_);
}

// ---------------------------------------------------------------- engine and render service

KicBaseClass* KicSceneControl::FindService(const char* name, int level, const char* prefix) {
    KivEngineAPI* api = TolvanApi();
    KicBaseClass* service = api ? api->FindService(name) : nullptr;
    if (service && !service->IsKindOf(name)) service = nullptr;
    if (!service && api) api->LogFormat(level, "%sCan not Get Service %s", prefix, name);
    return service;
}

bool KicSceneControl::FindRender() {
    render_ = static_cast<KcDX9Render*>(FindService("KcDX9Render", 4));
    return render_ != nullptr;
}

bool KicSceneControl::StartScene() {
    if (!FindRender()) return false;
    if (KivEngineAPI* api = TolvanApi()) LoadSettings(api->GetConfig());
    return true;
}

bool KicSceneControl::InitStandard() {
    if (!StartScene()) return false;
    world_ = kivmath::MatrixIdentity();
    UpdateProjection();
    UpdateView();
    Register({{kKivEventApply, 16}, {kKivEventMessage, 4096}});
    return true;
}

void KicSceneControl::Register(std::initializer_list<std::pair<int, int>> kindsAndOrders) {
    KivEngineAPI* api = TolvanApi();
    if (!api) return;
    for (auto [kind, order] : kindsAndOrders) api->RegisterEvent(this, kind, order);
}

bool KicSceneControl::BackBuffer(float* width, float* height) const {
    if (!render_ || render_->GetSurfaceWidth() <= 0 || render_->GetSurfaceHeight() <= 0)
        return false;
    *width = float(render_->GetSurfaceWidth());
    *height = float(render_->GetSurfaceHeight());
    return true;
}

void KicSceneControl::UpdatePerspectiveLH() {
    float width, height;
    if (!BackBuffer(&width, &height)) return;
    projection_ = kivmath::MatrixPerspectiveFovLH(fov_, width / height, nearZ_, farZ_);
}

void KicSceneControl::Apply() {
    if (disabled_ || !render_) return;
    ApplyStates(D3DCULL_CCW);
    ApplyTransforms();
    ApplyContents();
    DrawContents();
}

void KicSceneControl::ApplyStates(uint32_t cullMode) {
    render_->SetRenderState(D3DRS_LIGHTING, lightAble_);
    render_->SetRenderState(D3DRS_NORMALIZENORMALS, lightAble_);
    render_->LightEnable(0, lightAble_);
    if (lightAble_) {
        render_->SetMaterial(material_);
        render_->SetLight(0, light_);
    }
    render_->SetRenderState(D3DRS_SPECULARENABLE, specularAble_);
    render_->SetRenderState(D3DRS_CULLMODE, cullMode);
}

void KicSceneControl::ApplyTransforms() {
    render_->SetTransform(D3DTS_WORLD, world_);
    render_->SetTransform(D3DTS_VIEW, view_);
    render_->SetTransform(D3DTS_PROJECTION, projection_);
}

void KicSceneControl::SelectColourArgument(uint32_t argument) {
    render_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    render_->SetTextureStageState(0, D3DTSS_COLORARG1, argument);
    render_->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    render_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
}
