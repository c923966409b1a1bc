// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The cross-fade drawn by the graphics card: both pictures uploaded once per transition as
// textures, the blend of a frame in a fragment shader, frames paced by the display. The same
// frame rule as the raster path (see CrossFade.h), so both can be checked against one reference.

#include <QImage>
#include <QOpenGLFunctions>
#include <QOpenGLWidget>
#include <memory>

class QOpenGLShaderProgram;

namespace ozv {

/// The GL objects of the blend, in the context current when they are made and used.
class TCrossFadeGl : protected QOpenGLFunctions
{
public:
    TCrossFadeGl();
    ~TCrossFadeGl();
    /// Draws the frame over the current viewport; the pictures are uploaded only when they are
    /// not the ones already held (by QImage::cacheKey).
    void render(const QImage& start, const QImage& target, double p);
    bool valid() const { return m_program != nullptr; }

    /// Whether this machine draws pictures on a graphics card: an OpenGL context can be made
    /// and its renderer is not a software one. OZV_PICTURES=gpu or =raster decides instead.
    static bool gpuAvailable();

private:
    struct Texture
    {
        unsigned id = 0;
        qint64 key = 0;
        QSize size;
    };
    void upload(Texture& texture, const QImage& picture);
    std::unique_ptr<QOpenGLShaderProgram> m_program;
    Texture m_textures[2];
    unsigned m_buffer = 0;
};

/// The picture window's content on the GPU path.
class TCrossFadeGlView : public QOpenGLWidget
{
    Q_OBJECT
public:
    explicit TCrossFadeGlView(QWidget* parent);
    ~TCrossFadeGlView() override;
    void setFrame(const QImage& start, const QImage& target, double p);
    int framesPresented() const { return m_frames; }

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    std::unique_ptr<TCrossFadeGl> m_gl;
    QImage m_start, m_target;
    double m_p = 1;
    int m_frames = 0;
};

} // namespace ozv
