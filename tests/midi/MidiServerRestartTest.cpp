// The JACK server under our MIDI client dies and a new one starts: the loss is said, and our ports come
// back on the new server with messages flowing again, without a restart of MIDI; the return is said on the
// loss's topic, so that it takes the loss's place on screen. Runs on a JACK dummy
// server of its own (the shared test server must not be killed).
#include "MidiTestClient.h"

#include "midi/output/MidiOutput.h"
#include "platform/synth/SynthGraph.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <jack/jack.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

namespace nupo {
namespace {

using test::MidiBytes;
using test::MidiTestClient;

using test::JackServer;
using test::waitUntil;

QStringList jackPorts(jack_client_t* client)
{
    QStringList names;
    if (const char** ports = jack_get_ports(client, nullptr, JACK_DEFAULT_MIDI_TYPE, 0)) {
        for (const char** name = ports; *name != nullptr; ++name)
            names.append(QString::fromUtf8(*name));
        jack_free(ports);
    }
    return names;
}

QString serverName()
{
    return test::ownJackServerName(QStringLiteral("-restart"));
}

TEST(MidiServerRestartTest, PortsComeBackAndMessagesFlowOnANewServer)
{
    const QString name = serverName();
    qputenv("JACK_DEFAULT_SERVER", name.toLocal8Bit());
    SynthGraph::setAudioOutputEnabled(false);
    JackServer server(name);
    if (!server.start()) {
        if (test::jackRequired())
            FAIL() << "the JACK dummy server " << name.toStdString() << " did not start";
        GTEST_SKIP() << "jackd could not start a server";
    }
    std::mutex mutex;
    QStringList alerts;
    QStringList topics;
    setMidiAlertHandler([&](const QString& message, const QString& topic) {
        std::lock_guard lock(mutex);
        alerts.append(message);
        topics.append(topic);
    });
    const auto alertCount = [&] {
        std::lock_guard lock(mutex);
        return alerts.size();
    };
    // However the test ends, the watch stops before what the handler writes to goes.
    struct Ending {
        ~Ending()
        {
            disposeMidi();
            setMidiAlertHandler({});
        }
    } ending;

    // Another running instance of the program holds the first number: ours takes the next.
    jack_client_t* otherInstance = test::openJackClient("NUPO MIDI 1");
    ASSERT_NE(otherInstance, nullptr);
    auto sink = MidiTestClient::destination(QStringLiteral("restart sink"));
    mainMidi();
    EXPECT_EQ(midiClientName(), QStringLiteral("NUPO MIDI 2"));
    QStringList ports = jackPorts(otherInstance);
    EXPECT_TRUE(ports.contains(QStringLiteral("NUPO MIDI 2:NUPO"))) << ports.join(", ").toStdString();
    EXPECT_TRUE(ports.contains(QStringLiteral("NUPO MIDI 2:from NUPO"))) << ports.join(", ").toStdString();
    const QStringList names = listMidiDestinations();
    const auto found = std::find_if(names.begin(), names.end(), [](const QString& n) {
        return n.endsWith(QStringLiteral(":restart sink"));
    });
    ASSERT_NE(found, names.end()) << names.join(", ").toStdString();
    EXPECT_TRUE(names.contains(QStringLiteral("NUPO")));  // our own destination, by its port name
    const int sinkPort = int(found - names.begin());
    auto probeWith = [&](MidiTestClient& client, int first) {
        return client.primeWith([&](int attempt) {
            const int value = (first + attempt) % 128;
            MidiControlChange(118, value, 0, 0, sinkPort, 0);
            return MidiBytes{0xB0, 118, static_cast<unsigned char>(value)};
        });
    };
    ASSERT_TRUE(probeWith(*sink, 0)) << "nothing reaches the sink";

    server.kill();
    ASSERT_TRUE(waitUntil([] { return midiServerLost(); })) << "the loss is not noticed";
    {
        std::lock_guard lock(mutex);
        ASSERT_EQ(alerts.size(), 1);
        EXPECT_TRUE(alerts[0].contains(QStringLiteral("JACK server has gone"))) << alerts[0].toStdString();
        EXPECT_EQ(topics[0], midiServerTopic);
    }
    MidiOutOn(60, 100, 0, 0, sinkPort, 0);  // while there is no server: nothing, at once
    // The test program's clients died with the server; libjack cannot close them now: they stay, held
    // where nothing destroys them.
    static auto* deadClients = new std::vector<std::unique_ptr<MidiTestClient>>;
    deadClients->push_back(std::move(sink));

    ASSERT_TRUE(server.start());
    ASSERT_TRUE(waitUntil([] { return !midiServerLost(); })) << "no new connection";
    ASSERT_TRUE(waitUntil([&] { return alertCount() == 2; })) << "the return is not said";
    {
        std::lock_guard lock(mutex);
        EXPECT_TRUE(alerts[1].contains(QStringLiteral("MIDI is sent again"))) << alerts[1].toStdString();
        EXPECT_TRUE(alerts[1].contains(QStringLiteral("NUPO MIDI 1"))) << alerts[1].toStdString();
        EXPECT_EQ(topics[1], midiServerTopic);
    }
    jack_client_t* look = test::openJackClient("restart test look");
    ASSERT_NE(look, nullptr);
    ports = jackPorts(look);
    EXPECT_TRUE(ports.contains(QStringLiteral("NUPO MIDI 1:NUPO"))) << ports.join(", ").toStdString();
    EXPECT_TRUE(ports.contains(QStringLiteral("NUPO MIDI 1:from NUPO"))) << ports.join(", ").toStdString();

    // The same destination on the new server gets the messages sent to its index in the table.
    auto newSink = MidiTestClient::destination(QStringLiteral("restart sink"));
    ASSERT_TRUE(probeWith(*newSink, 50)) << "nothing reaches the sink on the new server";
    newSink->clear();
    MidiOutOn(61, 101, 0, 2, sinkPort, 0);
    MidiControlChange(119, 77, 0, 0, sinkPort, 0);
    EXPECT_EQ(newSink->messagesBefore({0xB0, 119, 77}), (std::vector<MidiBytes>{{0x92, 61, 101}}));
    EXPECT_EQ(alertCount(), 2);
    jack_client_close(look);
    newSink->closeClient();
    // Our client goes with its server at the end, as every client of the test does.
    server.stop();
    ASSERT_TRUE(waitUntil([] { return midiServerLost(); }));
}

}  // namespace
}  // namespace nupo
