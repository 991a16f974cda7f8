// The band panel loaded from its nib: it opens on the "MIDI Bands" tab, shows the shown setup in its
// eight band rows, and its controls change the shown setup.
#include "core/ui/TextFormattingView.h"
#include "core/ui/WindowController.h"
#include "midi/output/MidiOutput.h"
#include "midi/ui/SetMIDIbandPanel.h"
#include "platform/appkit/ui/ColorWell.h"
#include "platform/synth/SynthGraph.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>

namespace nupo {
namespace {

class SetMIDIbandPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("JACK_DEFAULT_SERVER", "nupo-panel-test-no-server");
        SynthGraph::setAudioOutputEnabled(false);
        firstTimeRunMIDIband = 0;
        SetMIDIband& shared = SetMIDIband::sharedSetMIDIband();
        shared.setSetToDefault_(2);
        shared.initPortStr();
        WindowController::sharedWindowController().addPanel(
            PreferencesTab::MIDIBand, QStringLiteral("MIDI Bands"), &SetMIDIbandPanel::makePanel);
        WindowController& preferences = WindowController::sharedWindowController();
        preferences.showPanelX(PreferencesTab::MIDIBand);
        ASSERT_NE(preferences.tabView(), nullptr);
        tab = preferences.tabView()->currentWidget();
        ASSERT_NE(tab, nullptr);
    }
    void TearDown() override { disposeMidi(); }

    template <class T>
    T* find(const QString& name)
    {
        auto* found = tab->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    QWidget* tab = nullptr;
};

TEST_F(SetMIDIbandPanelTest, OpensOnItsTabWithTheShownSetup)
{
    EXPECT_EQ(WindowController::sharedWindowController().shownPanel(), PreferencesTab::MIDIBand);
    EXPECT_EQ(find<QComboBox>("popupSetupN")->count(), 128);
    EXPECT_EQ(find<QComboBox>("popupSetupN")->currentIndex(), 0);
    EXPECT_EQ(find<QComboBox>("popupSendMIDItiming")->currentText(), QStringLiteral("realtime"));
    for (int b = 1; b <= 8; ++b) {
        const QString n = QString::number(b);
        EXPECT_EQ(find<QComboBox>("popupMIDIchannel" + n)->count(), 16);
        EXPECT_EQ(find<QComboBox>("popupMIDIchannel" + n)->currentIndex(), b - 1);
        EXPECT_EQ(find<QLabel>("displayHereband" + n)->text(), QString::number(10.0 * (b - 1), 'f', 3));
        EXPECT_EQ(find<QLabel>("bandNoteField" + n)->text(), QString::number(10 * (b - 1)));
        EXPECT_FALSE(find<QLabel>("BS" + n + "Text")->isVisibleTo(tab));
    }
    EXPECT_EQ(find<QLabel>("displayHereLowFSlider5")->text(), QStringLiteral("13.000"));
    EXPECT_EQ(find<QLabel>("displayHereHighFSlider7")->text(), QStringLiteral("28.000"));
    // The entry fields hold the values shown beside them, not an empty box.
    EXPECT_EQ(find<QLineEdit>("LowFSliderField5")->text(), QStringLiteral("13.000"));
    EXPECT_EQ(find<QLineEdit>("HighFSliderField7")->text(), QStringLiteral("28.000"));
    EXPECT_EQ(find<QLineEdit>("bandField3")->text(), find<QLabel>("displayHereband3")->text());
    EXPECT_EQ(find<QLineEdit>("SetupNinputField")->text(), QStringLiteral("1"));
    EXPECT_TRUE(find<QAbstractButton>("setNoteOnOff")->isChecked());
    EXPECT_EQ(itsOpendE, 1);

    const QImage shot = tab->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    const QRgb background = shot.pixel(0, 0);
    int differing = 0;
    for (int y = 0; y < shot.height(); y += 3)
        for (int x = 0; x < shot.width(); x += 3)
            differing += shot.pixel(x, y) != background;
    EXPECT_GT(differing, 500);
    QWidget* window = WindowController::sharedWindowController().window();
    ASSERT_NE(window, nullptr);
    EXPECT_LE(window->sizeHint().width(), 1024);
    EXPECT_LE(window->sizeHint().height(), 768);
}

TEST_F(SetMIDIbandPanelTest, ControlsChangeTheShownSetup)
{
    auto* stepper = find<QSpinBox>("setSetCountX");
    stepper->setValue(4);  // the setup stepper acts on every step
    EXPECT_EQ(SetupBandNX, 4);
    EXPECT_EQ(find<QLabel>("displayHereSetupN")->text(), QStringLiteral("5"));

    find<QAbstractButton>("setMIDIoutON")->click();
    EXPECT_EQ(MIDIoutONEX[4], 1);
    EXPECT_EQ(MIDIoutONEX[0], 0);

    auto* channel = find<QComboBox>("popupMIDIchannel3");
    channel->setCurrentIndex(9);
    emit channel->activated(9);
    EXPECT_EQ(MIDIchannel3X[4], 9);
    EXPECT_EQ(find<QLabel>("displayHereMIDIchannel3")->text(), QStringLiteral("10"));
    EXPECT_EQ(find<QSpinBox>("setSetMIDIchannel3")->value(), 9);

    find<QSpinBox>("setSetMIDIchannel6")->setValue(12);
    EXPECT_EQ(MIDIchannel6X[4], 12);

    auto* low = find<QLineEdit>("LowFSliderField2");
    low->setText(QStringLiteral("2.5"));
    emit low->editingFinished();
    EXPECT_FLOAT_EQ(LowF2X[4], 2.5f);
    EXPECT_EQ(find<QSlider>("setLowFSlider2")->value(), 25);

    auto* gain = find<QSlider>("GainNoteSlider");
    gain->triggerAction(QAbstractSlider::SliderPageStepAdd);  // as a click on the groove
    EXPECT_FLOAT_EQ(gainNoteX[4], float(gain->value()) / 100.0f);
    EXPECT_EQ(find<QLabel>("bandNoteField8")->text(), QString::number(int(70.0f * gainNoteX[4].load())));

    auto* name = find<QLineEdit>("SetupNstringField");
    name->setText(QStringLiteral("Alpha"));
    emit name->editingFinished();
    EXPECT_EQ(strEX[4], QStringLiteral("Alpha"));
    EXPECT_EQ(find<QComboBox>("popupSetupN")->itemText(4), QStringLiteral("Alpha"));

    find<QAbstractButton>("setSet")->click();
    EXPECT_EQ(MIDIchannel3XZ[4], 9);

    // Brain switches as band source: the brain-switch labels show and the edges follow the windows.
    auto* brainSwitches = find<QAbstractButton>("setUsePeakModeCell1");
    brainSwitches->click();
    EXPECT_EQ(UsePeakModeEX[4], 1);
    EXPECT_TRUE(find<QLabel>("BS1Text")->isVisibleTo(tab));
}

// Each band row has its channel entry (typed 1-based, clamped) and its value entry; the setup-wide
// channel and program steppers are there and change no band's channel.
TEST_F(SetMIDIbandPanelTest, ChannelEntriesAndSetupWideSteppers)
{
    for (int b = 1; b <= 8; ++b) {
        const QString n = QString::number(b);
        find<QLineEdit>("MIDIchannelField" + n);
        auto* value = find<QLineEdit>("bandField" + n);
        ASSERT_NE(value, nullptr);
        EXPECT_NE(value->validator(), nullptr);  // the float entry format
    }
    const int s = SetupBandNX;
    auto* channel = find<QLineEdit>("MIDIchannelField3");
    channel->setText(QStringLiteral("0"));
    emit channel->editingFinished();
    EXPECT_EQ(MIDIchannel3X[s], 0);
    EXPECT_EQ(find<QLabel>("displayHereMIDIchannel3")->text(), QStringLiteral("1"));
    channel->setText(QStringLiteral("21"));
    emit channel->editingFinished();
    EXPECT_EQ(MIDIchannel3X[s], 15);
    EXPECT_EQ(find<QComboBox>("popupMIDIchannel3")->currentIndex(), 15);
    EXPECT_EQ(find<QSpinBox>("setSetMIDIchannel3")->value(), 15);
    find<QLineEdit>("MIDIchannelField8")->setText(QStringLiteral("5"));
    emit find<QLineEdit>("MIDIchannelField8")->editingFinished();
    EXPECT_EQ(MIDIchannel8X[s], 4);

    auto* common = find<QSpinBox>("setSetMIDIchannel");
    auto* program = find<QSpinBox>("setSetMIDIprogramC");
    ASSERT_NE(common, nullptr);
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(common->maximum(), 15);
    EXPECT_EQ(program->maximum(), 127);
    common->setValue(9);
    program->setValue(40);
    EXPECT_EQ(MIDIchannel1X[s], 0);
    EXPECT_EQ(MIDIchannel8X[s], 4);
}

TEST_F(SetMIDIbandPanelTest, TextColourReachesTheBandFieldOfAnInstanceWithControls)
{
    ColorWell well;
    well.setColor(RGBAColor::fromRGBA(1.0, 0.0, 0.0));
    // The shared instance has no controls: nothing to recolour.
    EXPECT_EQ(SetMIDIband::sharedSetMIDIband().bandField1(), nullptr);
    TextFormattingView().setTextColor(&well);
    // A panel's band field 1 is its band value display, and takes the colour.
    auto* display = find<QLabel>("displayHereband1");
    ASSERT_TRUE(TextFormattingView::recolour(display, &well));
    EXPECT_EQ(display->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_FALSE(TextFormattingView::recolour(display, nullptr));
}

}  // namespace
}  // namespace nupo
