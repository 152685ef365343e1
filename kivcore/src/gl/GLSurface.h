// The windowed mode's surface: an OpenGL widget that fills the host's view and draws each frame.
//
// KivEngineSetup hands the engine the host's view (a QWidget). The engine puts a CGLView over it
// as a child, watches the view with an event filter (EventBridge.h) and, every time the view is
// painted, runs a frame and draws it in the order the frame ran: the background colour of the
// render service; the scenes' 3D calls from their Apply and Render (GLReplay.h); the game's
// drawing, which is the engine's 2D world: the grid lines of every grid scene, the texture of
// every visible image control as a quad over its rectangle (the channel view as a colour matrix
// in the shader, the filter as sampler state), the 2D primitives of the frame and the game's
// own 3D calls; then the overlays (texts of the font service among them). The engine's UI
// controls are Qt widgets, children of the CGLView at their pixel rectangles (WidgetControls.h).
//
// Everything the engine calls pixels is a device pixel: at one-to-one zoom a texel covers one
// pixel of the screen, also when Qt scales the widgets by a device pixel ratio above 1.
#pragma once

#include <QOpenGLBuffer>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>
#include <QOpenGLWidget>
#include <QPointer>
#include <memory>
#include <unordered_map>
#include <vector>

#include "Engine.h"
#include "gl/EventBridge.h"
#include "gl/GLReplay.h"

namespace kivcore {

class CImageControl;
class CGridScene2D;
class CTexture;

class CGLView final : public QOpenGLWidget, protected QOpenGLFunctions {
public:
    CGLView(CKivEngine& engine, QWidget* host);
    ~CGLView() override;

    // Device pixels per logical pixel of the widget.
    double DeviceRatio() const { return devicePixelRatioF(); }
    // The widget's size in device pixels.
    int DeviceWidth() const;
    int DeviceHeight() const;

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    struct Vertex {
        float x, y, r, g, b, a;
    };
    struct CachedTexture {
        GLuint name = 0;
        uint64_t stamp = 0;
        bool used = false;
    };

    void ReleaseGL();
    void DrawGrid(CGridScene2D* scene, int width, int height);
    void DrawImage(CImageControl* control);
    void DrawPrimitives();
    // A text of the font service, at its pixel position (top left) in its colour and scale.
    void DrawText(const KivRenderCall& call);
    // Lines, or triangles with `triangles`, in the surface's pixels.
    void DrawColored(const std::vector<Vertex>& vertices, GLenum mode);
    // The GL texture of a texture object, uploaded again when its texels changed; 0 when it can't
    // be had (too large for the device).
    GLuint TextureFor(const CTexture* texture);
    void DropUnusedTextures();

    CKivEngine& engine_;
    bool ready_ = false;
    QOpenGLShaderProgram colorProgram_;
    QOpenGLShaderProgram imageProgram_;
    QOpenGLBuffer buffer_{QOpenGLBuffer::VertexBuffer};
    CGLReplay replay_;
    std::unordered_map<const CTexture*, CachedTexture> textures_;
    GLint maxTextureSize_ = 0;
    float maxAnisotropy_ = 0.0f;
    bool warnedTooLarge_ = false;
};

// The engine's side of the windowed mode: the GL view over the host's view and the event bridge.
class CGLSurface final : public CWindowSurface {
public:
    CGLSurface(CKivEngine& engine, QWidget* host);
    ~CGLSurface() override;

    void ScheduleFrame() override;
    void DeviceSize(int* width, int* height) const override;
    // The parent of the control widgets; null once the host destroyed it.
    QWidget* ControlParent() const { return view_; }
    double DeviceRatio() const { return view_ ? view_->DeviceRatio() : 1.0; }

private:
    QPointer<QWidget> host_;
    QPointer<CGLView> view_;
    std::unique_ptr<CEventBridge> bridge_;
};

// The surface of the running windowed engine, or null.
CGLSurface* RunningSurface();

}  // namespace kivcore
