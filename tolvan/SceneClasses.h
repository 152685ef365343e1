// The five scene classes behind the interfaces of tolvan/Scenes.h (one source file each).
#pragma once

#include <cstdint>

#include "kiv/services.h"
#include "tolvan/Scenes.h"

// The cursor and the three buttons as the mouse messages leave them (signed 16-bit client
// coordinates from lParam).
struct SceneMouse {
    struct Button {
        bool down = false;
        int x = 0, y = 0;  // where it went down
    };
    // Records a move (previous = current, current = the message's point) or a button going
    // down (its press point, the current point) or up; false for other messages.
    bool Track(uint32_t message, intptr_t lParam);

    int x = 0, y = 0, lastX = 0, lastY = 0;
    Button left, right, middle;
};

// ================================================================ KcSimpleScene

class KcSimpleScene final : public KicSimpleScene {
public:
    bool IsKindOf(const char* name) const override;
    bool Init() override;
    bool OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void UpdateProjection() override { UpdatePerspectiveLH(); }
    void UpdateView() override;
    // An `at` on the eye keeps the previous viewing direction.
    void SetEyeAt(const KivVector3& eye, const KivVector3& at) override;
    KivVector3 GetEye() const override { return eye_; }
    KivVector3 GetAt() const override { return at_; }

protected:
    void FrameContents(const KivVector3& centre, const KivVector3& half) override;

private:
    KivVector3 eye_{0, 0, 0};
    KivVector3 at_{0, 0, 1};
};

// ================================================================ KcMultipleScene

class KcMultipleScene final : public KicMultipleScene {
public:
    KcMultipleScene();
    ~KcMultipleScene() override;

    bool IsKindOf(const char* name) const override;
    bool Init() override;
    void Update(uint32_t elapsedMs) override;
    void Apply() override;
    void Render() override;
    void RenderOverlay() override;
    bool OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void ResetView() override { Current()->Reset(); }
    void UpdateProjection() override;
    // The current camera's view matrix and the frustum from it.
    void UpdateView() override;

    void SetCameraKind(int kind) override;
    int GetCameraKind() const override { return cameraKind_; }
    void SetCameraPosition(const KivVector3& p) override;
    KivVector3 GetCameraPosition() const override { return cameraPosition_; }
    void SetYUp(bool yUp) override;
    bool IsYUp() const override { return target_.yUp != 0; }
    void SetLeftHanded(bool leftHanded) override;
    bool IsLeftHanded() const override { return leftHanded_; }
    void SetMoveSpeed(float speed) override { moveSpeed_ = speed; }
    float GetMoveSpeed() const override { return moveSpeed_; }
    void SetRotateSpeed(float speed) override { rotateSpeed_ = speed; }
    float GetRotateSpeed() const override { return rotateSpeed_; }
    void SetMouseSpeed(float speed) override { mouseSpeed_ = speed; }
    float GetMouseSpeed() const override { return mouseSpeed_; }
    void SetTarget(const KivVector3& target) override;
    KivVector3 GetTarget() const override { return target_.target; }
    void SetMinDistance(float d) override { target_.minDistance = d; }
    float GetMinDistance() const override { return target_.minDistance; }
    void SetMaxDistance(float d) override { target_.maxDistance = d; }
    float GetMaxDistance() const override { return target_.maxDistance; }
    void SetDragMode(bool on) override { dragMode_ = on; }
    bool GetDragMode() const override { return dragMode_; }
    void SetAxisShown(bool on) override { axisShown_ = on; }
    bool IsAxisShown() const override { return axisShown_; }
    void SetTargetShown(bool on) override { targetShown_ = on; }
    bool IsTargetShown() const override { return targetShown_; }
    void SetFrameRateShown(bool on) override { frameRateShown_ = on; }
    bool IsFrameRateShown() const override { return frameRateShown_; }
    void SetKeyboardEnabled(bool on) override { keyboard_ = on; }
    bool IsKeyboardEnabled() const override { return keyboard_; }
    void SetInputEnabled(bool on) override { input_ = on; }
    bool IsInputEnabled() const override { return input_; }
    void GetFrustum(KivPlane planes[6]) const override;
    KcCameraBase* GetCamera(int kind) override;

    float MoveStep(uint32_t elapsedMs) const override;
    float TurnStep(uint32_t elapsedMs) const override { return rotateSpeed_ * float(elapsedMs); }

protected:
    void FrameContents(const KivVector3& centre, const KivVector3& half) override;

private:
    KcCameraBase* Current() { return GetCamera(cameraKind_); }
    void DriveByKeys(uint32_t elapsedMs);
    void OnMouse(uint32_t message, uintptr_t wParam, intptr_t lParam);
    void DrawAxisGizmo();
    void DrawTargetMarker();

    KcSimpleDX9Font* font_ = nullptr;
    KcDxMeshBuilder* meshes_ = nullptr;
    KcDxMesh* axisMesh_ = nullptr;
    KcCameraFly fly_;
    KcCameraWalk walk_;
    KcCameraTarget target_;
    int cameraKind_ = KcCameraBase::kTarget;
    KivVector3 cameraPosition_{0, 1, 5};
    float moveSpeed_ = 0.001f, rotateSpeed_ = 0.001f, mouseSpeed_ = 0.002f;
    bool leftHanded_ = true;
    bool dragMode_ = true;
    bool axisShown_ = true, targetShown_ = true, frameRateShown_ = false;
    bool keyboard_ = true, input_ = true;
    uint32_t keys_ = 0;       // held keys, one bit each
    bool modifiers_ = false;  // Shift, Ctrl or Caps Lock at the last message
    SceneMouse cursor_;
    KivPlane frustum_[6];
};

// ================================================================ KcRectFrameScene

class KcRectFrameScene final : public KicRectFrameScene {
public:
    ~KcRectFrameScene() override;

    bool IsKindOf(const char* name) const override;
    bool Init() override;
    bool OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void SetFOV(float radians) override;
    void SetNearFar(float nearZ, float farZ) override;
    void ResetView() override;
    void UpdateProjection() override { UpdatePerspectiveLH(); }
    void UpdateView() override;

    void SetFrame(float width, float height, bool makeMesh, uint32_t colour1, uint32_t colour2,
                  uint32_t colour3) override;
    float GetWidth() const override { return width_; }
    float GetHeight() const override { return height_; }
    void SetTiltSpeed(float speed) override { tiltSpeed_ = speed; }
    float GetTiltSpeed() const override { return tiltSpeed_; }
    float GetTilt() const override { return tilt_; }
    void UpdateWorld() override;
    void SetMouseEnabled(bool on) override { mouse_ = on; }
    bool IsMouseEnabled() const override { return mouse_; }
    void SetContentsShown(bool on) override { shown_ = on; }
    bool IsContentsShown() const override { return shown_; }
    bool BuildGrid(float z, bool evenX, bool evenY) override;
    void ClearGrid() override;
    uint32_t GetGridLineCount() const override { return grid_ ? gridLines_ : 0; }
    void SetGridColor(uint32_t argb) override { gridColour_ = argb; }
    uint32_t GetGridColor() const override { return gridColour_; }

protected:
    void ApplyContents() override;
    void FrameContents(const KivVector3& centre, const KivVector3& half) override;
    KivMatrix ContentsWorld() const override;

private:
    KcDxMeshBuilder* meshes_ = nullptr;
    KcDxMesh* frameMesh_ = nullptr;
    KcVertexBuffer* grid_ = nullptr;
    uint32_t gridLines_ = 0;
    float width_ = 0, height_ = 0;
    float tiltSpeed_ = 0.0005f;
    float zOffset_ = -1.0f;
    float tilt_ = 0;
    bool mouse_ = true, shown_ = true;
    uint32_t gridColour_ = 0xFFA08060;
    KivVector3 contentsCentre_;
};

// ================================================================ KcZAxisScene

class KcZAxisScene final : public KicZAxisScene {
public:
    KcZAxisScene();

    bool IsKindOf(const char* name) const override;
    bool Init() override;
    void Update(uint32_t elapsedMs) override;
    bool OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void SetFOV(float radians) override;
    bool GetEyePosition(KivVector3* eye) const override;
    void ResetView() override;
    void UpdateProjection() override { UpdatePerspectiveLH(); }
    void UpdateView() override;

    void SetObjectSize(float size) override;
    float GetObjectSize() const override { return size_; }
    void SetObjectWidth(float width) override;
    float GetObjectWidth() const override;
    void SetRotateSpeed(float speed) override { rotateSpeed_ = speed; }
    float GetRotateSpeed() const override { return rotateSpeed_; }
    void SetZoomSpeed(float speed) override { zoomSpeed_ = speed; }
    float GetZoomSpeed() const override { return zoomSpeed_; }
    void SetBaseDistance(float d) override { baseDistance_ = d; }
    float GetBaseDistance() const override { return baseDistance_; }
    void SetZoomOffset(float offset) override { zoomOffset_ = offset; }
    float GetZoomOffset() const override { return zoomOffset_; }
    void SetInputEnabled(bool on) override { input_ = on; }
    bool IsInputEnabled() const override { return input_; }
    void SetPivot(const KivVector3& pivot) override;
    KivVector3 GetPivot() const override { return pivot_; }

protected:
    void FrameContents(const KivVector3& centre, const KivVector3& half) override;

private:
    // The base distance that fits an object of the current size in the field of view.
    void FitBaseDistance();
    // Turns the world by `rotation` and puts the pivot back at the origin.
    void Turn(const KivMatrix& rotation);
    void Recentre();

    float size_ = 10.0f;
    float zoomSpeed_ = 0.01f, rotateSpeed_ = 0.002f;
    float zoomOffset_ = 0;
    float baseDistance_ = 0;
    KivVector3 pivot_;
    bool input_ = true;
    uint32_t keys_ = 0;  // arrows: Up 1, Down 2, Left 4, Right 8
    SceneMouse cursor_;
};

// ================================================================ KcOrthoScene

class KcOrthoScene final : public KicOrthoScene {
public:
    KcOrthoScene();
    ~KcOrthoScene() override;

    bool IsKindOf(const char* name) const override;
    bool Init() override;
    bool OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void ResetView() override;
    void UpdateProjection() override;
    void UpdateView() override;

    void SetViewAxes(const KivVector3& look, const KivVector3& up) override;
    void SetEye(const KivVector3& eye) override;
    KivVector3 GetEye() const override { return eye_; }
    KivVector3 GetLook() const override { return look_; }
    KivVector3 GetUp() const override { return up_; }
    KivVector3 GetRight() const override { return right_; }
    void SetLeftHanded(bool leftHanded) override;
    bool IsLeftHanded() const override { return leftHanded_; }
    void SetMouseEnabled(bool on) override { mouse_ = on; }
    bool IsMouseEnabled() const override { return mouse_; }
    void SetZoomAtCursor(bool on) override { zoomAtCursor_ = on; }
    bool IsZoomAtCursor() const override { return zoomAtCursor_; }
    void FitToViewport() override;
    void SetOrthoWidth(float width) override;
    void SetOrthoHeight(float height) override;
    bool SetGrid(uint32_t lines, uint32_t colour1, uint32_t colour2) override;
    void ClearGrid() override;
    bool HasGrid() const override { return grid_ != nullptr; }
    void SetGridShown(bool on) override { gridShown_ = on; }
    bool IsGridShown() const override { return gridShown_; }
    KivMatrix GetGridMatrix() const override { return gridMatrix_; }
    float GetGridCell() const override { return gridCell_; }

protected:
    void ApplyContents() override;
    void FrameContents(const KivVector3& centre, const KivVector3& half) override;

private:
    void FillGrid();
    void PlaceGrid();
    // Moves the eye by a pixel offset on the view plane (the mouse drag rule).
    bool Pan(float dx, float dy);
    void Wheel(int delta, int x, int y);

    KivVector3 eye_{0, 0, -100}, look_{0, 0, 1}, up_{0, 1, 0}, right_{-1, 0, 0};
    bool leftHanded_ = true, mouse_ = true, zoomAtCursor_ = true, gridShown_ = true;
    uint32_t gridColour1_ = 0xFF0078C8, gridColour2_ = 0x800078C8;
    bool translucent_ = true;
    KcVertexBuffer* grid_ = nullptr;
    uint32_t gridLines_ = 0;  // n
    KivMatrix gridMatrix_;
    float gridCell_ = 0;
    SceneMouse cursor_;
};
