// The peak panel loaded from its nib: it shows setup 1 and its controls edit the current setup.
#include "core/ui/QXAppController.h"
#include "core/ui/WindowController.h"
#include "midi/output/MidiOutput.h"
#include "midi/ui/SetMIDIPanel.h"
#include "platform/synth/SynthGraph.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDoubleValidator>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTabWidget>
#include <QWidget>

namespace nupo {
namespace {

class SetMIDIPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The panel starts MIDI on its first opening; here without a MIDI system or audio output.
        qputenv("JACK_DEFAULT_SERVER", "nupo-panel-test-no-server");
        SynthGraph::setAudioOutputEnabled(false);
        firstTimeRunMIDIpeak = 0;
        SetMIDI& shared = SetMIDI::sharedSetMIDI();
        shared.setSetToDefault_(2);
        shared.initPortStr();
        panel = SetMIDIPanel::loadPanel();
        ASSERT_NE(panel, nullptr);
        ASSERT_NE(panel->nibWindow(), nullptr);
    }
    void TearDown() override
    {
        if (panel != nullptr)
            delete panel->nibWindow();
        disposeMidi();
    }

    template <class T>
    T* widget(SetMIDIOutlet outlet)
    {
        auto* found = qobject_cast<T*>(panel->control(outlet));
        EXPECT_NE(found, nullptr) << setMIDIOutletName(outlet).toStdString();
        return found;
    }

    SetMIDIPanel* panel = nullptr;
};

TEST_F(SetMIDIPanelTest, OpensOnSetupOneWithItsLists)
{
    EXPECT_EQ(widget<QComboBox>(SetMIDIOutlet::popupSetupN)->currentIndex(), 0);
    EXPECT_EQ(widget<QComboBox>(SetMIDIOutlet::popupSetupN)->count(), 128);
    EXPECT_EQ(widget<QComboBox>(SetMIDIOutlet::popupSetupN)->itemText(127), QStringLiteral("128"));
    EXPECT_EQ(widget<QLabel>(SetMIDIOutlet::displayHereSetupN)->text(), QStringLiteral("1"));
    EXPECT_EQ(widget<QComboBox>(SetMIDIOutlet::popupProgramChange)->count(), 128);
    EXPECT_EQ(widget<QComboBox>(SetMIDIOutlet::popupProgramChange)->itemText(127), QStringLiteral("Gunshot"));
    EXPECT_EQ(widget<QComboBox>(SetMIDIOutlet::popupSendMIDItiming)->currentText(),
              QStringLiteral("120 (every 0.5 second)"));
    EXPECT_EQ(widget<QComboBox>(SetMIDIOutlet::popupNUPOchannel)->count(), 8);  // two EEG channels
    EXPECT_EQ(widget<QComboBox>(SetMIDIOutlet::popupMIDIport)->count(), 0);     // no MIDI system here
    EXPECT_EQ(widget<QLabel>(SetMIDIOutlet::displayHereInputVSlider)->text(), QStringLiteral("50.000"));
    EXPECT_EQ(widget<QLabel>(SetMIDIOutlet::displayHereOutputFSlider)->text(), QStringLiteral("45.000"));
    // The entry fields hold the values shown beside them, not an empty box.
    const auto field = [this](const char* name) {
        auto* found = panel->nibWindow()->findChild<QLineEdit*>(QString::fromLatin1(name));
        return found ? found->text() : QStringLiteral("(none)");
    };
    EXPECT_EQ(field("OutputFSliderField"), QStringLiteral("45.000"));
    EXPECT_EQ(field("HighVNSliderField"), QStringLiteral("127.000"));
    EXPECT_EQ(field("SetupNinputField"), QStringLiteral("1"));
    EXPECT_EQ(field("MIDIchannelField"), widget<QLabel>(SetMIDIOutlet::displayHereMIDIchannel)->text());
    EXPECT_TRUE(widget<QAbstractButton>(SetMIDIOutlet::setMIDInoteF)->isChecked());
    EXPECT_TRUE(widget<QAbstractButton>(SetMIDIOutlet::setNoteOffOn)->isChecked());
    EXPECT_EQ(itsOpend, 1);

    const QImage shot = panel->nibWindow()->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    const QRgb background = shot.pixel(0, 0);
    int differing = 0;
    for (int y = 0; y < shot.height(); y += 3)
        for (int x = 0; x < shot.width(); x += 3)
            differing += shot.pixel(x, y) != background;
    EXPECT_GT(differing, 500);
}

TEST_F(SetMIDIPanelTest, ControlsEditTheCurrentSetup)
{
    auto* channels = widget<QComboBox>(SetMIDIOutlet::popupMIDIchannel);
    channels->setCurrentIndex(5);
    emit channels->activated(5);
    EXPECT_EQ(MIDIchannelX[0], 5);
    EXPECT_EQ(widget<QLabel>(SetMIDIOutlet::displayHereMIDIchannel)->text(), QStringLiteral("6"));

    widget<QAbstractButton>(SetMIDIOutlet::setMIDIoutON)->click();
    EXPECT_EQ(MIDIoutONX[0], 1);

    widget<QAbstractButton>(SetMIDIOutlet::setMIDIvelocityF)->click();
    EXPECT_EQ(MIDIvelocityFX[0], 1);
    EXPECT_EQ(MIDInoteVX[0], 1);
    EXPECT_FALSE(widget<QAbstractButton>(SetMIDIOutlet::setMIDInoteF)->isChecked());

    auto* lowF = widget<QSlider>(SetMIDIOutlet::setLowFSlider);
    lowF->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_GT(LowFX[0], 0.0f);
    EXPECT_EQ(InputFrequencyRangeX[0], 10);
    EXPECT_EQ(widget<QLabel>(SetMIDIOutlet::displayHereLowFSlider)->text(),
              QString::number(LowFX[0], 'f', 3));

    auto* tempo = widget<QLineEdit>(SetMIDIOutlet::TempoField);
    tempo->setText(QStringLiteral("300"));
    emit tempo->editingFinished();
    EXPECT_FLOAT_EQ(TempoX[0], 240.0f);
    EXPECT_EQ(widget<QComboBox>(SetMIDIOutlet::popupSendMIDItiming)->currentIndex(), 13);

    auto* setups = widget<QComboBox>(SetMIDIOutlet::popupSetupN);
    setups->setCurrentIndex(4);
    emit setups->activated(4);
    EXPECT_EQ(SetupNX, 4);
    EXPECT_EQ(widget<QLabel>(SetMIDIOutlet::displayHereSetupN)->text(), QStringLiteral("5"));
    EXPECT_FALSE(widget<QAbstractButton>(SetMIDIOutlet::setMIDIoutON)->isChecked());
    EXPECT_EQ(widget<QComboBox>(SetMIDIOutlet::popupMIDIchannel)->currentIndex(), 0);
}

// The display refresh runs ten times a second while the panel is open: its fields keep their one
// validator, whatever the number of refreshes.
TEST_F(SetMIDIPanelTest, RefreshesMakeNoNewValidators)
{
    ONInputX[0] = 1;
    auto validators = [this] { return panel->nibWindow()->findChildren<QValidator*>().size(); };
    panel->needUpdateInputDataQ();
    const auto before = validators();
    EXPECT_GT(before, 0);
    for (int i = 0; i < 200; ++i)
        panel->needUpdateInputDataQ();
    EXPECT_EQ(validators(), before);
    auto* inputF = widget<QLineEdit>(SetMIDIOutlet::InputFSliderField);
    const auto* validator = qobject_cast<const QDoubleValidator*>(inputF->validator());
    ASSERT_NE(validator, nullptr);
    EXPECT_EQ(validator->decimals(), 3);
    EXPECT_DOUBLE_EQ(validator->top(), 1000.0);
}

TEST_F(SetMIDIPanelTest, OpensAsTheMIDITabOfThePreferencesWindow)
{
    WindowController::sharedWindowController().addPanel(PreferencesTab::MIDIPeak, QStringLiteral("MIDI"),
                                                        &SetMIDIPanel::makePanel);
    WindowController& preferences = WindowController::sharedWindowController();
    preferences.showPanelX(7);
    ASSERT_NE(preferences.tabView(), nullptr);
    EXPECT_EQ(preferences.shownPanel(), 7);
    QWidget* tab = preferences.tabView()->currentWidget();
    ASSERT_NE(tab, nullptr);
    auto* setupNumber = tab->findChild<QLabel*>(QStringLiteral("displayHereSetupN"));
    ASSERT_NE(setupNumber, nullptr);
    EXPECT_EQ(setupNumber->text(), QStringLiteral("1"));
    auto* outputOn = tab->findChild<QAbstractButton*>(QStringLiteral("setMIDIoutON"));
    ASSERT_NE(outputOn, nullptr);
    outputOn->click();
    EXPECT_EQ(MIDIoutONX[0], 1);
}

TEST_F(SetMIDIPanelTest, MenuPresetsAndOutputSwitchReachTheMapper)
{
    WindowController::sharedWindowController().addPanel(PreferencesTab::MIDIPeak, QStringLiteral("MIDI"),
                                                        &SetMIDIPanel::makePanel);
    QXAppController& menu = QXAppController::sharedQXAppController();
    menu.setSimpleMIDIplay2(nullptr);  // the first preset opens the MIDI tab
    EXPECT_EQ(WindowController::sharedWindowController().shownPanel(), 7);
    EXPECT_EQ(MIDIoutONX[0], 1);
    EXPECT_EQ(MIDIoutONX[1], 1);
    EXPECT_EQ(ProgramChangeXXX[1], 98);
    menu.setOFFMIDIout(nullptr);
    EXPECT_EQ(MIDIoutONX[0], 0);
    EXPECT_EQ(setToOff, 1);
    menu.setONMIDIout(nullptr);
    EXPECT_EQ(MIDIoutONX[1], 1);
    menu.setSimpleMIDIplayOFF(nullptr);
    EXPECT_EQ(MIDIoutONX[0], 0);
    EXPECT_EQ(MIDIoutONX[1], 0);
    // The panel shows setup 1 with its output off, not setup 2 as the last preset left it.
    QWidget* tab = WindowController::sharedWindowController().tabView()->currentWidget();
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->findChild<QLabel*>(QStringLiteral("displayHereSetupN"))->text(), QStringLiteral("1"));
    EXPECT_FALSE(tab->findChild<QAbstractButton*>(QStringLiteral("setMIDIoutON"))->isChecked());
}

}  // namespace
}  // namespace nupo
