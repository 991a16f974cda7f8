#include "platform/midi/MidiClient.h"

#include <rtmidi/RtMidi.h>

#include <QRegularExpression>

#include <cstdio>
#include <map>
#include <mutex>
#include <thread>

namespace nupo {

namespace {

// Messages sent to one JACK port within one period must fit the port's buffer; longer bursts (all notes
// off for many setups) are paced so that none is dropped.
constexpr int jackBurstLimit = 500;

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
RtMidiOut* keptSender(MidiApi api, const QString& clientName, const QString& purpose, bool& created)
{
    static std::mutex mutex;
    static auto* senders = new std::map<QString, RtMidiOut*>;
    std::lock_guard lock(mutex);
    const QString key = MidiSystem::apiName(api) + QLatin1Char('/') + purpose;
    created = false;
    auto found = senders->find(key);
    if (found != senders->end())
        return found->second;
    std::unique_ptr<RtMidiOut> out = makeRt<RtMidiOut>(api, clientName);
    if (!out)
        return nullptr;
    created = true;
    return (*senders)[key] = out.release();
}

}  // namespace

MidiClient::MidiClient(const QString& name) : clientName(name), system(MidiSystem::probe()) {}

MidiClient::~MidiClient() = default;

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
    auto in = makeRt<RtMidiIn>(system.api, clientName);
    if (!in)
        return false;
    try {
        in->openVirtualPort(endpointName.toStdString());
        // Incoming MIDI has no effect: take it off the queue and drop it.
        in->setCallback([](double, std::vector<unsigned char>*, void*) {});
        in->ignoreTypes(true, true, true);
    } catch (const RtMidiError&) {
        return false;
    }
    virtualDestination = std::move(in);
    return true;
}

bool MidiClient::createVirtualSource(const QString& endpointName)
{
    if (!isAvailable())
        return false;
    bool created = false;
    RtMidiOut* out = keptSender(system.api, clientName, QStringLiteral("source:") + endpointName, created);
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
    // Ports of our own client are shown by their own name ("NUPO"); the backend may have numbered the
    // client name ("NUPO MIDI-01") when several of our objects share it.
    const int colon = shown.indexOf(QLatin1Char(':'));
    if (colon > 0) {
        const QString client = shown.left(colon);
        if (client == clientName || client.startsWith(clientName + QLatin1Char('-')))
            shown = shown.mid(colon + 1);
    }
    endpoint.name = shown;
    return endpoint;
}

std::vector<MidiEndpoint> MidiClient::list(bool wantDestinations)
{
    std::vector<MidiEndpoint> endpoints;
    if (!isAvailable())
        return endpoints;
    try {
        RtMidi* lister = nullptr;
        if (wantDestinations) {
            bool created = false;
            if (destinationLister == nullptr)
                destinationLister = keptSender(system.api, clientName, QStringLiteral("list"), created);
            lister = destinationLister;
        } else {
            if (!sourceLister)
                sourceLister = makeRt<RtMidiIn>(system.api, clientName);
            lister = sourceLister.get();
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
    // First message to this destination: our output port, connected there.
    bool created = false;
    RtMidiOut* out = keptSender(system.api, clientName, QStringLiteral("to:") + destination.id, created);
    (void)created;
    if (out == nullptr)
        return nullptr;
    try {
        // Connect afresh in every client: the destination may have gone and come back since.
        if (out->isPortOpen())
            out->closePort();
        const std::string wanted = destination.id.toStdString();
        const unsigned int count = out->getPortCount();
        for (unsigned int i = 0; i < count; ++i) {
            if (out->getPortName(i) == wanted) {
                out->openPort(i, outputPortName.toStdString());
                break;
            }
        }
    } catch (const RtMidiError&) {
        return nullptr;
    }
    if (!out->isPortOpen())
        return nullptr;  // gone: look again next time
    // A new JACK connection takes effect from a later period; what is flushed before it is lost.
    if (system.api == MidiApi::Jack)
        std::this_thread::sleep_for(std::chrono::duration<double>(3 * system.periodSeconds + 0.002));
    Output& output = outputs[destination.id];
    output.out = out;
    return &output;
}

bool MidiClient::sendThrough(Output& output, const unsigned char* bytes, std::size_t size)
{
    if (system.api == MidiApi::Jack && system.periodSeconds > 0.0) {
        const auto now = std::chrono::steady_clock::now();
        const auto period = std::chrono::duration<double>(system.periodSeconds);
        if (now - output.burstStart > 2 * period) {
            output.burstStart = now;
            output.burstCount = 0;
        } else if (output.burstCount >= jackBurstLimit) {
            std::this_thread::sleep_for(2 * period);
            output.burstStart = std::chrono::steady_clock::now();
            output.burstCount = 0;
        }
        ++output.burstCount;
    }
    try {
        output.out->sendMessage(bytes, size);
    } catch (const RtMidiError&) {
        return false;
    }
    return true;
}

bool MidiClient::send(const MidiEndpoint& destination, const unsigned char* bytes, std::size_t size)
{
    if (!isAvailable() || outputPortName.isEmpty() || !destination.isValid())
        return false;
    Output* output = outputFor(destination);
    return output != nullptr && sendThrough(*output, bytes, size);
}

bool MidiClient::publish(const unsigned char* bytes, std::size_t size)
{
    if (!virtualSource.out)
        return false;
    return sendThrough(virtualSource, bytes, size);
}

}  // namespace nupo
