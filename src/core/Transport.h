#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>

namespace nupo {

// Rate factor of a replay speed index (`tlongE`): 0.25, 0.5, 1, 1.25, 1.67, 2, 2.5, 5, 10, 20; any other
// index plays at normal speed.
double playSpeedFactor(int index);

// The transport of the recording: record, play, pause, loop, jumps, and the replay step that advances
// `ploop`. It works on the process-wide state only (no widgets), from any thread; the Control Panel
// (`TypeTextHere`) drives it from the main thread and the replay thread calls `advanceReplay`.
//
// The movie notifications are posted with `notificationObject()` as object, and only while `ploopSyncX`
// is non-zero and `OpenQT` is above 0.
class Transport {
public:
    static Transport& sharedTransport();

    // Loads the old data file at path (core/QXSerialPort.h) and plays it from its start. False, with the
    // transport unchanged, when the path does not fit the path buffer or the file cannot be loaded.
    bool openRecordingAndPlay(const QString& path);
    // The same for a path as the file system holds it, which need not be valid text. On refusal, why
    // (said for the user) goes to `why` when given.
    bool openRecordingAndPlay(const QByteArray& nativePath, QString* why = nullptr);

    // Play mode from the current position (from the start when at the end).
    void SetselectsetPlay();
    // Record mode; samples arrive only from a live device.
    void setRecord();
    // Pauses, or resumes when paused. Returns true when this call paused.
    bool setPause();
    // Back to the start of the recording.
    void setGotoBeginning();
    // Loop mode on (non-zero) or off.
    void setLoopMode(int on);
    // Jump to a sample position (the time slider), clamped to 0..`maxploop`.
    void setTimePosition(int samplepoint);

    // At the end of the recording: wraps to `ploopStart` and tells the movie to play in loop mode; otherwise
    // stops at `maxploop`, pauses and tells the movie to pause.
    void gotoStartWhenLoopmodeAndEnd();
    // Advances the play position by the samples that `seconds` of real time hold at `SampleSpeed` times
    // the replay speed, while in play mode and not paused; handles the end. Returns the samples advanced.
    int advanceReplay(double seconds);
    // True once after the replay paused at the end (the panel then silences MIDI and refreshes).
    bool takeEndPause() { return endPause.exchange(false); }

    // Movie notifications.
    void setPlayMovie();
    void setPauseMovie();
    void setToCurrentTimeMovie();
    void PauseAnyway();

    const void* notificationObject() const { return object.load(); }
    void setNotificationObject(const void* o) { object.store(o ? o : this); }

private:
    Transport() = default;
    void postMovie(const QString& name);
    void moveTo(int samplepoint);

    std::atomic<const void*> object{this};
    std::atomic<bool> endPause{false};
    double carry = 0;  // fraction of a sample not yet advanced; replay thread only
};

}  // namespace nupo
