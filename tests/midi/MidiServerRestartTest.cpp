// The JACK server under our MIDI client dies and a new one starts: the loss is said, and our ports come
// back on the new server with messages flowing again, without a restart of MIDI; the return is said on the
// loss's topic, so that it takes the loss's place on screen. Our client keeps its name, its ports and the
// connections others made to them, beside another instance of the program that keeps its own; what the
// alerts say of destinations stays true. Runs on a JACK dummy server of its own (the shared test server
// must not be killed).
#include "ListenerProcess.h"
#include "MidiTestClient.h"

#include "midi/output/MidiOutput.h"
#include "platform/synth/SynthGraph.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QStringList>
#include <QTemporaryDir>

#include <jack/jack.h>

#include <algorithm>
#include <csignal>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace nupo {
namespace {

using test::MidiBytes;
using test::MidiTestClient;

using test::JackServer;
using test::Listener;
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

// Each test has a server of its own: they may run at the same time.
QString serverName(const QString& test = QString())
{
    return test::ownJackServerName(QStringLiteral("-restart") + test);
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

    // Another running instance of the program holds the first number: ours takes the next, and keeps it
    // on the new server (the other, a test client, does not come back).
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
        EXPECT_TRUE(alerts[1].contains(QStringLiteral("NUPO MIDI 2"))) << alerts[1].toStdString();
        EXPECT_EQ(topics[1], midiServerTopic);
    }
    jack_client_t* look = test::openJackClient("restart test look");
    ASSERT_NE(look, nullptr);
    ports = jackPorts(look);
    EXPECT_TRUE(ports.contains(QStringLiteral("NUPO MIDI 2:NUPO"))) << ports.join(", ").toStdString();
    EXPECT_TRUE(ports.contains(QStringLiteral("NUPO MIDI 2:from NUPO"))) << ports.join(", ").toStdString();

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

QStringList portsOf(jack_client_t* look, const QString& client)
{
    QStringList ours;
    for (const QString& port : jackPorts(look))
        if (port.startsWith(client + QLatin1Char(':')))
            ours.append(port);
    ours.sort();
    return ours;
}

// Two instances of the program on one server, ours and another process, through two restarts of the
// server: the other comes back first the first time (ours is off meanwhile), and both by themselves the
// second time. Each keeps its name and ours its ports; a listener the user connected to our source is
// connected again and hears us; what the alerts say last of each destination is true, and our own port
// is never said to be out of reach.
TEST(MidiServerRestartTest, TwoInstancesKeepTheirNamesAndListenersThroughTwoRestarts)
{
    const QString name = serverName(QStringLiteral("-instances"));
    qputenv("JACK_DEFAULT_SERVER", name.toLocal8Bit());
    SynthGraph::setAudioOutputEnabled(false);
    JackServer server(name);
    if (!server.start()) {
        if (test::jackRequired())
            FAIL() << "the JACK dummy server " << name.toStdString() << " did not start";
        GTEST_SKIP() << "jackd could not start a server";
    }
    std::mutex mutex;
    std::map<QString, QString> saidLast;  // by topic: what an open alert shows
    QStringList said;
    setMidiAlertHandler([&](const QString& message, const QString& topic) {
        std::lock_guard lock(mutex);
        saidLast[topic] = message;
        said.append(message);
    });
    pid_t other = -1;
    struct Ending {
        pid_t& other;
        ~Ending()
        {
            test::endProcess(other, SIGTERM);
            disposeMidi();
            setMidiAlertHandler({});
        }
    } ending{other};

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    Listener listener(NUPO_MIDI_INSTANCE, folder.filePath(QStringLiteral("notes")));
    jack_client_t* look = test::openJackClient("restart test look");
    ASSERT_NE(look, nullptr);
    ASSERT_TRUE(listener.start(look));
    mainMidi();
    ASSERT_EQ(midiClientName(), QStringLiteral("NUPO MIDI 1"));
    other = test::startQuietProcess({NUPO_MIDI_INSTANCE}, {});
    ASSERT_GT(other, 0);
    ASSERT_TRUE(waitUntil([&] { return jackPorts(look).contains(QStringLiteral("NUPO MIDI 2:from NUPO")); }))
        << "the other instance did not start";
    // The user connects our source to the listener.
    const QString ourSource = QStringLiteral("NUPO MIDI 1:from NUPO");
    ASSERT_EQ(jack_connect(look, "NUPO MIDI 1:from NUPO", listener.portName()), 0);

    const QString listenerPortName = QString::fromUtf8(listener.portName());
    const QStringList names = listMidiDestinations();
    const int listenerPort = int(names.indexOf(listenerPortName));
    const int ownPort = int(names.indexOf(QStringLiteral("NUPO")));
    ASSERT_GE(listenerPort, 0) << names.join(", ").toStdString();
    ASSERT_GE(ownPort, 0) << names.join(", ").toStdString();
    // What goes to the last destination is published on our source too.
    int lastPort = int(names.size()) - 1;
    int note = 0;
    const auto play = [&](int port) { MidiOutOn(36 + (++note % 60), 100, 0, 0, port, 0); };
    const auto listenerHears = [&] {
        const long long before = listener.notes();
        return waitUntil([&] {
            play(lastPort);
            return listener.notes() > before;
        });
    };
    play(ownPort);
    play(listenerPort);
    ASSERT_TRUE(listenerHears());
    // The ports that send to the destinations played to are made by the watch: ours are those, our own
    // destination and our source.
    const int outPorts = int(QSet<int>{ownPort, listenerPort, lastPort}.size());
    ASSERT_TRUE(waitUntil([&] {
        return portsOf(look, QStringLiteral("NUPO MIDI 1")).size() == outPorts + 2;
    })) << portsOf(look, QStringLiteral("NUPO MIDI 1")).join(", ").toStdString();
    QStringList ourPorts = portsOf(look, QStringLiteral("NUPO MIDI 1"));
    EXPECT_TRUE(ourPorts.contains(QStringLiteral("NUPO MIDI 1:NUPO MIDI out port 2")))
        << ourPorts.join(", ").toStdString();
    const QStringList otherPorts = portsOf(look, QStringLiteral("NUPO MIDI 2"));

    // First restart, a clean stop: ours is off until the other instance is back on the new server.
    disposeMidi();
    server.stop();
    ASSERT_TRUE(server.start());
    look = test::openJackClient("restart test look");
    ASSERT_NE(look, nullptr);
    ASSERT_TRUE(waitUntil([&] { return portsOf(look, QStringLiteral("NUPO MIDI 2")) == otherPorts; }))
        << "the other instance has " << portsOf(look, QStringLiteral("NUPO MIDI 2")).join(", ").toStdString()
        << "; on the server: " << jackPorts(look).join(", ").toStdString();
    ASSERT_TRUE(listener.start(look));
    mainMidi();
    EXPECT_EQ(midiClientName(), QStringLiteral("NUPO MIDI 1"));
    EXPECT_EQ(portsOf(look, QStringLiteral("NUPO MIDI 1")), ourPorts);
    ASSERT_TRUE(waitUntil([&] { return listener.connectedTo(look, ourSource); }))
        << "the listener's connection is not made again";
    lastPort = int(listMidiDestinations().size()) - 1;  // the start listed the other instance's port too
    ASSERT_TRUE(listenerHears());

    // Second restart, the server killed: both come back by themselves, in whatever order. Notes to our
    // own port and to the listener's go on all the while.
    const QStringList listedBefore = listMidiDestinations();
    const int listenerPortNow = int(listedBefore.indexOf(listenerPortName));
    const int ownPortNow = int(listedBefore.indexOf(QStringLiteral("NUPO")));
    ASSERT_GE(listenerPortNow, 0);
    ASSERT_GE(ownPortNow, 0);
    play(listenerPortNow);
    play(ownPortNow);
    ourPorts = portsOf(look, QStringLiteral("NUPO MIDI 1"));
    server.kill();
    ASSERT_TRUE(waitUntil([&] {
        play(ownPortNow);
        play(listenerPortNow);
        return midiServerLost();
    }));
    ASSERT_TRUE(server.start());
    ASSERT_TRUE(waitUntil([&] {
        play(ownPortNow);
        return !midiServerLost();
    }));
    look = test::openJackClient("restart test look");
    ASSERT_NE(look, nullptr);
    EXPECT_EQ(midiClientName(), QStringLiteral("NUPO MIDI 1"));
    EXPECT_EQ(portsOf(look, QStringLiteral("NUPO MIDI 1")), ourPorts);
    ASSERT_TRUE(waitUntil([&] { return portsOf(look, QStringLiteral("NUPO MIDI 2")) == otherPorts; }))
        << "the other instance has " << portsOf(look, QStringLiteral("NUPO MIDI 2")).join(", ").toStdString();
    // One client each: no third name was taken.
    const QStringList all = jackPorts(look);
    EXPECT_EQ(all.filter(QStringLiteral("NUPO MIDI")).size(), ourPorts.size() + otherPorts.size())
        << all.join(", ").toStdString();
    // Before the listener is back, it cannot be reached, and that is said; once back, that is taken back.
    const QString listenerTopic = QStringLiteral("MIDI destination ") + listenerPortName;
    play(listenerPortNow);
    play(ownPortNow);
    {
        std::lock_guard lock(mutex);
        EXPECT_TRUE(saidLast[listenerTopic].contains(QStringLiteral("cannot reach")))
            << said.join(" | ").toStdString();
    }
    ASSERT_TRUE(listener.start(look));
    ASSERT_TRUE(waitUntil([&] { return listener.connectedTo(look, ourSource); }))
        << "the listener's connection is not made again";
    ASSERT_TRUE(listenerHears());
    play(listenerPortNow);
    play(ownPortNow);
    // Our client goes with its server, before the other instance ends (the server would wait for it).
    server.stop();
    ASSERT_TRUE(waitUntil([] { return midiServerLost(); }));

    std::lock_guard lock(mutex);
    for (const auto& [topic, message] : saidLast)
        EXPECT_FALSE(message.contains(QStringLiteral("cannot reach"))) << message.toStdString();
    EXPECT_TRUE(saidLast[listenerTopic].contains(QStringLiteral("MIDI is sent again")))
        << said.join(" | ").toStdString();
    for (const QString& message : said)
        EXPECT_FALSE(message.contains(QStringLiteral("“NUPO”"))) << message.toStdString();
}

// The number our client had first is asked for again once it is free, at the next restart of the server,
// and never one that another instance held: another instance back first leaves ours alone; while a
// borrower holds our first number we take the next free one, and once the borrower has left, the next
// restart gives us our first number back.
TEST(MidiServerRestartTest, TheFirstNumberComesBackOnceFreeAndNoInstanceTakesAnothersNumber)
{
    const QString name = serverName(QStringLiteral("-names"));
    qputenv("JACK_DEFAULT_SERVER", name.toLocal8Bit());
    SynthGraph::setAudioOutputEnabled(false);
    JackServer server(name);
    if (!server.start()) {
        if (test::jackRequired())
            FAIL() << "the JACK dummy server " << name.toStdString() << " did not start";
        GTEST_SKIP() << "jackd could not start a server";
    }
    std::mutex mutex;
    std::map<QString, QString> saidLast;
    setMidiAlertHandler([&](const QString& message, const QString& topic) {
        std::lock_guard lock(mutex);
        saidLast[topic] = message;
    });
    pid_t other = -1;
    struct Ending {
        pid_t& other;
        ~Ending()
        {
            test::endProcess(other, SIGTERM);
            disposeMidi();
            setMidiAlertHandler({});
        }
    } ending{other};
    const auto holds = [](jack_client_t* look, const QString& client) {
        return !portsOf(look, client).isEmpty();
    };

    mainMidi();
    ASSERT_EQ(midiClientName(), QStringLiteral("NUPO MIDI 1"));
    jack_client_t* look = test::openJackClient("restart test look");
    ASSERT_NE(look, nullptr);
    other = test::startQuietProcess({NUPO_MIDI_INSTANCE}, {});
    ASSERT_GT(other, 0);
    ASSERT_TRUE(waitUntil([&] { return holds(look, QStringLiteral("NUPO MIDI 2")); }));

    // The server dies; ours stays off while the other instance comes back: it keeps its own number.
    server.kill();
    ASSERT_TRUE(waitUntil([] { return midiServerLost(); }));
    disposeMidi();
    ASSERT_TRUE(server.start());
    look = test::openJackClient("restart test look");
    ASSERT_NE(look, nullptr);
    ASSERT_TRUE(waitUntil([&] { return holds(look, QStringLiteral("NUPO MIDI 2")); }));
    EXPECT_FALSE(holds(look, QStringLiteral("NUPO MIDI 1")));

    // A borrower holds our first number: ours takes the next free one, not the other instance's.
    jack_client_t* borrower = test::openJackClient("NUPO MIDI 1");
    ASSERT_NE(borrower, nullptr);
    ASSERT_NE(jack_port_register(borrower, "from NUPO", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0),
              nullptr);
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    Listener listener(NUPO_MIDI_INSTANCE, folder.filePath(QStringLiteral("notes")));
    ASSERT_TRUE(listener.start(look));
    mainMidi();
    EXPECT_EQ(midiClientName(), QStringLiteral("NUPO MIDI 3"));
    const int listenerPort = int(listMidiDestinations().indexOf(QString::fromUtf8(listener.portName())));
    ASSERT_GE(listenerPort, 0);
    int note = 0;
    ASSERT_TRUE(waitUntil([&] {
        MidiOutOn(36 + (++note % 60), 100, 0, 0, listenerPort, 0);
        return listener.notes() > 0;
    }));

    // The borrower leaves. Once ours has heard of the listener quitting after it, it has heard of that too.
    jack_client_close(borrower);
    listener.end();
    const QString listenerTopic =
        QStringLiteral("MIDI destination ") + QString::fromUtf8(listener.portName());
    ASSERT_TRUE(waitUntil([&] {
        std::lock_guard lock(mutex);
        return saidLast[listenerTopic].contains(QStringLiteral("cannot reach"));
    }));
    EXPECT_EQ(midiClientName(), QStringLiteral("NUPO MIDI 3"));  // no new name while the server runs

    // The next restart: ours takes its first number back, the other instance keeps its own.
    server.stop();
    ASSERT_TRUE(waitUntil([] { return midiServerLost(); }));
    ASSERT_TRUE(server.start());
    ASSERT_TRUE(waitUntil([] { return !midiServerLost(); })) << "no new connection";
    EXPECT_EQ(midiClientName(), QStringLiteral("NUPO MIDI 1"));
    look = test::openJackClient("restart test look");
    ASSERT_NE(look, nullptr);
    ASSERT_TRUE(waitUntil([&] { return holds(look, QStringLiteral("NUPO MIDI 2")); }));
    EXPECT_FALSE(holds(look, QStringLiteral("NUPO MIDI 3")));
    // Our client goes with its server, before the other instance ends (the server would wait for it).
    server.stop();
    ASSERT_TRUE(waitUntil([] { return midiServerLost(); }));
}

}  // namespace
}  // namespace nupo
