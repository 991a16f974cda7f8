#include <gtest/gtest.h>

#include "QXDrawerSound/player/SoundSlotTables.h"
#include "QXSketch/gl/NUPO4Drawing.h"
#include "interop/OscPatchServer.h"
#include "interop/OscTestClient.h"
#include "interop/ui/QCNUPO4Patches.h"
#include "platform/appkit/NotificationCenter.h"
#include "plots/bargraph/gl/BarGraphWindowState.h"
#include "plots/bargraph/gl/QX2DBarGraphView.h"
#include "plots/rawwave/gl/RawwaveWindowState.h"
#include "plots/waterfall/gl/WaterfallWindowState.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "support/TestSupport.h"
#include "views3d/spectrum/SpectrumViewSettings.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>

#include <random>

using namespace nupo;

namespace {

struct Patches : ::testing::Test {
    OscPatchServer& server = QCNUPO4Patches::sharedPatchServer();
    test::OscTestClient client;

    void SetUp() override
    {
        testing::internal::CaptureStdout();
        ASSERT_TRUE(QCNUPO4Patches::startPatchInterface(0));
    }
    void TearDown() override
    {
        server.stop();
        testing::internal::GetCapturedStdout();
    }
    void send(const QString& address, const std::vector<float>& values = {})
    {
        const int before = server.acceptedCount() + server.droppedCount();
        ASSERT_TRUE(client.send(server.port(), encodePatchMessage(address, values)));
        ASSERT_TRUE(test::processEventsUntil(
            [&] { return server.acceptedCount() + server.droppedCount() > before; }));
        QCoreApplication::processEvents();
    }
    std::vector<double> read(const QString& address)
    {
        send(address);
        std::optional<QByteArray> answer;
        EXPECT_TRUE(test::processEventsUntil([&] { return (answer = client.receive()).has_value(); }));
        if (!answer)
            return {};
        const auto m = decodePatchDatagram(answer->constData(), std::size_t(answer->size()));
        EXPECT_TRUE(m && m->address == address);
        return m ? m->values : std::vector<double>{};
    }
};

}  // namespace

TEST_F(Patches, RawDataPatchStoresItsInputsAndAnswersItsReads)
{
    send("/nupo4/rawdata/BrainCHX", {3});
    send("/nupo4/rawdata/XpositionX", {120});
    send("/nupo4/rawdata/YpositionX", {-40});
    send("/nupo4/rawdata/WsizeX", {640});
    send("/nupo4/rawdata/HsizeX", {480});
    EXPECT_EQ(BrainCHrawX, 3);
    EXPECT_EQ(XpositionrawX, 120);
    EXPECT_EQ(YpositionrawX, -40);
    EXPECT_EQ(WsizerawX, 640);
    EXPECT_EQ(HsizerawX, 480);

    ShowWindowRawwave = 1;
    boundsRawwave = QRectF(10, 20, 700, 350);
    ARawwavePP.store(42.5);
    EXPECT_EQ(read("/nupo4/rawdata/ShowWindowRawwave"), std::vector<double>{1.0});
    EXPECT_EQ(read("/nupo4/rawdata/boundsRawwave"), (std::vector<double>{10, 20, 700, 350}));
    EXPECT_EQ(read("/nupo4/rawdata/ARawwavePP"), std::vector<double>{42.5});
}

TEST_F(Patches, BarGraphPatchStoresWindowInputsAndColoursWithinRange)
{
    send("/nupo4/bargraph/BrainCHX", {2});
    send("/nupo4/bargraph/HsizeX", {300});
    EXPECT_EQ(BrainCHbarX, 2);
    EXPECT_EQ(HsizebarX, 300);
    const char* lines[] = {"redComponentY", "greenComponentY", "blueComponentY", "alphaComponentY"};
    const char* cursors[] = {"redComponentCY", "greenComponentCY", "blueComponentCY", "alphaComponentCY"};
    for (int c = 0; c < 4; ++c) {
        send(QString("/nupo4/bargraph/") + lines[c], {0.1f * float(c + 1)});
        send(QString("/nupo4/bargraph/") + cursors[c], {0.2f * float(c + 1)});
    }
    EXPECT_FLOAT_EQ(redComponentX, 0.1f);
    EXPECT_FLOAT_EQ(alphaComponentX, 0.4f);
    EXPECT_FLOAT_EQ(greenComponentCX, 0.4f);
    EXPECT_FLOAT_EQ(alphaComponentCX, 0.8f);
    // A component outside 0..1 and an int out of range change nothing.
    send("/nupo4/bargraph/redComponentY", {1.5f});
    send("/nupo4/bargraph/BrainCHX", {3e9f});
    EXPECT_FLOAT_EQ(redComponentX, 0.1f);
    EXPECT_EQ(BrainCHbarX, 2);
}

TEST_F(Patches, WaterfallPatchStoresItsInputs)
{
    send("/nupo4/waterfall/BrainCHX", {5});
    send("/nupo4/waterfall/WsizeX", {800});
    send("/nupo4/waterfall/inputRX", {0.5f});
    send("/nupo4/waterfall/inputRY", {-30.0f});
    send("/nupo4/waterfall/inputRZ", {90.0f});
    EXPECT_EQ(BrainCHX, 5);
    EXPECT_EQ(WsizeX, 800);
    EXPECT_DOUBLE_EQ(inputRX, 0.5);
    EXPECT_DOUBLE_EQ(inputRY, -30.0);
    EXPECT_DOUBLE_EQ(inputRZ, 90.0);
}

TEST_F(Patches, DrawingPatchSetsARectanglesBrainChannelAndViewForTheViews)
{
    NUPO4Drawing drawing;
    drawing.addGraphic(std::make_unique<NUPO4Rectangle>(QRectF(0, 0, 10, 10)));
    drawing.addGraphic(std::make_unique<NUPO4Rectangle>(QRectF(20, 0, 10, 10)));
    drawing.makeFront();
    send("/nupo4/drawing/rectangle2/BrainChannel", {6});
    send("/nupo4/drawing/rectangle2/View", {1});
    EXPECT_EQ(drawing.rectangle(2)->brainChannel(), 6);
    EXPECT_EQ(drawing.rectangle(2)->view(), 1);
    EXPECT_EQ(nupo::setDemoNumberA, 6);
    EXPECT_EQ(setDemoNumber3B, 1);
    // Out of range, or a rectangle the drawing lacks: nothing changes.
    send("/nupo4/drawing/rectangle2/BrainChannel", {12});
    send("/nupo4/drawing/rectangle3/View", {2});
    EXPECT_EQ(drawing.rectangle(2)->brainChannel(), 6);
    EXPECT_EQ(drawing.rectangle(1)->view(), 0);
    EXPECT_TRUE(server.addresses().contains(QStringLiteral("/nupo4/drawing/rectangle16/View")));
}

TEST_F(Patches, PreferencesPatchPlaysStopsAndAloneSwitchesScriptsOn)
{
    QStringList posted;
    ScopedObserver play(SetSoundPlayNotification, nullptr, [&](const Notification& n) { posted << n.name; });
    ScopedObserver stop(SetSoundStopNotification, nullptr, [&](const Notification& n) { posted << n.name; });
    send("/nupo4/preferences/soundPlay");
    send("/nupo4/preferences/soundPlay", {0});
    send("/nupo4/preferences/soundStop", {1});
    EXPECT_EQ(posted, QStringList({"SetSoundPlayNotification", "SetSoundStopNotification"}));

    PlaySoundBlockX = 1;
    send("/nupo4/preferences/PlaySoundBlockX", {4});
    EXPECT_EQ(PlaySoundBlockX.load(), 4);
    send("/nupo4/preferences/PlaySoundBlockX", {13});
    send("/nupo4/preferences/PlaySoundBlockX", {2.5f});
    EXPECT_EQ(PlaySoundBlockX.load(), 4);

    AppleScriptON = 0;
    send("/nupo4/preferences/AppleScriptON", {1});
    EXPECT_EQ(AppleScriptON.load(), 1);
    send("/nupo4/preferences/AppleScriptON", {2});
    EXPECT_EQ(AppleScriptON.load(), 1);
    send("/nupo4/preferences/AppleScriptON", {0});
    EXPECT_EQ(AppleScriptON.load(), 0);
}

TEST_F(Patches, RandomDatagramsChangeNoPatchState)
{
    BrainCHrawX = 1;
    BrainCHbarX = 1;
    BrainCHX = 1;
    redComponentX = 0.3f;
    AppleScriptON = 0;
    int sounds = 0;
    ScopedObserver play(SetSoundPlayNotification, nullptr, [&](const Notification&) { ++sounds; });
    std::mt19937 random(4);
    const QStringList addresses = server.addresses();
    ASSERT_EQ(addresses.size(), 5 + 3 + 5 + 8 + 5 + 3 + 2 * QCNUPO4Patches::drawingPatchRectangles + 4);
    for (int n = 0; n < 1500; ++n) {
        // Real addresses with damaged tails, and plain noise.
        QByteArray d =
            encodePatchMessage(addresses[int(random() % std::uint32_t(addresses.size()))], {1, 2, 3});
        if (n % 2)
            d.resize(int(random() % 200));
        for (int i = int(d.indexOf(',')); i >= 0 && i < d.size(); ++i)
            d[i] = char(random());
        const int before = server.droppedCount() + server.acceptedCount();
        ASSERT_TRUE(client.send(server.port(), d));
        ASSERT_TRUE(test::processEventsUntil(
            [&] { return server.droppedCount() + server.acceptedCount() > before; }));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(BrainCHrawX, 1);
    EXPECT_EQ(BrainCHbarX, 1);
    EXPECT_EQ(BrainCHX, 1);
    EXPECT_FLOAT_EQ(redComponentX, 0.3f);
    EXPECT_EQ(AppleScriptON.load(), 0);
    EXPECT_EQ(sounds, 0);
    EXPECT_EQ(server.acceptedCount(), 0);
}

TEST_F(Patches, APortThatCannotBeHadIsToldOnScreenAndTheProgramRunsOn)
{
    const int taken = server.port();
    server.stop();
    // Another program holds the port: the interface does not start and the user reads why.
    OscPatchServer other;
    ASSERT_TRUE(other.start(taken));
    EXPECT_FALSE(QCNUPO4Patches::startPatchInterface(taken));
    EXPECT_FALSE(server.isRunning());
    QMessageBox* told = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(window);
            box && box->isVisible() && box->objectName() == "patchInterfaceAlert")
            told = box;
    ASSERT_NE(told, nullptr);
    EXPECT_EQ(told->text(), "The patch interface did not start.");
    EXPECT_TRUE(
        told->informativeText().startsWith(QStringLiteral("Cannot listen on 127.0.0.1 port %1: ").arg(taken)))
        << told->informativeText().toStdString();
    told->close();
    delete told;
    other.stop();
}
