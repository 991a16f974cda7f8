#include "midi/peak/SetMIDI.h"

#include "midi/common/MidiMapperWorker.h"
#include "midi/common/MidiSetupOutputs.h"
#include "midi/common/SenderValue.h"
#include "midi/output/MidiOutput.h"
#include "midi/output/MidiSynth.h"
#include "midi/output/QXMidiPort.h"
#include "midi/peak/PeakMeasurement.h"
#include "midi/peak/PeakMidiMap.h"
#include "platform/appkit/MainThread.h"
#include "platform/synth/GeneralMidi.h"
#include "shared/CoreState.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <set>

namespace nupo {

namespace {

using O = SetMIDIOutlet;

// The longest instrument name the panel shows.
constexpr int instrumentTextLength = 119;

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

QString formatted(double value)
{
    return QString::number(value, 'f', 3);
}

}  // namespace

// --- Names and lists ---------------------------------------------------------------------------------------

QString setMIDIOutletName(SetMIDIOutlet outlet)
{
#define NUPO_SETMIDI_NAME_CONTROL(name) QStringLiteral(#name),
#define NUPO_SETMIDI_NAME_PAIR(name) QStringLiteral(#name "Field"), QStringLiteral("displayHere" #name),
    static const QStringList names = {NUPO_SETMIDI_CONTROLS(NUPO_SETMIDI_NAME_CONTROL)
                                          NUPO_SETMIDI_FIELD_PAIRS(NUPO_SETMIDI_NAME_PAIR)};
#undef NUPO_SETMIDI_NAME_CONTROL
#undef NUPO_SETMIDI_NAME_PAIR
    const int index = int(outlet);
    return index >= 0 && index < names.size() ? names.at(index) : QString();
}

QString dataChannelText(int channel)
{
    static const QStringList texts = {"CH 1",
                                      "CH 2",
                                      "CH 3",
                                      "CH 4",
                                      "Coherence CH 1 & CH 2",
                                      "Coherence CH 3 & CH 4",
                                      "Coherence CH 1 & CH 3",
                                      "Coherence CH 2 & CH 4",
                                      "Coherence CH 1 & CH 4",
                                      "Coherence CH 2 & CH 3"};
    return channel >= 0 && channel < texts.size() ? texts.at(channel) : texts.at(0);
}

QStringList dataChannelItems(int deviceConfig)
{
    switch (deviceConfig) {
        case 0:
            return {"CH 1", "-", "CH 1 Play only", "-", "-", "-", "-", "-"};
        case 1:
            return {"CH 1 (L)",
                    "CH 2 (R)",
                    "CH 1 (L) Play only",
                    "CH 2 (R) Play only",
                    "Coherence",
                    "Coherence Play only",
                    "---",
                    "---"};
        case 2:
            return {"CH 1", "CH 2", "CH 3", "-", "Coherence CH 1 & CH 2", "--", "Coherence CH 1 & CH 3",
                    "---"};
        default: {
            QStringList items;
            for (int c = 0; c < 10; ++c)
                items.append(dataChannelText(c));
            return items;
        }
    }
}

QStringList timingItems()
{
    return {"realtime (0.01 second)",   "480 (every 0.125 second)",
            "240 (every 0.25 second)",  "120 (every 0.5 second)",
            "110 (every 0.545 second)", "100 (every 0.6 second)",
            "90 (every 0.667 second)",  "80 (every 0.75 second)",
            "70 (every 0.857 second)",  "60 (every 1 second)",
            "30 (every 2 second)",      "20 (every 3 second)",
            "15 (every 4 second)",      "others..."};
}

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

void SetMIDI::init()
{
    if (firstTimeRunMIDIpeak.exchange(0) == 1)
        runtime().worker.start(
            0.01, [] { sharedSetMIDI().timerUpdate(); }, 0.1, [] { sharedSetMIDI().timerUpdateX(); });
    if (!inputDataObserver.isActive())
        inputDataObserver = ScopedObserver(needUpdateInputDataNotification, nullptr,
                                           [this](const Notification&) { needUpdateInputDataQ(); });
    if (!setupObserver.isActive())
        setupObserver = ScopedObserver(needUpdateSetupNotification, nullptr,
                                       [this](const Notification&) { needUpdateSetupQ(); });
}

void SetMIDI::timerUpdate()
{
    runMapperTick(
        needOffNote, [this] { doMIDI(); }, [this] { sendMidiShutDownALL(); });
}

void SetMIDI::timerUpdateX()
{
    if (mapperDisplayDue(setBrainpeakMIDIOpend))
        NotificationCenter::defaultCenter().postNotificationName(needUpdateInputDataNotification, this);
}

void SetMIDI::doMIDI()
{
    const int shown = SetupNX;
    for (int s = 0; s < maxSetupNumber; ++s)
        MIDIoutONXZ[s] = MIDIoutONX[s].load();
    const bool solo = setSoloX != 0;
    const int first = solo ? std::clamp(shown, 0, maxSetupNumber - 1) : 0;
    const int last = solo ? first : maxSetupNumber - 1;
    for (int s = first; s <= last; ++s) {
        const int peaks = Play3PeaksX[s] != 0 ? 3 : 1;
        if (mtimeatMIDIs() - tsaveX[s] < tlongX[s])
            continue;
        for (int p = 0; p < peaks; ++p) {
            if (ONInputX[s] != 0) {
                const PeakInput input = measurePeakInput(s, p);
                const float f = input.measured ? input.f : InputFX[s].load();
                const float v = input.measured ? input.v : InputVX[s].load();
                mapInput(s, Measure::F, f);
                if (s == shown)
                    sendMIDIData(s, 0);
                mapInput(s, Measure::V, v);
                if (s == shown)
                    sendMIDIData(s, 0);
            }
            if (MIDIoutONX[s] != 1)
                continue;
            if (LowFX[s] <= InputFX[s] && InputFX[s] <= HighFX[s]) {
                sendMIDIData(s, PlayOnlyNoteChangedX[s] != 0 ? p : p + 10);
                PlayNote = 1;
            } else if (PlayNote != 0) {
                sendMidiOutOff(truncatedValue(OutputFX[s]), s, MIDIchannelX[s], midiPortReturn(s), 1);
                PlayNote = 0;
            }
        }
        tsaveX[s] = mtimeatMIDIs();
    }
    for (int s = 0; s < maxSetupNumber; ++s)
        MIDIoutONXZ[s] = MIDIoutONX[s].load();
}

void SetMIDI::sendSetupChannel(int s, int channel)
{
    MIDIchannelX[s] = std::clamp(channel, 0, 15);
    if (!MidiMapperWorker::onWorkerThread()) {
        setMIDIchannel(0);
        return;
    }
    // On the worker: the setup's program on its new channel, and the panels show the channel later.
    sendMidiCprogram(ProgramChangeXXX[s], s, MIDIchannelX[s], midiPortReturn(s), 1);
    performOnMainThread([] {
        std::set<SetMIDI*> instances;
        {
            std::lock_guard lock(runtime().mutex);
            instances = runtime().instances;
        }
        for (SetMIDI* instance : instances)
            instance->showChannelOnly();
    });
}

void SetMIDI::sendMIDIData(int s, int slot)
{
    if (!validSetup(s) || MIDIoutONX[s] != 1)
        return;
    const int fo = truncatedValue(OutputFX[s]);
    const int vo = truncatedValue(OutputVX[s]);
    const int port = midiPortReturn(s);
    auto note = [&](int number, int velocity) {
        if (NoteOnOffX[s] != 0)
            sendMidiOutOnOff(number, velocity, s, MIDIchannelX[s], port, slot, 1);
        else if (NoteOffOnX[s] != 0)
            sendMidiOutOffOn(number, velocity, s, MIDIchannelX[s], port, slot, 1);
    };
    if (MIDInoteFX[s] != 0)
        note(fo, vo);
    else if (MIDIvelocityFX[s] != 0)
        note(vo, fo);
    if (MIDIchannelFX[s] != 0)
        sendSetupChannel(s, fo);
    if (MIDIprogramchangeFX[s] != 0)
        sendMidiCprogram(fo, s, MIDIchannelX[s], port, 1);
    if (MIDIpitchbendFX[s] != 0)
        sendMidiCpitch(fo, s, MIDIchannelX[s], port, 1);
    if (MIDIcontrolchangeVFX[s] != 0)
        sendMidiControlChange(fo, vo, s, MIDIchannelX[s], port, 1);
    else if (MIDIcontrolchangeNFX[s] != 0)
        sendMidiControlChange(vo, fo, s, MIDIchannelX[s], port, 1);
    if (MIDInoteVX[s] != 0)
        note(vo, fo);
    else if (MIDIvelocityVX[s] != 0)
        note(fo, vo);
    if (MIDIchannelVX[s] != 0)
        sendSetupChannel(s, vo);
    if (MIDIprogramchangeVX[s] != 0)
        sendMidiCprogram(vo, s, MIDIchannelX[s], port, 1);
    if (MIDIpitchbendVX[s] != 0)
        sendMidiCpitch(vo, s, MIDIchannelX[s], port, 1);
    if (MIDIcontrolchangeVVX[s] != 0)
        sendMidiControlChange(vo, fo, s, MIDIchannelX[s], port, 1);
    else if (MIDIcontrolchangeNVX[s] != 0)
        sendMidiControlChange(fo, vo, s, MIDIchannelX[s], port, 1);
}

float SetMIDI::FFTbandV(int channel, float lowF, float highF, int mode)
{
    return bandPeakValue(channel, lowF, highF, mode);
}

float SetMIDI::FFTbandF(int, float, float, int)
{
    return bandPeakFrequency();
}

// --- Maps and the input sliders ---------------------------------------------------------------------------

void SetMIDI::mapInput(int s, Measure m, float value)
{
    if (!validSetup(s))
        return;
    const bool isF = m == Measure::F;
    SetupArray<float>& input = isF ? InputFX : InputVX;
    if (std::isfinite(value))
        input[s] = value;
    const float mapped = isF ? mapIntoOutputRange(input[s], LowFX[s], HighFX[s], LowFNX[s], HighFNX[s])
                             : mapIntoOutputRange(input[s], LowVX[s], HighVX[s], LowVNX[s], HighVNX[s]);
    (isF ? OutputFX : OutputVX)[s] = mapped;
}

void SetMIDI::setInputFCalc(float f)
{
    mapInput(shownPeakSetup(), Measure::F, f);
}

void SetMIDI::setInputVCalc(float v)
{
    mapInput(shownPeakSetup(), Measure::V, v);
}

void SetMIDI::showNumber(SetMIDIOutlet outlet, double value)
{
    showText(outlet, formatted(value));
}

void SetMIDI::showInput(Measure m, float input, float output)
{
    const bool isF = m == Measure::F;
    showState(isF ? O::setInputFSlider : O::setInputVSlider, input);
    showNumber(isF ? O::displayHereInputFSlider : O::displayHereInputVSlider, input);
    setFieldFormat(isF ? O::InputFSliderField : O::InputVSliderField, 3, 3);
    showState(isF ? O::setOutputFSlider : O::setOutputVSlider, output);
    showNumber(isF ? O::displayHereOutputFSlider : O::displayHereOutputVSlider, output);
    setFieldFormat(isF ? O::OutputFSliderField : O::OutputVSliderField, 3, 3);
}

void SetMIDI::inputSlider(Measure m, float value)
{
    const int s = shownPeakSetup();
    mapInput(s, m, value);
    const bool isF = m == Measure::F;
    showInput(m, (isF ? InputFX : InputVX)[s], (isF ? OutputFX : OutputVX)[s]);
    sendMIDIData(s, 0);
    setNeedsDisplay();
}

void SetMIDI::setInputFSlider_(float f)
{
    inputSlider(Measure::F, f);
}

void SetMIDI::setInputVSlider_(float v)
{
    inputSlider(Measure::V, v);
}

void SetMIDI::setInputFSliderX(float f)
{
    const int s = shownPeakSetup();
    showInput(Measure::F, f, mapIntoOutputRange(f, LowFX[s], HighFX[s], LowFNX[s], HighFNX[s]));
}

void SetMIDI::setInputVSliderX(float v)
{
    const int s = shownPeakSetup();
    showInput(Measure::V, v, mapIntoOutputRange(v, LowVX[s], HighVX[s], LowVNX[s], HighVNX[s]));
}

void SetMIDI::changeInputFSlider(QObject* sender)
{
    setInputFSlider_(senderFloatValue(sender));
}

void SetMIDI::changeInputVSlider(QObject* sender)
{
    setInputVSlider_(senderFloatValue(sender));
}

void SetMIDI::needUpdateInputDataQ()
{
    const int s = shownPeakSetup();
    if (ONInputX[s] != 0) {
        setInputFSliderX(InputFX[s]);
        setInputVSliderX(InputVX[s]);
    }
    setNeedsDisplay();
}

void SetMIDI::needUpdateSetupQ()
{
    setSetupN(SetupNX);
}

double SetMIDI::SetMIDItiming(int index)
{
    return timingInterval(index, TempoX[shownPeakSetup()]);
}

void SetMIDI::initTempo()
{
    for (int s = 0; s < maxSetupNumber; ++s)
        tlongX[s] = SendMIDItimingX[s] == 0 ? 0.0 : timingInterval(13, TempoX[s]);
}

// --- One-click presets ------------------------------------------------------------------------------------

void SetMIDI::writePreset(int s, int dataChannel, float lowF, float highF, int program)
{
    UsePeakModeX[s] = 1;
    tlongX[s] = 0.0;
    SendMIDItimingX[s] = 0;
    ONInputX[s] = 1;
    MIDIoutONX[s] = 1;
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
    PlayOnlyNoteChangedX[s] = 1;
    setMIDIsetupWindow(s);
    NotificationCenter::defaultCenter().postNotificationName(needUpdateSetupNotification, this);
}

// --- Send wrappers and ports ------------------------------------------------------------------------------

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

// --- Setup table ------------------------------------------------------------------------------------------

void SetMIDI::setSetToDefault_(int how)
{
    SetupNX = 0;
    if (setBrainpeakMIDISetName == 0 && how == 1 && setBrainpeakMIDIOpend == 0) {
        setGetSetup();
        setBrainpeakMIDIOpend = 1;
    }
    if (setBrainpeakMIDIOpend == 0)
        writePeakSetupDefaults();
    setMIDIsetupWindow(0);
}

void SetMIDI::SetToDefault(QObject* sender)
{
    setSetToDefault_(senderIntValue(sender));
}

void SetMIDI::setBrainpeakMIDIOpend_(int value)
{
    setBrainpeakMIDIOpend = value;
    itsOpend = value;
}

void SetMIDI::setBrainpeakMIDISetName_(int value)
{
    setBrainpeakMIDISetName = value;
}

void SetMIDI::setGetSetup()
{
    for (int k = 0; k < maxSetupNumber; ++k)
        strX[k] = QString::number(k + 1);
    setSetupPopup();
}

void SetMIDI::setSetupPopup()
{
    setItems(O::popupSetupN, QStringList(strX.begin(), strX.end()));
    selectItem(O::popupSetupN, shownPeakSetup());
    setNeedsDisplay();
}

void SetMIDI::setSetupPopupX()
{
    SetupPopupX = 0;
}

void SetMIDI::setOnMarkToPopupStr(int on)
{
    const QString mark = QStringLiteral("ON:");
    const QString name = strX[shownPeakSetup()];
    const bool marked = name.size() > 3 && name.startsWith(mark);
    QString renamed = name;
    if (on != 0 && !marked)
        renamed = mark + name;
    else if (on == 0 && marked)
        renamed = name.mid(3);
    strX[shownPeakSetup()] = renamed.left(maxSetupNameLength + 3);
    setSetupPopup();
}

void SetMIDI::setSetupN(int n)
{
    n = std::clamp(n, 0, maxSetupNumber - 1);
    SetupNX = n;
    setMIDIoff_(1);
    selectItem(O::popupSetupN, n);
    setMIDIsetupWindow(n);
    const QString shown = QString::number(n + 1);
    showText(O::displayHereSetupN, shown);
    showText(O::displayHereSetupNinput, shown);
    showText(O::displayHereSetupNstring, shown);
    showState(O::setSetCountX, n);
    setNeedsDisplay();
}

void SetMIDI::selectSetupN(QObject* sender)
{
    showText(O::displayHereSetupNstring, senderSelectedTitle(sender));
    SetupNX = std::clamp(senderSelectedIndex(sender), 0, maxSetupNumber - 1);
    setSetupN(SetupNX);
}

void SetMIDI::SetCount(QObject* sender)
{
    SetupNX = std::clamp(senderIntValue(sender), 0, maxSetupNumber - 1);
    setSetCount(0);
}

void SetMIDI::setSetCount(int)
{
    setSetupN(SetupNX);
    setNeedsDisplay();
}

void SetMIDI::sendTextSetupNinputField(QObject* sender)
{
    const int k = std::clamp(senderIntValue(sender), 1, maxSetupNumber);
    const QString shown = QString::number(k);
    showText(O::displayHereSetupNinput, shown);
    SetupNX = k - 1;
    selectItem(O::popupSetupN, k - 1);
    showState(O::setSetCountX, k - 1);
    setMIDIsetupWindow(k - 1);
    showText(O::displayHereSetupNstring, shown);
    showText(O::displayHereSetupN, shown);
    setNeedsDisplay();
}

void SetMIDI::sendTextSetupNstringField(QObject* sender)
{
    const QString name = storedSetupName(senderSelectedTitle(sender));
    showText(O::displayHereSetupNstring, name);
    replaceItem(O::popupSetupN, shownPeakSetup(), name);
    selectItem(O::popupSetupN, shownPeakSetup());
    strX[shownPeakSetup()] = name;
    setSetupPopup();
    setNeedsDisplay();
}

void SetMIDI::loadSetupIntoPanel(int n, bool committed)
{
    if (!validSetup(n))
        return;
    auto pick = [committed, n](const SetupArray<int>& x, const SetupArray<int>& xz) {
        return committed ? xz[n].load() : x[n].load();
    };
    auto pickF = [committed, n](const SetupArray<float>& x, const SetupArray<float>& xz) {
        return committed ? xz[n].load() : x[n].load();
    };
    setNUPOchannel(pick(NUPOchannelX, NUPOchannelXZ));
    if (committed) {
        setMIDIport(MIDIportXZ[n]);
        setMIDIchannel(0);
        setProgramChange(0);
        setBSchannel(BSchannelXZ[n]);
        setMIDIoutON_(MIDIoutONXZ[n]);
    } else {
        setMIDIport(midiPortReturn(n));
        setBSchannel(BSchannelX[n]);
        setMIDIoutON_(MIDIoutONX[n]);
        if (MIDIoutONX[n] == 0)
            setMIDIchannel(0);
    }
    setUseQTMIDI_(pick(UseQTMIDIX, UseQTMIDIXZ));
    setPlay3Peaks_(pick(Play3PeaksX, Play3PeaksXZ));
    setNoteOnOff_(pick(NoteOnOffX, NoteOnOffXZ));
    setNoteOffOn_(pick(NoteOffOnX, NoteOffOnXZ));
    setONInput_(pick(ONInputX, ONInputXZ));
    setPlayOnlyNoteChanged_(pick(PlayOnlyNoteChangedX, PlayOnlyNoteChangedXZ));
    setPeakPower_(pick(PeakPowerX, PeakPowerXZ));
    setAveragePower_(pick(AveragePowerX, AveragePowerXZ));
    setSendMIDItiming(pick(SendMIDItimingX, SendMIDItimingXZ));
    setMIDInoteF_(pick(MIDInoteFX, MIDInoteFXZ));
    setMIDIvelocityF_(pick(MIDIvelocityFX, MIDIvelocityFXZ));
    setMIDIchannelF_(pick(MIDIchannelFX, MIDIchannelFXZ));
    setMIDIprogramchangeF_(pick(MIDIprogramchangeFX, MIDIprogramchangeFXZ));
    setMIDIpitchbendF_(pick(MIDIpitchbendFX, MIDIpitchbendFXZ));
    setMIDIcontrolchangeVF_(pick(MIDIcontrolchangeVFX, MIDIcontrolchangeVFXZ));
    setMIDIcontrolchangeNF_(pick(MIDIcontrolchangeNFX, MIDIcontrolchangeNFXZ));
    setMIDInoteV_(pick(MIDInoteVX, MIDInoteVXZ));
    setMIDIvelocityV_(pick(MIDIvelocityVX, MIDIvelocityVXZ));
    setMIDIchannelV_(pick(MIDIchannelVX, MIDIchannelVXZ));
    setMIDIprogramchangeV_(pick(MIDIprogramchangeVX, MIDIprogramchangeVXZ));
    setMIDIpitchbendV_(pick(MIDIpitchbendVX, MIDIpitchbendVXZ));
    setMIDIcontrolchangeVV_(pick(MIDIcontrolchangeVVX, MIDIcontrolchangeVVXZ));
    setMIDIcontrolchangeNV_(pick(MIDIcontrolchangeNVX, MIDIcontrolchangeNVXZ));
    setLowFSlider_(pickF(LowFX, LowFXZ));
    setHighFSlider_(pickF(HighFX, HighFXZ));
    setLowFNSlider_(pickF(LowFNX, LowFNXZ));
    setHighFNSlider_(pickF(HighFNX, HighFNXZ));
    setLowVSlider_(pickF(LowVX, LowVXZ));
    setHighVSlider_(pickF(HighVX, HighVXZ));
    setLowVNSlider_(pickF(LowVNX, LowVNXZ));
    setHighVNSlider_(pickF(HighVNX, HighVNXZ));
    setInputFSlider_(pickF(InputFX, InputFXZ));
    setInputVSlider_(pickF(InputVX, InputVXZ));
    setInputFrequencyRange_(pick(InputFrequencyRangeX, InputFrequencyRangeXZ));
    setUsePeakMode_(pick(UsePeakModeX, UsePeakModeXZ));
    if (!committed)
        showText(O::displayHereNUPOdataChannel, dataChannelText(NUPOchannelX[n]));
    setNeedsDisplay();
}

void SetMIDI::setMIDIsetupWindow(int n)
{
    loadSetupIntoPanel(n, false);
}

void SetMIDI::setMIDIsetupWindowZ(int n)
{
    loadSetupIntoPanel(n, true);
}

void SetMIDI::Set(QObject*)
{
    setSet_(0);
}

void SetMIDI::setSet_(int)
{
    const int s = shownPeakSetup();
    commitPeakSetup(s, midiPortReturn(s));
    setMIDIsetupWindow(s);
    setNeedsDisplay();
}

void SetMIDI::Cancel(QObject*)
{
    setCancel_(0);
}

void SetMIDI::setCancel_(int)
{
    const int s = shownPeakSetup();
    revertPeakSetup(s);
    setMIDIsetupWindowZ(s);
    setNeedsDisplay();
}

void SetMIDI::Solo(QObject* sender)
{
    setSolo_(senderIntValue(sender));
}

void SetMIDI::setSolo_(int value)
{
    setSoloX = value;
    if (value != 0)
        setMIDIoff_(1);
}

void SetMIDI::MIDIoff(QObject* sender)
{
    setMIDIoff_(senderIntValue(sender));
}

void SetMIDI::setMIDIoff_(int)
{
    sendMidiShutDown();
    setNeedsDisplay();
}

void SetMIDI::ResetMIDI(QObject* sender)
{
    setResetMIDI_(senderIntValue(sender));
}

void SetMIDI::setResetMIDI_(int)
{
    sendsetMIDIRestart();
    setNeedsDisplay();
}

void SetMIDI::setONMIDIout(QObject*)
{
    sendMidiBackON();
}

void SetMIDI::setOFFMIDIout(QObject*)
{
    sendMidiTemporalyOFF();
}

void SetMIDI::setMIDIInstrument(QObject*)
{
    setProgramChangeToAllSetupA();
}

// --- Output switch, channel, program, instrument ----------------------------------------------------------

void SetMIDI::MIDIoutON(QObject* sender)
{
    setMIDIoutON_(senderIntValue(sender));
}

void SetMIDI::setMIDIoutON_(int value)
{
    showState(O::setMIDIoutON, value);
    MIDIoutONX[shownPeakSetup()] = value;
    if (value == 0)
        setMIDIoff_(1);
    else
        setMIDIchannel(0);
    setNeedsDisplay();
}

void SetMIDI::setMIDIoutTempON(int value)
{
    const int s = shownPeakSetup();
    if (value == 0) {
        MIDIoutTempOX = MIDIoutONX[s].load();
        if (MIDIoutONX[s] != 0)
            setMIDIoff_(1);
    } else {
        MIDIoutONX[s] = MIDIoutTempOX.load();
    }
    showState(O::setMIDIoutON, MIDIoutONX[s]);
    setNeedsDisplay();
}

void SetMIDI::selectMIDIchannel(QObject* sender)
{
    showText(O::displayHereMIDIchannel, senderSelectedTitle(sender));
    MIDIchannelX[shownPeakSetup()] = std::clamp(senderSelectedIndex(sender), 0, 15);
    setMIDIchannel(0);
}

void SetMIDI::showChannelOnly()
{
    const int channel = MIDIchannelX[shownPeakSetup()];
    selectItem(O::popupMIDIchannel, channel);
    showText(O::displayHereMIDIchannel, QString::number(channel + 1));
    showState(O::setSetMIDIchannel, channel);
}

void SetMIDI::setMIDIchannel(int)
{
    showChannelOnly();
    setProgramChange(0);
    setNeedsDisplay();
}

void SetMIDI::SetMIDIchannel(QObject* sender)
{
    setMIDIoutTempON(0);
    MIDIchannelX[shownPeakSetup()] = std::clamp(senderIntValue(sender), 0, 15);
    setSetMIDIchannel_(0);
    setMIDIoutTempON(1);
}

void SetMIDI::setSetMIDIchannel_(int)
{
    setMIDIchannel(0);
    setNeedsDisplay();
}

void SetMIDI::sendTextMIDIchannelField(QObject* sender)
{
    const int shown = std::clamp(senderIntValue(sender), 1, 16);
    showText(O::displayHereMIDIchannel, QString::number(shown));
    MIDIchannelX[shownPeakSetup()] = shown - 1;
    selectItem(O::popupMIDIchannel, shown - 1);
    showState(O::setSetMIDIchannel, shown - 1);
    setMIDIchannel(0);
    setNeedsDisplay();
}

void SetMIDI::selectProgramChange(QObject* sender)
{
    showText(O::displayHereInstrument, senderSelectedTitle(sender));
    ProgramChangeXXX[shownPeakSetup()] = std::clamp(senderSelectedIndex(sender), 0, 127);
    setProgramChange(0);
}

void SetMIDI::setProgramChange(int)
{
    setMIDIoutTempON(0);
    const int s = shownPeakSetup();
    const int program = ProgramChangeXXX[s];
    selectItem(O::popupProgramChange, program);
    showText(O::displayHereMIDIprogramchange, QString::number(program));
    showState(O::setSetMIDIprogramC, program);
    sendMidiCprogram(program, s, MIDIchannelX[s], midiPortReturn(s), 1);
    setMIDIoutTempON(1);
}

void SetMIDI::SetMIDIprogramC(QObject* sender)
{
    ProgramChangeXXX[shownPeakSetup()] = std::clamp(senderIntValue(sender), 0, 127);
    setSetMIDIprogramC_(0);
}

void SetMIDI::setSetMIDIprogramC_(int)
{
    setProgramChange(0);
    setNeedsDisplay();
}

void SetMIDI::sendTextMIDIprogramchangeField(QObject* sender)
{
    const int program = std::clamp(senderIntValue(sender), 0, 127);
    showText(O::displayHereMIDIprogramchange, QString::number(program));
    ProgramChangeXXX[shownPeakSetup()] = program;
    selectItem(O::popupProgramChange, program);
    showState(O::setSetMIDIprogramC, program);
    setProgramChange(0);
    showText(O::displayHereInstrument, QStringLiteral(": "));
    setNeedsDisplay();
}

void SetMIDI::setProgramChangeToAllSetup()
{
    for (int n = 0; n < maxSetupNumber; ++n) {
        if (MIDIoutONX[n] != 1)
            continue;
        setSetupN(n);
        sendMidiCprogram(ProgramChangeXXX[n], n, MIDIchannelX[n], midiPortReturn(n), 0);
        sendMidiOutOnOff(60, 60, n, MIDIchannelX[n], midiPortReturn(n), 60, 0);
    }
}

void SetMIDI::setProgramChangeToAllSetupA()
{
    setProgramChangeToAllSetup();
}

void SetMIDI::Instrument(QObject* sender)
{
    setInstrument_(senderIntValue(sender));
}

void SetMIDI::setInstrument_(int value)
{
    showState(O::setInstrument, value);
    const int s = shownPeakSetup();
    InstrumentNumber = std::clamp(QXMidiPort::sharedQXMidiPort().setInstrumentN(MIDIchannelX[s]), 0, 127);
    const int channel = MIDIchannelX[s] >= 0 && MIDIchannelX[s] < synthChannels ? MIDIchannelX[s].load() : 0;
    const QString name = (QStringLiteral(": ") + mProgramText[channel]).left(instrumentTextLength);
    showText(O::displayHereInstrument, name);
    ProgramChangeXXX[s] = InstrumentNumber.load();
    setProgramChange(0);
    showText(O::displayHereInstrument, name);
    setNeedsDisplay();
}

// --- Source -----------------------------------------------------------------------------------------------

void SetMIDI::selectBSchannel(QObject* sender)
{
    const int slot = std::clamp(senderSelectedIndex(sender), 0, 8);
    BSchannelX[shownPeakSetup()] = slot;
    setBSchannel(slot);
}

void SetMIDI::setBSchannel(int value)
{
    selectItem(O::popupBSchannel, value);
    showState(O::setSetBSCH, value);
    setNeedsDisplay();
}

void SetMIDI::SetBSCH(QObject* sender)
{
    const int slot = std::clamp(senderIntValue(sender), 0, 8);
    BSchannelX[shownPeakSetup()] = slot;
    setSetBSCH_(slot);
}

void SetMIDI::setSetBSCH_(int value)
{
    setBSchannel(value);
    setNeedsDisplay();
}

void SetMIDI::selectNUPOchannel(QObject* sender)
{
    showText(O::displayHereNUPOdataChannel, senderSelectedTitle(sender));
    const int channel = senderSelectedIndex(sender);
    NUPOchannelX[shownPeakSetup()] = channel;
    NUPOchannelXP = channel;
    setNUPOchannel(channel);
}

void SetMIDI::setNUPOchannel(int value)
{
    selectItem(O::popupNUPOchannel, value);
    if (value > 3)
        setUsePeakMode_(3);
    setNeedsDisplay();
}

void SetMIDI::selectSendMIDItiming(QObject* sender)
{
    const int index = senderSelectedIndex(sender);
    SendMIDItimingX[shownPeakSetup()] = index;
    tlongX[shownPeakSetup()] = SetMIDItiming(index);
    setSendMIDItiming(index);
}

void SetMIDI::setSendMIDItiming(int index)
{
    static const int tempos[13] = {480, 480, 240, 120, 110, 100, 90, 80, 70, 60, 30, 20, 15};
    selectItem(O::popupSendMIDItiming, index);
    if (index >= 0 && index <= 12) {
        showState(O::setTempoSlider, tempos[index]);
        showText(O::displayHereTempo, index == 0 ? QStringLiteral("max") : QString::number(tempos[index]));
    } else if (index == 13) {
        const float tempo = TempoX[shownPeakSetup()];
        showState(O::setTempoSlider, tempo);
        showText(O::displayHereTempo, QString::number(tempo));
    }
    setFieldFormat(O::TempoField, 3, 3);
    setNeedsDisplay();
}

// --- Check boxes ------------------------------------------------------------------------------------------

void SetMIDI::setFlag(SetupArray<int>& field, SetMIDIOutlet outlet, int value)
{
    showState(outlet, value);
    field[shownPeakSetup()] = value;
    setNeedsDisplay();
}

void SetMIDI::UseQTMIDI(QObject* sender)
{
    setUseQTMIDI_(senderIntValue(sender));
}

void SetMIDI::setUseQTMIDI_(int value)
{
    setFlag(UseQTMIDIX, O::setUseQTMIDI, value);
}

void SetMIDI::Play3Peaks(QObject* sender)
{
    setPlay3Peaks_(senderIntValue(sender));
}

void SetMIDI::setPlay3Peaks_(int value)
{
    setMIDIoff_(1);
    setFlag(Play3PeaksX, O::setPlay3Peaks, value);
}

void SetMIDI::ONInput(QObject* sender)
{
    setONInput_(senderIntValue(sender));
}

void SetMIDI::setONInput_(int value)
{
    setFlag(ONInputX, O::setONInput, value);
}

void SetMIDI::PlayOnlyNoteChanged(QObject* sender)
{
    setPlayOnlyNoteChanged_(senderIntValue(sender));
}

void SetMIDI::setPlayOnlyNoteChanged_(int value)
{
    setFlag(PlayOnlyNoteChangedX, O::setPlayOnlyNoteChanged, value);
}

void SetMIDI::NoteOnOff(QObject* sender)
{
    const int value = senderIntValue(sender);
    setNoteOnOff_(value);
    setNoteOffOn_(value == 0 ? 1 : 0);
}

void SetMIDI::setNoteOnOff_(int value)
{
    setFlag(NoteOnOffX, O::setNoteOnOff, value);
}

void SetMIDI::NoteOffOn(QObject* sender)
{
    const int value = senderIntValue(sender);
    setNoteOffOn_(value);
    setNoteOnOff_(value == 0 ? 1 : 0);
}

void SetMIDI::setNoteOffOn_(int value)
{
    setFlag(NoteOffOnX, O::setNoteOffOn, value);
}

void SetMIDI::PeakPower(QObject* sender)
{
    setPeakPower_(senderIntValue(sender));
}

void SetMIDI::setPeakPower_(int value)
{
    setFlag(PeakPowerX, O::setPeakPower, value);
    const int opposite = value != 0 ? 0 : 1;
    AveragePowerX[shownPeakSetup()] = opposite;
    showState(O::setAveragePower, opposite);
}

void SetMIDI::AveragePower(QObject* sender)
{
    setAveragePower_(senderIntValue(sender));
}

void SetMIDI::setAveragePower_(int value)
{
    setFlag(AveragePowerX, O::setAveragePower, value);
    const int opposite = value != 0 ? 0 : 1;
    PeakPowerX[shownPeakSetup()] = opposite;
    showState(O::setPeakPower, opposite);
}

void SetMIDI::SmallWindow(QObject* sender)
{
    setSmallWindow_(senderIntValue(sender));
}

void SetMIDI::setSmallWindow_(int value)
{
    showState(O::setSmallWindow, value);
    smallWindowChanged(value);
}

// --- Routing ----------------------------------------------------------------------------------------------

void SetMIDI::pairedRouting(int value, void (SetMIDI::*own)(int), void (SetMIDI::*sameRoleOther)(int),
                            void (SetMIDI::*otherRoleOwn)(int), void (SetMIDI::*otherRoleOther)(int))
{
    (this->*own)(value);
    if (value != 1)
        return;
    (this->*sameRoleOther)(0);
    (this->*otherRoleOwn)(0);
    (this->*otherRoleOther)(1);
}

void SetMIDI::MIDInoteF(QObject* sender)
{
    pairedRouting(senderIntValue(sender), &SetMIDI::setMIDInoteF_, &SetMIDI::setMIDInoteV_,
                  &SetMIDI::setMIDIvelocityF_, &SetMIDI::setMIDIvelocityV_);
}

void SetMIDI::MIDIvelocityF(QObject* sender)
{
    pairedRouting(senderIntValue(sender), &SetMIDI::setMIDIvelocityF_, &SetMIDI::setMIDIvelocityV_,
                  &SetMIDI::setMIDInoteF_, &SetMIDI::setMIDInoteV_);
}

void SetMIDI::MIDInoteV(QObject* sender)
{
    pairedRouting(senderIntValue(sender), &SetMIDI::setMIDInoteV_, &SetMIDI::setMIDInoteF_,
                  &SetMIDI::setMIDIvelocityV_, &SetMIDI::setMIDIvelocityF_);
}

void SetMIDI::MIDIvelocityV(QObject* sender)
{
    pairedRouting(senderIntValue(sender), &SetMIDI::setMIDIvelocityV_, &SetMIDI::setMIDIvelocityF_,
                  &SetMIDI::setMIDInoteV_, &SetMIDI::setMIDInoteF_);
}

void SetMIDI::MIDIcontrolchangeVF(QObject* sender)
{
    pairedRouting(senderIntValue(sender), &SetMIDI::setMIDIcontrolchangeVF_,
                  &SetMIDI::setMIDIcontrolchangeVV_, &SetMIDI::setMIDIcontrolchangeNF_,
                  &SetMIDI::setMIDIcontrolchangeNV_);
}

void SetMIDI::MIDIcontrolchangeNF(QObject* sender)
{
    pairedRouting(senderIntValue(sender), &SetMIDI::setMIDIcontrolchangeNF_,
                  &SetMIDI::setMIDIcontrolchangeNV_, &SetMIDI::setMIDIcontrolchangeVF_,
                  &SetMIDI::setMIDIcontrolchangeVV_);
}

void SetMIDI::MIDIcontrolchangeVV(QObject* sender)
{
    pairedRouting(senderIntValue(sender), &SetMIDI::setMIDIcontrolchangeVV_,
                  &SetMIDI::setMIDIcontrolchangeVF_, &SetMIDI::setMIDIcontrolchangeNV_,
                  &SetMIDI::setMIDIcontrolchangeNF_);
}

void SetMIDI::MIDIcontrolchangeNV(QObject* sender)
{
    pairedRouting(senderIntValue(sender), &SetMIDI::setMIDIcontrolchangeNV_,
                  &SetMIDI::setMIDIcontrolchangeNF_, &SetMIDI::setMIDIcontrolchangeVV_,
                  &SetMIDI::setMIDIcontrolchangeVF_);
}

void SetMIDI::MIDIchannelF(QObject* sender)
{
    setMIDIchannelF_(senderIntValue(sender));
}

void SetMIDI::MIDIprogramchangeF(QObject* sender)
{
    setMIDIprogramchangeF_(senderIntValue(sender));
}

void SetMIDI::MIDIpitchbendF(QObject* sender)
{
    setMIDIpitchbendF_(senderIntValue(sender));
}

void SetMIDI::MIDIchannelV(QObject* sender)
{
    setMIDIchannelV_(senderIntValue(sender));
}

void SetMIDI::MIDIprogramchangeV(QObject* sender)
{
    setMIDIprogramchangeV_(senderIntValue(sender));
}

void SetMIDI::MIDIpitchbendV(QObject* sender)
{
    setMIDIpitchbendV_(senderIntValue(sender));
}

void SetMIDI::setMIDInoteF_(int v)
{
    setFlag(MIDInoteFX, O::setMIDInoteF, v);
}
void SetMIDI::setMIDIvelocityF_(int v)
{
    setFlag(MIDIvelocityFX, O::setMIDIvelocityF, v);
}
void SetMIDI::setMIDIchannelF_(int v)
{
    setFlag(MIDIchannelFX, O::setMIDIchannelF, v);
}
void SetMIDI::setMIDIprogramchangeF_(int v)
{
    setFlag(MIDIprogramchangeFX, O::setMIDIprogramchangeF, v);
}
void SetMIDI::setMIDIpitchbendF_(int v)
{
    setFlag(MIDIpitchbendFX, O::setMIDIpitchbendF, v);
}
void SetMIDI::setMIDIcontrolchangeVF_(int v)
{
    setFlag(MIDIcontrolchangeVFX, O::setMIDIcontrolchangeVF, v);
}
void SetMIDI::setMIDIcontrolchangeNF_(int v)
{
    setFlag(MIDIcontrolchangeNFX, O::setMIDIcontrolchangeNF, v);
}
void SetMIDI::setMIDInoteV_(int v)
{
    setFlag(MIDInoteVX, O::setMIDInoteV, v);
}
void SetMIDI::setMIDIvelocityV_(int v)
{
    setFlag(MIDIvelocityVX, O::setMIDIvelocityV, v);
}
void SetMIDI::setMIDIchannelV_(int v)
{
    setFlag(MIDIchannelVX, O::setMIDIchannelV, v);
}
void SetMIDI::setMIDIprogramchangeV_(int v)
{
    setFlag(MIDIprogramchangeVX, O::setMIDIprogramchangeV, v);
}
void SetMIDI::setMIDIpitchbendV_(int v)
{
    setFlag(MIDIpitchbendVX, O::setMIDIpitchbendV, v);
}
void SetMIDI::setMIDIcontrolchangeVV_(int v)
{
    setFlag(MIDIcontrolchangeVVX, O::setMIDIcontrolchangeVV, v);
}
void SetMIDI::setMIDIcontrolchangeNV_(int v)
{
    setFlag(MIDIcontrolchangeNVX, O::setMIDIcontrolchangeNV, v);
}

// --- Ranges, outputs, tempo -------------------------------------------------------------------------------

struct SetMIDI::RangeSetter {
    SetupArray<float>& field;
    SetMIDIOutlet slider;
    SetMIDIOutlet display;
    SetMIDIOutlet edit;
    bool bandEdge;
    Measure remap;
};

#define NUPO_RANGE_SETTER(Name, measure, band)                                                           \
    SetMIDI::RangeSetter                                                                                 \
    {                                                                                                    \
        Name##X, O::set##Name##Slider, O::displayHere##Name##Slider, O::Name##SliderField, band, measure \
    }

void SetMIDI::setRangeEnd(const RangeSetter& setter, float value)
{
    const int s = shownPeakSetup();
    showState(setter.slider, value);
    if (std::isfinite(value))
        setter.field[s] = value;
    showNumber(setter.display, setter.field[s]);
    setFieldFormat(setter.edit, 3, 3);
    if (setter.bandEdge)
        reSetsetInputFSlider();
    if (setter.remap == Measure::F)
        setInputFSlider_(InputFX[s]);
    else
        setInputVSlider_(InputVX[s]);
    setNeedsDisplay();
}

void SetMIDI::setLowFSlider_(float v)
{
    setRangeEnd(NUPO_RANGE_SETTER(LowF, Measure::F, true), v);
}
void SetMIDI::setHighFSlider_(float v)
{
    setRangeEnd(NUPO_RANGE_SETTER(HighF, Measure::F, true), v);
}
void SetMIDI::setLowFNSlider_(float v)
{
    setRangeEnd(NUPO_RANGE_SETTER(LowFN, Measure::F, false), v);
}
void SetMIDI::setHighFNSlider_(float v)
{
    setRangeEnd(NUPO_RANGE_SETTER(HighFN, Measure::F, false), v);
}
void SetMIDI::setLowVSlider_(float v)
{
    setRangeEnd(NUPO_RANGE_SETTER(LowV, Measure::V, false), v);
}
void SetMIDI::setHighVSlider_(float v)
{
    setRangeEnd(NUPO_RANGE_SETTER(HighV, Measure::V, false), v);
}
void SetMIDI::setLowVNSlider_(float v)
{
    setRangeEnd(NUPO_RANGE_SETTER(LowVN, Measure::V, false), v);
}
void SetMIDI::setHighVNSlider_(float v)
{
    setRangeEnd(NUPO_RANGE_SETTER(HighVN, Measure::V, false), v);
}

void SetMIDI::changeLowFSlider(QObject* sender)
{
    setInputFrequencyRange_(10);
    setLowFSlider_(senderFloatValue(sender));
}
void SetMIDI::changeHighFSlider(QObject* sender)
{
    setInputFrequencyRange_(10);
    setHighFSlider_(senderFloatValue(sender));
}
void SetMIDI::changeLowFNSlider(QObject* sender)
{
    setLowFNSlider_(senderFloatValue(sender));
}
void SetMIDI::changeHighFNSlider(QObject* sender)
{
    setHighFNSlider_(senderFloatValue(sender));
}
void SetMIDI::changeLowVSlider(QObject* sender)
{
    setLowVSlider_(senderFloatValue(sender));
}
void SetMIDI::changeHighVSlider(QObject* sender)
{
    setHighVSlider_(senderFloatValue(sender));
}
void SetMIDI::changeLowVNSlider(QObject* sender)
{
    setLowVNSlider_(senderFloatValue(sender));
}
void SetMIDI::changeHighVNSlider(QObject* sender)
{
    setHighVNSlider_(senderFloatValue(sender));
}
void SetMIDI::changeOutputFSlider(QObject* sender)
{
    setOutputFSlider_(senderFloatValue(sender));
}
void SetMIDI::changeOutputVSlider(QObject* sender)
{
    setOutputVSlider_(senderFloatValue(sender));
}
void SetMIDI::changeTempoSlider(QObject* sender)
{
    setTempoSlider_(senderFloatValue(sender));
}

void SetMIDI::setOutputSlider(Measure m, float value)
{
    const int s = shownPeakSetup();
    const bool isF = m == Measure::F;
    showState(isF ? O::setOutputFSlider : O::setOutputVSlider, value);
    if (std::isfinite(value))
        (isF ? OutputFX : OutputVX)[s] = value;
    showNumber(isF ? O::displayHereOutputFSlider : O::displayHereOutputVSlider, value);
    setFieldFormat(isF ? O::OutputFSliderField : O::OutputVSliderField, 3, 3);
    SetupArray<float>& input = isF ? InputFX : InputVX;
    input[s] = isF ? mapBackToInput(OutputFX[s], LowFX[s], HighFX[s], LowFNX[s], HighFNX[s], InputFX[s])
                   : mapBackToInput(OutputVX[s], LowVX[s], HighVX[s], LowVNX[s], HighVNX[s], InputVX[s]);
    showNumber(isF ? O::displayHereInputFSlider : O::displayHereInputVSlider, input[s]);
    showState(isF ? O::setInputFSlider : O::setInputVSlider, input[s]);
    setFieldFormat(isF ? O::InputFSliderField : O::InputVSliderField, 3, 3);
    setNeedsDisplay();
}

void SetMIDI::setOutputFSlider_(float v)
{
    setOutputSlider(Measure::F, v);
}

void SetMIDI::setOutputVSlider_(float v)
{
    setOutputSlider(Measure::V, v);
}

void SetMIDI::setTempoSlider_(float t)
{
    const int s = shownPeakSetup();
    t = clampTempo(t);
    showState(O::setTempoSlider, t);
    TempoX[s] = t;
    SendMIDItimingX[s] = 13;
    tlongX[s] = SetMIDItiming(13);
    setSendMIDItiming(13);
    showText(O::displayHereTempo, QString::number(t));
    setNeedsDisplay();
}

void SetMIDI::setRangeFromText(const RangeSetter& setter, QObject* sender, bool freeBand)
{
    const float value = senderFloatValue(sender);
    showNumber(setter.display, value);
    setRangeEnd(setter, value);
    if (freeBand)
        setInputFrequencyRange_(10);
    setNeedsDisplay();
}

void SetMIDI::sendTextLowFSliderField(QObject* sender)
{
    setRangeFromText(NUPO_RANGE_SETTER(LowF, Measure::F, true), sender, true);
}
void SetMIDI::sendTextHighFSliderField(QObject* sender)
{
    setRangeFromText(NUPO_RANGE_SETTER(HighF, Measure::F, true), sender, true);
}
void SetMIDI::sendTextLowFNSliderField(QObject* sender)
{
    setRangeFromText(NUPO_RANGE_SETTER(LowFN, Measure::F, false), sender, false);
}
void SetMIDI::sendTextHighFNSliderField(QObject* sender)
{
    setRangeFromText(NUPO_RANGE_SETTER(HighFN, Measure::F, false), sender, false);
}
void SetMIDI::sendTextLowVSliderField(QObject* sender)
{
    setRangeFromText(NUPO_RANGE_SETTER(LowV, Measure::V, false), sender, false);
}
void SetMIDI::sendTextHighVSliderField(QObject* sender)
{
    setRangeFromText(NUPO_RANGE_SETTER(HighV, Measure::V, false), sender, false);
}
void SetMIDI::sendTextLowVNSliderField(QObject* sender)
{
    setRangeFromText(NUPO_RANGE_SETTER(LowVN, Measure::V, false), sender, false);
}
void SetMIDI::sendTextHighVNSliderField(QObject* sender)
{
    setRangeFromText(NUPO_RANGE_SETTER(HighVN, Measure::V, false), sender, false);
}

void SetMIDI::sendTextInputFSliderField(QObject* sender)
{
    const float value = senderFloatValue(sender);
    showNumber(O::displayHereInputFSlider, value);
    setInputFSlider_(value);
    setNeedsDisplay();
}

void SetMIDI::sendTextInputVSliderField(QObject* sender)
{
    const float value = senderFloatValue(sender);
    showNumber(O::displayHereInputVSlider, value);
    setInputVSlider_(value);
    setNeedsDisplay();
}

void SetMIDI::sendTextOutputFSliderField(QObject* sender)
{
    const float value = senderFloatValue(sender);
    showNumber(O::displayHereOutputFSlider, value);
    setOutputFSlider_(value);
    setNeedsDisplay();
}

void SetMIDI::sendTextOutputVSliderField(QObject* sender)
{
    const float value = senderFloatValue(sender);
    showNumber(O::displayHereOutputVSlider, value);
    setOutputVSlider_(value);
    setNeedsDisplay();
}

void SetMIDI::sendTextTempoField(QObject* sender)
{
    const float tempo = clampTempo(senderFloatValue(sender));
    showText(O::displayHereTempo, QString::number(tempo));
    setTempoSlider_(tempo);
    setNeedsDisplay();
}

// --- Band presets and source modes ------------------------------------------------------------------------

void SetMIDI::selectInputFrequencyRange(QObject* sender)
{
    setInputFrequencyRange_(senderSelectedTag(sender));
}

void SetMIDI::setInputFrequencyRange_(int tag)
{
    static const float bands[10][2] = {{0, 40},  {0, 1},   {2, 3},   {4, 7},   {8, 12},
                                       {13, 15}, {16, 20}, {21, 30}, {13, 30}, {31, 40}};
    selectItem(O::setInputFrequencyRange, tag);
    InputFrequencyRangeX[shownPeakSetup()] = tag;
    if (tag != 10) {
        const int band = tag >= 0 && tag < 10 ? tag : 0;
        setLowFSlider_(bands[band][0]);
        setHighFSlider_(bands[band][1]);
    }
    setNeedsDisplay();
}

void SetMIDI::selectUsePeakMode(QObject* sender)
{
    setUsePeakMode_(senderSelectedTag(sender));
}

void SetMIDI::setUsePeakMode_(int mode)
{
    const int s = shownPeakSetup();
    selectItem(O::setUsePeakMode, mode);
    UsePeakModeX[s] = mode;
    setShown(O::setAveragePower, mode != 0);
    setShown(O::setPlay3Peaks, mode != 1);

    const int channel = NUPOchannelX[s];
    QStringList labels;
    double limit = -1.0;
    if (mode == 0 || mode == 1) {
        limit = 100.0;
        if (channel >= 0 && channel <= 3)
            labels = {"100 microV", "Peak Power microV", "0 microV", "0 to 100", "microV"};
        else if (channel >= 4 && channel <= 9)
            labels = {"100 %", "Peak Coherence %", "0 %", "0 to 100", "%"};
    } else if (mode == 2 || mode == 3) {
        limit = 64.0;
        labels = {"64", "Peak Total Count", "0", "0 to 64", ""};
    }
    if (!labels.isEmpty()) {
        const SetMIDIOutlet fields[5] = {O::displayHereMaxInput, O::displayHereName, O::displayHereMiniInput,
                                         O::displayHereInputName, O::displayHereInputUnit};
        for (int i = 0; i < 5; ++i)
            showText(fields[i], labels.at(i));
    }
    if (limit > 0.0) {
        for (SetMIDIOutlet slider : {O::setInputVSlider, O::setLowVSlider, O::setHighVSlider})
            setLimits(slider, 0.0, limit);
    }
    if (mode >= 0 && mode <= 3) {
        InputVX[s] = 50.0f;
        setInputVSlider_(50.0f);
    }
    reSetsetInputFSlider();
    setNeedsDisplay();
}

void SetMIDI::reSetsetInputFSlider()
{
    const int s = shownPeakSetup();
    if (UsePeakModeX[s] == 1) {
        setLimits(O::setInputFSlider, LowFX[s], HighFX[s]);
        showNumber(O::displayHereMaxFInput, HighFX[s]);
        showNumber(O::displayHereMiniFInput, LowFX[s]);
        setFieldFormat(O::MaxFInputField, 2, 1);
        setFieldFormat(O::MiniFInputField, 2, 1);
    } else {
        setLimits(O::setInputFSlider, 0.0, 60.0);
        showText(O::displayHereMaxFInput, QStringLiteral("60"));
        showText(O::displayHereMiniFInput, QStringLiteral("0"));
    }
}

// --- Panel loading ----------------------------------------------------------------------------------------

void SetMIDI::fillPanelLists()
{
    const int s = shownPeakSetup();
    QStringList ports;
    for (int i = 1; i <= maxMidiPortNames; ++i)
        ports.append(QStringLiteral("MIDI port %1").arg(i));
    setItems(O::popupMIDIport, ports);
    setItems(O::popupSendMIDItiming, timingItems());
    selectItem(O::popupSendMIDItiming, SendMIDItimingX[s]);
    QStringList channels;
    for (int c = 1; c <= 16; ++c)
        channels.append(QString::number(c));
    setItems(O::popupMIDIchannel, channels);
    selectItem(O::popupMIDIchannel, MIDIchannelX[s]);
    setItems(O::popupProgramChange, generalMidiProgramNames());
    selectItem(O::popupProgramChange, ProgramChangeXXX[s]);
    QStringList switchSlots;
    for (int b = 0; b <= 8; ++b)
        switchSlots.append(QString::number(b));
    setItems(O::popupBSchannel, switchSlots);
    selectItem(O::popupBSchannel, BSchannelX[s]);
    setItems(O::popupNUPOchannel, dataChannelItems(DeviceConfig));
    selectItem(O::popupNUPOchannel, NUPOchannelX[s]);
}

void SetMIDI::firstOpen()
{
    if (itsOpend == 0)
        setSetToDefault_(1);
    if (itsOpend == 0 && itsOpendE == 0)
        setResetMIDI_(1);
    if (itsOpend == 0)
        itsOpend = 1;
    setSetupPopup();
    selectItem(O::popupSetupN, shownPeakSetup());
    setGetOutMIDIPort();
    setMIDIsetupWindow(shownPeakSetup());
}

}  // namespace nupo
