// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "CrossFadeGl.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLShaderProgram>
#include <algorithm>
#include <cmath>

namespace ozv {

namespace {

const char* const kVertex = R"(
attribute highp vec2 position;
varying highp vec2 uv;
void main()
{
    // Row 0 of a picture is its top line: texture row 0 goes to the top of the frame.
    uv = vec2((position.x + 1.0) * 0.5, (1.0 - position.y) * 0.5);
    gl_Position = vec4(position, 0.0, 1.0);
}
)";

// The pictures are premultiplied ARGB32 uploaded byte for byte (B, G, R, A in memory on every
// little-endian machine): swizzled here instead of converted on the CPU.
const char* const kFragment = R"(
varying highp vec2 uv;
uniform sampler2D startPicture;
uniform sampler2D targetPicture;
uniform mediump float startOpacity;
uniform mediump float targetOpacity;
void main()
{
    mediump vec4 s = texture2D(startPicture, uv).bgra * startOpacity;
    mediump vec4 t = texture2D(targetPicture, uv).bgra * targetOpacity;
    gl_FragColor = vec4(t.rgb + s.rgb * (1.0 - t.a), 1.0);
}
)";

} // namespace

TCrossFadeGl::TCrossFadeGl()
{
    initializeOpenGLFunctions();
    auto program = std::make_unique<QOpenGLShaderProgram>();
    if (!program->addShaderFromSourceCode(QOpenGLShader::Vertex, kVertex) ||
        !program->addShaderFromSourceCode(QOpenGLShader::Fragment, kFragment) ||
        (program->bindAttributeLocation("position", 0), !program->link()))
        return;
    m_program = std::move(program);
    const GLfloat corners[] = {-1, -1, 1, -1, -1, 1, 1, 1};
    glGenBuffers(1, &m_buffer);
    glBindBuffer(GL_ARRAY_BUFFER, m_buffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof corners, corners, GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    for (Texture& t : m_textures) {
        glGenTextures(1, &t.id);
        glBindTexture(GL_TEXTURE_2D, t.id);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
}

TCrossFadeGl::~TCrossFadeGl()
{
    if (!QOpenGLContext::currentContext()) return; // the context went first, and its objects
    for (Texture& t : m_textures)
        glDeleteTextures(1, &t.id);
    glDeleteBuffers(1, &m_buffer);
}

void TCrossFadeGl::upload(Texture& texture, const QImage& picture)
{
    glBindTexture(GL_TEXTURE_2D, texture.id);
    if (texture.key == picture.cacheKey() && texture.size == picture.size()) return;
    const QImage pixels = picture.format() == QImage::Format_ARGB32_Premultiplied
                              ? picture
                              : picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    if (pixels.bytesPerLine() == pixels.width() * 4) {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, pixels.width(), pixels.height(), 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, pixels.constBits());
    } else { // lines with padding: one at a time
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, pixels.width(), pixels.height(), 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, nullptr);
        for (int y = 0; y < pixels.height(); ++y)
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, y, pixels.width(), 1, GL_RGBA, GL_UNSIGNED_BYTE,
                            pixels.constScanLine(y));
    }
    texture.key = picture.cacheKey();
    texture.size = picture.size();
}

void TCrossFadeGl::render(const QImage& start, const QImage& target, double p)
{
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    if (!m_program) return;
    // The texture that holds one of the pictures already keeps it: a new transition starts
    // from the picture the last one went to, so only the new target is uploaded.
    if (m_textures[1].key == start.cacheKey() && !start.isNull())
        std::swap(m_textures[0], m_textures[1]);
    // Opacities as bytes, as the raster path has them.
    const float a = float(std::lround(std::clamp(1.0 - p, 0.0, 1.0) * 255)) / 255.0f;
    const float b = float(std::lround(std::clamp(p, 0.0, 1.0) * 255)) / 255.0f;
    glDisable(GL_BLEND);
    m_program->bind();
    m_program->setUniformValue("startPicture", 0);
    m_program->setUniformValue("targetPicture", 1);
    m_program->setUniformValue("startOpacity", start.isNull() ? 0.0f : a);
    m_program->setUniformValue("targetOpacity", target.isNull() ? 0.0f : b);
    glActiveTexture(GL_TEXTURE0);
    upload(m_textures[0],
           start.isNull() ? QImage(1, 1, QImage::Format_ARGB32_Premultiplied) : start);
    glActiveTexture(GL_TEXTURE1);
    upload(m_textures[1],
           target.isNull() ? QImage(1, 1, QImage::Format_ARGB32_Premultiplied) : target);
    glBindBuffer(GL_ARRAY_BUFFER, m_buffer);
    m_program->enableAttributeArray(0);
    m_program->setAttributeBuffer(0, GL_FLOAT, 0, 2);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    m_program->disableAttributeArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glActiveTexture(GL_TEXTURE0);
    m_program->release();
}

bool TCrossFadeGl::gpuAvailable()
{
    const QByteArray choice = qgetenv("OZV_PICTURES");
    if (choice == "raster") return false;
    // Platforms that draw no windows of their own cannot show a GL widget either.
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return false;
    QOpenGLContext context;
    if (!context.create()) return false;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!context.makeCurrent(&surface)) return false;
    const auto* renderer =
        reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
    const QByteArray name = renderer ? QByteArray(renderer) : QByteArray();
    context.doneCurrent();
    if (choice == "gpu") return true;
    // A software rasteriser would blend on the CPU, slower than the raster path's own loop.
    for (const char* software : {"llvmpipe", "softpipe", "Software", "swrast", "SWR"})
        if (name.contains(software)) return false;
    return !name.isEmpty();
}

TCrossFadeGlView::TCrossFadeGlView(QWidget* parent) : QOpenGLWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

TCrossFadeGlView::~TCrossFadeGlView()
{
    makeCurrent();
    m_gl.reset();
    doneCurrent();
}

void TCrossFadeGlView::setFrame(const QImage& start, const QImage& target, double p)
{
    m_start = start;
    m_target = target;
    m_p = p;
    update();
}

void TCrossFadeGlView::initializeGL()
{
    m_gl = std::make_unique<TCrossFadeGl>();
}

void TCrossFadeGlView::paintGL()
{
    if (m_gl) m_gl->render(m_start, m_target, m_p);
    ++m_frames;
}

} // namespace ozv
