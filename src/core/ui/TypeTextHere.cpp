#include "core/ui/TypeTextHere.h"

#include "core/Transport.h"
#include "midi/band/SetMIDIband.h"
#include "midi/peak/SetMIDI.h"
#include "platform/appkit/MainThread.h"
#include "plots/frame/gl/PlotWindowState.h"
#include "plots/waterfall/QX2DSpectrum.h"
#include "shared/CoreState.h"

#include <QAbstractButton>
#include <QLabel>
#include <QSlider>
#include <QTimer>

namespace nupo {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;
constexpr int tickMilliseconds = 300;

QString speedText(int index)
{
    static const char* names[] = {"X 0.25", "X 0.5", "X 1", "X 1.25", "X 1.67",
                                  "X 2",    "X 2.5", "X 5", "X 10",   "X 20"};
    return QString::fromLatin1(index >= 0 && index < 10 ? names[index] : "X 1");
}

QString modeText()
{
    if (setPauseX.load(relaxed) != 0)
        return QStringLiteral("Paused");
    if (setRecX.load(relaxed) != 0)
        return openPort.load(relaxed) != 0 ? QStringLiteral("Recording")
                                           : QStringLiteral("Record mode: no headset connected");
    return QStringLiteral("Playing");
}

void setChecked(QAbstractButton* button, bool on)
{
    if (button && button->isChecked() != on)
        button->setChecked(on);
}

}  // namespace

TypeTextHere::TypeTextHere()
{
    outlet("playButton", playButton);
    outlet("recordButton", recordButton);
    outlet("pauseButton", pauseButton);
    outlet("gotoBeginningButton", gotoBeginningButton);
    outlet("loopModeButton", loopModeButton);
    outlet("timeSlider", timeSlider);
    outlet("timeField", timeField);
    outlet("lengthField", lengthField);
    outlet("modeField", modeField);
    outlet("speedField", speedField);

    action("setPlay", &TypeTextHere::setPlay);
    action("setRec", &TypeTextHere::setRec);
    action("setPause", &TypeTextHere::setPause);
    action("setGotoBeginning", &TypeTextHere::setGotoBeginning);
    action("setLoopMode", &TypeTextHere::setLoopMode);
    action("setTimeSlider", &TypeTextHere::setTimeSlider);
}

TypeTextHere::~TypeTextHere() = default;

TypeTextHere& TypeTextHere::sharedTypeTextHere()
{
    static TypeTextHere* instance = [] {
        auto* shared = new TypeTextHere;  // lives to process end
        Transport::sharedTransport().setNotificationObject(shared);
        return shared;
    }();
    return *instance;
}

QString TypeTextHere::timeText(int samplepoint)
{
    return timeStampText(samplepoint, SampleSpeed.load(relaxed));
}

void TypeTextHere::awakeFromNib()
{
    sharedTypeTextHere();  // the movie notifications name the shared panel as their object
    if (timeSlider)
        timeSlider->setTracking(true);

    QPointer<TypeTextHere> self(this);
    auto onMain = [self](void (TypeTextHere::*step)()) {
        performOnMainThread([self, step] {
            if (self)
                (self.data()->*step)();
        });
    };
    observers.emplace_back(setTimeSliderNowNotification, nullptr, [self](const Notification&) {
        performOnMainThread([self] {
            if (self)
                self->moveTimeSlider(ploopZZZ.load(relaxed));
        });
    });
    observers.emplace_back(setMovieSpeedNotification, nullptr,
                           [onMain](const Notification&) { onMain(&TypeTextHere::refreshControls); });
    observers.emplace_back(gotoStartAndPlayNotification, nullptr, [self](const Notification&) {
        performOnMainThread([self] {
            if (!self)
                return;
            self->setGotoBeginning(nullptr);
            self->SetselectsetPlay();
        });
    });

    timer = new QTimer(this);
    QObject::connect(timer, &QTimer::timeout, this, [this] { timerUpdate(timer); });
    timer->start(tickMilliseconds);
    refreshControls();
}

void TypeTextHere::setPlay(QObject*)
{
    SetselectsetPlay();
    refreshControls();
}

void TypeTextHere::SetselectsetPlay()
{
    Transport::sharedTransport().SetselectsetPlay();
}

void TypeTextHere::setRec(QObject*)
{
    Transport::sharedTransport().setRecord();
    refreshControls();
}

void TypeTextHere::setPause(QObject*)
{
    if (Transport::sharedTransport().setPause())
        transportPaused();
    refreshControls();
}

void TypeTextHere::setGotoBeginning(QObject*)
{
    Transport::sharedTransport().setGotoBeginning();
    QX2DSpectrum::sharedQX2DSpectrum().initPositionZ();
    refreshControls();
}

void TypeTextHere::setLoopMode(QObject* sender)
{
    auto* box = qobject_cast<QAbstractButton*>(sender);
    const int on = box && box->isCheckable() ? box->isChecked() : setLoopModeX.load(relaxed) == 0;
    Transport::sharedTransport().setLoopMode(on);
    refreshControls();
}

void TypeTextHere::setTimeSlider(QObject* sender)
{
    auto* slider = qobject_cast<QAbstractSlider*>(sender);
    if (!slider)
        return;
    Transport::sharedTransport().setTimePosition(slider->value());
    refreshControls();
}

void TypeTextHere::timerUpdate(QObject*)
{
    if (Transport::sharedTransport().takeEndPause())
        transportPaused();
    refreshControls();
}

void TypeTextHere::transportPaused()
{
    SetMIDI::sharedSetMIDI().sendMidiShutDown();
    SetMIDIband::sharedSetMIDIband().sendMidiShutDown();
}

void TypeTextHere::setPlayMovie()
{
    Transport::sharedTransport().setPlayMovie();
}
void TypeTextHere::setPauseMovie()
{
    Transport::sharedTransport().setPauseMovie();
}
void TypeTextHere::setToCurrentTimeMovie()
{
    Transport::sharedTransport().setToCurrentTimeMovie();
}
void TypeTextHere::PauseAnyway()
{
    Transport::sharedTransport().PauseAnyway();
}
void TypeTextHere::gotoStartWhenLoopmodeAndEnd()
{
    Transport::sharedTransport().gotoStartWhenLoopmodeAndEnd();
}

void TypeTextHere::moveTimeSlider(int samplepoint)
{
    if (!timeSlider)
        return;
    timeSlider->setMaximum(std::max(0, maxploop.load(relaxed)));
    timeSlider->setValue(samplepoint);
}

void TypeTextHere::refreshControls()
{
    const int position = ploop.load(relaxed);
    const int length = std::max(0, maxploop.load(relaxed));
    if (timeSlider) {
        timeSlider->setMaximum(length);
        timeSlider->setPageStep(std::max(1, SampleSpeed.load(relaxed) * 10));
        if (!timeSlider->isSliderDown())
            timeSlider->setValue(position);
    }
    if (timeField)
        timeField->setText(timeText(position));
    if (lengthField)
        lengthField->setText(QStringLiteral("of ") + timeText(length));
    if (modeField)
        modeField->setText(modeText());
    if (speedField)
        speedField->setText(speedText(tlongE.load(relaxed)));
    const bool paused = setPauseX.load(relaxed) != 0;
    const bool recording = setRecX.load(relaxed) != 0;
    setChecked(playButton, !paused && !recording);
    setChecked(recordButton, !paused && recording);
    setChecked(pauseButton, paused);
    setChecked(loopModeButton, setLoopModeX.load(relaxed) != 0);
}

}  // namespace nupo
