// Named services (KivEngineAPI::AcquireService) and the texture resource.
//
//   "KcDX9Render"          the drawing surface: background colour, size, resize. Headless, the
//                          surface is a size only (default 1280 x 720, "KivCore/SurfaceWidth" and
//                          "SurfaceHeight"); a resize tells every grid scene.
//   "KcSimpleDX9Font"      the text font; Prepare makes it ready for drawing.
//   "KcPrimitive2DRender"  2D lines and rectangles in screen pixels, collected for the frame.
//   "KcTexturesMgr"        textures: created in memory, or loaded from picture files.
//   "KcDxMeshBuilder"      axis and rectangle-frame meshes for the scenes (kiv/render.h).
//
// The render service also takes the 3D calls of the scenes (transforms, states, light,
// material, vertex buffers, draws: kiv/render.h); it records them with the state they leave.
// The back buffer is the drawing surface (GetSurfaceWidth, GetSurfaceHeight); the viewport
// covers it whole after every resize.
//
// Textures are A8R8G8B8 (one 32-bit word 0xAARRGGBB a texel; bytes blue, green, red, alpha in
// memory), one level, rows `pitch` bytes apart (a multiple of 16, at least width x 4).
//
// Picture files, chosen by the file's extension (case-insensitive): png, jpg (jpeg), bmp, ppm,
// tga and dds. Saving to jpg, bmp or ppm drops the alpha channel (bmp as Qt
// writes it has none). DDS is saved uncompressed
// (A8R8G8B8) and loaded uncompressed (16, 24 or 32 bits with masks) or DXT1/3/5 compressed. A
// file that is missing, empty, damaged, truncated or of another format than its extension says
// fails to load (null texture); nothing is logged.
#pragma once

#include <cstdint>

#include "kiv/base.h"
#include "kiv/render.h"

// Surface formats and pools, with Direct3D 9's numeric values.
enum KivTextureFormat : uint32_t { kKivFormatA8R8G8B8 = 21 };
enum KivMemoryPool : uint32_t { kKivPoolDefault = 0, kKivPoolManaged = 1 };

class KcDX9Render : public KicBaseClass {
public:
    virtual void SetBackgroundColor(uint32_t argb) = 0;
    virtual uint32_t GetBackgroundColor() const = 0;
    virtual int GetSurfaceWidth() const = 0;
    virtual int GetSurfaceHeight() const = 0;
    // False (size unchanged) for a width or height below 1 or above 16384.
    virtual bool Resize(int width, int height) = 0;

    // --- 3D drawing, with the state it leaves (kiv/render.h) ---
    // An unknown transform type, render state, stage or light index is ignored (false).
    virtual bool SetTransform(uint32_t type, const KivMatrix& matrix) = 0;
    virtual bool GetTransform(uint32_t type, KivMatrix* matrix) const = 0;
    virtual bool SetRenderState(uint32_t state, uint32_t value) = 0;
    virtual uint32_t GetRenderState(uint32_t state) const = 0;
    virtual bool SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) = 0;
    virtual uint32_t GetTextureStageState(uint32_t stage, uint32_t type) const = 0;
    virtual bool SetLight(uint32_t index, const D3DLIGHT9& light) = 0;
    virtual bool GetLight(uint32_t index, D3DLIGHT9* light) const = 0;
    virtual bool LightEnable(uint32_t index, bool enable) = 0;
    virtual bool GetLightEnable(uint32_t index) const = 0;
    virtual void SetMaterial(const D3DMATERIAL9& material) = 0;
    virtual void GetMaterial(D3DMATERIAL9* material) const = 0;
    virtual void SetFVF(uint32_t fvf) = 0;
    virtual uint32_t GetFVF() const = 0;
    virtual void SetViewport(const KivViewport& viewport) = 0;
    virtual KivViewport GetViewport() const = 0;
    // A buffer of `length` bytes (at most 64 MiB), zero-filled; null when memory can't be had.
    virtual KcVertexBuffer* CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf,
                                               KivMemoryPool pool) = 0;
    // Stream 0 only; the service holds a reference to the buffer (null unsets it).
    virtual bool SetStreamSource(uint32_t stream, KcVertexBuffer* buffer, uint32_t offset,
                                 uint32_t stride) = 0;
    // From stream 0; false (nothing drawn) when the vertices lie beyond the buffer.
    virtual bool DrawPrimitive(uint32_t type, uint32_t startVertex, uint32_t primitiveCount) = 0;
    // From memory, copied by the call; unsets stream 0.
    virtual bool DrawPrimitiveUP(uint32_t type, uint32_t primitiveCount, const void* vertices,
                                 uint32_t stride) = 0;
    // The calls recorded since the frame began, oldest first; ClearCalls empties the record.
    virtual uint32_t GetCallCount() const = 0;
    virtual const KivRenderCall* GetCall(uint32_t index) const = 0;
    virtual void ClearCalls() = 0;
};

class KcSimpleDX9Font : public KicBaseClass {
public:
    virtual bool Prepare() = 0;
    virtual bool IsPrepared() const = 0;
    // Text at (x, y) pixels from the top left, in a colour and a scale (1: the font's size);
    // recorded by the render service (KivRenderOp::kDrawText).
    virtual bool DrawText(float x, float y, const char* text, uint32_t argb, float scale) = 0;
};

struct KivPrimitive2D {
    enum Type : uint32_t { kLine = 1, kRect = 2, kFilledRect = 3 } type;
    float x0, y0, x1, y1;
    uint32_t color;
};

class KcPrimitive2DRender : public KicBaseClass {
public:
    virtual void DrawLine(float x0, float y0, float x1, float y1, uint32_t argb) = 0;
    virtual void DrawRect(float left, float top, float right, float bottom, uint32_t argb) = 0;
    virtual void FillRect(float left, float top, float right, float bottom, uint32_t argb) = 0;
    // The primitives collected since the frame began (cleared by every KivEngineFrame).
    virtual uint32_t GetPrimitiveCount() const = 0;
    virtual const KivPrimitive2D* GetPrimitives() const = 0;
};

class KcTexture : public KicBaseClass {
public:
    virtual uint32_t GetWidth() const = 0;
    virtual uint32_t GetHeight() const = 0;
    // True while the texture holds its texels.
    virtual bool IsValid() const = 0;
    // Level 0 only; false while already locked.
    virtual bool Lock(uint32_t level, uint32_t* pitch, void** bits) = 0;
    virtual void Unlock() = 0;
    // Format by the file's extension; false for an unknown extension or a write failure.
    virtual bool SaveToFile(const char* path) = 0;
    // Texts that travel with the picture: PNG files keep them as text chunks (written by
    // SaveToFile, read by LoadTexture); other formats drop them. Keys are 1 to 79 Latin-1
    // characters, values UTF-8. SetText with a null or empty value removes the key; GetText
    // gives null for a key that is absent.
    virtual void SetText(const char* key, const char* value) = 0;
    virtual const char* GetText(const char* key) const = 0;
};

class KcTexturesMgr : public KicBaseClass {
public:
    // The picture file as a texture; null when it can't be read, is damaged or truncated, or is
    // larger than 16384 a side or than the memory budget leaves (GetLastError says which).
    virtual KcTexture* LoadTexture(const char* path) = 0;
    // One level of A8R8G8B8 in memory; null for other formats or levels, a size of 0 or above
    // 16384, or when the memory can't be had. Texels start at 0.
    virtual KcTexture* CreateTexture(uint32_t width, uint32_t height, uint32_t levels,
                                     KivTextureFormat format, KivMemoryPool pool) = 0;
    // Why the calling thread's last LoadTexture or KcTexture::SaveToFile failed, as a phrase
    // about the file ("is a directory", "is truncated: ...", "No space left on device"); ""
    // after a success.
    virtual const char* GetLastError() = 0;
};

// Meshes for the scenes, in the format D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE.
//   CreateAxisMesh        three arrows from the origin along +x (red), +y (green) and +z (blue),
//                         each `length` long: a shaft of `radius`, a cone of `headRadius` over
//                         the last fifth; `sides` around (0: 12)
//   CreateRectFrameMesh   a picture frame around the rectangle width x height centred at the
//                         origin in the plane z = 0: the rectangle's face (colour1), a border
//                         `border` wide (colour2) and its sides `depth` deep towards +z (colour3)
//   CreateMesh            a mesh of the caller's vertices (28 bytes each: position, normal,
//                         diffuse colour) and triangles (three indices each), copied; null when
//                         a count is 0 or above kKivMaxMeshVertices or an index lies past the
//                         vertices
// The first two give null for sizes that are not positive and finite; all three give null when
// memory can't be had. Front faces run clockwise seen from where they face (left-handed).
class KcDxMeshBuilder : public KicBaseClass {
public:
    virtual KcDxMesh* CreateAxisMesh(float length, float radius, float headRadius,
                                     uint32_t sides) = 0;
    virtual KcDxMesh* CreateRectFrameMesh(float width, float height, float border, float depth,
                                          uint32_t colour1, uint32_t colour2, uint32_t colour3) = 0;
    virtual void ReleaseMesh(KcDxMesh* mesh) = 0;
    virtual KcDxMesh* CreateMesh(const void* vertices, uint32_t vertexCount,
                                 const uint32_t* indices, uint32_t faceCount) = 0;
};

constexpr uint32_t kKivMaxMeshVertices = 1u << 24;
