// Loading an image as a sprite texture (decode, square buffer, mipmaps, upload), the same split as the
// views load it (read and decode on the picture worker; upload in the view's own frame), and the normals
// of the 3D spectrum mesh.
#include <benchmark/benchmark.h>

#include "platform/gl/OffscreenGLContext.h"
#include "views3d/scene/gl/QX3DSpectrumMesh.h"
#include "views3d/textures/gl/GLBuffer.h"
#include "views3d/textures/gl/SpritePicture.h"
#include "views3d/textures/gl/ViewSprites.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <GL/gl.h>

#include <cmath>

using namespace nupo;

namespace {

// A 640 x 480 photo-like PNG: smooth gradients with some noise, so the encoder cannot shrink it to nothing.
QString writeImage(const QTemporaryDir& folder, const char* name)
{
    QImage image(640, 480, QImage::Format_RGB32);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            image.setPixel(
                x, y,
                qRgb(x * 255 / 640, y * 255 / 480,
                     static_cast<int>(127 + 120 * std::sin(x * 0.05 + y * 0.03)) ^ ((x * 7 + y * 13) & 7)));
    const QString path = QDir(folder.path()).filePath(name);
    image.save(path);
    return path;
}

void LoadImageTexture(benchmark::State& state)
{
    OffscreenGLContext context(QSize(16, 16));
    if (!context.isValid()) {
        state.SkipWithError("no offscreen GL context");
        return;
    }
    QTemporaryDir folder;
    const char* name = state.range(0) == 0 ? "photo.png" : "photo.jpg";
    const QByteArray path = writeImage(folder, name).toUtf8();
    const int mode = static_cast<int>(state.range(1));
    for (auto _ : state) {
        GLBuffer buffer;
        const bool made =
            buffer.SetImage(path.constData()) && buffer.LoadImage() && buffer.CreateTexture(mode);
        if (!made) {
            state.SkipWithError("image not loaded");
            break;
        }
        glFinish();
    }
}
// Format (0 PNG, 1 JPEG) and texture mode (2 one level, 3 mipmapped, as the sprite tables load).
BENCHMARK(LoadImageTexture)->Args({0, 3})->Args({1, 3})->Args({0, 2})->Unit(benchmark::kMillisecond);

// The picture worker's part of a load: the file read with its checks, decoded into the square buffer and
// its mipmap chain made (format 0 PNG, 1 JPEG). Nothing of it runs on the main or a drawing thread.
void DecodeSpritePicture(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = writeImage(folder, state.range(0) == 0 ? "photo.png" : "photo.jpg");
    for (auto _ : state) {
        QString reason;
        SharedPicture picture = SpritePicture::load(path, &reason);
        if (!picture) {
            state.SkipWithError("picture not loaded");
            break;
        }
        benchmark::DoNotOptimize(picture->levelCount());
    }
}
BENCHMARK(DecodeSpritePicture)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A view's part of a load: the textures of a decoded set of four pictures made in its own context, as its
// next frame does before it draws (the frame time a load adds).
void UploadViewSprites(benchmark::State& state)
{
    OffscreenGLContext context(QSize(16, 16));
    if (!context.isValid()) {
        state.SkipWithError("no offscreen GL context");
        return;
    }
    QTemporaryDir folder;
    std::vector<RefusedPicture> refused;
    const QString path = writeImage(folder, "photo.png");
    const SharedPictureSet set = loadPictureSet({path, path, path, path}, &refused);
    for (auto _ : state) {
        ViewSprites sprites(SpriteScene::Wave);
        while (!sprites.show(set)) {
        }
        glFinish();
        sprites.clear();
    }
}
BENCHMARK(UploadViewSprites)->Unit(benchmark::kMillisecond);

void MeshNormals(benchmark::State& state)
{
    grid = 64;
    QX3DSpectrumMesh& mesh = QX3DSpectrumMesh::sharedQX3DSpectrumMesh();
    auto& heights = mesh.heights(0);
    for (int i = 0; i < 64; ++i)
        for (int j = 0; j < 64; ++j)
            heights[i][j] = static_cast<float>(std::sin(i * 0.2) * std::cos(j * 0.3) * 5.0);
    for (auto _ : state) {
        mesh.getFaceNorms(0);
        mesh.getVertNorms();
        benchmark::DoNotOptimize(mesh.vertNorms[32][32][2]);
    }
}
BENCHMARK(MeshNormals)->Unit(benchmark::kMicrosecond);

}  // namespace
