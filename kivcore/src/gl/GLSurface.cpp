// Index: shaders and the channel-view table; the surface and its entry; the GL view (setup,
// frame, texts, grid, images, primitives, texture cache).
#include "gl/GLSurface.h"

#include <QApplication>
#include <QFontDatabase>
#include <QMatrix4x4>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "Controls.h"
#include "GridScene.h"
#include "Services.h"
#include "Texture.h"

namespace kivcore {

namespace {

// Positions arrive in surface pixels (y down); both vertex shaders start with this.
constexpr const char* kToClip = R"(
uniform vec2 surface;
vec4 ToClip(vec2 p) { return vec4(p.x / surface.x * 2.0 - 1.0, 1.0 - p.y / surface.y * 2.0, 0.0, 1.0); }
)";
constexpr const char* kColorVertex = R"(
attribute vec2 position;
attribute vec4 color;
varying vec4 tint;
void main() {
    tint = color;
    gl_Position = ToClip(position);
})";
constexpr const char* kColorFragment = R"(
varying vec4 tint;
void main() { gl_FragColor = tint; })";

// Texels are stored as the bytes blue, green, red, alpha and uploaded as they are, so the sample
// is swizzled back before the channel view's matrix picks what is shown.
constexpr const char* kImageVertex = R"(
attribute vec2 position;
attribute vec2 texel;
varying vec2 uv;
void main() {
    uv = texel;
    gl_Position = ToClip(position);
})";
constexpr const char* kImageFragment = R"(
uniform sampler2D image;
uniform mat4 channels;
uniform vec4 offset;
varying vec2 uv;
void main() { gl_FragColor = channels * texture2D(image, uv).bgra + offset; })";

// A channel view: shown colour = matrix x (r, g, b, a) + offset; matrices by rows.
struct ChannelView {
    float rows[4][4];
    float offset[4];
};
constexpr ChannelView kChannelViews[] = {
    // Normal: the colour, opaque
    {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 0}}, {0, 0, 0, 1}},
    // Alpha_Able: the colour blended by its alpha
    {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}, {0, 0, 0, 0}},
    // Color_R, Color_G, Color_B: that channel alone, in its colour
    {{{1, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}, {0, 0, 0, 1}},
    {{{0, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}, {0, 0, 0, 1}},
    {{{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 0}}, {0, 0, 0, 1}},
    // Color_A: alpha as grey
    {{{0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 0}}, {0, 0, 0, 1}},
    // Inverse: one minus the colour
    {{{-1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, -1, 0}, {0, 0, 0, 0}}, {1, 1, 1, 1}},
};

constexpr GLenum kMaxAnisotropy = 0x84FE;     // GL_TEXTURE_MAX_ANISOTROPY_EXT
constexpr GLenum kMaxMaxAnisotropy = 0x84FF;  // GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT
constexpr GLenum kUnpackRowLength = 0x0CF2;   // GL_UNPACK_ROW_LENGTH
// Grid lines closer than this many pixels are thinned to every tenth.
constexpr float kMinGridSpacing = 8.0f;

void Unpack(uint32_t argb, float* rgba) {
    rgba[0] = float((argb >> 16) & 0xFF) / 255.0f;
    rgba[1] = float((argb >> 8) & 0xFF) / 255.0f;
    rgba[2] = float(argb & 0xFF) / 255.0f;
    rgba[3] = float(argb >> 24) / 255.0f;
}

CGLSurface* gSurface = nullptr;

}  // namespace

// ================================================================ the surface

CWindowSurface* CreateWindowSurface(CKivEngine& engine, void* window) {
    auto* host = static_cast<QWidget*>(window);
    if (!host || !qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
    return new CGLSurface(engine, host);
}

CGLSurface* RunningSurface() { return gSurface; }

CGLSurface::CGLSurface(CKivEngine& engine, QWidget* host) : host_(host) {
    view_ = new CGLView(engine, host);
    bridge_ = std::make_unique<CEventBridge>(engine, host, view_);
    host->installEventFilter(bridge_.get());
    view_->setGeometry(host->rect());
    view_->show();
    gSurface = this;
}

CGLSurface::~CGLSurface() {
    if (gSurface == this) gSurface = nullptr;
    if (host_) host_->removeEventFilter(bridge_.get());
    delete view_.data();
}

void CGLSurface::ScheduleFrame() {
    // Qt paints hidden and minimised windows not at all; update() merges with pending paints.
    if (view_ && view_->isVisible()) view_->update();
}

void CGLSurface::DeviceSize(int* width, int* height) const {
    if (!view_ || view_->DeviceWidth() < 1 || view_->DeviceHeight() < 1) return;
    *width = view_->DeviceWidth();
    *height = view_->DeviceHeight();
}

// ================================================================ the GL view

CGLView::CGLView(CKivEngine& engine, QWidget* host) : QOpenGLWidget(host), engine_(engine) {
    QSurfaceFormat surfaceFormat = format();
    surfaceFormat.setDepthBufferSize(24);  // for the scenes' z test
    setFormat(surfaceFormat);
    setFocusPolicy(Qt::NoFocus);  // keys go to the host's view, where the bridge sees them
    setAcceptDrops(false);        // drops too
}

CGLView::~CGLView() { ReleaseGL(); }

int CGLView::DeviceWidth() const { return int(std::lround(width() * devicePixelRatioF())); }
int CGLView::DeviceHeight() const { return int(std::lround(height() * devicePixelRatioF())); }

void CGLView::ReleaseGL() {
    if (!ready_) return;
    makeCurrent();
    for (auto& [texture, cached] : textures_) glDeleteTextures(1, &cached.name);
    textures_.clear();
    buffer_.destroy();
    replay_.Release();
    colorProgram_.removeAllShaders();
    imageProgram_.removeAllShaders();
    doneCurrent();
    ready_ = false;
}

void CGLView::initializeGL() {
    initializeOpenGLFunctions();
    // A context that is made again (the widget moved to another window) starts afresh.
    textures_.clear();
    auto build = [](QOpenGLShaderProgram& program, const char* vertex, const char* fragment) {
        return program.addShaderFromSourceCode(QOpenGLShader::Vertex,
                                               QByteArray(kToClip) + vertex) &&
               program.addShaderFromSourceCode(QOpenGLShader::Fragment, fragment) && program.link();
    };
    bool ok = build(colorProgram_, kColorVertex, kColorFragment) &&
              build(imageProgram_, kImageVertex, kImageFragment) && buffer_.create();
    if (!ok) {
        engine_.LogFormat(4, "KivCore: the OpenGL shaders failed: %s%s",
                          qPrintable(colorProgram_.log()), qPrintable(imageProgram_.log()));
        return;
    }
    buffer_.setUsagePattern(QOpenGLBuffer::StreamDraw);
    // Without its shader the 2D world is still drawn; the scenes' calls are not.
    if (!replay_.Initialize())
        engine_.LogFormat(4, "KivCore: the OpenGL shader of the 3D calls failed: %s",
                          qPrintable(replay_.Log()));
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize_);
    if (context()->hasExtension("GL_EXT_texture_filter_anisotropic"))
        glGetFloatv(kMaxMaxAnisotropy, &maxAnisotropy_);
    ready_ = true;
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] { ReleaseGL(); });
}

void CGLView::paintGL() {
    engine_.RunFrame();
    int width = DeviceWidth(), height = DeviceHeight();
    float background[4];
    CRenderService* render = engine_.Render();
    Unpack(render ? render->GetBackgroundColor() : 0xFF000000u, background);
    glViewport(0, 0, width, height);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glClearColor(background[0], background[1], background[2], 1.0f);
    glClearDepthf(1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!ready_ || width < 1 || height < 1 || !render) return;

    // The frame in the order it ran: scenes, the game's drawing, overlays.
    CDeviceState state = render->RecordStart();
    const CKivEngine::FrameMarks& marks = engine_.Marks();
    auto text = [this](const KivRenderCall& call) { DrawText(call); };
    replay_.BeginFrame(width, height);
    replay_.Replay(*render, 0, marks.gameRender, &state, text);
    // Colours blend by their alpha; the surface itself stays opaque.
    replay_.Restore2D();
    engine_.ForEachObject<CGridScene2D>([&](CGridScene2D* s) { DrawGrid(s, width, height); });
    for (auto& entry : textures_) entry.second.used = false;
    engine_.ForEachObject<CImageControl>([&](CImageControl* c) { DrawImage(c); });
    DropUnusedTextures();
    DrawPrimitives();
    replay_.Replay(*render, marks.gameRender, render->GetCallCount(), &state, text);
    replay_.EndFrame();
    replay_.Restore2D();
}

// ---------------------------------------------------------------- texts

void CGLView::DrawText(const KivRenderCall& call) {
    // Text at scale 1 is this many device pixels high.
    constexpr float kFontPixels = 16.0f;
    // The painter's glyph cache copies itself through the surface's channels, alpha included.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    QPainter painter(this);
    painter.scale(1.0 / DeviceRatio(), 1.0 / DeviceRatio());  // positions are device pixels
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(std::max(1, int(std::lround(kFontPixels * call.scale))));
    painter.setFont(font);
    painter.setPen(QColor::fromRgba(call.a));
    painter.drawText(QPointF(call.x, call.y + float(painter.fontMetrics().ascent())),
                     QString::fromUtf8(static_cast<const char*>(call.data)));
}

// ---------------------------------------------------------------- grid

void CGLView::DrawGrid(CGridScene2D* scene, int width, int height) {
    float scale = scene->GetScale();
    if (!(scale > 0.0f)) return;
    // Minor lines a power of ten apart, at least kMinGridSpacing pixels; every tenth is major.
    double step = std::pow(10.0, std::ceil(std::log10(double(kMinGridSpacing) / scale)));
    float left, top, right, bottom;
    scene->ScreenToWorld(0, 0, &left, &top);
    scene->ScreenToWorld(float(width), float(height), &right, &bottom);
    std::vector<Vertex> layers[3];  // minor, major, axis: drawn in that order
    const uint32_t colors[3] = {scene->GetMinorColor(), scene->GetMajorColor(),
                                scene->GetAxisColor()};
    auto line = [&](int layer, float x0, float y0, float x1, float y1) {
        float c[4];
        Unpack(colors[layer], c);
        layers[layer].push_back({x0, y0, c[0], c[1], c[2], c[3]});
        layers[layer].push_back({x1, y1, c[0], c[1], c[2], c[3]});
    };
    auto layerOf = [](long long k) { return k == 0 ? 2 : k % 10 == 0 ? 1 : 0; };
    for (long long k = (long long)std::ceil(left / step); k * step <= right; ++k) {
        float sx;
        scene->WorldToScreen(float(k * step), 0, &sx, nullptr);
        sx = std::floor(sx) + 0.5f;  // on a pixel's centre, so the line is one pixel wide
        line(layerOf(k), sx, 0, sx, float(height));
    }
    for (long long k = (long long)std::ceil(bottom / step); k * step <= top; ++k) {
        float sy;
        scene->WorldToScreen(0, float(k * step), nullptr, &sy);
        sy = std::floor(sy) + 0.5f;
        line(layerOf(k), 0, sy, float(width), sy);
    }
    for (const auto& layer : layers) DrawColored(layer, GL_LINES);
}

// ---------------------------------------------------------------- images

GLuint CGLView::TextureFor(const CTexture* texture) {
    CachedTexture& cached = textures_[texture];
    cached.used = true;
    if (cached.name && cached.stamp == texture->Stamp()) return cached.name;
    GLint width = GLint(texture->GetWidth()), height = GLint(texture->GetHeight());
    if (width > maxTextureSize_ || height > maxTextureSize_) {
        if (!warnedTooLarge_)
            engine_.LogFormat(2, "KivCore: a %d x %d texture is above this device's %d texels",
                              width, height, maxTextureSize_);
        warnedTooLarge_ = true;
        return 0;
    }
    if (!cached.name) glGenTextures(1, &cached.name);
    glBindTexture(GL_TEXTURE_2D, cached.name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(kUnpackRowLength, GLint(texture->PitchWords()));
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 texture->Texels());
    glPixelStorei(kUnpackRowLength, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    cached.stamp = texture->Stamp();
    return cached.name;
}

void CGLView::DropUnusedTextures() {
    DropUnused(textures_,
               [this](const CachedTexture& cached) { glDeleteTextures(1, &cached.name); });
}

void CGLView::DrawImage(CImageControl* control) {
    auto* texture = dynamic_cast<const CTexture*>(control->GetTexture());
    if (!control->IsVisible() || !texture || !texture->IsValid()) return;
    GLuint name = TextureFor(texture);
    if (!name) return;
    // Corners on whole pixels: at one-to-one every texel then meets exactly one pixel.
    KivRect r = control->GetRect();
    float left = std::round(r.left), top = std::round(r.top);
    float right = left + std::round(r.right - r.left), bottom = top + std::round(r.bottom - r.top);
    const float quad[] = {left, top,    0, 0, right, top,    1, 0,
                          left, bottom, 0, 1, right, bottom, 1, 1};

    glBindTexture(GL_TEXTURE_2D, name);
    int filter = control->GetFilterType();
    GLint glFilter = filter == kKivFilterPoint ? GL_NEAREST : GL_LINEAR;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, glFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, glFilter);
    if (maxAnisotropy_ > 1.0f)
        glTexParameterf(GL_TEXTURE_2D, kMaxAnisotropy,
                        filter == kKivFilterAnisotropic ? maxAnisotropy_ : 1.0f);

    int view = control->GetChannelView();
    const ChannelView& cv =
        kChannelViews[view >= 0 && view < int(std::size(kChannelViews)) ? view : 0];
    // QMatrix4x4 takes rows; GL gets it in its own order from setUniformValue.
    QMatrix4x4 matrix(&cv.rows[0][0]);
    imageProgram_.bind();
    imageProgram_.setUniformValue("surface", float(DeviceWidth()), float(DeviceHeight()));
    imageProgram_.setUniformValue("channels", matrix);
    imageProgram_.setUniformValue("offset", cv.offset[0], cv.offset[1], cv.offset[2], cv.offset[3]);
    imageProgram_.setUniformValue("image", 0);
    buffer_.bind();
    buffer_.allocate(quad, int(sizeof quad));
    imageProgram_.enableAttributeArray("position");
    imageProgram_.enableAttributeArray("texel");
    imageProgram_.setAttributeBuffer("position", GL_FLOAT, 0, 2, 4 * sizeof(float));
    imageProgram_.setAttributeBuffer("texel", GL_FLOAT, 2 * sizeof(float), 2, 4 * sizeof(float));
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    imageProgram_.disableAttributeArray("position");
    imageProgram_.disableAttributeArray("texel");
    buffer_.release();
    imageProgram_.release();
}

// ---------------------------------------------------------------- primitives

void CGLView::DrawColored(const std::vector<Vertex>& vertices, GLenum mode) {
    if (vertices.empty()) return;
    colorProgram_.bind();
    colorProgram_.setUniformValue("surface", float(DeviceWidth()), float(DeviceHeight()));
    buffer_.bind();
    buffer_.allocate(vertices.data(), int(vertices.size() * sizeof(Vertex)));
    colorProgram_.enableAttributeArray("position");
    colorProgram_.enableAttributeArray("color");
    colorProgram_.setAttributeBuffer("position", GL_FLOAT, 0, 2, sizeof(Vertex));
    colorProgram_.setAttributeBuffer("color", GL_FLOAT, 2 * sizeof(float), 4, sizeof(Vertex));
    glDrawArrays(mode, 0, GLsizei(vertices.size()));
    colorProgram_.disableAttributeArray("position");
    colorProgram_.disableAttributeArray("color");
    buffer_.release();
    colorProgram_.release();
}

void CGLView::DrawPrimitives() {
    auto* service = static_cast<CPrimitive2DService*>(engine_.FindService("KcPrimitive2DRender"));
    if (!service || service->GetPrimitiveCount() == 0) return;
    std::vector<Vertex> lines, triangles;
    const KivPrimitive2D* p = service->GetPrimitives();
    for (uint32_t i = 0; i < service->GetPrimitiveCount(); ++i, ++p) {
        float c[4];
        Unpack(p->color, c);
        auto at = [&](float x, float y) { return Vertex{x, y, c[0], c[1], c[2], c[3]}; };
        switch (p->type) {
            case KivPrimitive2D::kLine:
                lines.insert(lines.end(), {at(p->x0, p->y0), at(p->x1, p->y1)});
                break;
            case KivPrimitive2D::kRect:
                lines.insert(lines.end(), {at(p->x0, p->y0), at(p->x1, p->y0), at(p->x1, p->y0),
                                           at(p->x1, p->y1), at(p->x1, p->y1), at(p->x0, p->y1),
                                           at(p->x0, p->y1), at(p->x0, p->y0)});
                break;
            case KivPrimitive2D::kFilledRect:
                triangles.insert(triangles.end(),
                                 {at(p->x0, p->y0), at(p->x1, p->y0), at(p->x0, p->y1),
                                  at(p->x1, p->y0), at(p->x1, p->y1), at(p->x0, p->y1)});
                break;
        }
    }
    DrawColored(triangles, GL_TRIANGLES);
    DrawColored(lines, GL_LINES);
}

}  // namespace kivcore
