#include "platform/midi/MidiClient.h"

#include "platform/midi/JackMidiClient.h"

#include <rtmidi/RtMidi.h>

#include <QRegularExpression>

#include <cstdio>
#include <functional>
#include <map>
#include <mutex>

namespace nupo {

namespace {

RtMidi::Api rtApi(MidiApi api)
{
    return api == MidiApi::Alsa ? RtMidi::LINUX_ALSA : RtMidi::UNIX_JACK;
}

void reportRtMidiError(RtMidiError::Type type, const std::string& text, void*)
{
    if (type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING)
        return;
    std::printf("MIDI: %s\n", text.c_str());
    std::fflush(stdout);
}

template <class T>
std::unique_ptr<T> makeRt(MidiApi api, const QString& clientName)
{
    try {
        auto rt = std::make_unique<T>(rtApi(api), clientName.toStdString());
        rt->setErrorCallback(reportRtMidiError, nullptr);
        return rt;
    } catch (const RtMidiError& error) {
        std::printf("MIDI: %s\n", error.what());
        std::fflush(stdout);
        return nullptr;
    }
}

// Senders live to the end of the process, found again by api and purpose ("list", "source:NUPO",
// "to:<port>"): a closed JACK sender can still be inside its period when its buffer is freed.
template <class Sender, class Make>
Sender* kept(const QString& key, Make make)
{
    static std::mutex mutex;
    static auto* senders = new std::map<QString, Sender*>;
    std::lock_guard lock(mutex);
    auto found = senders->find(key);
    if (found != senders->end())
        return found->second;
    Sender* made = make();
    if (made != nullptr)
        (*senders)[key] = made;
    return made;
}

RtMidiOut* keptSender(MidiApi api, const QString& clientName, const QString& purpose)
{
    return kept<RtMidiOut>(MidiSystem::apiName(api) + QLatin1Char('/') + purpose,
                           [&] { return makeRt<RtMidiOut>(api, clientName).release(); });
}

// A receiving object kept like the senders; prepare() opens its port (and may throw). Not kept when
// that fails.
RtMidiIn* keptReceiver(MidiApi api, const QString& clientName, const QString& purpose,
                       const std::function<void(RtMidiIn&)>& prepare)
{
    return kept<RtMidiIn>(MidiSystem::apiName(api) + QLatin1Char('/') + purpose, [&]() -> RtMidiIn* {
        auto in = makeRt<RtMidiIn>(api, clientName);
        if (!in)
            return nullptr;
        try {
            prepare(*in);
        } catch (const RtMidiError&) {
            return nullptr;
        }
        return in.release();
    });
}

}  // namespace

MidiClient::MidiClient(const QString& name) : clientName(name), system(MidiSystem::probe())
{
    if (system.api != MidiApi::Jack)
        return;
    jack = JackMidiClient::current(clientName.toStdString());
    if (jack == nullptr)
        system = MidiSystemInfo{};  // the server went between the look and the connection
    else
        system.periodSeconds = jack->periodSeconds();
}

MidiClient::~MidiClient() = default;

QString MidiClient::systemName() const
{
    return jack != nullptr ? QString::fromStdString(jack->name()) : clientName;
}

bool MidiClient::serverLost() const
{
    return jack != nullptr && jack->serverGone();
}

bool MidiClient::serverStalled() const
{
    return jack != nullptr && jack->serverStalled();
}

void MidiClient::followConnections(bool everything)
{
    if (jack != nullptr)
        jack->followConnections(everything);
}

unsigned MidiClient::connectionChanges() const
{
    return jack != nullptr ? jack->changes() : 0;
}

void MidiClient::chooseAgain(const MidiEndpoint& destination)
{
    if (jack == nullptr || outputPortName.isEmpty() || !destination.isValid())
        return;
    const MidiEndpoint endpoint = current(destination);
    // The port that sends there (reserved now when nothing was sent there yet).
    jack->chooseAgain(jack->destinationPort(endpoint.id.toStdString(), outputPortName.toStdString()));
}

void MidiClient::chooseAllAgain()
{
    if (jack != nullptr)
        jack->chooseAllAgain();
}

std::vector<std::pair<QString, MidiSendResult>> MidiClient::destinationReaches() const
{
    std::vector<std::pair<QString, MidiSendResult>> reaches;
    if (jack == nullptr)
        return reaches;
    using Reach = JackMidiClient::Reach;
    for (const auto& [destination, reach] : jack->destinationReaches()) {
        MidiSendResult result = MidiSendResult::dropped;
        switch (reach) {
            case Reach::connected:
            case Reach::direct:
                result = MidiSendResult::sent;
                break;
            case Reach::pending:
                result = MidiSendResult::waiting;
                break;
            case Reach::absent:
                result = MidiSendResult::unreachable;
                break;
            case Reach::removed:
                result = MidiSendResult::removedByHand;
                break;
            case Reach::unsettled:
                break;
        }
        reaches.emplace_back(QString::fromStdString(destination), result);
    }
    return reaches;
}

bool MidiClient::createOutputPort(const QString& portName)
{
    if (!isAvailable())
        return false;
    outputPortName = portName;
    return true;
}

bool MidiClient::createVirtualDestination(const QString& endpointName)
{
    if (!isAvailable())
        return false;
    if (jack != nullptr)
        return jack->inputPort(endpointName.toStdString());
    virtualDestination = keptReceiver(system.api, clientName, QStringLiteral("destination:") + endpointName,
                                      [&](RtMidiIn& in) {
                                          // Incoming MIDI has no effect: take it off the queue and drop it.
                                          // The callback is in place before the port opens, so the backend
                                          // thread never sees it half set.
                                          in.setCallback([](double, std::vector<unsigned char>*, void*) {});
                                          in.ignoreTypes(true, true, true);
                                          in.openVirtualPort(endpointName.toStdString());
                                      });
    return virtualDestination != nullptr;
}

bool MidiClient::createVirtualSource(const QString& endpointName)
{
    if (!isAvailable())
        return false;
    const QString purpose = QStringLiteral("source:") + endpointName;
    if (jack != nullptr) {
        virtualSource.jackPort = jack->outputPort(endpointName.toStdString());
        return virtualSource.jackPort >= 0;
    }
    RtMidiOut* out = keptSender(system.api, clientName, purpose);
    if (out == nullptr)
        return false;
    try {
        if (!out->isPortOpen())
            out->openVirtualPort(endpointName.toStdString());
    } catch (const RtMidiError&) {
        return false;
    }
    virtualSource.out = out;
    return true;
}

MidiEndpoint MidiClient::endpointFromPortName(const std::string& portName) const
{
    MidiEndpoint endpoint;
    endpoint.id = QString::fromStdString(portName);
    QString shown = endpoint.id;
    // ALSA appends the client and port numbers, which change from run to run; names must not.
    static const QRegularExpression alsaNumbers(QStringLiteral(" \\d+:\\d+$"));
    if (system.api == MidiApi::Alsa)
        shown.remove(alsaNumbers);
    // Ports of our own client are shown by their own name ("NUPO"). On ALSA the backend may have
    // numbered the client name ("NUPO MIDI-01") when several of our objects share it; on JACK our one
    // client's name carries our instance number, and other instances' ports keep theirs.
    const int colon = shown.indexOf(QLatin1Char(':'));
    if (colon > 0) {
        const QString client = shown.left(colon);
        const bool ours = jack != nullptr
                              ? client == systemName()
                              : client == clientName || client.startsWith(clientName + QLatin1Char('-'));
        if (ours) {
            shown = shown.mid(colon + 1);
            endpoint.own = true;
        }
    }
    endpoint.name = shown;
    return endpoint;
}

std::vector<MidiEndpoint> MidiClient::list(bool wantDestinations)
{
    std::vector<MidiEndpoint> endpoints;
    if (!isAvailable())
        return endpoints;
    if (jack != nullptr) {
        for (const std::string& portName : jack->portNames(wantDestinations))
            endpoints.push_back(endpointFromPortName(portName));
        return endpoints;
    }
    try {
        RtMidi* lister = nullptr;
        if (wantDestinations) {
            if (destinationLister == nullptr)
                destinationLister = keptSender(system.api, clientName, QStringLiteral("list"));
            lister = destinationLister;
        } else {
            if (sourceLister == nullptr)
                sourceLister = keptReceiver(system.api, clientName, QStringLiteral("list"), [](RtMidiIn&) {});
            lister = sourceLister;
        }
        if (lister == nullptr)
            return endpoints;
        const unsigned int count = lister->getPortCount();
        for (unsigned int i = 0; i < count; ++i) {
            const std::string portName = lister->getPortName(i);
            if (!portName.empty())
                endpoints.push_back(endpointFromPortName(portName));
        }
    } catch (const RtMidiError&) {
    }
    return endpoints;
}

std::vector<MidiEndpoint> MidiClient::destinations()
{
    return list(true);
}

std::vector<MidiEndpoint> MidiClient::sources()
{
    return list(false);
}

MidiClient::Output* MidiClient::outputFor(const MidiEndpoint& destination)
{
    auto found = outputs.find(destination.id);
    if (found != outputs.end())
        return &found->second;
    // First message to this destination: the output port that sends there. On JACK its connection is
    // followed by our JACK client (made by followConnections(), without waiting here).
    const QString purpose = QStringLiteral("to:") + destination.id;
    Output output;
    if (jack != nullptr) {
        output.jackPort = jack->destinationPort(destination.id.toStdString(), outputPortName.toStdString());
        if (output.jackPort < 0)
            return nullptr;
        return &(outputs[destination.id] = output);
    }
    output.out = keptSender(system.api, clientName, purpose);
    if (output.out == nullptr)
        return nullptr;
    try {
        if (output.out->isPortOpen())
            output.out->closePort();
        const std::string wanted = destination.id.toStdString();
        const unsigned int count = output.out->getPortCount();
        for (unsigned int i = 0; i < count; ++i) {
            if (output.out->getPortName(i) == wanted) {
                output.out->openPort(i, outputPortName.toStdString());
                break;
            }
        }
    } catch (const RtMidiError&) {
        return nullptr;
    }
    if (!output.out->isPortOpen())
        return nullptr;  // gone: look again next time
    return &(outputs[destination.id] = output);
}

// ALSA's sequencer queues what it is given; our JACK client queues it until the port has room. Neither
// needs pacing here.
MidiSendResult MidiClient::sendThrough(Output& output, const unsigned char* bytes, std::size_t size)
{
    if (output.jackPort >= 0)
        return jack != nullptr ? jack->send(output.jackPort, bytes, size) : MidiSendResult::dropped;
    if (output.out == nullptr)
        return MidiSendResult::unreachable;
    try {
        output.out->sendMessage(bytes, size);
    } catch (const RtMidiError&) {
        return MidiSendResult::unreachable;
    }
    return MidiSendResult::sent;
}

MidiEndpoint MidiClient::current(const MidiEndpoint& destination) const
{
    if (!destination.own || jack == nullptr)
        return destination;
    // Listed under the name our client had then; another program may hold that name now.
    MidiEndpoint ours = destination;
    ours.id = systemName() + QLatin1Char(':') + destination.name;
    return ours;
}

MidiSendResult MidiClient::send(const MidiEndpoint& destination, const unsigned char* bytes, std::size_t size)
{
    if (!isAvailable() || outputPortName.isEmpty() || !destination.isValid())
        return MidiSendResult::dropped;
    Output* output = outputFor(current(destination));
    // Gone on ALSA; on JACK, no more ports can be made.
    return output != nullptr ? sendThrough(*output, bytes, size) : MidiSendResult::unreachable;
}

bool MidiClient::publish(const unsigned char* bytes, std::size_t size)
{
    return sendThrough(virtualSource, bytes, size) == MidiSendResult::sent;
}

}  // namespace nupo
