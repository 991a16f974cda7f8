#include "midi/peak/SetMIDI.h"

#include "midi/common/MidiMapperWorker.h"
#include "midi/common/MidiSetupOutputs.h"
#include "midi/common/SenderValue.h"
#include "midi/output/MidiOutput.h"
#include "midi/output/QXMidiPort.h"
#include "midi/peak/PeakMidiMap.h"
#include "midi/peak/PeakMidiWorker.h"
#include "shared/CoreState.h"

#include <algorithm>
#include <mutex>
#include <set>

namespace nupo {

namespace {

using O = SetMIDIOutlet;

struct MapperRuntime {
    std::mutex mutex;
    std::set<SetMIDI*> instances;
    std::function<void(int)> showPanel;
    MidiMapperWorker worker{QStringLiteral("MIDI peak worker")};
};

// The peak setups' destinations; a setup's notes end on its one channel, also on the synthesiser.
const MidiSetupOutputs& peakOutputs()
{
    static const MidiSetupOutputs outputs(
        {MIDIportX, MIDIportXstr, MIDIportXstrZ, MIDIoutONX, MIDIoutONXTemp},
        MidiSetupOutputs::ShownPort::storedWhenListed,
        [](int s, int port) { allNotesOffOnChannel(s, MIDIchannelX[s], port, 1); });
    return outputs;
}

MapperRuntime& runtime()
{
    static MapperRuntime* state = new MapperRuntime;  // lives to process end
    return *state;
}

}  // namespace

// --- Instances and the worker ----------------------------------------------------------------------------

SetMIDI::SetMIDI()
{
    std::lock_guard lock(runtime().mutex);
    runtime().instances.insert(this);
}

SetMIDI::~SetMIDI()
{
    std::lock_guard lock(runtime().mutex);
    runtime().instances.erase(this);
}

SetMIDI& SetMIDI::sharedSetMIDI()
{
    static SetMIDI* instance = [] {
        auto* created = new SetMIDI;  // lives to process end
        // What the output layer asks of this mapper: its ports cleared at every MIDI start, which of its
        // setups also play on the synthesiser, and the current setup held off around an instrument pick.
        addMidiStartReset([] { peakOutputs().clearStartPorts(); });
        setMidiSynthSetups([](int s) { return validSetup(s) && UseQTMIDIX[s] == 1; });
        QXMidiPort::sharedQXMidiPort().setOutputHold([created](int on) { created->setMIDIoutTempON(on); });
        created->init();
        return created;
    }();
    return *instance;
}

void SetMIDI::setShowPanelHandler(std::function<void(int)> handler)
{
    std::lock_guard lock(runtime().mutex);
    runtime().showPanel = std::move(handler);
}

void SetMIDI::stopWorker()
{
    runtime().worker.stop();
}

void SetMIDI::wakeWorker()
{
    runtime().worker.wake();
}

void SetMIDI::init()
{
    if (firstTimeRunMIDIpeak.exchange(0) == 1)
        runtime().worker.start(
            0.01, [] { sharedSetMIDI().timerUpdate(); }, 0.1, [] { sharedSetMIDI().timerUpdateX(); },
            peakSetupsIdle);
    if (!inputDataObserver.isActive())
        inputDataObserver = ScopedObserver(needUpdateInputDataNotification, nullptr,
                                           [this](const Notification&) { needUpdateInputDataQ(); });
    if (!setupObserver.isActive())
        setupObserver = ScopedObserver(needUpdateSetupNotification, nullptr,
                                       [this](const Notification&) { needUpdateSetupQ(); });
}

void SetMIDI::needUpdateSetupQ()
{
    setSetupN(SetupNX);
}

void SetMIDI::writePreset(int s, int dataChannel, float lowF, float highF, int program)
{
    UsePeakModeX[s] = 1;
    tlongX[s] = 0.0;
    SendMIDItimingX[s] = 0;
    ONInputX[s] = 1;
    MIDIoutONX[s] = 1;
    wakeWorker();
    UseQTMIDIX[s] = 1;
    PlayOnlyNoteChangedX[s] = 1;
    InputFrequencyRangeX[s] = 10;
    LowVX[s] = 0.0f;
    HighVX[s] = 3.0f;
    NUPOchannelX[s] = dataChannel;
    MIDIchannelX[s] = dataChannel;
    LowFX[s] = lowF;
    HighFX[s] = highF;
    ProgramChangeXXX[s] = program;
}

void SetMIDI::easyplaySetup(int preset)
{
    if (firstTimeeasyplaySetup.exchange(0) == 1) {
        std::function<void(int)> showPanel;
        {
            std::lock_guard lock(runtime().mutex);
            showPanel = runtime().showPanel;
        }
        if (showPanel)
            showPanel(7);
    }
    if (preset == 0) {
        MIDIoutONX[0] = 0;
        MIDIoutONX[1] = 0;
        SetupNX = 0;
        setSetupN(0);
        // Open panels show setup 1 as it now is (its output off), not the setup shown before.
        NotificationCenter::defaultCenter().postNotificationName(needUpdateSetupNotification, this);
        return;
    }
    if (preset < 1 || preset > 6)
        return;
    const bool beta = preset <= 2;
    const float lowF = beta ? 13.0f : 2.0f;
    const float highF = beta ? 30.0f : preset <= 4 ? 12.0f : 40.0f;
    const bool instruments = preset % 2 == 0;
    SetupNX = 0;
    setSetupN(0);
    writePreset(0, 0, lowF, highF, instruments ? 40 : 0);
    setMIDIsetupWindow(0);
    setSetupN(SetupNX);
    SetupNX = 1;
    setSetupN(1);
    writePreset(1, 1, lowF, highF, instruments ? 98 : 1);
    setMIDIsetupWindow(1);
    NotificationCenter::defaultCenter().postNotificationName(needUpdateSetupNotification, this);
}

void SetMIDI::SimpleSetup(QObject*)
{
    setSimpleSetup_(1);
}

void SetMIDI::setSimpleSetup_(int)
{
    setSetupN(SetupNX);
    const int s = shownPeakSetup();
    UsePeakModeX[s] = 1;
    tlongX[s] = 0.0;
    LowFX[s] = 2.0f;
    HighFX[s] = 30.0f;
    LowVX[s] = 0.0f;
    HighVX[s] = 3.0f;
    InputFrequencyRangeX[s] = 10;
    ONInputX[s] = 1;
    SendMIDItimingX[s] = 0;
    UseQTMIDIX[s] = 1;
    MIDIoutONX[s] = 1;
    wakeWorker();
    PlayOnlyNoteChangedX[s] = 1;
    setMIDIsetupWindow(s);
    NotificationCenter::defaultCenter().postNotificationName(needUpdateSetupNotification, this);
}

int SetMIDI::midiPortReturn(int setup) const
{
    return peakOutputs().midiPortReturn(setup);
}

void SetMIDI::setCoreMIDI()
{
    mainMidi();
}

void SetMIDI::setGetOutMIDIPort()
{
    setItems(O::popupMIDIport, MidiSetupOutputs::listPortNames());
}

void SetMIDI::convertPortNameToInt()
{
    setGetOutMIDIPort();
    peakOutputs().convertPortNameToInt();
}

void SetMIDI::initPortStr()
{
    peakOutputs().initPortStr();
}

void SetMIDI::selectMIDIport(QObject* sender)
{
    const int s = shownPeakSetup();
    const int index = senderSelectedIndex(sender);
    MIDIportXstr[s] = storedSetupName(senderSelectedTitle(sender));
    MIDIportX[s] = index;
    chooseMidiDestination(index);
    setMIDIport(index);
}

void SetMIDI::setMIDIport(int index)
{
    setMIDIoff_(1);
    selectItem(O::popupMIDIport, index);
    showText(O::displayHereMIDIoutPort, MIDIportXstr[shownPeakSetup()]);
    setOutMIDIPort(midiPortReturn(shownPeakSetup()));
    setNeedsDisplay();
}

void SetMIDI::setOutMIDIPort(int) {}

void SetMIDI::sendMidiShutDownALL()
{
    if (runMIDI == 1)
        peakOutputs().shutDownEnabled();
}

void SetMIDI::sendMidiShutDown()
{
    if (runMIDI == 1)
        peakOutputs().shutDown(shownPeakSetup());
}

void SetMIDI::sendMidiTemporalyOFF()
{
    if (setToOff != 0)
        return;
    peakOutputs().switchOffTemporarily(shownPeakSetup());
    setToOff = 1;
}

void SetMIDI::sendMidiBackON()
{
    setToOff = 0;
    peakOutputs().switchBackOn();
}

void SetMIDI::sendsetMIDIRestart()
{
    setMIDIoff_(1);
    setMIDIRestart();
    disposeMidi();
    setCoreMIDI();
    setGetOutMIDIPort();
    convertPortNameToInt();
    setMIDIport(midiPortReturn(shownPeakSetup()));
}

void SetMIDI::showChannelOnly()
{
    const int channel = MIDIchannelX[shownPeakSetup()];
    selectItem(O::popupMIDIchannel, channel);
    showText(O::displayHereMIDIchannel, QString::number(channel + 1));
    showState(O::setSetMIDIchannel, channel);
}

void SetMIDI::showChannelEverywhere()
{
    std::set<SetMIDI*> instances;
    {
        std::lock_guard lock(runtime().mutex);
        instances = runtime().instances;
    }
    for (SetMIDI* instance : instances)
        instance->showChannelOnly();
}

}  // namespace nupo
