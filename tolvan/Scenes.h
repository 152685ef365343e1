// The scene entities of the module libTolvan.so and their common base.
//
// A scene sets up what a frame needs before objects are drawn: world, view and projection
// matrices, light 0 and the material, a few render states, and the user's way of moving the
// view. The engine creates scenes by class name (KivEngineAPI::CreateEngineObject, or the
// configuration key "KivCore/Scenes") and runs the events each registers in Init:
//
//   KcSimpleScene (KicSimpleScene): an eye looking at a point; events (2, 16) (32, 4096)
//   KcMultipleScene (KicMultipleScene): three cameras; events (1, 0) (2, 0) (8, 0) (16, -16)
//       (32, 4096)
//   KcRectFrameScene (KicRectFrameScene): a framed rectangle; events (2, 32) (32, 4096)
//   KcZAxisScene (KicZAxisScene): an object turned; events (1, 16) (2, 16) (32, 4096)
//   KcOrthoScene (KicOrthoScene): 2D, pan, zoom, grid; events (2, 16) (32, 4096)
//
// Every scene, in Init, reads section "SceneControl" of the engine's configuration (LoadSettings)
// and answers false from OnMessage, so every other entity still receives each message. Apply
// sets lighting, specular and culling states and the three transforms, draws what the scene
// draws itself and then its contents (SetContents); nothing happens while the scene is
// disabled or without the render service. Texts of the log: "Can not Get Service KcDX9Render"
// (and KcDxMeshBuilder) at level 4, the multiple scene's missing font at level 2.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "kiv/config.h"
#include "kiv/entity.h"
#include "kiv/render.h"
#include "tolvan/Camera.h"

class KcDX9Render;

// A plane a x + b y + c z + d = 0 with a unit normal (a, b, c) pointing into the frustum.
struct KivPlane {
    float a = 0, b = 0, c = 0, d = 0;
};

class KicSceneControl : public KicEntity {
public:
    static constexpr float kDefaultFov = 0.7853982f;  // pi / 4

    KicSceneControl();
    ~KicSceneControl() override;

    // The last reference destroys the scene through the engine.
    int Release() override;
    bool IsKindOf(const char* className) const override;
    void Apply() override;

    virtual void SetLight(const D3DLIGHT9& light) { light_ = light; }
    // Stored as given (not normalised).
    virtual void SetLightDirection(float x, float y, float z) { light_.Direction = {x, y, z}; }
    virtual void SetMaterial(const D3DMATERIAL9& material) { material_ = material; }
    virtual void SetFOV(float radians);
    virtual void SetOrthoSize(float width, float height);
    virtual void SetNearFar(float nearZ, float farZ);
    // The translation of the inverse view matrix; (0, 0, 0) and false when it is singular.
    virtual bool GetEyePosition(KivVector3* eye) const;
    virtual void SetWorldMatrix(const KivMatrix& world) { world_ = world; }
    virtual void ResetView() {}
    virtual void UpdateProjection() {}
    virtual void UpdateView() {}
    // The default light, its direction from the argument or (-3, -2, 1), normalised.
    virtual void ResetLight(const KivVector3* direction);
    virtual void ResetMaterial();
    // A mesh the scene shows (the viewer's surface), drawn after the scene's own drawing with
    // its light and material, lit vertices taking their diffuse and ambient colours from the
    // mesh's colours; the scene holds a reference while it shows it. The scene frames the box
    // from `low` to `high`: it moves its view so that the box fills it, each scene its own way.
    // Null shows nothing and leaves the view.
    virtual void SetContents(KcDxMesh* mesh, const KivVector3& low, const KivVector3& high);
    KcDxMesh* GetContents() const { return contents_; }

    // Reads the keys of section "SceneControl" in order, the current values as defaults
    // (part of every Init). Values out of range are logged and ignored.
    void LoadSettings(KicConfig* config);

    const D3DLIGHT9& GetLight() const { return light_; }
    const D3DMATERIAL9& GetMaterial() const { return material_; }
    const KivMatrix& GetWorld() const { return world_; }
    const KivMatrix& GetView() const { return view_; }
    const KivMatrix& GetProjection() const { return projection_; }
    float GetFOV() const { return fov_; }
    float GetOrthoX() const { return orthoX_; }
    float GetOrthoY() const { return orthoY_; }
    float GetNearZ() const { return nearZ_; }
    float GetFarZ() const { return farZ_; }
    void SetDisabled(bool disabled) { disabled_ = disabled; }
    bool IsDisabled() const { return disabled_; }
    void SetLightAble(bool on) { lightAble_ = on; }
    bool IsLightAble() const { return lightAble_; }
    void SetSpecularAble(bool on) { specularAble_ = on; }
    bool IsSpecularAble() const { return specularAble_; }

protected:
    // The render service, logged when missing.
    bool FindRender();
    // The render service and the settings; false without the service.
    bool StartScene();
    // Init of the plain and orthographic scenes: StartScene, world = identity, projection and
    // view, events (2, 16) and (32, 4096).
    bool InitStandard();
    // A service by name, or null with the log line "<prefix>Can not Get Service <name>".
    KicBaseClass* FindService(const char* name, int level, const char* prefix = "");
    // The engine's event registrations of Init.
    void Register(std::initializer_list<std::pair<int, int>> kindsAndOrders);
    // Steps of Apply: lighting, specular and culling; then the three transforms.
    void ApplyStates(uint32_t cullMode);
    void ApplyTransforms();
    // What a scene draws itself after the common steps of Apply.
    virtual void ApplyContents() {}
    // Moves the view onto a box of contents with its centre and half sizes (nothing here).
    virtual void FrameContents(const KivVector3& centre, const KivVector3& half) {
        (void)centre, (void)half;
    }
    // The contents' world matrix (the scene's world here).
    virtual KivMatrix ContentsWorld() const { return world_; }
    // Draws the contents, then sets the scene's world again.
    void DrawContents();
    // The radius of the sphere around a box, and the distance at which that sphere's disc
    // through its centre fills the scene's perspective view.
    static float Radius(const KivVector3& half) {
        return std::max(kivmath::Length(half), kMinContentsRadius);
    }
    static constexpr float kMaxContentsHalf = 1e6f, kMinContentsRadius = 1e-3f;
    float FitDistance(float radius) const;
    // Left-handed perspective with fov and the back buffer's aspect (nothing without render).
    void UpdatePerspectiveLH();
    bool BackBuffer(float* width, float* height) const;
    // The texture stages that pass the diffuse colour (or argument) through unlit by texture.
    void SelectColourArgument(uint32_t argument);

    KcDX9Render* render_ = nullptr;
    D3DLIGHT9 light_;
    D3DMATERIAL9 material_;
    KivMatrix world_, view_, projection_;
    float fov_ = kDefaultFov;
    float orthoX_ = 1.0f, orthoY_ = 1.0f;
    float nearZ_ = 0.1f, farZ_ = 500.0f;
    bool disabled_ = false;
    bool lightAble_ = true;
    bool specularAble_ = true;
    KcDxMesh* contents_ = nullptr;
};

// ---------------------------------------------------------------- the five interfaces

class KicSimpleScene : public KicSceneControl {
public:
    virtual void SetEyeAt(const KivVector3& eye, const KivVector3& at) = 0;
    virtual KivVector3 GetEye() const = 0;
    virtual KivVector3 GetAt() const = 0;
};

class KicMultipleScene : public KicSceneControl {
public:
    virtual void SetCameraKind(int kind) = 0;  // 1 flying, 2 walking, 3 orbiting
    virtual int GetCameraKind() const = 0;
    virtual void SetCameraPosition(const KivVector3& p) = 0;
    virtual KivVector3 GetCameraPosition() const = 0;
    virtual void SetYUp(bool yUp) = 0;
    virtual bool IsYUp() const = 0;
    virtual void SetLeftHanded(bool leftHanded) = 0;
    virtual bool IsLeftHanded() const = 0;
    virtual void SetMoveSpeed(float speed) = 0;
    virtual float GetMoveSpeed() const = 0;
    virtual void SetRotateSpeed(float speed) = 0;
    virtual float GetRotateSpeed() const = 0;
    virtual void SetMouseSpeed(float speed) = 0;
    virtual float GetMouseSpeed() const = 0;
    virtual void SetTarget(const KivVector3& target) = 0;
    virtual KivVector3 GetTarget() const = 0;
    virtual void SetMinDistance(float d) = 0;
    virtual float GetMinDistance() const = 0;
    virtual void SetMaxDistance(float d) = 0;
    virtual float GetMaxDistance() const = 0;
    virtual void SetDragMode(bool on) = 0;
    virtual bool GetDragMode() const = 0;
    virtual void SetAxisShown(bool on) = 0;
    virtual bool IsAxisShown() const = 0;
    virtual void SetTargetShown(bool on) = 0;
    virtual bool IsTargetShown() const = 0;
    virtual void SetFrameRateShown(bool on) = 0;
    virtual bool IsFrameRateShown() const = 0;
    virtual void SetKeyboardEnabled(bool on) = 0;
    virtual bool IsKeyboardEnabled() const = 0;
    virtual void SetInputEnabled(bool on) = 0;
    virtual bool IsInputEnabled() const = 0;
    virtual void GetFrustum(KivPlane planes[6]) const = 0;
    // The camera of a kind (1, 2 or 3), null for another kind.
    virtual KcCameraBase* GetCamera(int kind) = 0;
    // The current camera's move and turn steps for an elapsed time in milliseconds.
    virtual float MoveStep(uint32_t elapsedMs) const = 0;
    virtual float TurnStep(uint32_t elapsedMs) const = 0;
};

class KicRectFrameScene : public KicSceneControl {
public:
    // A zero colour stands for the frame's default (0xFFB8FFE8, 0xFFAAAAAA, 0xFF444444).
    virtual void SetFrame(float width, float height, bool makeMesh, uint32_t colour1,
                          uint32_t colour2, uint32_t colour3) = 0;
    virtual float GetWidth() const = 0;
    virtual float GetHeight() const = 0;
    virtual void SetTiltSpeed(float speed) = 0;
    virtual float GetTiltSpeed() const = 0;
    virtual float GetTilt() const = 0;
    virtual void UpdateWorld() = 0;
    virtual void SetMouseEnabled(bool on) = 0;
    virtual bool IsMouseEnabled() const = 0;
    virtual void SetContentsShown(bool on) = 0;
    virtual bool IsContentsShown() const = 0;
    virtual bool BuildGrid(float z, bool evenX, bool evenY) = 0;
    virtual void ClearGrid() = 0;
    // Lines of the grid (0 without one).
    virtual uint32_t GetGridLineCount() const = 0;
    virtual void SetGridColor(uint32_t argb) = 0;
    virtual uint32_t GetGridColor() const = 0;
};

class KicZAxisScene : public KicSceneControl {
public:
    virtual void SetObjectSize(float size) = 0;
    virtual float GetObjectSize() const = 0;
    virtual void SetObjectWidth(float width) = 0;
    virtual float GetObjectWidth() const = 0;
    virtual void SetRotateSpeed(float speed) = 0;
    virtual float GetRotateSpeed() const = 0;
    virtual void SetZoomSpeed(float speed) = 0;
    virtual float GetZoomSpeed() const = 0;
    virtual void SetBaseDistance(float d) = 0;
    virtual float GetBaseDistance() const = 0;
    virtual void SetZoomOffset(float offset) = 0;
    virtual float GetZoomOffset() const = 0;
    virtual void SetInputEnabled(bool on) = 0;
    virtual bool IsInputEnabled() const = 0;
    virtual void SetPivot(const KivVector3& pivot) = 0;
    virtual KivVector3 GetPivot() const = 0;
};

class KicOrthoScene : public KicSceneControl {
public:
    virtual void SetViewAxes(const KivVector3& look, const KivVector3& up) = 0;
    virtual void SetEye(const KivVector3& eye) = 0;
    virtual KivVector3 GetEye() const = 0;
    virtual KivVector3 GetLook() const = 0;
    virtual KivVector3 GetUp() const = 0;
    virtual KivVector3 GetRight() const = 0;
    virtual void SetLeftHanded(bool leftHanded) = 0;
    virtual bool IsLeftHanded() const = 0;
    virtual void SetMouseEnabled(bool on) = 0;
    virtual bool IsMouseEnabled() const = 0;
    virtual void SetZoomAtCursor(bool on) = 0;
    virtual bool IsZoomAtCursor() const = 0;
    // One world unit per pixel.
    virtual void FitToViewport() = 0;
    virtual void SetOrthoWidth(float width) = 0;
    virtual void SetOrthoHeight(float height) = 0;
    // n cells each way; a zero colour keeps the current one.
    virtual bool SetGrid(uint32_t lines, uint32_t colour1, uint32_t colour2) = 0;
    virtual void ClearGrid() = 0;
    virtual bool HasGrid() const = 0;
    virtual void SetGridShown(bool on) = 0;
    virtual bool IsGridShown() const = 0;
    // The grid's world matrix (a scaling by the cell size and a translation) and cell size.
    virtual KivMatrix GetGridMatrix() const = 0;
    virtual float GetGridCell() const = 0;
};
