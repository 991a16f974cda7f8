#include <gtest/gtest.h>

#include "interop/OscPatchServer.h"
#include "interop/OscTestClient.h"
#include "platform/appkit/MainThread.h"
#include "support/TestSupport.h"

#include <QCoreApplication>

#include <random>

using namespace nupo;

namespace {

struct Server : ::testing::Test {
    OscPatchServer server;
    test::OscTestClient client;
    std::vector<double> seen;
    bool allOnMain = true;

    void SetUp() override
    {
        server.addMethod("/t/seq", 1, 1,
                         [this](const std::vector<double>& v) -> std::optional<OscPatchServer::Reply> {
                             seen.push_back(v[0]);
                             allOnMain = allOnMain && isMainThread();
                             return std::nullopt;
                         });
        server.addMethod("/t/read", 0, 0,
                         [](const std::vector<double>&) -> std::optional<OscPatchServer::Reply> {
                             return OscPatchServer::Reply{4.5f, -1.0f};
                         });
        testing::internal::CaptureStdout();
        ASSERT_TRUE(server.start(0));
        ASSERT_NE(server.port(), 0);
    }
    void TearDown() override
    {
        server.stop();
        testing::internal::GetCapturedStdout();
    }
    // Sends, then waits until the server has taken every datagram sent so far.
    void sendAll(const std::vector<QByteArray>& datagrams)
    {
        const int before = server.acceptedCount() + server.droppedCount();
        for (const QByteArray& d : datagrams)
            ASSERT_TRUE(client.send(server.port(), d));
        ASSERT_TRUE(test::processEventsUntil([&] {
            return server.acceptedCount() + server.droppedCount() == before + int(datagrams.size());
        }));
        QCoreApplication::processEvents();
    }
};

}  // namespace

TEST_F(Server, RunsEachMessageOnTheMainThreadInTheOrderSent)
{
    for (int batch = 0; batch < 10; ++batch) {
        std::vector<QByteArray> datagrams;
        for (int i = 0; i < 50; ++i)
            datagrams.push_back(encodePatchMessage("/t/seq", {float(batch * 50 + i)}));
        sendAll(datagrams);
    }
    ASSERT_TRUE(test::processEventsUntil([&] { return seen.size() == 500; }));
    for (int i = 0; i < 500; ++i)
        ASSERT_EQ(seen[std::size_t(i)], double(i));
    EXPECT_TRUE(allOnMain);
    EXPECT_EQ(server.droppedCount(), 0);
}

TEST_F(Server, AnswersReadsToTheSender)
{
    sendAll({encodePatchMessage("/t/read", {})});
    std::optional<QByteArray> answer;
    ASSERT_TRUE(test::processEventsUntil([&] { return (answer = client.receive()).has_value(); }));
    const auto m = decodePatchDatagram(answer->constData(), std::size_t(answer->size()));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->address, "/t/read");
    EXPECT_EQ(m->values, (std::vector<double>{4.5, -1.0}));
}

TEST_F(Server, DropsUnknownAddressesWrongCountsAndGarbageWithALine)
{
    testing::internal::GetCapturedStdout();
    testing::internal::CaptureStdout();
    sendAll({encodePatchMessage("/t/nothing", {1}), encodePatchMessage("/t/seq", {}),
             encodePatchMessage("/t/seq", {1, 2}), QByteArray("garbage!"), QByteArray(1500, '/')});
    const std::string out = testing::internal::GetCapturedStdout();
    testing::internal::CaptureStdout();
    EXPECT_EQ(server.droppedCount(), 5);
    EXPECT_EQ(server.acceptedCount(), 0);
    EXPECT_TRUE(seen.empty());
    EXPECT_NE(out.find("unknown address /t/nothing"), std::string::npos) << out;
    EXPECT_NE(out.find("/t/seq takes 1..1 arguments, not 2"), std::string::npos) << out;
    EXPECT_NE(out.find("oversized (1500 bytes"), std::string::npos) << out;
}

TEST_F(Server, AStreamOfRandomDatagramsChangesNothing)
{
    std::mt19937 random(2121);
    for (int batch = 0; batch < 20; ++batch) {
        std::vector<QByteArray> datagrams;
        for (int i = 0; i < 100; ++i) {
            QByteArray d(int(random() % 1200), '\0');
            for (char& c : d)
                c = char(random());
            if (i % 3 == 0 && !d.isEmpty())
                d[0] = '/';
            datagrams.push_back(d);
        }
        sendAll(datagrams);
    }
    EXPECT_EQ(server.droppedCount(), 2000);
    EXPECT_TRUE(seen.empty());
    // The server still works afterwards.
    sendAll({encodePatchMessage("/t/seq", {7})});
    ASSERT_TRUE(test::processEventsUntil([&] { return seen.size() == 1; }));
    EXPECT_EQ(seen[0], 7.0);
}

TEST_F(Server, ListensOnTheLoopbackOnlyOnePortAtATime)
{
    OscPatchServer second;
    EXPECT_FALSE(second.start(server.port()));  // taken
    EXPECT_FALSE(second.start(70000));
    EXPECT_FALSE(server.start(0));  // already running
    const int port = server.port();
    server.stop();
    EXPECT_EQ(server.port(), 0);
    // Stopped, nothing is received; started again the methods are still there.
    client.send(port, encodePatchMessage("/t/seq", {1}));
    ASSERT_TRUE(server.start(0));
    sendAll({encodePatchMessage("/t/seq", {2})});
    ASSERT_TRUE(test::processEventsUntil([&] { return seen.size() == 1; }));
    EXPECT_EQ(seen, std::vector<double>{2.0});
}
