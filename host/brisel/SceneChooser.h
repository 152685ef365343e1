// CSceneChooser: the 3-D scenes of the View menu.
//
// The view shows either the image view (no scene, the default) or one scene entity of the
// scene module, which the engine creates by class name; choosing another scene destroys the
// one before, choosing none destroys it and brings the image view back. A scene that the
// engine's configuration key "Scenes" created is taken as the chosen one at start.
//
// While a scene shows, the image view is put aside (ILuneth::SetImageViewShown) and the surface
// that the current script swept, read through ILuneth, is the scene's contents: a mesh with
// two sides, smooth normals and the script's colours, which the scene frames (the orbiting
// camera turns about the surface's centre from a distance that fits its bounds). Every load
// (and unload) reads the surface again.
#pragma once

#include <QString>

#include "kiv/engine.h"
#include "module/ILuneth.h"
#include "tolvan/Scenes.h"

namespace brisel {

class CSceneChooser {
public:
    // The scenes in menu order.
    static constexpr const char* kSceneNames[] = {
        "KcSimpleScene", "KcMultipleScene", "KcRectFrameScene", "KcZAxisScene", "KcOrthoScene"};

    CSceneChooser(KivEngineAPI* api, ILuneth* luneth);
    ~CSceneChooser();
    CSceneChooser(const CSceneChooser&) = delete;
    CSceneChooser& operator=(const CSceneChooser&) = delete;

    // A scene by class name, or an empty name for the image view. False, with the image view
    // shown, when the engine can't make the scene.
    bool Choose(const QString& name);
    // The class name of the scene shown, empty for the image view.
    QString Current() const { return current_; }
    KicSceneControl* Scene() const { return scene_; }
    // The image changed: the scene gets the new surface (or none).
    void ImageChanged();
    // Points (slices x curve points) of the surface the scene shows, 0 without one.
    int SurfacePoints() const { return surfacePoints_; }

private:
    void DropScene();
    void DropMesh();
    // Reads the surface and hands it to the scene.
    void ShowSurface();

    KivEngineAPI* api_;
    ILuneth* luneth_;
    KicSceneControl* scene_ = nullptr;
    QString current_;
    KcDxMesh* mesh_ = nullptr;
    bool meshRead_ = false;  // mesh_ is the current image's surface (or it has none)
    KivVector3 low_, high_;
    int surfacePoints_ = 0;
};

}  // namespace brisel
