#pragma once

#include <QObject>

namespace nupo {

// The analysis settings: FFT size, channel gains, log power, averaging and mains frequency. Other
// subsystems call the shared instance (the 2D and 3D views switch the FFT size with setFFTpoint); the
// settings panel in the preferences window calls the same operations and follows settingsChanged.
// Operations run on the main thread.
class SetFFTController : public QObject {
    Q_OBJECT
public:
    // Points by index 0..6.
    static constexpr int pointChoices[7] = {128, 256, 512, 1024, 2048, 4096, 8192};
    // Spectra averaged, by index of the averaging choice.
    static constexpr int averagingChoices[5] = {1, 2, 4, 8, 16};

    static SetFFTController& sharedSetFFTController();

    // Start-up: sets the display gains from the gain indices and makes `fftp` a valid size.
    void setWindowSetup(QObject* sender);

    // Index 0..6 selects 128 .. 8192 points; another index keeps the size. Either way the transform
    // tables are made ready and the 3D history cleared (`initPosition`).
    void setFFTpoint(int index);
    // Index of the current size (0..6).
    static int fftPointIndex();

    // Gain index 0..8 of channel 0..3 (CH 1..CH 4); sets the channel's display gain too. An index outside
    // 0..8 stands for gain 1 (index 5); another channel changes nothing.
    void setGainNumber(int channel, int index);
    static int gainNumber(int channel);

    void setLOGpowerON(int on);
    // Index into averagingChoices; out of range means no averaging.
    void setAveragingIndex(int index);
    static int averagingIndex();
    // 50 or 60 Hz; another value changes nothing.
    void setMainsFrequency(int hz);

signals:
    void settingsChanged();

private:
    SetFFTController() = default;
};

}  // namespace nupo
