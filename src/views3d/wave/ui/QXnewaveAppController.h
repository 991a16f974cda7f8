#pragma once

#include "platform/appkit/FrameTimer.h"
#include "platform/appkit/ui/NibController.h"
#include "views3d/wave/ui/QXnewaveController.h"

#include <array>
#include <functional>
#include <memory>

class QWidget;

namespace nupo {

class QXnewaveGLView;

// Opacity of the wave-surface window, applied when its nib loads.
inline float WnewaveAlphaValue = 1.0f;

// The wave-surface window ("QXnewave", the cubic tunnel). A 1/30 s tick drives the surface from brain
// activity: it refreshes the brain-switch counts of the chosen source, sorts the peak frequency of the
// chosen switch into one of eight bands and, when the band changes, applies that band's effect code (a
// new surface shape, a texture mode, a rotation, a camera reset or a stop). The actions forward the
// window's controls to the view and the shared surface. The shared instance has no window, view or
// timer; its brain control stays off. Main thread.
class QXnewaveAppController : public NibController {
public:
    static constexpr int bandCount = 8;

    static QXnewaveAppController& sharedQXnewaveAppController();
    // Restarts the about window's logo animation (button 1 does); empty until the program links it.
    static inline std::function<void()> restartLogo;

    QXnewaveAppController();
    ~QXnewaveAppController() override;

    void awakeFromNib() override;
    void windowWillClose(QObject* window) override;
    void windowDidResize(QObject* window) override;
    void timerUpdate();
    void showTheWindow(QWidget* window);
    // Opacity of the window at its next opening.
    void setWindowAlphaValue(float alpha);

    // Shape buttons: tags 0..9 restart the surface with that shape, 10 stops it; tag 1 also restarts the
    // about window's logo.
    void button(QObject* sender);
    void selectSoundBrain(QObject* sender);
    void selectSoundPFC(QObject* sender);
    void setSoundBrainNumber(int n) { setSoundBrainNumberX = n; }
    void setSoundPFCNumber(int n) { setSoundPFCNumberX = n; }
    // FrameEyeBS: .. FrameGammaBS: (band 0..7): the indicator, then the band's effect once.
    void FrameBS(int band, QObject* sender);
    // setFrameEyeBS: .. setFrameGammaBS:: only this band's indicator shows n.
    void setFrameBS(int band, int n);
    void setBSrhythmStateAllOff();
    // EyedeltaLSlider: .. BetaHSlider: (band 0..7).
    void BandSlider(int band, QObject* sender);
    // setEyedeltaLSlider: .. setBetaHSlider:: stores the band's effect code and applies it.
    void setBandSlider(int band, float code);
    // Effect codes 0..19 (truncated); any other value does nothing.
    void CubicTunnelEffect(float code);
    void CubicTunnelControl();
    void setMaxTextuerSlider(int n);
    void setRotateSpeedUpX(QObject* sender);
    void setRotateSpeedDownX(QObject* sender);
    void setRotateSpeedLeftX(QObject* sender);
    void setRotateSpeedRightX(QObject* sender);
    void imagePositionX(QObject* sender);
    void ViewShowBrainSWX(QObject* sender);
    void MoveModeX_(QObject* sender);
    void DrawModeX_(QObject* sender);
    void TextureModeX_(QObject* sender);
    void DrawSurfaceLineX(QObject* sender);
    void DrawLargeGridX(QObject* sender);
    void TextureEnvX_(QObject* sender);
    void ReversedX(QObject* sender);
    void RunTextureX_(QObject* sender);
    void ResetPositionX(QObject* sender);
    void setPColorX(QObject* sender);
    void setFColorX(QObject* sender);
    void setColorMapX(QObject* sender);
    void setDynamicTextureX(QObject* sender);
    void RunbyBrainswX_(QObject* sender);
    void setRunbyBrainswX_(int n);
    void LoadTextuerX(QObject* sender);
    void AutoStopX(QObject* sender);
    void changeBackgroundColor(QObject* sender);

    QXnewaveGLView* glView() const { return _glView.get(); }
    QXnewaveController& drawers() { return drawers_; }

    int BSpeakFrequencyZZ = 0;
    int maxImageNXopen = 1;
    int maxImageNZZ = 0;
    // Effect codes of the bands (EyedeltaLSlider_value .. BetaHSlider_value) and their indicators
    // (FrameEyeBSX .. FrameGammaBSX).
    std::array<float, bandCount> bandCodes{1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f, 8.0f};
    std::array<int, bandCount> bandStates{};
    int setSoundBrainNumberX = 0;
    int setSoundPFCNumberX = 0;
    int RunbyBrainswX = 0;

private:
    void redisplay();
    void showRotationSliders(float up, float down, float left, float right);
    void hostView(QObject* placeholder);

    std::unique_ptr<QXnewaveGLView> _glView;
    QWidget* host_ = nullptr;
    FrameTimer timer;  // skips a beat while the window's view is drawing
    QXnewaveController drawers_;

    QWidget* Window = nullptr;
    QObject* backgroundColorWell = nullptr;
    QObject* displayHereTextureNumber = nullptr;
    QObject* SoundBrain = nullptr;
    QObject* SoundPFC = nullptr;
    QObject *setPColorXX = nullptr, *setFColorXX = nullptr, *setColorMapXX = nullptr,
            *setDynamicTextureXX = nullptr;
    QObject *setRotateSpeedUpXX = nullptr, *setRotateSpeedDownXX = nullptr, *setRotateSpeedLeftXX = nullptr,
            *setRotateSpeedRightXX = nullptr;
    std::array<QObject*, bandCount> bandSliders{};  // setEyedeltaLSlider .. setBetaHSlider
    std::array<QObject*, bandCount> bandButtons{};  // setFrameEyeBS .. setFrameGammaBS
    QObject* setRunbyBrainswX = nullptr;
    QObject* RunTextureX = nullptr;
    QObject* DrawModeX = nullptr;
    QObject* TextureModeX = nullptr;
};

}  // namespace nupo
