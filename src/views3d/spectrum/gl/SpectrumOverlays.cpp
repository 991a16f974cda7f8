#include "views3d/spectrum/gl/SpectrumOverlays.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <QElapsedTimer>

#include <cstdio>

namespace nupo {

namespace {

const RGBAColor white = RGBAColor::fromRGBA(1.0, 1.0, 1.0, 1.0);
const RGBAColor grey = RGBAColor::fromRGBA(0.5, 0.5, 0.5, 0.5);
const RGBAColor lightGrey = RGBAColor::fromRGBA(0.8, 0.8, 0.8, 0.8);

double frameHeight(SpectrumOverlays::Slot& slot)
{
    return slot ? slot->frameSize().height() : 0.0;
}

// Seconds since the first report, and the last report's error text.
QElapsedTimer& startTime()
{
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer;
}
std::unique_ptr<StringTexture> gErrStringTex;
float gErrorTime = 0.0f;

}  // namespace

SpectrumOverlays::SpectrumOverlays()
    : stanStringAttrib(TextAttributes::withFont(QStringLiteral("Helvetica"), 10, false, white))
{
}

void SpectrumOverlays::fill(Slot& slot, const QString& text)
{
    if (slot)
        slot->setString(text, stanStringAttrib);
    else
        slot = std::make_unique<StringTexture>(text, stanStringAttrib, white, grey, lightGrey);
}

void SpectrumOverlays::updateBrainString()
{
    for (int i = 0; i < labelSlotCount; ++i)
        fill(labels[static_cast<std::size_t>(i)], labelText(static_cast<LabelSlot>(i)));
}

void SpectrumOverlays::updateBSString(int source)
{
    const auto lines = brainSwitchCountLines(source, false);
    for (std::size_t k = 0; k < lines.size(); ++k)
        fill(BS[k], lines[k]);
}

void SpectrumOverlays::updateBSCString(int source)
{
    const auto lines = brainSwitchCountLines(source, true);
    for (std::size_t k = 0; k < lines.size(); ++k)
        fill(BS[k], lines[k]);
}

void SpectrumOverlays::updateBSNString(const float* record, int shapeChange)
{
    const auto lines = brainSwitchBoundsLines(record, shapeChange);
    for (std::size_t k = 0; k < lines.size(); ++k)
        fill(BSN[k], lines[k]);
}

void SpectrumOverlays::updatePeak0String(int channel)
{
    fill(peak[0], peakLine(channel));
}

void SpectrumOverlays::updatePeak1String(int channel)
{
    fill(peak[1], peakLine(channel));
}

void SpectrumOverlays::updatePeak3String()
{
    for (int c = 0; c < 3; ++c)
        fill(peak[static_cast<std::size_t>(c)], peakLine(c));
}

void SpectrumOverlays::updatePeak4String()
{
    for (int c = 0; c < 4; ++c)
        fill(peak[static_cast<std::size_t>(c)], peakLine(c));
}

void SpectrumOverlays::updateInfoString(double width, double height)
{
    auto glText = [](GLenum name) {
        const auto* text = reinterpret_cast<const char*>(glGetString(name));
        return QString::fromLatin1(text ? text : "");
    };
    fill(infoStringTex, infoText(width, height, glText(GL_RENDERER), glText(GL_VERSION)));
}

void SpectrumOverlays::updateCameraString(const CameraRecord& camera)
{
    fill(camStringTex, cameraText(camera));
}

void SpectrumOverlays::createHelpString()
{
    helpStringTex = std::make_unique<StringTexture>(helpText(), stanStringAttrib, white,
                                                    RGBAColor::fromRGBA(0.0, 0.5, 0.0, 0.5),
                                                    RGBAColor::fromRGBA(0.3, 0.8, 0.3, 0.8));
}

void SpectrumOverlays::createMessageString()
{
    msgStringTex = std::make_unique<StringTexture>(messageText(), stanStringAttrib, white, grey, lightGrey);
}

void SpectrumOverlays::reset()
{
    for (auto& s : labels)
        s.reset();
    for (auto& s : peak)
        s.reset();
    for (auto& s : BS)
        s.reset();
    for (auto& s : BSN)
        s.reset();
    infoStringTex.reset();
    camStringTex.reset();
    helpStringTex.reset();
    msgStringTex.reset();
}

void SpectrumOverlays::draw(Slot& slot, float x, float y)
{
    if (!slot)
        return;
    slot->drawAtPoint(QPointF(x, y));
    lastPass.push_back(Placement{slot.get(), QPointF(x, y)});
}

void SpectrumOverlays::drawBandColumn(float W, float firstY)
{
    static constexpr LabelSlot bands[] = {LabelSlot::Gamma, LabelSlot::BetaH, LabelSlot::BetaM,
                                          LabelSlot::SMR,   LabelSlot::Alpha, LabelSlot::Theta,
                                          LabelSlot::Delta, LabelSlot::Eye};
    const float step = static_cast<float>(frameHeight(label(LabelSlot::Coherence))) + 1.0f;
    float y = firstY;
    for (LabelSlot band : bands) {
        draw(label(band), W - 133.0f, y);
        y += step;
    }
}

void SpectrumOverlays::drawBrainSwitchTable(float W, float H)
{
    static constexpr std::size_t rows[] = {0, 8, 7, 6, 5, 4, 3, 2, 1, 9};
    const float right = W / 2.0f + 120.0f * W / 859.0f;
    float y = 55.0f * H / 594.0f;
    for (std::size_t k : rows) {
        draw(BS[k], right, y);
        draw(BSN[k], 10.0f, y);
        y += static_cast<float>(frameHeight(BS[k])) + 2.0f;
    }
}

void SpectrumOverlays::drawInfo(const OverlaySelection& view, float W, float H)
{
    lastPass.clear();
    const int one = view.oneBrainwave;
    const int tow = view.towBrainwave;
    const int shape = view.shapeChange;
    if (W <= 0.0f || H <= 0.0f)
        return;

    const GLboolean depth = glIsEnabled(GL_DEPTH_TEST);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_RECTANGLE_ARB);
    GLint matrixMode = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glScalef(2.0f / W, -2.0f / H, 1.0f);
    glTranslatef(-W / 2.0f, -H / 2.0f, 0.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    if (one == 0 && view.setshowBSinfoX != 0)
        drawBrainSwitchTable(W, H);
    if (one == 0 && tow == 0) {
        if (shape != 0 && !(shape >= 6 && shape <= 11))
            draw(peak[1], W - 400.0f, 10.0f);
        draw(label(LabelSlot::AllBand), W / 4.0f - 100.0f, H - 20.0f);
    }
    auto bottomLabels = [&] {
        draw(label(LabelSlot::Left), W / 4.0f - 20.0f, H - 20.0f);
        draw(label(LabelSlot::Right), 3.0f * W / 4.0f - 20.0f, H - 20.0f);
        draw(label(LabelSlot::Coherence), W / 2.0f - 20.0f, H - 20.0f);
    };
    if (one == 1) {
        if (W > 800.0f) {
            draw(peak[0], 10.0f, 10.0f);
            draw(peak[1], W - 400.0f, 10.0f);
            drawBandColumn(W, H / 2.0f + 30.0f);
        }
        bottomLabels();
    }
    if (tow == 1) {
        if (W > 800.0f) {
            draw(peak[2], 10.0f, 10.0f);
            draw(peak[3], W - 400.0f, 10.0f);
            draw(peak[0], 10.0f, 30.0f);
            draw(peak[1], W - 400.0f, 30.0f);
            drawBandColumn(W, H / 2.0f + 100.0f);
        }
        const SceneCamera& c = view.camera;
        if (c.sphi >= 85.0f && c.sphi <= 95.0f && c.stheta >= 40.25f && c.stheta <= 50.25f &&
            c.Xposition >= -5.0f && c.Xposition <= 5.0f && c.Yposition >= -45.0f && c.Yposition <= -35.0f) {
            const float U = W / 10.0f, V = H / 10.0f;
            draw(label(LabelSlot::Left1), 4 * U - 30, 7 * V);
            draw(label(LabelSlot::Right2), 6 * U - 20, 7 * V);
            draw(label(LabelSlot::Coherence12), 5 * U - 60, H - 20);
            draw(label(LabelSlot::Coherence14), 2.5f * U - 70, H - 20);
            draw(label(LabelSlot::Coherence23), 7.5f * U - 50, H - 20);
            draw(label(LabelSlot::Left3), 4 * U - 20, V);
            draw(label(LabelSlot::Right4), 6 * U - 20, V);
            draw(label(LabelSlot::Coherence34), 5 * U - 60, 4.5f * V);
            draw(label(LabelSlot::Coherence13), U - 60, 2.5f * V);
            draw(label(LabelSlot::Coherence24), 9 * U - 60, 2.5f * V);
        }
    }
    if (one == 0 && tow == 0 && shape == 0) {
        if (W > 800.0f) {
            draw(peak[2], 10.0f, 10.0f);
            draw(peak[0], 10.0f, 30.0f);
            draw(peak[1], W - 400.0f, 30.0f);
            drawBandColumn(W, H / 2.0f + 100.0f);
        }
        bottomLabels();
    }

    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(static_cast<GLenum>(matrixMode));
    glDisable(GL_TEXTURE_RECTANGLE_ARB);
    glDisable(GL_BLEND);
    if (depth)
        glEnable(GL_DEPTH_TEST);
    glReportError();
}

void reportError(const char* message)
{
    gErrorTime = static_cast<float>(startTime().elapsed() / 1000.0);
    const QString text = QString::asprintf("Error: %s (at time: %0.1f secs).", message, gErrorTime);
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    const TextAttributes monaco = TextAttributes::withFont(QStringLiteral("Monaco"), 9);
    if (gErrStringTex)
        gErrStringTex->setString(text, monaco);
    else
        gErrStringTex =
            std::make_unique<StringTexture>(text, monaco, white, RGBAColor::fromRGBA(1.0, 0.0, 0.0, 0.3),
                                            RGBAColor::fromRGBA(1.0, 0.0, 0.0, 0.8));
}

unsigned glReportError()
{
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        reportError(reinterpret_cast<const char*>(gluErrorString(error)));
    return error;
}

}  // namespace nupo
