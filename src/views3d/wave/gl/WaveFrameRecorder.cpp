#include "views3d/wave/gl/WaveFrameRecorder.h"

#include "views3d/textures/gl/GLBuffer.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <QDateTime>
#include <QFile>
#include <QTextStream>

#include <cstdlib>

namespace nupo {

namespace {

QString numbers(const float* values, int count)
{
    QString text;
    for (int k = 0; k < count; ++k)
        text += (k ? QStringLiteral(" ") : QString()) + QString::number(values[k], 'g', 9);
    return text;
}

}  // namespace

WaveFrameRecorder* WaveFrameRecorder::shared()
{
    static WaveFrameRecorder* recorder = [] {
        const char* path = std::getenv("NUPO_WAVE_SLOW_FRAMES");
        return path && *path ? new WaveFrameRecorder(QString::fromLocal8Bit(path)) : nullptr;
    }();  // lives to process end
    return recorder;
}

WaveFrameRecorder::WaveFrameRecorder(const QString& path, double limitSeconds)
    : path_(path), limit_(limitSeconds), watchdog_([this] { watch(); })
{
}

WaveFrameRecorder::~WaveFrameRecorder()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    watchdog_.join();
}

void WaveFrameRecorder::beginFrame(const QXnewave& wave, const QXnewaveFrame& f)
{
    QString record;
    QTextStream out(&record);
    out << "frame: displayUndn " << f.displayUndn << " sthet " << f.sthet << " Xposi " << f.Xposi << " Yposi "
        << f.Yposi << " sdept " << f.sdept << " displayUnn " << f.displayUnn << " texture " << f.texture
        << " RunTexture " << f.RunTexture << " Env " << f.Env << " EnvMode " << f.EnvMode << " ImageNX "
        << f.ImageNX << " maxImageNX " << f.maxImageNX << " PColor " << f.PColor << " FColor " << f.FColor
        << " Color_Map " << f.Color_Map << " Dynamic_Texture " << f.Dynamic_Texture << "\n";
    out << "sheet: gridd " << gridd << " aspectd " << aspectd << " zNeard " << zNeard << " zFard " << zFard
        << " imagePositionN " << imagePositionN << " displayModed " << wave.displayModed << " envMapdd "
        << wave.envMapdd << " drawFaceNormsd " << wave.drawFaceNormsd << "\n";
    out << "heights (row i, columns j):\n";
    for (int i = 0; i < gridd; ++i)
        out << "  " << numbers(wave.positd[i], gridd) << "\n";
    out << "texture coordinates (s t per vertex):\n";
    for (int i = 0; i < gridd; ++i)
        out << "  " << numbers(&wave.texCoordsd[i][0][0], 2 * gridd) << "\n";
    out.flush();
    std::lock_guard lock(mutex_);
    record_ = record;
    walls_ = 0;
    written_ = false;
    inFrame_ = true;
    start_ = std::chrono::steady_clock::now();
}

void WaveFrameRecorder::wall(const QXnewave& wave)
{
    float modelview[16];
    float projection[16];
    int viewport[4];
    GLint texture = 0;
    GLint width = 0;
    GLint height = 0;
    GLfloat anisotropy = 0.0f;
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    if (maxAnisotropy() > 0.0f)
        glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &anisotropy);
    QString record;
    QTextStream out(&record);
    std::unique_lock lock(mutex_);
    const int index = walls_++;
    lock.unlock();
    out << "wall " << index << ": viewport " << viewport[0] << " " << viewport[1] << " " << viewport[2] << " "
        << viewport[3] << "\n  modelview (columns) " << numbers(modelview, 16) << "\n  projection (columns) "
        << numbers(projection, 16) << "\n  texture " << texture << " " << width << " x " << height
        << " anisotropy " << anisotropy << " generated s " << int(glIsEnabled(GL_TEXTURE_GEN_S)) << " t "
        << int(glIsEnabled(GL_TEXTURE_GEN_T)) << "\n";
    if (index == 0) {
        out << "vertex normals (x y z per vertex):\n";
        for (int i = 0; i < gridd; ++i)
            out << "  " << numbers(&wave.vertNormsd[i][0][0], 3 * gridd) << "\n";
    }
    out.flush();
    lock.lock();
    record_ += record;
}

void WaveFrameRecorder::endFrame()
{
    std::lock_guard lock(mutex_);
    inFrame_ = false;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    if (written_ || seconds > limit_)
        writeLocked(seconds, true);
}

int WaveFrameRecorder::recorded() const
{
    std::lock_guard lock(mutex_);
    return recorded_;
}

void WaveFrameRecorder::watch()
{
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        wake_.wait_for(lock, std::chrono::milliseconds(100));
        if (!inFrame_ || written_)
            continue;
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        if (seconds > limit_)
            writeLocked(seconds, false);
    }
}

void WaveFrameRecorder::writeLocked(double seconds, bool ended)
{
    QFile file(path_);
    if (!file.open(QIODevice::Append | QIODevice::Text))
        return;
    QTextStream out(&file);
    if (ended && written_) {
        out << "frame ended after " << seconds << " s\n\n";
        return;
    }
    out << "slow wave-surface frame at " << QDateTime::currentDateTime().toString(Qt::ISODateWithMs)
        << (ended ? ", ended after " : ", still running after ") << seconds << " s\n"
        << record_ << (ended ? "\n" : "");
    written_ = true;
    ++recorded_;
}

}  // namespace nupo
