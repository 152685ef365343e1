#include "SceneChooser.h"

#include <QByteArray>
#include <string>

#include "SurfaceGrid.h"
#include "kiv/services.h"

namespace brisel {

CSceneChooser::CSceneChooser(KivEngineAPI* api, ILuneth* luneth) : api_(api), luneth_(luneth) {
    KicEntity* configured = api_ ? api_->FindEntity("KicSceneControl") : nullptr;
    if (!configured) return;
    for (const char* name : kSceneNames)
        if (configured->IsKindOf(name)) current_ = QString::fromLatin1(name);
    scene_ = static_cast<KicSceneControl*>(configured);
    if (luneth_) luneth_->SetImageViewShown(false);
    ShowSurface();
}

CSceneChooser::~CSceneChooser() {
    DropScene();
    DropMesh();
}

bool CSceneChooser::Choose(const QString& name) {
    if (name == current_ && (scene_ || name.isEmpty())) return true;
    DropScene();
    if (!name.isEmpty() && api_) {
        QByteArray className = name.toLatin1();
        KicBaseClass* object = api_->CreateEngineObject(className.constData());
        if (object && object->IsKindOf("KicSceneControl")) {
            scene_ = static_cast<KicSceneControl*>(object);
            current_ = name;
        } else if (object) {
            api_->DestroyEngineObject(object);
        }
    }
    if (luneth_) luneth_->SetImageViewShown(!scene_);
    if (scene_) ShowSurface();
    return scene_ || name.isEmpty();
}

void CSceneChooser::DropScene() {
    if (scene_ && api_) api_->DestroyEngineObject(scene_);
    scene_ = nullptr;
    current_.clear();
}

void CSceneChooser::DropMesh() {
    if (mesh_) mesh_->Release();
    mesh_ = nullptr;
    meshRead_ = false;
    surfacePoints_ = 0;
}

void CSceneChooser::ImageChanged() {
    DropMesh();
    if (scene_) ShowSurface();
}

void CSceneChooser::ShowSurface() {
    if (!meshRead_ && luneth_ && api_) {
        meshRead_ = true;
        SurfaceGrid grid;
        SurfaceMesh data;
        std::string why;
        auto* builder = static_cast<KcDxMeshBuilder*>(api_->FindService("KcDxMeshBuilder"));
        if (builder && ReadSurface(luneth_, &grid, &why) && BuildSurfaceMesh(grid, &data)) {
            mesh_ = builder->CreateMesh(data.vertices.data(), uint32_t(data.vertices.size()),
                                        data.indices.data(), uint32_t(data.indices.size() / 3));
            SurfaceBounds(grid, &low_, &high_);
            surfacePoints_ = mesh_ ? int(grid.slices * grid.points) : 0;
        }
    }
    if (scene_) scene_->SetContents(mesh_, low_, high_);
}

}  // namespace brisel
