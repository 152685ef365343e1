// Named services (KivEngineAPI::AcquireService) and the texture resource.
//
//   "KcDX9Render"          the drawing surface: background colour, size, resize. Headless, the
//                          surface is a size only (default 1280 x 720, "KivCore/SurfaceWidth" and
//                          "SurfaceHeight"); a resize tells every grid scene.
//   "KcSimpleDX9Font"      the text font; Prepare makes it ready for drawing.
//   "KcPrimitive2DRender"  2D lines and rectangles in screen pixels, collected for the frame.
//   "KcTexturesMgr"        textures: created in memory, or loaded from picture files.
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

// Surface formats and pools, with the values of the API of origin.
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
};

class KcSimpleDX9Font : public KicBaseClass {
public:
    virtual bool Prepare() = 0;
    virtual bool IsPrepared() const = 0;
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
};

class KcTexturesMgr : public KicBaseClass {
public:
    virtual KcTexture* LoadTexture(const char* path) = 0;
    // One level of A8R8G8B8 in memory; null for other formats or levels, a size of 0 or above
    // 16384, or when the memory can't be had. Texels start at 0.
    virtual KcTexture* CreateTexture(uint32_t width, uint32_t height, uint32_t levels,
                                     KivTextureFormat format, KivMemoryPool pool) = 0;
};
