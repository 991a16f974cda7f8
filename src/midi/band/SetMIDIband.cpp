#include "midi/band/SetMIDIband.h"

#include "midi/common/MidiMapperWorker.h"
#include "midi/common/SenderValue.h"
#include "midi/output/MidiOutput.h"
#include "shared/CoreState.h"

#include <array>
#include <utility>

namespace nupo {

namespace {

struct BandRuntime {
    MidiMapperWorker worker{QStringLiteral("MIDI band worker")};
};

BandRuntime& runtime()
{
    static BandRuntime* state = new BandRuntime;  // lives to process end
    return *state;
}

}  // namespace

QString bandOutletName(BandOutlet outlet, int band)
{
    static const std::array<const char*, std::size_t(BandOutlet::count)> names = {
        "setResetMIDI", "setMIDIoff", "setSetToDefault", "setCancel", "setSet", "setNoteOnOff",
        "setNoteOffOn", "setMIDIoutON", "setONInput", "setSolo", "setCHto1to8", "setCHto9to16",
        "setPeakPower", "setAveragePower", "setSetCountX", "setSetMIDIchannel", "setSetMIDIprogramC",
        "setSetBSCH", "popupMIDIport", "popupSendMIDItiming", "popupBSchannel", "popupNUPOchannel",
        "popupSetupN", "GainNoteSlider", "setUsePeakMode", "NUPOdataChannelField",
        "displayHereNUPOdataChannel", "MIDIoutPortField", "displayHereMIDIoutPort", "SetupNField",
        "displayHereSetupN", "SetupNinputField", "displayHereSetupNinput", "SetupNstringField",
        "displayHereSetupNstring",
        // Band families: %1 is the band number.
        "setSetMIDIchannel%1", "popupMIDIchannel%1", "setLowFSlider%1", "setHighFSlider%1",
        "LowFSliderField%1", "displayHereLowFSlider%1", "HighFSliderField%1", "displayHereHighFSlider%1",
        "MIDIchannelField%1", "displayHereMIDIchannel%1", "bandField%1", "displayHereband%1",
        "bandNoteField%1", "BScountLevel%1", "BS%1Text"};
    const int index = int(outlet);
    if (index < 0 || index >= int(BandOutlet::count))
        return {};
    const QString name = QString::fromLatin1(names[std::size_t(index)]);
    if (!isBandFamily(outlet))
        return name;
    return band >= 1 && band <= bandCount ? name.arg(band) : QString();
}

SetMIDIband::SetMIDIband() = default;
SetMIDIband::~SetMIDIband() = default;

SetMIDIband& SetMIDIband::sharedSetMIDIband()
{
    static SetMIDIband* instance = [] {
        auto* created = new SetMIDIband;  // lives to process end
        // Every MIDI start clears this mapper's ports as the output layer clears its own state.
        addMidiStartReset([created] { created->ports.clearStartPorts(); });
        created->init();
        return created;
    }();
    return *instance;
}

void SetMIDIband::stopWorker()
{
    runtime().worker.stop();
}

void SetMIDIband::wakeWorker()
{
    runtime().worker.wake();
}

double SetMIDIband::workerInterval()
{
    return runtime().worker.currentInterval();
}

bool SetMIDIband::runOnWorker(std::function<void()> fn)
{
    return runtime().worker.runOnThread(std::move(fn));
}

void SetMIDIband::init()
{
    if (firstTimeRunMIDIband.exchange(0) == 1)
        runtime().worker.start(
            0.01, [] { sharedSetMIDIband().timerUpdate(); }, 0.1, [] { sharedSetMIDIband().timerUpdateX(); },
            bandSetupsIdle);
    if (!bandDataObserver.isActive())
        bandDataObserver = ScopedObserver(needUpdateInputBandDataNotification, nullptr,
                                          [this](const Notification&) { needUpdateInputBandDataQ(); });
}

void SetMIDIband::timerUpdateX()
{
    if (mapperDisplayDue(setBrainrhythmMIDIOpend))
        NotificationCenter::defaultCenter().postNotificationName(needUpdateInputBandDataNotification, this);
}

void SetMIDIband::SetToDefault(QObject* sender)
{
    setSetToDefault_(senderIntValue(sender));
}

void SetMIDIband::Solo(QObject* sender)
{
    setSolo_(senderIntValue(sender));
}

void SetMIDIband::MIDIoutON(QObject* sender)
{
    setMIDIoutON_(senderIntValue(sender));
}

void SetMIDIband::ONInput(QObject* sender)
{
    setONInput_(senderIntValue(sender));
}

void SetMIDIband::PeakPower(QObject* sender)
{
    setPeakPower_(senderIntValue(sender));
}

void SetMIDIband::AveragePower(QObject* sender)
{
    setAveragePower_(senderIntValue(sender));
}

void SetMIDIband::SetBSCH(QObject* sender)
{
    setSetBSCH_(senderIntValue(sender));
}

void SetMIDIband::setMIDIoff_(int)
{
    sendMidiShutDown();
    setNeedsDisplay();
}

void SetMIDIband::setResetMIDI_(int)
{
    sendsetMIDIRestart();
    setNeedsDisplay();
}

}  // namespace nupo
