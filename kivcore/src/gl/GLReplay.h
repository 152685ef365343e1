// CGLReplay: the render service's record drawn with OpenGL, as the fixed-function pipeline of
// origin draws it (kiv/render.h).
//
// A small shader stands for that pipeline: positions through world x view x projection in the
// row-vector convention (depth 0 .. 1 mapped onto OpenGL's -1 .. 1), per-vertex lighting in
// view space with light 0 (directional, point or spot), the material and the global ambient,
// each material colour from the material or the vertex's diffuse colour as the material
// sources say; then texture stage 0 (colour and alpha operations over the diffuse colour, the
// texture factor and a texture that reads opaque white), specular added, the alpha test. The
// fixed state around it: z test and write, culling by screen winding, fill mode, alpha
// blending, the viewport. The surface's alpha is never written: it stays opaque.
//
// Meshes are uploaded once and kept while they are drawn every frame; vertices of buffers and
// of draws from memory are streamed with each draw.
#pragma once

#include <QOpenGLBuffer>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>
#include <QString>
#include <functional>
#include <unordered_map>

#include "RenderRecorder.h"

namespace kivcore {

// Drops the entries of a cache of GL objects that the frame did not use, each through `drop`.
template <class Cache, class Drop>
void DropUnused(Cache& cache, Drop drop) {
    std::erase_if(cache, [&drop](const auto& entry) {
        if (entry.second.used) return false;
        drop(entry.second);
        return true;
    });
}

class CGLReplay : protected QOpenGLFunctions {
public:
    // In the widget's current context; false when the shader does not build (see Log).
    bool Initialize();
    // Drops the GL objects, in the current context.
    void Release();
    QString Log() const { return program_.log(); }

    // The surface being drawn (device pixels); caches start the frame unused.
    void BeginFrame(int width, int height);
    // Drops the meshes that the frame did not draw.
    void EndFrame();
    // Calls [begin, end) of the record, `state` being the state before `begin` (it follows the
    // calls). Texts go to `drawText`.
    void Replay(const CRenderRecorder& record, uint32_t begin, uint32_t end, CDeviceState* state,
                const std::function<void(const KivRenderCall&)>& drawText);
    // Leaves the fixed state as the 2D drawing expects it: no z, no culling, filled, every
    // channel written, blending by alpha (the surface's alpha kept), the whole surface.
    void Restore2D();

private:
    struct CachedMesh {
        GLuint vertices = 0, indices = 0;
        uint64_t serial = 0;
        bool used = false;
    };

    void Draw(const KivRenderCall& call, const CDeviceState& state);
    // Fixed state and uniforms for vertices of the format; false for a format without
    // positions or a stride shorter than its vertex.
    bool Prepare(const CDeviceState& state, uint32_t fvf, uint32_t stride);
    void SetLighting(const CDeviceState& state, uint32_t fvf);
    // Attribute arrays of the format at `offset` in the bound buffer.
    void Attributes(uint32_t fvf, uint32_t stride, uintptr_t offset);
    void DrawArrays(const CDeviceState& state, uint32_t type, uint32_t count, const void* bytes,
                    uint32_t stride);
    void DrawMesh(const KivRenderCall& call, const CDeviceState& state);
    void Matrix(const char* name, const KivMatrix& m);
    void Flag(const char* name, bool on);

    QOpenGLShaderProgram program_;
    QOpenGLBuffer stream_{QOpenGLBuffer::VertexBuffer};
    std::unordered_map<const KcDxMesh*, CachedMesh> meshes_;
    void (*polygonMode_)(GLenum, GLenum) = nullptr;
    int width_ = 0, height_ = 0;
    bool ready_ = false;
};

}  // namespace kivcore
