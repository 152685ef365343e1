// Index: the shader; setup and frames; the record's walk; the fixed state and the lighting;
// draws from memory, buffers and meshes.
#include "gl/GLReplay.h"

#include <QOpenGLContext>
#include <algorithm>
#include <cmath>

#include "MeshBuilder.h"

namespace kivcore {

namespace {

// The matrices arrive as the render service keeps them (rows first); OpenGL reads each as its
// transpose, so M * v in the shader is the row vector v times the matrix.
constexpr const char* kVertexShader = R"(
attribute vec3 position;
attribute vec3 normal;
attribute vec4 colour;  // the bytes blue, green, red, alpha
uniform mat4 worldView;
uniform mat4 projection;
uniform mat3 normalMatrix;
uniform bool hasNormal, hasColour, lighting, normalizeNormals, specularOn, localViewer;
uniform vec4 material[4];    // diffuse, ambient, specular, emissive
uniform bool fromVertex[4];  // that colour is the vertex's diffuse colour
uniform float power;
uniform vec3 globalAmbient;
uniform bool lightOn;
uniform int lightType;  // 1 point, 2 spot, 3 directional
uniform vec3 lightPosition, lightDirection;  // view space
uniform vec3 lightDiffuse, lightSpecular, lightAmbient;
uniform vec4 lightShape;  // range, falloff, cos(theta / 2), cos(phi / 2)
uniform vec3 attenuation;
varying vec4 diffuse;
varying vec3 specular;

void main() {
    vec4 p = worldView * vec4(position, 1.0);
    vec4 clip = projection * p;
    gl_Position = vec4(clip.xy, 2.0 * clip.z - clip.w, clip.w);
    vec4 vertexColour = hasColour ? colour.zyxw : vec4(1.0);
    specular = vec3(0.0);
    if (!lighting) {
        diffuse = vertexColour;
        return;
    }
    vec4 c[4];
    for (int i = 0; i < 4; ++i) c[i] = fromVertex[i] ? vertexColour : material[i];
    vec3 n = hasNormal ? normalMatrix * normal : vec3(0.0);
    if (normalizeNormals && dot(n, n) > 0.0) n = normalize(n);
    vec3 ambient = globalAmbient, lit = vec3(0.0), shine = vec3(0.0);
    if (lightOn) {
        vec3 toLight = -lightDirection;
        float strength = 1.0;
        if (lightType != 3) {
            vec3 d = lightPosition - p.xyz;
            float dist = length(d);
            toLight = dist > 0.0 ? d / dist : vec3(0.0, 0.0, -1.0);
            float falloff = attenuation.x + attenuation.y * dist + attenuation.z * dist * dist;
            strength = dist <= lightShape.x && falloff > 0.0 ? 1.0 / falloff : 0.0;
            if (lightType == 2) {
                float rho = dot(-toLight, lightDirection);
                if (rho <= lightShape.w)
                    strength = 0.0;
                else if (rho < lightShape.z)
                    strength *= pow((rho - lightShape.w) / (lightShape.z - lightShape.w),
                                    lightShape.y);
            }
        }
        ambient += lightAmbient * strength;
        float nl = dot(n, toLight);
        if (nl > 0.0) {
            lit = lightDiffuse * (nl * strength);
            vec3 toEye = localViewer ? normalize(-p.xyz) : vec3(0.0, 0.0, -1.0);
            float nh = dot(n, normalize(toEye + toLight));
            if (specularOn && nh > 0.0) shine = lightSpecular * (pow(nh, power) * strength);
        }
    }
    diffuse = vec4(clamp(c[1].rgb * ambient + c[0].rgb * lit + c[3].rgb, 0.0, 1.0), c[0].a);
    specular = clamp(c[2].rgb * shine, 0.0, 1.0);
})";

constexpr const char* kFragmentShader = R"(
varying vec4 diffuse;
varying vec3 specular;
uniform ivec3 colourStage;  // operation, argument 1, argument 2
uniform ivec3 alphaStage;
uniform vec4 factor;
uniform bool addSpecular, alphaTest;
uniform int alphaFunc;
uniform float alphaRef;

vec4 Argument(int a) { return a == 3 ? factor : a == 2 ? vec4(1.0) : diffuse; }
vec4 Operation(ivec3 stage) {
    vec4 a = Argument(stage.y), b = Argument(stage.z);
    if (stage.x == 2) return a;
    if (stage.x == 3) return b;
    if (stage.x == 4) return a * b;
    if (stage.x == 5) return 2.0 * a * b;
    if (stage.x == 6) return 4.0 * a * b;
    if (stage.x == 7) return a + b;
    return diffuse;  // disabled
}
bool Passes(float v) {
    if (alphaFunc == 1) return false;
    if (alphaFunc == 2) return v < alphaRef;
    if (alphaFunc == 3) return v == alphaRef;
    if (alphaFunc == 4) return v <= alphaRef;
    if (alphaFunc == 5) return v > alphaRef;
    if (alphaFunc == 6) return v != alphaRef;
    if (alphaFunc == 7) return v >= alphaRef;
    return true;
}
void main() {
    vec4 c = colourStage.x == 1 ? diffuse
                                : vec4(Operation(colourStage).rgb, Operation(alphaStage).a);
    c = clamp(c, 0.0, 1.0);
    if (addSpecular) c.rgb = min(c.rgb + specular, 1.0);
    if (alphaTest && !Passes(floor(c.a * 255.0 + 0.5))) discard;
    gl_FragColor = c;
})";

enum Attribute : GLuint { kPosition = 0, kNormal = 1, kColour = 2 };

GLenum Comparison(uint32_t f) {
    static constexpr GLenum kFunctions[] = {GL_NEVER,   GL_LESS,     GL_EQUAL,  GL_LEQUAL,
                                            GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
    return f >= D3DCMP_NEVER && f <= D3DCMP_ALWAYS ? kFunctions[f - D3DCMP_NEVER] : GL_LEQUAL;
}

GLenum BlendFactor(uint32_t b) {
    static constexpr GLenum kFactors[] = {GL_ZERO,      GL_ONE,
                                          GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR,
                                          GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA,
                                          GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA,
                                          GL_DST_COLOR, GL_ONE_MINUS_DST_COLOR};
    return b >= D3DBLEND_ZERO && b <= D3DBLEND_INVDESTCOLOR ? kFactors[b - D3DBLEND_ZERO] : GL_ONE;
}

GLenum PrimitiveMode(uint32_t type) {
    switch (type) {
        case D3DPT_POINTLIST:
            return GL_POINTS;
        case D3DPT_LINELIST:
            return GL_LINES;
        case D3DPT_LINESTRIP:
            return GL_LINE_STRIP;
        case D3DPT_TRIANGLESTRIP:
            return GL_TRIANGLE_STRIP;
        case D3DPT_TRIANGLEFAN:
            return GL_TRIANGLE_FAN;
        default:
            return GL_TRIANGLES;
    }
}

constexpr GLenum kPoint = 0x1B00, kLine = 0x1B01, kFill = 0x1B02;  // glPolygonMode's modes

// The inverse transpose of the matrix's upper 3 x 3 (the normals' transform), the matrix's own
// 3 x 3 when it has no inverse; rows first like the render service's matrices.
void NormalMatrix(const KivMatrix& m, float out[9]) {
    auto a = [&m](int r, int c) { return m.m[r][c]; };
    float cof[3][3];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            int r1 = (r + 1) % 3, r2 = (r + 2) % 3, c1 = (c + 1) % 3, c2 = (c + 2) % 3;
            cof[r][c] = a(r1, c1) * a(r2, c2) - a(r1, c2) * a(r2, c1);
        }
    float det = a(0, 0) * cof[0][0] + a(0, 1) * cof[0][1] + a(0, 2) * cof[0][2];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)  // (M^-1)^T = cofactors / det
            out[r * 3 + c] = det != 0.0f && std::isfinite(det) ? cof[r][c] / det : a(r, c);
}

}  // namespace

// ---------------------------------------------------------------- setup and frames

bool CGLReplay::Initialize() {
    initializeOpenGLFunctions();
    meshes_.clear();  // a new context starts afresh
    program_.removeAllShaders();
    program_.bindAttributeLocation("position", kPosition);
    program_.bindAttributeLocation("normal", kNormal);
    program_.bindAttributeLocation("colour", kColour);
    ready_ = program_.addShaderFromSourceCode(QOpenGLShader::Vertex, kVertexShader) &&
             program_.addShaderFromSourceCode(QOpenGLShader::Fragment, kFragmentShader) &&
             program_.link() && (stream_.isCreated() || stream_.create());
    stream_.setUsagePattern(QOpenGLBuffer::StreamDraw);
    polygonMode_ = reinterpret_cast<void (*)(GLenum, GLenum)>(
        QOpenGLContext::currentContext()->getProcAddress("glPolygonMode"));
    return ready_;
}

void CGLReplay::Release() {
    for (auto& [mesh, cached] : meshes_) {
        glDeleteBuffers(1, &cached.vertices);
        glDeleteBuffers(1, &cached.indices);
    }
    meshes_.clear();
    stream_.destroy();
    program_.removeAllShaders();
    ready_ = false;
}

void CGLReplay::BeginFrame(int width, int height) {
    width_ = width, height_ = height;
    for (auto& entry : meshes_) entry.second.used = false;
}

void CGLReplay::EndFrame() {
    DropUnused(meshes_, [this](const CachedMesh& cached) {
        glDeleteBuffers(1, &cached.vertices);
        glDeleteBuffers(1, &cached.indices);
    });
}

void CGLReplay::Restore2D() {
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    if (polygonMode_) polygonMode_(GL_FRONT_AND_BACK, kFill);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glEnable(GL_BLEND);
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
    glViewport(0, 0, width_, height_);
    glDepthRangef(0.0f, 1.0f);
}

// ---------------------------------------------------------------- the record

void CGLReplay::Replay(const CRenderRecorder& record, uint32_t begin, uint32_t end,
                       CDeviceState* state,
                       const std::function<void(const KivRenderCall&)>& drawText) {
    end = std::min(end, record.GetCallCount());
    for (uint32_t i = begin; i < end; ++i) {
        const KivRenderCall& call = *record.GetCall(i);
        switch (call.op) {
            case KivRenderOp::kDrawPrimitive:
            case KivRenderOp::kDrawPrimitiveUP:
            case KivRenderOp::kDrawMesh:
                if (ready_) Draw(call, *state);
                break;
            case KivRenderOp::kDrawText:
                if (call.data) drawText(call);
                break;
            default:
                break;
        }
        state->Apply(call);
    }
}

void CGLReplay::Draw(const KivRenderCall& call, const CDeviceState& state) {
    if (call.op == KivRenderOp::kDrawMesh) return DrawMesh(call, state);
    if (call.op == KivRenderOp::kDrawPrimitiveUP)
        return DrawArrays(state, call.a, call.vertexCount, call.data, call.c);
    // From stream 0: the record checked that the vertices lie within the buffer.
    auto* buffer = dynamic_cast<const CVertexBuffer*>(call.resource);
    uint32_t stride = state.streamStride;
    if (!buffer || !buffer->Bytes()) return;
    const uint8_t* first = buffer->Bytes() + state.streamOffset + size_t(call.c) * stride;
    DrawArrays(state, call.a, call.vertexCount, first, stride);
}

// ---------------------------------------------------------------- state and lighting

void CGLReplay::Matrix(const char* name, const KivMatrix& m) {
    glUniformMatrix4fv(program_.uniformLocation(name), 1, GL_FALSE, &m.m[0][0]);
}

void CGLReplay::Flag(const char* name, bool on) { program_.setUniformValue(name, GLint(on)); }

bool CGLReplay::Prepare(const CDeviceState& state, uint32_t fvf, uint32_t stride) {
    uint32_t size = KivVertexSize(fvf);
    if (!(fvf & D3DFVF_XYZ) || size == 0 || stride < size) return false;
    const auto& rs = state.renderStates;
    if (rs[D3DRS_ZENABLE]) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(Comparison(rs[D3DRS_ZFUNC]));
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    glDepthMask(rs[D3DRS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
    // Front faces are the ones left standing: CCW culling keeps the clockwise ones.
    if (rs[D3DRS_CULLMODE] == D3DCULL_CW || rs[D3DRS_CULLMODE] == D3DCULL_CCW) {
        glEnable(GL_CULL_FACE);
        glFrontFace(rs[D3DRS_CULLMODE] == D3DCULL_CCW ? GL_CW : GL_CCW);
        glCullFace(GL_BACK);
    } else {
        glDisable(GL_CULL_FACE);
    }
    if (polygonMode_) {
        uint32_t fill = rs[D3DRS_FILLMODE];
        polygonMode_(GL_FRONT_AND_BACK, fill == D3DFILL_POINT       ? kPoint
                                        : fill == D3DFILL_WIREFRAME ? kLine
                                                                    : kFill);
    }
    if (rs[D3DRS_ALPHABLENDENABLE]) {
        glEnable(GL_BLEND);
        glBlendFunc(BlendFactor(rs[D3DRS_SRCBLEND]), BlendFactor(rs[D3DRS_DESTBLEND]));
    } else {
        glDisable(GL_BLEND);
    }
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    const KivViewport& vp = state.viewport;
    glViewport(GLint(vp.x), height_ - GLint(vp.y + vp.height), GLsizei(vp.width),
               GLsizei(vp.height));
    glDepthRangef(vp.minZ, vp.maxZ);

    program_.bind();
    KivMatrix worldView = state.world * state.view;
    Matrix("worldView", worldView);
    Matrix("projection", state.projection);
    float normal[9];
    NormalMatrix(worldView, normal);
    glUniformMatrix3fv(program_.uniformLocation("normalMatrix"), 1, GL_FALSE, normal);
    Flag("hasNormal", (fvf & D3DFVF_NORMAL) != 0);
    Flag("hasColour", (fvf & D3DFVF_DIFFUSE) != 0);
    SetLighting(state, fvf);

    const auto& stage = state.stages[0];
    auto argument = [](uint32_t a) { return int(a & 0x7); };  // the selector, without modifiers
    glUniform3i(program_.uniformLocation("colourStage"), int(stage[D3DTSS_COLOROP]),
                argument(stage[D3DTSS_COLORARG1]), argument(stage[D3DTSS_COLORARG2]));
    glUniform3i(program_.uniformLocation("alphaStage"), int(stage[D3DTSS_ALPHAOP]),
                argument(stage[D3DTSS_ALPHAARG1]), argument(stage[D3DTSS_ALPHAARG2]));
    uint32_t f = rs[D3DRS_TEXTUREFACTOR];
    program_.setUniformValue("factor", float((f >> 16) & 0xFF) / 255.0f,
                             float((f >> 8) & 0xFF) / 255.0f, float(f & 0xFF) / 255.0f,
                             float(f >> 24) / 255.0f);
    Flag("addSpecular", rs[D3DRS_SPECULARENABLE] != 0);
    Flag("alphaTest", rs[D3DRS_ALPHATESTENABLE] != 0);
    program_.setUniformValue("alphaFunc", int(rs[D3DRS_ALPHAFUNC]));
    program_.setUniformValue("alphaRef", float(rs[D3DRS_ALPHAREF] & 0xFF));
    return true;
}

void CGLReplay::SetLighting(const CDeviceState& state, uint32_t fvf) {
    const auto& rs = state.renderStates;
    Flag("lighting", rs[D3DRS_LIGHTING] != 0);
    if (!rs[D3DRS_LIGHTING]) return;
    Flag("normalizeNormals", rs[D3DRS_NORMALIZENORMALS] != 0);
    Flag("specularOn", rs[D3DRS_SPECULARENABLE] != 0);
    Flag("localViewer", rs[D3DRS_LOCALVIEWER] != 0);
    const D3DMATERIAL9& m = state.material;
    const D3DCOLORVALUE colours[4] = {m.Diffuse, m.Ambient, m.Specular, m.Emissive};
    const uint32_t sources[4] = {D3DRS_DIFFUSEMATERIALSOURCE, D3DRS_AMBIENTMATERIALSOURCE,
                                 D3DRS_SPECULARMATERIALSOURCE, D3DRS_EMISSIVEMATERIALSOURCE};
    // Vertices here carry a diffuse colour at most: a specular source falls back on the material.
    const bool vertexColour = (fvf & D3DFVF_DIFFUSE) && rs[D3DRS_COLORVERTEX];
    GLfloat material[16];
    GLint fromVertex[4];
    for (int i = 0; i < 4; ++i) {
        const D3DCOLORVALUE& c = colours[i];
        std::copy_n(&c.r, 4, material + i * 4);
        fromVertex[i] = vertexColour && rs[sources[i]] == D3DMCS_COLOR1;
    }
    glUniform4fv(program_.uniformLocation("material"), 4, material);
    glUniform1iv(program_.uniformLocation("fromVertex"), 4, fromVertex);
    program_.setUniformValue("power", std::max(m.Power, 0.0f));
    uint32_t g = rs[D3DRS_AMBIENT];
    program_.setUniformValue("globalAmbient", float((g >> 16) & 0xFF) / 255.0f,
                             float((g >> 8) & 0xFF) / 255.0f, float(g & 0xFF) / 255.0f);

    const D3DLIGHT9& light = state.lights[0];
    Flag("lightOn", state.lightEnabled[0]);
    if (!state.lightEnabled[0]) return;
    // Lights live in the world: into view space with the view matrix.
    KivVector3 position = kivmath::Vec3TransformCoord(light.Position, state.view);
    const KivMatrix& v = state.view;
    const KivVector3& d = light.Direction;
    KivVector3 direction =
        kivmath::Vec3Normalize({d.x * v.m[0][0] + d.y * v.m[1][0] + d.z * v.m[2][0],
                                d.x * v.m[0][1] + d.y * v.m[1][1] + d.z * v.m[2][1],
                                d.x * v.m[0][2] + d.y * v.m[1][2] + d.z * v.m[2][2]});
    program_.setUniformValue("lightType", int(light.Type));
    program_.setUniformValue("lightPosition", position.x, position.y, position.z);
    program_.setUniformValue("lightDirection", direction.x, direction.y, direction.z);
    program_.setUniformValue("lightDiffuse", light.Diffuse.r, light.Diffuse.g, light.Diffuse.b);
    program_.setUniformValue("lightSpecular", light.Specular.r, light.Specular.g, light.Specular.b);
    program_.setUniformValue("lightAmbient", light.Ambient.r, light.Ambient.g, light.Ambient.b);
    program_.setUniformValue("lightShape", light.Range, light.Falloff, std::cos(light.Theta / 2.0f),
                             std::cos(light.Phi / 2.0f));
    program_.setUniformValue("attenuation", light.Attenuation0, light.Attenuation1,
                             light.Attenuation2);
}

// ---------------------------------------------------------------- draws

void CGLReplay::Attributes(uint32_t fvf, uint32_t stride, uintptr_t offset) {
    glEnableVertexAttribArray(kPosition);
    glVertexAttribPointer(kPosition, 3, GL_FLOAT, GL_FALSE, GLsizei(stride),
                          reinterpret_cast<const void*>(offset));
    offset += 12;
    if (fvf & D3DFVF_NORMAL) {
        glEnableVertexAttribArray(kNormal);
        glVertexAttribPointer(kNormal, 3, GL_FLOAT, GL_FALSE, GLsizei(stride),
                              reinterpret_cast<const void*>(offset));
        offset += 12;
    }
    if (fvf & D3DFVF_DIFFUSE) {
        glEnableVertexAttribArray(kColour);
        glVertexAttribPointer(kColour, 4, GL_UNSIGNED_BYTE, GL_TRUE, GLsizei(stride),
                              reinterpret_cast<const void*>(offset));
    }
}

void CGLReplay::DrawArrays(const CDeviceState& state, uint32_t type, uint32_t count,
                           const void* bytes, uint32_t stride) {
    if (!bytes || count == 0 || !Prepare(state, state.fvf, stride)) return;
    stream_.bind();
    stream_.allocate(bytes, int(size_t(count) * stride));
    Attributes(state.fvf, stride, 0);
    glDrawArrays(PrimitiveMode(type), 0, GLsizei(count));
    for (GLuint a : {kPosition, kNormal, kColour}) glDisableVertexAttribArray(a);
    stream_.release();
    program_.release();
}

void CGLReplay::DrawMesh(const KivRenderCall& call, const CDeviceState& state) {
    auto* mesh = dynamic_cast<const CMesh*>(call.resource);
    if (!mesh || mesh->GetFaceCount() == 0 || !Prepare(state, mesh->GetFVF(), sizeof(CMeshVertex)))
        return;
    CachedMesh& cached = meshes_[mesh];
    cached.used = true;
    if (!cached.vertices || cached.serial != mesh->Serial()) {
        if (!cached.vertices) glGenBuffers(1, &cached.vertices);
        if (!cached.indices) glGenBuffers(1, &cached.indices);
        glBindBuffer(GL_ARRAY_BUFFER, cached.vertices);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(mesh->GetVertexCount() * sizeof(CMeshVertex)),
                     mesh->GetVertices(), GL_STATIC_DRAW);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, cached.indices);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                     GLsizeiptr(size_t(mesh->GetFaceCount()) * 3 * sizeof(uint32_t)),
                     mesh->GetIndices(), GL_STATIC_DRAW);
        cached.serial = mesh->Serial();
    }
    glBindBuffer(GL_ARRAY_BUFFER, cached.vertices);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, cached.indices);
    Attributes(mesh->GetFVF(), sizeof(CMeshVertex), 0);
    glDrawElements(GL_TRIANGLES, GLsizei(mesh->GetFaceCount() * 3), GL_UNSIGNED_INT, nullptr);
    for (GLuint a : {kPosition, kNormal, kColour}) glDisableVertexAttribArray(a);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    program_.release();
}

}  // namespace kivcore
