// The 3D drawing vocabulary of the render service "KcDX9Render" (kiv/services.h): transforms,
// render and texture-stage states, one light record and a material, vertex formats, vertex
// buffers, meshes and primitive types, with Direct3D 9's numeric values so that scene code
// written in that style reads the same.
//
// Every call the render service takes is recorded (KivRenderCall) together with the state it
// leaves: the headless engine draws nothing, so tests read the record; a windowed engine draws
// the same record. The record starts empty at every frame (KivEngineFrame) and holds at most
// kKivMaxRenderCalls calls; further calls still change the state but are not recorded.
//
// Defaults of the state, as a fresh device has them: every transform the identity; z-test
// (less or equal) and z-write on, solid fill, lighting on with a local viewer, culling
// counter-clockwise (3), alpha blending, alpha testing and specular off, texture factor
// 0xFFFFFFFF; a vertex's diffuse colour stands for the material's diffuse (the other material
// colours from the material); stage 0 colour = texture x diffuse and alpha = texture, the other
// stages disabled; no light enabled; a white material without specular.
//
// Windowed, the engine draws the record with OpenGL as the fixed-function pipeline of origin
// would: per-vertex lighting with light 0, the material and the global ambient; texture stage
// 0 (there is no texture to sample, so D3DTA_TEXTURE reads opaque white); specular added
// after the stage; alpha test, blending, z, culling and fill mode. Draws from a vertex buffer
// read its bytes as they are when the frame is drawn.
#pragma once

#include <cstdint>

#include "kiv/base.h"
#include "kiv/vecmath.h"

// Transform types.
constexpr uint32_t D3DTS_VIEW = 2;
constexpr uint32_t D3DTS_PROJECTION = 3;
constexpr uint32_t D3DTS_WORLD = 256;

// Render states (a state number below kKivRenderStateCount).
constexpr uint32_t D3DRS_ZENABLE = 7;
constexpr uint32_t D3DRS_FILLMODE = 8;
constexpr uint32_t D3DRS_ZWRITEENABLE = 14;
constexpr uint32_t D3DRS_ALPHATESTENABLE = 15;
constexpr uint32_t D3DRS_SRCBLEND = 19;
constexpr uint32_t D3DRS_DESTBLEND = 20;
constexpr uint32_t D3DRS_CULLMODE = 22;
constexpr uint32_t D3DRS_ZFUNC = 23;
constexpr uint32_t D3DRS_ALPHAREF = 24;
constexpr uint32_t D3DRS_ALPHAFUNC = 25;
constexpr uint32_t D3DRS_ALPHABLENDENABLE = 27;
constexpr uint32_t D3DRS_SPECULARENABLE = 29;
constexpr uint32_t D3DRS_TEXTUREFACTOR = 60;
constexpr uint32_t D3DRS_LIGHTING = 137;
constexpr uint32_t D3DRS_AMBIENT = 139;
constexpr uint32_t D3DRS_COLORVERTEX = 141;
constexpr uint32_t D3DRS_LOCALVIEWER = 142;
constexpr uint32_t D3DRS_NORMALIZENORMALS = 143;
constexpr uint32_t D3DRS_DIFFUSEMATERIALSOURCE = 145;
constexpr uint32_t D3DRS_SPECULARMATERIALSOURCE = 146;
constexpr uint32_t D3DRS_AMBIENTMATERIALSOURCE = 147;
constexpr uint32_t D3DRS_EMISSIVEMATERIALSOURCE = 148;
constexpr uint32_t kKivRenderStateCount = 256;

constexpr uint32_t D3DCULL_NONE = 1;
constexpr uint32_t D3DCULL_CW = 2;
constexpr uint32_t D3DCULL_CCW = 3;

constexpr uint32_t D3DFILL_POINT = 1;
constexpr uint32_t D3DFILL_WIREFRAME = 2;
constexpr uint32_t D3DFILL_SOLID = 3;

// Where a lit vertex takes each material colour from: the material, the vertex's diffuse colour
// or its specular colour (vertices here have none; the material stands in).
constexpr uint32_t D3DMCS_MATERIAL = 0;
constexpr uint32_t D3DMCS_COLOR1 = 1;
constexpr uint32_t D3DMCS_COLOR2 = 2;

// Comparisons of the z and alpha tests.
constexpr uint32_t D3DCMP_NEVER = 1;
constexpr uint32_t D3DCMP_LESS = 2;
constexpr uint32_t D3DCMP_EQUAL = 3;
constexpr uint32_t D3DCMP_LESSEQUAL = 4;
constexpr uint32_t D3DCMP_GREATER = 5;
constexpr uint32_t D3DCMP_NOTEQUAL = 6;
constexpr uint32_t D3DCMP_GREATEREQUAL = 7;
constexpr uint32_t D3DCMP_ALWAYS = 8;

// Blend factors (D3DRS_SRCBLEND, D3DRS_DESTBLEND).
constexpr uint32_t D3DBLEND_ZERO = 1;
constexpr uint32_t D3DBLEND_ONE = 2;
constexpr uint32_t D3DBLEND_SRCCOLOR = 3;
constexpr uint32_t D3DBLEND_INVSRCCOLOR = 4;
constexpr uint32_t D3DBLEND_SRCALPHA = 5;
constexpr uint32_t D3DBLEND_INVSRCALPHA = 6;
constexpr uint32_t D3DBLEND_DESTALPHA = 7;
constexpr uint32_t D3DBLEND_INVDESTALPHA = 8;
constexpr uint32_t D3DBLEND_DESTCOLOR = 9;
constexpr uint32_t D3DBLEND_INVDESTCOLOR = 10;

// Texture stages (0 .. kKivTextureStageCount - 1) and their state types.
constexpr uint32_t D3DTSS_COLOROP = 1;
constexpr uint32_t D3DTSS_COLORARG1 = 2;
constexpr uint32_t D3DTSS_COLORARG2 = 3;
constexpr uint32_t D3DTSS_ALPHAOP = 4;
constexpr uint32_t D3DTSS_ALPHAARG1 = 5;
constexpr uint32_t D3DTSS_ALPHAARG2 = 6;
constexpr uint32_t kKivTextureStageCount = 8;
constexpr uint32_t kKivTextureStageStateCount = 33;

constexpr uint32_t D3DTOP_DISABLE = 1;
constexpr uint32_t D3DTOP_SELECTARG1 = 2;
constexpr uint32_t D3DTOP_SELECTARG2 = 3;
constexpr uint32_t D3DTOP_MODULATE = 4;
constexpr uint32_t D3DTOP_MODULATE2X = 5;
constexpr uint32_t D3DTOP_MODULATE4X = 6;
constexpr uint32_t D3DTOP_ADD = 7;

constexpr uint32_t D3DTA_DIFFUSE = 0;
constexpr uint32_t D3DTA_CURRENT = 1;
constexpr uint32_t D3DTA_TEXTURE = 2;
constexpr uint32_t D3DTA_TFACTOR = 3;

// Vertex formats: the parts present, in this order in each vertex.
constexpr uint32_t D3DFVF_XYZ = 0x002;      // 3 floats
constexpr uint32_t D3DFVF_NORMAL = 0x010;   // 3 floats
constexpr uint32_t D3DFVF_DIFFUSE = 0x040;  // 32-bit 0xAARRGGBB

// Bytes of one vertex of a format made of the parts above (0 for anything else).
inline uint32_t KivVertexSize(uint32_t fvf) {
    if (fvf & ~(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE)) return 0;
    return (fvf & D3DFVF_XYZ ? 12 : 0) + (fvf & D3DFVF_NORMAL ? 12 : 0) +
           (fvf & D3DFVF_DIFFUSE ? 4 : 0);
}

// Primitive types.
constexpr uint32_t D3DPT_POINTLIST = 1;
constexpr uint32_t D3DPT_LINELIST = 2;
constexpr uint32_t D3DPT_LINESTRIP = 3;
constexpr uint32_t D3DPT_TRIANGLELIST = 4;
constexpr uint32_t D3DPT_TRIANGLESTRIP = 5;
constexpr uint32_t D3DPT_TRIANGLEFAN = 6;

// Vertices that `count` primitives of a type read (0 for an unknown type or no primitive).
inline uint32_t KivPrimitiveVertexCount(uint32_t type, uint32_t count) {
    if (count == 0) return 0;
    switch (type) {
        case D3DPT_POINTLIST:
            return count;
        case D3DPT_LINELIST:
            return count * 2;
        case D3DPT_LINESTRIP:
            return count + 1;
        case D3DPT_TRIANGLELIST:
            return count * 3;
        case D3DPT_TRIANGLESTRIP:
        case D3DPT_TRIANGLEFAN:
            return count + 2;
        default:
            return 0;
    }
}

constexpr uint32_t D3DUSAGE_WRITEONLY = 8;

// Light types.
constexpr uint32_t D3DLIGHT_POINT = 1;
constexpr uint32_t D3DLIGHT_SPOT = 2;
constexpr uint32_t D3DLIGHT_DIRECTIONAL = 3;
constexpr uint32_t kKivLightCount = 8;

struct D3DCOLORVALUE {
    float r = 0, g = 0, b = 0, a = 0;
    bool operator==(const D3DCOLORVALUE&) const = default;
};

struct D3DLIGHT9 {
    uint32_t Type = D3DLIGHT_DIRECTIONAL;
    D3DCOLORVALUE Diffuse, Specular, Ambient;
    KivVector3 Position, Direction;
    float Range = 0, Falloff = 0, Attenuation0 = 0, Attenuation1 = 0, Attenuation2 = 0;
    float Theta = 0, Phi = 0;
    bool operator==(const D3DLIGHT9&) const = default;
};

struct D3DMATERIAL9 {
    D3DCOLORVALUE Diffuse, Ambient, Specular, Emissive;
    float Power = 0;
    bool operator==(const D3DMATERIAL9&) const = default;
};

// A vertex buffer of the render service (kind 32): bytes in memory, released with Release.
class KcVertexBuffer : public KicBaseClass {
public:
    virtual uint32_t GetLength() const = 0;
    virtual uint32_t GetFVF() const = 0;
    // Bytes offset .. offset + size (size 0: to the end); false when out of range or locked.
    virtual bool Lock(uint32_t offset, uint32_t size, void** data) = 0;
    virtual void Unlock() = 0;
};

// A triangle mesh of the mesh service "KcDxMeshBuilder": vertices of its format (position,
// normal and diffuse colour), three indices per face, one subset.
class KcDxMesh : public KicBaseClass {
public:
    virtual uint32_t GetFVF() const = 0;
    virtual uint32_t GetVertexCount() const = 0;
    virtual uint32_t GetFaceCount() const = 0;
    virtual const void* GetVertices() const = 0;
    virtual const uint32_t* GetIndices() const = 0;
    // Draws the mesh with the render service's current state; false for another subset.
    virtual bool DrawSubset(uint32_t subset) = 0;
};

// One recorded call of the render service.
enum class KivRenderOp : uint32_t {
    kSetTransform = 1,      // a = transform type; matrix
    kSetRenderState,        // a = state, b = value
    kSetTextureStageState,  // a = stage, b = type, c = value
    kSetLight,              // a = index; light
    kLightEnable,           // a = index, b = 0 or 1
    kSetMaterial,           // material
    kSetFVF,                // a = format
    kSetStreamSource,       // a = stream, b = offset, c = stride; resource = the buffer
    kSetViewport,           // viewport
    kDrawPrimitive,         // a = type, b = primitive count, c = start vertex; resource
    kDrawPrimitiveUP,       // a = type, b = primitive count, c = stride; data = the vertices
    kDrawMesh,              // a = subset, b = face count; resource = the mesh
    kDrawText,              // a = colour; x, y, scale; data = the text with its NUL
};

struct KivRenderCall {
    KivRenderOp op{};
    uint32_t a = 0, b = 0, c = 0;
    uint32_t vertexCount = 0;  // draws: the vertices the call reads
    KivMatrix matrix;
    D3DLIGHT9 light;
    D3DMATERIAL9 material;
    KivViewport viewport;
    float x = 0, y = 0, scale = 0;
    // The buffer or mesh a call refers to; the record holds a reference until it is cleared.
    KicBaseClass* resource = nullptr;
    // Bytes copied from the caller (owned by the record).
    const void* data = nullptr;
    uint32_t size = 0;
};

constexpr uint32_t kKivMaxRenderCalls = 1 << 14;
