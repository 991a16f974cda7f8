// Our MIDI follows the programs it sends to, on a JACK dummy server of the test's own: a listener that
// quits or crashes is said to be out of reach without a note sent to it, and back, it is connected again,
// hears the notes and is said to be reached again. A connection the user removes by hand stays removed
// until the destination is chosen again or MIDI is reset. A server that stops answering is said once, and
// what is sent meanwhile never arrives.
#include "ListenerProcess.h"
#include "MidiTestClient.h"

#include "midi/output/MidiOutput.h"
#include "platform/synth/SynthGraph.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <QTemporaryDir>

#include <jack/jack.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

namespace nupo {
namespace {

using test::JackServer;
using test::Listener;
using test::MidiBytes;
using test::waitUntil;

// What the alerts said: the last line of each topic (what an open alert shows of it), and every line.
class SaidLines {
public:
    SaidLines()
    {
        setMidiAlertHandler([this](const QString& message, const QString& topic) {
            std::lock_guard lock(mutex);
            lastByTopic[topic] = message;
            lines.append(message);
        });
    }
    ~SaidLines() { setMidiAlertHandler({}); }

    bool lastSays(const QString& topic, const QString& words) const
    {
        std::lock_guard lock(mutex);
        const auto found = lastByTopic.find(topic);
        return found != lastByTopic.end() && found->second.contains(words);
    }
    QStringList all() const
    {
        std::lock_guard lock(mutex);
        return lines;
    }
    std::string told() const { return all().join(QStringLiteral(" | ")).toStdString(); }

private:
    mutable std::mutex mutex;
    std::map<QString, QString> lastByTopic;
    QStringList lines;
};

QString topicOf(const char* destination)
{
    return QStringLiteral("MIDI destination ") + QString::fromUtf8(destination);
}

// The port of ours a listener's port is connected to; empty when none.
QString ourPortTo(jack_client_t* look, const Listener& listener)
{
    QString ours;
    jack_port_t* port = jack_port_by_name(look, listener.portName());
    if (const char** connections = port ? jack_port_get_all_connections(look, port) : nullptr) {
        for (const char** name = connections; *name != nullptr; ++name)
            if (QString::fromUtf8(*name).startsWith(midiClientName() + QLatin1Char(':')))
                ours = QString::fromUtf8(*name);
        jack_free(connections);
    }
    return ours;
}

// MIDI on a JACK dummy server of the test's own (one that may be stopped or frozen).
class MidiDestinationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString test =
            QString::fromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->name());
        const QString name = test::ownJackServerName(QStringLiteral("-follow-") + test.left(12));
        qputenv("JACK_DEFAULT_SERVER", name.toLocal8Bit());
        SynthGraph::setAudioOutputEnabled(false);
        server = std::make_unique<JackServer>(name);
        if (!server->start()) {
            if (test::jackRequired())
                FAIL() << "the JACK dummy server " << name.toStdString() << " did not start";
            GTEST_SKIP() << "jackd could not start a server";
        }
        look = test::openJackClient("follow test look");
        ASSERT_NE(look, nullptr);
        ASSERT_TRUE(folder.isValid());
    }
    void TearDown() override
    {
        // The test's own client is closed while its server lives; ours goes with its server.
        if (look != nullptr)
            jack_client_close(look);
        if (server) {
            server->stop();
            waitUntil([] { return midiServerLost(); });
        }
        disposeMidi();
    }

    std::unique_ptr<Listener> listener(const QString& clientName)
    {
        return std::make_unique<Listener>(NUPO_MIDI_INSTANCE, folder.filePath(clientName), clientName);
    }
    // The listener's index in the destination table.
    int portOf(const Listener& listening)
    {
        return int(listMidiDestinations().indexOf(QString::fromUtf8(listening.portName())));
    }
    void play(int port) { MidiOutOn(36 + (++note % 60), 100, 0, 0, port, 0); }
    // Plays to the listener's port until it hears a note.
    bool hears(const Listener& listening, int port)
    {
        const long long before = std::max(0LL, listening.notes());
        return waitUntil([&] {
            play(port);
            return listening.notes() > before;
        });
    }

    std::unique_ptr<JackServer> server;
    jack_client_t* look = nullptr;
    QTemporaryDir folder;
    int note = 0;
};

TEST_F(MidiDestinationTest, AListenerThatQuitsOrCrashesIsSaidGoneAndHearsTheNotesAgainOnItsReturn)
{
    SaidLines said;
    auto listening = listener(QStringLiteral("follow listener"));
    ASSERT_TRUE(listening->start(look));
    mainMidi();
    const int port = portOf(*listening);
    ASSERT_GE(port, 0);
    const QString topic = topicOf(listening->portName());
    ASSERT_TRUE(hears(*listening, port));
    const QString ours = ourPortTo(look, *listening);
    EXPECT_FALSE(ours.isEmpty());

    for (const bool crash : {false, true}) {
        SCOPED_TRACE(crash ? "killed" : "quit");
        // Gone: said without a note sent there.
        crash ? listening->kill() : listening->end();
        ASSERT_TRUE(waitUntil([&] { return said.lastSays(topic, QStringLiteral("cannot reach")); }))
            << said.told();
        // Back under its name: connected again by itself, it hears the notes, and that is said.
        ASSERT_TRUE(listening->start(look));
        ASSERT_TRUE(hears(*listening, port)) << said.told();
        EXPECT_EQ(ourPortTo(look, *listening), ours);
        ASSERT_TRUE(waitUntil([&] { return said.lastSays(topic, QStringLiteral("MIDI is sent again")); }))
            << said.told();
    }
    // Each going and each return said once; nothing said of the server.
    const QStringList lines = said.all();
    EXPECT_EQ(lines.filter(QStringLiteral("cannot reach")).size(), 2) << said.told();
    EXPECT_EQ(lines.filter(QStringLiteral("MIDI is sent again")).size(), 2) << said.told();
    EXPECT_TRUE(lines.filter(QStringLiteral("JACK server")).isEmpty()) << said.told();
}

TEST_F(MidiDestinationTest, AConnectionRemovedByHandStaysRemovedUntilChosenAgainOrMidiIsReset)
{
    SaidLines said;
    auto first = listener(QStringLiteral("listener A"));
    auto second = listener(QStringLiteral("listener B"));
    ASSERT_TRUE(first->start(look));
    ASSERT_TRUE(second->start(look));
    mainMidi();
    int portA = portOf(*first);
    const int portB = portOf(*second);
    ASSERT_GE(portA, 0);
    ASSERT_GE(portB, 0);
    const QString topicA = topicOf(first->portName());
    ASSERT_TRUE(hears(*first, portA));
    ASSERT_TRUE(hears(*second, portB));
    const QString ours = ourPortTo(look, *first);
    ASSERT_FALSE(ours.isEmpty());
    const auto removeByHand = [&] {
        ASSERT_EQ(jack_disconnect(look, ours.toUtf8().constData(), first->portName()), 0);
        ASSERT_TRUE(waitUntil([&] {
            return said.lastSays(topicA, QStringLiteral("connection was removed"));
        })) << said.told();
    };
    removeByHand();

    // Both listeners restart, A first: once B is connected again the watch has looked at A's return too,
    // and A stays as the user left it.
    first->end();
    second->end();
    ASSERT_TRUE(waitUntil([&] {
        return said.lastSays(topicOf(second->portName()), QStringLiteral("cannot reach"));
    })) << said.told();
    ASSERT_TRUE(first->start(look));
    ASSERT_TRUE(second->start(look));
    ASSERT_TRUE(hears(*second, portB));
    EXPECT_TRUE(ourPortTo(look, *first).isEmpty());
    play(portA);
    EXPECT_TRUE(said.lastSays(topicA, QStringLiteral("connection was removed"))) << said.told();

    // Chosen again in the port list: connected, and said.
    chooseMidiDestination(portA);
    ASSERT_TRUE(hears(*first, portA));
    EXPECT_EQ(ourPortTo(look, *first), ours);
    ASSERT_TRUE(waitUntil([&] { return said.lastSays(topicA, QStringLiteral("MIDI is sent again")); }))
        << said.told();

    // Removed again, then Reset MIDI.
    removeByHand();
    disposeMidi();
    mainMidi();
    portA = portOf(*first);
    ASSERT_TRUE(hears(*first, portA));
    ASSERT_TRUE(waitUntil([&] { return said.lastSays(topicA, QStringLiteral("MIDI is sent again")); }))
        << said.told();

    // Removed again, and the user connects it again by hand.
    removeByHand();
    ASSERT_EQ(jack_connect(look, ours.toUtf8().constData(), first->portName()), 0);
    ASSERT_TRUE(hears(*first, portA));
    ASSERT_TRUE(waitUntil([&] { return said.lastSays(topicA, QStringLiteral("MIDI is sent again")); }))
        << said.told();
}

TEST_F(MidiDestinationTest, AServerThatStopsAnsweringIsSaidOnceAndWhatIsSentMeanwhileNeverArrives)
{
    SaidLines said;
    auto sink = test::MidiTestClient::destination(QStringLiteral("silent sink"));
    mainMidi();
    const QStringList names = listMidiDestinations();
    const auto found = std::find_if(names.begin(), names.end(), [](const QString& n) {
        return n.endsWith(QStringLiteral(":silent sink"));
    });
    ASSERT_NE(found, names.end()) << names.join(", ").toStdString();
    const int port = int(found - names.begin());
    ASSERT_TRUE(sink->primeThroughPort(port));
    sink->clear();

    server->pause();
    ASSERT_TRUE(waitUntil([&] { return said.lastSays(midiServerTopic, QStringLiteral("does not answer")); }))
        << said.told();
    for (int i = 0; i < 20; ++i) {
        MidiOutOn(40 + i, 90, 0, 1, port, 0);
        MidiControlChange(117, i, 0, 1, port, 0);
    }
    server->resume();
    ASSERT_TRUE(waitUntil([&] { return said.lastSays(midiServerTopic, QStringLiteral("is back")); }))
        << said.told();
    // What was sent while the server was silent never comes, not even late.
    MidiControlChange(119, 77, 0, 0, port, 0);
    EXPECT_EQ(sink->messagesBefore({0xB0, 119, 77}), std::vector<MidiBytes>{});
    const QStringList lines = said.all();
    EXPECT_EQ(lines.size(), 2) << said.told();
    EXPECT_TRUE(lines.filter(QStringLiteral("cannot reach")).isEmpty()) << said.told();
    sink->closeClient();
}

}  // namespace
}  // namespace nupo
