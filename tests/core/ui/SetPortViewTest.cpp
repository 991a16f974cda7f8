#include <gtest/gtest.h>

#include "core/QXInputStream.h"
#include "core/ui/SetPortView.h"
#include "shared/CoreState.h"

#include <QComboBox>
#include <QWidget>

using namespace nupo;

TEST(SetPortView, OffersTheDeviceRatesAndTakesTheChosenOne)
{
    EXPECT_EQ(SetPortView::sampleSpeedChoices(),
              (std::vector<int>{128, 256, 512, 1024, 120, 240, 480, 960, 1200, 1440, 1920}));
    SampleSpeed = 256;
    QWidget* panel = SetPortView::makePanel();
    ASSERT_NE(panel, nullptr);
    auto* rates = panel->findChild<QComboBox*>("sampleSpeedPopup");
    ASSERT_NE(rates, nullptr);
    EXPECT_EQ(rates->count(), 11);
    EXPECT_EQ(rates->currentText(), "256 Hz");

    tlongE = 7;
    rates->setCurrentIndex(9);  // 1440 Hz
    emit rates->activated(9);
    EXPECT_EQ(SampleSpeed.load(), 1440);
    EXPECT_EQ(tploop.load(), 48);
    EXPECT_EQ(tlongE.load(), 2);

    auto* channels = panel->findChild<QComboBox*>("deviceConfigPopup");
    ASSERT_NE(channels, nullptr);
    channels->setCurrentIndex(3);
    emit channels->activated(3);
    EXPECT_EQ(DeviceConfig.load(), 3);
    delete panel;

    EXPECT_EQ(openPort.load(), 0);  // no serial port is ever opened
}

TEST(SetPortView, SharedPanelStartsTheAcquisitionThreads)
{
    SetPortView::sharedSetPortView();
    EXPECT_TRUE(QXInputStream::sharedQXInputStream().isRunning());
    QXInputStream::sharedQXInputStream().stopThreads();
}
