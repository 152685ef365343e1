// KcSimpleScene: a fixed eye looking at a point, left-handed, with the world's up +Y.
#include "kiv/messages.h"
#include "tolvan/SceneClasses.h"

bool SceneMouse::Track(uint32_t message, intptr_t lParam) {
    int px = KivSignedLow(lParam), py = KivSignedHigh(lParam);
    Button* button = nullptr;
    bool down = false;
    switch (message) {
        case WM_MOUSEMOVE:
            lastX = x, lastY = y;
            x = px, y = py;
            return true;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            button = &left, down = message == WM_LBUTTONDOWN;
            break;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            button = &right, down = message == WM_RBUTTONDOWN;
            break;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            button = &middle, down = message == WM_MBUTTONDOWN;
            break;
        default:
            return false;
    }
    button->down = down;
    if (down) button->x = x = px, button->y = y = py;
    return true;
}

bool KcSimpleScene::IsKindOf(const char* name) const {
    return KivNameIs(name, "KcSimpleScene") || KivNameIs(name, "KicSimpleScene") ||
           KicSceneControl::IsKindOf(name);
}

bool KcSimpleScene::Init() { return InitStandard(); }

bool KcSimpleScene::OnMessage(uint32_t message, uintptr_t, intptr_t) {
    if (message == WM_SIZE) UpdateProjection();
    return false;
}

// From the front and a little above, so that the contents show their depth.
void KcSimpleScene::FrameContents(const KivVector3& centre, const KivVector3& half) {
    const KivVector3 back = kivmath::Vec3Normalize({0.0f, 0.4f, -1.0f});
    SetEyeAt(centre + back * FitDistance(Radius(half)), centre);
}

void KcSimpleScene::UpdateView() { view_ = kivmath::MatrixLookAtLH(eye_, at_, {0, 1, 0}); }

void KcSimpleScene::SetEyeAt(const KivVector3& eye, const KivVector3& at) {
    KivVector3 direction = at - eye;
    // A point on the eye gives no direction: keep looking the way the scene looked.
    KivVector3 next = kivmath::Dot(direction, direction) == 0.0f ? eye + (at_ - eye_) : at;
    eye_ = eye;
    at_ = next;
    UpdateView();
}
