#include "midi/output/MidiOutput.h"

#include "midi/output/MidiSynth.h"
#include "platform/appkit/RunLoopTimer.h"
#include "platform/appkit/WorkerThread.h"

#include <QHash>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace nupo {

namespace {

const QString clientName = QStringLiteral("NUPO MIDI");
// How often the watch looks whether the JACK server is still there, or back, and what the server told
// of the destinations' connections.
constexpr double watchSeconds = 0.05;
// Every this many looks (and whenever the server told of a change) the watch looks at every destination
// and connection, also those not connected when last looked at.
constexpr unsigned everythingEvery = 5;

// Everything the lock guards: the client with its ports and own endpoints, the destination table and
// the note memory.
struct MidiSystemState {
    std::mutex mutex;
    // Shared with a look of the watch that follows its connections outside the lock.
    std::shared_ptr<MidiClient> client;
    bool saidNoSystem = false;  // since a start last found a MIDI system
    bool serverLost = false;    // the JACK server of the client went away; the watch looks for a new one
    bool serverSilent = false;  // the JACK server runs no periods: said, until it runs again
    // Destinations that cannot be reached or whose connection the user removed, by id: told once until
    // one reaches them again, which is told too (across starts and servers: what was told stays true
    // until then).
    QHash<QString, MidiSendResult> said;
    // Destinations that notes were played to, by id: the watch tells what becomes of them.
    QHash<QString, MidiEndpoint> played;
    std::array<MidiEndpoint, maxMidiDestinations> gDestX;
    int noteOld[noteOldSetups][noteOldChannels][noteOldPorts][noteOldPeaks] = {};
    std::vector<std::function<void()>> startResets;
    std::function<bool(int)> synthSetups;
};

MidiSystemState& midiState()
{
    static MidiSystemState* state = new MidiSystemState;  // lives to process end
    return *state;
}

struct AlertHandler {
    std::mutex mutex;
    std::function<void(const QString& message, const QString& topic)> show;
};

AlertHandler& alertHandler()
{
    static auto* handler = new AlertHandler;  // lives to process end
    return *handler;
}

// Looks after a client on JACK, off the threads that send and off the main thread: notices when the
// server goes away and connects to the next server that answers.
struct MidiWatch {
    std::mutex mutex;
    std::unique_ptr<WorkerThread> thread;
    std::unique_ptr<RunLoopTimer> timer;
    // The watch's own (its looks run one at a time on its thread).
    unsigned looks = 0;
    unsigned changesSeen = 0;
};

MidiWatch& midiWatch()
{
    static auto* watch = new MidiWatch;  // lives to process end
    return *watch;
}

void watchMidiServer();

void startMidiWatch()
{
    MidiWatch& watch = midiWatch();
    std::lock_guard lock(watch.mutex);
    if (watch.thread && watch.thread->isRunning())
        return;
    watch.thread = std::make_unique<WorkerThread>(QStringLiteral("MIDI watch"));
    watch.thread->start();
    watch.timer = watch.thread->scheduleTimer(watchSeconds, watchMidiServer);
}

void endMidiWatch()
{
    MidiWatch& watch = midiWatch();
    std::lock_guard lock(watch.mutex);
    if (!watch.thread)
        return;
    watch.timer.reset();  // waits for a look in progress
    watch.thread->stop();
    watch.thread.reset();
}

// Our client with its ports and own endpoints, on the MIDI system that answers now.
std::shared_ptr<MidiClient> makeClient()
{
    auto client = std::make_shared<MidiClient>(clientName);
    client->createOutputPort(QStringLiteral("NUPO MIDI out port"));
    client->createVirtualDestination(QStringLiteral("NUPO"));
    client->createVirtualSource(QStringLiteral("from NUPO"));
    return client;
}

// A message that makes sound (a note-on): only a setup whose MIDI out is on plays notes, so one that
// finds no MIDI system or no destination is worth saying. Program and controller changes go out whenever
// a panel shows a setup, its MIDI out on or off, and note-offs silence what may not have played.
bool sounds(const unsigned char* bytes, std::size_t size)
{
    return size > 2 && (bytes[0] & 0xF0) == 0x90 && bytes[2] != 0;
}

int clamp127(int value)
{
    return std::clamp(value, 0, 127);
}

int clampChannel(int channel)
{
    return std::clamp(channel, 0, 15);
}

int* noteCell(MidiSystemState& state, int setup, int channel, int port, int peak)
{
    if (setup < 0 || setup >= noteOldSetups || channel < 0 || channel >= noteOldChannels || port < 0 ||
        port >= noteOldPorts || peak < 0 || peak >= noteOldPeaks)
        return nullptr;
    return &state.noteOld[setup][channel][port][peak];
}

// What a destination's line in the alert says: that it cannot be reached, that its connection was removed
// by hand, or, in place of either, that MIDI is sent there again. Called with the lock held.
void sayReach(MidiSystemState& state, const MidiEndpoint& destination, MidiSendResult result)
{
    const QString topic = QStringLiteral("MIDI destination ") + destination.id;
    if (result == MidiSendResult::sent) {
        if (state.said.remove(destination.id) > 0)
            reportMidiState(topic, QStringLiteral("MIDI is sent again to “%1”.").arg(destination.name));
        return;
    }
    if (result != MidiSendResult::unreachable && result != MidiSendResult::removedByHand)
        return;
    if (const auto told = state.said.constFind(destination.id);
        told != state.said.constEnd() && *told == result)
        return;
    state.said.insert(destination.id, result);
    if (result == MidiSendResult::unreachable)
        reportMidiState(topic, QStringLiteral("MIDI cannot reach “%1” (it is gone or does not answer): "
                                              "nothing is sent there until it can be reached again.")
                                   .arg(destination.name));
    else
        reportMidiState(topic, QStringLiteral("MIDI is not sent to “%1”: its connection was removed. "
                                              "Choosing it again in the MIDI port list, or Reset MIDI, "
                                              "connects it again.")
                                   .arg(destination.name));
}

// Sends one message to a listed destination and, for the last one, publishes it on our own source.
// A port index that is not listed sends nothing. Called with the lock held.
void sendLocked(MidiSystemState& state, int port, const unsigned char* bytes, std::size_t size)
{
    if (!MIDIuseX || !coreMidi || !state.client || runMIDI == 0 || state.serverLost)
        return;
    if (!state.client->isAvailable()) {
        if (!state.saidNoSystem && sounds(bytes, size)) {
            state.saidNoSystem = true;
            reportMidiProblem(
                QStringLiteral("MIDI out is on, but no MIDI system is available (no ALSA "
                               "sequencer, no JACK server): no MIDI is sent. Start a JACK "
                               "server and press the MIDI panel's reset button."));
        }
        return;
    }
    const int count = findPortCountE;
    if (port < 0 || port >= count || port >= maxMidiDestinations)
        return;
    const MidiEndpoint& destination = state.gDestX[port];
    const MidiSendResult result = state.client->send(destination, bytes, size);
    // Our own ports go only with the server, and a server gone or silent is said by the watch (a send
    // then is dropped): neither is a destination that cannot be reached. A failure is said for a note,
    // which only a setup with its MIDI out on plays.
    if (!destination.own) {
        const bool sounding = sounds(bytes, size);
        if (sounding)
            state.played.insert(destination.id, destination);
        if (sounding || result == MidiSendResult::sent)
            sayReach(state, destination, result);
    }
    if (port == count - 1)
        state.client->publish(bytes, size);
}

// Called with the lock held.
bool synthWanted(const MidiSystemState& state, int setup, int port, int useQT)
{
    if (useQT == 0)
        return false;
    return port == findPortCountE || (state.synthSetups && state.synthSetups(setup));
}

// Sends a channel message to a port and, when the setup or port asks for the synthesiser, lets it
// follow (outside the lock: the synthesiser has its own).
template <class SynthStep>
void sendWithSynth(const unsigned char* bytes, std::size_t size, int setup, int port, int useQT,
                   SynthStep synthStep)
{
    if (!MIDIuseX)
        return;
    MidiSystemState& state = midiState();
    {
        std::lock_guard lock(state.mutex);
        sendLocked(state, port, bytes, size);
        if (runMIDI == 0 || !synthWanted(state, setup, port, useQT))
            return;
    }
    synthStep();
}

void writeNoteLocked(MidiSystemState& state, int note, int on, int velocity, int setup, int channel, int port,
                     int useQT)
{
    note = clamp127(note);
    velocity = clamp127(velocity);
    channel = clampChannel(channel);
    if (!MIDIuseX)
        return;
    const unsigned char bytes[3] = {static_cast<unsigned char>((on ? 0x90 : 0x80) + channel),
                                    static_cast<unsigned char>(note),
                                    static_cast<unsigned char>(on ? velocity : 0)};
    sendLocked(state, port, bytes, sizeof bytes);
    if (runMIDI != 0 && synthWanted(state, setup, port, useQT))
        WriteVNoteQtMidi(channel, note, on, on ? velocity : 0);
}

void listDestinationsLocked(MidiSystemState& state, QStringList* names)
{
    state.gDestX.fill(MidiEndpoint{});
    std::vector<MidiEndpoint> found;
    if (state.client)
        found = state.client->destinations();
    const int count = std::min<int>(int(found.size()), maxMidiDestinations);
    for (int i = 0; i < count; ++i) {
        state.gDestX[i] = found[i];
        if (names != nullptr)
            names->append(found[i].name);
    }
    findPortCountE = count;
}

void printEndpoints(const char* title, const std::vector<MidiEndpoint>& endpoints)
{
    std::printf("%s: %d\n", title, int(endpoints.size()));
    for (const MidiEndpoint& endpoint : endpoints)
        std::printf("  %s\n", endpoint.id.toLocal8Bit().constData());
}

// Where the loss of the server was said, its return is said.
void sayServerBack(const QString& client)
{
    reportMidiState(
        midiServerTopic,
        QStringLiteral("The JACK server is back: MIDI is sent again (client \u201c%1\u201d).").arg(client));
}

// One look of the watch: is the server gone or silent, what became of the destinations' connections,
// and is there a server to connect to now?
void watchMidiServer()
{
    MidiSystemState& state = midiState();
    MidiWatch& watch = midiWatch();
    std::shared_ptr<MidiClient> following;
    bool everything = false;
    {
        std::lock_guard lock(state.mutex);
        if (runMIDI == 0 || !state.client)
            return;
        if (!state.serverLost) {
            if (!state.client->serverLost()) {
                const bool silent = state.client->serverStalled();
                if (silent != state.serverSilent) {
                    state.serverSilent = silent;
                    if (silent)
                        reportMidiState(midiServerTopic,
                                        QStringLiteral("The JACK server does not answer: no MIDI is sent "
                                                       "while it is silent (nothing is kept for later)."));
                    else
                        sayServerBack(state.client->systemName());
                }
                if (silent)
                    return;
                following = state.client;
                const unsigned changes = following->connectionChanges();
                everything = ++watch.looks % everythingEvery == 0 || changes != watch.changesSeen;
                watch.changesSeen = changes;
            } else {
                state.serverLost = true;
                state.serverSilent = false;
                reportMidiState(midiServerTopic,
                                QStringLiteral("The JACK server has gone away: no MIDI is sent. MIDI "
                                               "connects again by itself when a JACK server is back."));
            }
        }
    }
    if (following) {
        // Server calls, outside the lock: the senders do not wait for them.
        following->followConnections(everything);
        std::lock_guard lock(state.mutex);
        if (state.client != following || state.serverLost || state.serverSilent)
            return;
        for (const auto& [id, result] : following->destinationReaches())
            if (const auto destination = state.played.constFind(id); destination != state.played.constEnd())
                sayReach(state, *destination, result);
        return;
    }
    // Looking for a server and making the ports can take a while; the senders do not wait for it.
    std::shared_ptr<MidiClient> fresh = makeClient();
    if (!fresh->isAvailable() || fresh->serverLost())
        return;
    QString name;
    {
        std::lock_guard lock(state.mutex);
        if (runMIDI == 0 || !state.serverLost)
            return;  // a start made its own client meanwhile
        // The table keeps its destinations by name; our JACK client connects them again as they come.
        state.client = std::move(fresh);
        state.serverLost = false;
        name = state.client->systemName();
    }
    sayServerBack(name);
}

}  // namespace

void setMidiAlertHandler(std::function<void(const QString& message, const QString& topic)> handler)
{
    AlertHandler& alerts = alertHandler();
    std::lock_guard lock(alerts.mutex);
    alerts.show = std::move(handler);
}

void reportMidiState(const QString& topic, const QString& message)
{
    std::printf("%s\n", message.toLocal8Bit().constData());
    std::fflush(stdout);
    AlertHandler& alerts = alertHandler();
    std::lock_guard lock(alerts.mutex);
    if (alerts.show)
        alerts.show(message, topic);
}

void reportMidiProblem(const QString& message)
{
    reportMidiState(QString(), message);
}

bool midiServerLost()
{
    MidiSystemState& state = midiState();
    std::lock_guard lock(state.mutex);
    return state.serverLost;
}

QString midiClientName()
{
    MidiSystemState& state = midiState();
    std::lock_guard lock(state.mutex);
    return state.client ? state.client->systemName() : QString();
}

void addMidiStartReset(std::function<void()> reset)
{
    MidiSystemState& state = midiState();
    std::lock_guard lock(state.mutex);
    state.startResets.push_back(std::move(reset));
}

void setMidiSynthSetups(std::function<bool(int setup)> asks)
{
    MidiSystemState& state = midiState();
    std::lock_guard lock(state.mutex);
    state.synthSetups = std::move(asks);
}

void mainMidi()
{
    MidiSystemState& state = midiState();
    bool onJack = false;
    QString back;  // the client on a server found again while the watch still looked for one
    {
        std::lock_guard lock(state.mutex);
        if (runMIDI != 0)
            return;
        std::memset(state.noteOld, 0, sizeof state.noteOld);
        for (auto& open : setOnQtMidi)
            open = 0;
        for (const auto& reset : state.startResets)
            reset();
        state.gDestX.fill(MidiEndpoint{});

        const bool wasLost = state.serverLost || state.serverSilent;
        state.client.reset();
        state.serverLost = false;
        state.serverSilent = false;
        auto client = makeClient();
        if (wasLost && client->isAvailable() && !client->serverStalled())
            back = client->systemName();
        // A start (Reset MIDI) connects again what the user disconnected by hand.
        client->chooseAllAgain();
        // No MIDI system is said once for as long as there is none: a start that finds one again ends it.
        if (client->isAvailable()) {
            state.saidNoSystem = false;
            std::printf("MIDI system: %s, client \"%s\"\n",
                        MidiSystem::apiName(client->api()).toLatin1().constData(),
                        client->systemName().toLocal8Bit().constData());
            printEndpoints("MIDI sources", client->sources());
        }
        state.client = std::move(client);
        listDestinationsLocked(state, nullptr);
        if (state.client->isAvailable())
            printEndpoints(
                "MIDI destinations",
                std::vector<MidiEndpoint>(state.gDestX.begin(), state.gDestX.begin() + findPortCountE));
        std::fflush(stdout);
        runMIDI = 1;
        onJack = state.client->api() == MidiApi::Jack;
    }
    if (!back.isEmpty())
        sayServerBack(back);
    // Outside the lock: a look of the watch takes it.
    if (onJack)
        startMidiWatch();
    AUMIDIsetInit();
    AUMIDIsetOn(0, mProgram[0]);
}

void stopMidiWatch()
{
    endMidiWatch();
}

void disposeMidi()
{
    endMidiWatch();
    MidiSystemState& state = midiState();
    {
        std::lock_guard lock(state.mutex);
        runMIDI = 0;
        state.client.reset();
        state.gDestX.fill(MidiEndpoint{});
        findPortCountE = 0;
    }
    AUMIDIsetOff();
}

QStringList listMidiDestinations()
{
    MidiSystemState& state = midiState();
    std::lock_guard lock(state.mutex);
    QStringList names;
    listDestinationsLocked(state, &names);
    return names;
}

void chooseMidiDestination(int port)
{
    MidiSystemState& state = midiState();
    std::lock_guard lock(state.mutex);
    if (!state.client || port < 0 || port >= findPortCountE || port >= maxMidiDestinations)
        return;
    state.client->chooseAgain(state.gDestX[port]);
}

MidiEndpoint midiDestination(int port)
{
    MidiSystemState& state = midiState();
    std::lock_guard lock(state.mutex);
    if (port < 0 || port >= findPortCountE || port >= maxMidiDestinations)
        return {};
    return state.gDestX[port];
}

void WriteVNote(int note, int on, int velocity, int setup, int channel, int port, int useQT)
{
    MidiSystemState& state = midiState();
    std::lock_guard lock(state.mutex);
    writeNoteLocked(state, note, on, velocity, setup, channel, port, useQT);
}

void MidiOutOn(int note, int velocity, int setup, int channel, int port, int useQT)
{
    WriteVNote(note, 1, velocity, setup, channel, port, useQT);
}

void MidiOutOff(int note, int setup, int channel, int port, int useQT)
{
    WriteVNote(note, 0, 0, setup, channel, port, useQT);
}

void MidiOutOnOff(int note, int velocity, int setup, int channel, int port, int slot, int useQT)
{
    MidiSystemState& state = midiState();
    std::lock_guard lock(state.mutex);
    note = clamp127(note);
    int* cell = slot > 9 ? nullptr : noteCell(state, setup, clampChannel(channel), port, slot);
    if (slot <= 9 && cell != nullptr) {
        const bool changed = *cell != note;
        *cell = note;
        if (!changed)
            return;
    }
    writeNoteLocked(state, note, 1, velocity, setup, channel, port, useQT);
    writeNoteLocked(state, note, 0, 0, setup, channel, port, useQT);
}

void MidiOutOffOn(int note, int velocity, int setup, int channel, int port, int slot, int useQT)
{
    MidiSystemState& state = midiState();
    std::lock_guard lock(state.mutex);
    note = clamp127(note);
    const bool always = slot > 9;
    int* cell = noteCell(state, setup, clampChannel(channel), port, always ? slot - 10 : slot);
    if (cell == nullptr) {
        // Outside the memory there is no previous note to end: play the new one.
        writeNoteLocked(state, note, 1, velocity, setup, channel, port, useQT);
        return;
    }
    if (!always && *cell == note)
        return;
    writeNoteLocked(state, *cell, 0, 0, setup, channel, port, useQT);
    writeNoteLocked(state, note, 1, velocity, setup, channel, port, useQT);
    *cell = note;
}

void MidiCprogram(int program, int setup, int channel, int port, int useQT)
{
    program = clamp127(program);
    channel = clampChannel(channel);
    const unsigned char bytes[2] = {static_cast<unsigned char>(0xC0 + channel),
                                    static_cast<unsigned char>(program)};
    sendWithSynth(bytes, sizeof bytes, setup, port, useQT, [=] { AUMIDIsetOn(channel, program); });
}

void MidiControlChange(int number, int value, int, int channel, int port, int)
{
    MidiSystemState& state = midiState();
    std::lock_guard lock(state.mutex);
    const unsigned char bytes[3] = {static_cast<unsigned char>(0xB0 + clampChannel(channel)),
                                    static_cast<unsigned char>(clamp127(number)),
                                    static_cast<unsigned char>(clamp127(value))};
    sendLocked(state, port, bytes, sizeof bytes);
}

void MidiCpitch(int value, int setup, int channel, int port, int useQT)
{
    value = clamp127(value);
    channel = clampChannel(channel);
    // The 0..127 value is the most significant 7 bits; the least significant 7 bits are 0.
    const unsigned char bytes[3] = {static_cast<unsigned char>(0xE0 + channel), 0,
                                    static_cast<unsigned char>(value)};
    sendWithSynth(bytes, sizeof bytes, setup, port, useQT, [=] { PitchBendQtMidi(value, channel); });
}

void setMIDIRestart() {}

double mtimeatMIDIs()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double>(now).count();
}

double mtimeatMIDI()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return double(std::chrono::duration_cast<std::chrono::microseconds>(now).count() % 1000000);
}

int strCompX(const char* a, const char* b)
{
    if (a == nullptr || b == nullptr)
        return 0;
    return std::strcmp(a, b) == 0 ? 1 : 0;
}

const unsigned char* pStrCopy(const unsigned char* source, unsigned char* destination)
{
    const int length = source[0];
    std::memcpy(destination, source, std::size_t(length) + 1);
    return source + length + 1;
}

int noteOldAt(int setup, int channel, int port, int peak)
{
    MidiSystemState& state = midiState();
    std::lock_guard lock(state.mutex);
    const int* cell = noteCell(state, setup, channel, port, peak);
    return cell != nullptr ? *cell : -1;
}

}  // namespace nupo
