// Every value a document stores is a change when the user changes it, and only then: each key a save
// writes is either one that counts or one the controller's place-only table names; each is changed in
// turn, marks the document (or, a place, does not) and comes back after save and reopen. The replay speed
// counts; a value being typed is taken by Save and asked about by Quit; browsing the Media Browser
// changes nothing; opening a recording over unsaved work asks first; no question has a default that
// gives work up.
#include <gtest/gtest.h>

#include "DocumentMenuItem.h"
#include "QXDrawerSound/browser/ui/AppControllerB.h"
#include "QXSketch/gl/NUPO4Drawing.h"
#include "QXSketch/gl/NUPO4Graphic.h"
#include "QXSketch/ui/NUPO4DrawWindowController.h"
#include "core/QXSerialPort.h"
#include "core/Transport.h"
#include "core/ui/SetPortView.h"
#include "plots/waterfall/gl/QX2DSpectrumGLView.h"
#include "core/ui/WindowController.h"
#include "document/NUPO4DrawDocument.h"
#include "document/ui/NUPO4DocumentController.h"
#include "midi/band/BandSetupTable.h"
#include "midi/peak/PeakSetupTable.h"
#include "midi/common/MidiMapperWorker.h"
#include "QXDrawerSound/browser/MediaBrowser.h"
#include "QXDrawerSound/player/SoundSlotTables.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/plist/PlistReader.h"
#include "platform/plist/PlistWriter.h"
#include "shared/CoreState.h"
#include "shared/RecordingBuffers.h"
#include "shared/Utilities.h"
#include "support/WindowTestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <map>

using namespace nupo;
using namespace nupo::test;

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

// The stored keys that count, by section; every other key a save writes is in the place-only table.
// A key added to a section belongs in one of the two.
const std::map<QString, QStringList>& countedKeys()
{
    static const std::map<QString, QStringList> keys = {
        {"Recording", {"SampleSpeed", "tlongE", "maxploop"}},
        {"BrainPeakMIDI",
         {"SetupPopupX:", "InstrumentNumber:", "LowFX:", "HighFX:", "LowFNX:", "HighFNX:", "LowVX:",
          "HighVX:", "LowVNX:", "HighVNX:", "TempoX:", "SendMIDItimingX:", "NUPOchannelX:", "BSchannelX:",
          "UsePeakModeX:", "InputFrequencyRangeX:", "PeakPowerX:", "AveragePowerX:", "ONInputX:",
          "MIDIoutONX:", "MIDIportX:", "MIDIchannelX:", "ProgramChangeXXX:", "UseQTMIDIX:", "Play3PeaksX:",
          "NoteOnOffX:", "NoteOffOnX:", "PlayOnlyNoteChangedX:", "MIDInoteFX:", "MIDIvelocityFX:",
          "MIDIchannelFX:", "MIDIprogramchangeFX:", "MIDIpitchbendFX:", "MIDIcontrolchangeVFX:",
          "MIDIcontrolchangeNFX:", "MIDInoteVX:", "MIDIvelocityVX:", "MIDIchannelVX:",
          "MIDIprogramchangeVX:", "MIDIpitchbendVX:", "MIDIcontrolchangeVVX:", "MIDIcontrolchangeNVX:",
          "strX:"}},
        {"PlotWindows",
         {"selectCHXX", "selectBCHXX", "viewAX", "setWRawGain", "selectCHX", "selectBCHX", "viewABarX",
          "setWBarGain", "selectXCHNXY", "selectBXCHNXY", "viewA2DX", "setW2DGain"}},
        {"Drawing",
         {"Graphics", "Selected"}},
        {"Spectrum3DWindow",
         {"selectXCHNX", "selectBXCHNX", "viewA3DXX", "displayModeX", "brainSWX"}},
        {"Device",
         {"DeviceConfig"}},
        {"Display",
         {"DrawBothside", "Draw2DBothside", "ShowGrid2DBarX", "ShowPeakHoldX", "PeakHoldSizeX",
          "UsePeakHoldColorX", "ShowText", "ShowPeakLine", "ShowHorizontalLine", "ShowTextBSMix",
          "AlwaysUpdateBSX", "showQTFront", "rawwaveWindowing", "autoGainRawData", "setPeakModeX",
          "setBSPeakModeX", "setPeakWFModeX", "setHorizontalLineModeX", "setFqTextModeX", "setBSFqTextModeX",
          "setGridSize2DBarNumberX", "GridSize2DBarX", "setPeakHoldSize2DBarX", "PeakHoldSize2DBarX",
          "setAutoGainRawwaveX", "AutoGainRawwaveX", "setPeakHoldModeX", "PeakHoldModeX", "setPeakSizeX",
          "setBSPeakSizeX", "setPeakWFSizeX", "setTopMaterialX", "set2DMaterialX", "setMaterialX",
          "setBSTopMaterialX", "setBSMaterialX", "setPeakWFMaterialX", "ColorGainSliderX",
          "ColorOffsetSliderX", "ColorGainBSMixSliderX", "ColorOffsetBSMixSliderX", "GridColorX0",
          "GridColorY0", "PeakHoldColorX0", "GridColorX1", "GridColorY1", "PeakHoldColorX1", "GridColorX2",
          "GridColorY2", "PeakHoldColorX2", "GridColorX3", "GridColorY3", "PeakHoldColorX3",
          "setColorGainAnimationX", "setColorOffsetAnimationX", "setColorGainBSMixAnimationX",
          "setColorOffsetBSMixAnimationX", "displayMode2DX"}},
        {"Analysis",
         {"fftp", "setGain1Number", "setGain2Number", "setGain3Number", "setGain4Number", "LOGpowerONed",
          "averageFFTX", "mainsFrequencyX"}},
        {"BrainRhythmMIDI",
         {"setBrainrhythmMIDIOpend:", "SetupPopupEX:", "NUPOchannelEX:", "MIDIportEX:", "SendMIDItimingEX:",
          "MIDIoutONEX:", "BSchannelEX:", "UsePeakModeEX:", "PeakPowerEX:", "AveragePowerEX:", "gainNoteX:",
          "NoteOnOffEX:", "NoteOffOnEX:", "ONInputEX:", "MIDIchannel1X:", "MIDIchannel2X:", "MIDIchannel3X:",
          "MIDIchannel4X:", "MIDIchannel5X:", "MIDIchannel6X:", "MIDIchannel7X:", "MIDIchannel8X:",
          "LowF1X:", "LowF2X:", "LowF3X:", "LowF4X:", "LowF5X:", "LowF6X:", "LowF7X:", "LowF8X:", "HighF1X:",
          "HighF2X:", "HighF3X:", "HighF4X:", "HighF5X:", "HighF6X:", "HighF7X:", "HighF8X:", "strEX:"}},
        {"Sound",
         {"SoundBlockX", "PlaySoundBlockX", "setSelectSoundNumberA", "setSoundBrainNumberA",
          "setSoundPFCNumberA", "setVolumeBrainNumberA", "setVolumePFCNumberA", "setTimeBrainNumberA",
          "setTimePFCNumberA", "setSpeedBrainNumberA", "setSpeedPFCNumberA", "VolumeSlider_valueA",
          "TimeSlider_valueA", "SpeedSlider_valueA", "EyedeltaLSlider_valueA", "EyedeltaHSlider_valueA",
          "ThetaLSlider_valueA", "ThetaHSlider_valueA", "AlphaLSlider_valueA", "AlphaHSlider_valueA",
          "BetaLSlider_valueA", "BetaHSlider_valueA", "PlaymodeA", "UseBSONA", "SoundControlA",
          "SpeedControlA", "RowsCountA", "UseBSSlider_valueA", "OnOffSWBSSlider_valueA",
          "UseFBSSlider_valueA", "VolumeTimeSpeedControA", "FrameControlA", "SendSoundstr", "SendSoundAstr",
          "SendSoundBstr", "SendSoundCstr", "SendSoundDstr", "SendSoundEstr", "SendSoundFstr",
          "SendSoundGstr", "SendSoundHstr", "SendSoundIstr"}},
        {"Movie",
         {"ploopSyncX", "setLoopModeX", "MoviePath"}},
    };
    return keys;
}

bool isCounted(const QString& section, const QString& key)
{
    const auto found = countedKeys().find(section);
    return found != countedKeys().end() &&
           (found->second.contains(key) ||
            // The recording's channels, "Channel1" .. , count through its mark.
            (section == QLatin1String("Recording") && key.startsWith(QLatin1String("Channel"))));
}

bool isPlaceOnly(const QString& section, const QString& key)
{
    const QStringList places = NUPO4DocumentController::placeOnlyKeys();
    return places.contains(section) || places.contains(section + QLatin1Char('/') + key);
}

PlistDictionary savedFile(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const PlistValue top = PlistReader::parse(file.readAll()).value_or(PlistValue());
    return top.isDictionary() ? top.toDictionary() : PlistDictionary();
}

std::string textOf(const PlistValue& value)
{
    return QString::fromUtf8(PlistWriter::write(PlistDictionary{{QStringLiteral("v"), value}}))
        .simplified()
        .left(200)
        .toStdString();
}

// Other values of the same shape: a number moved up or down or flipped, a name lengthened, a byte of
// data changed, one item of an array or dictionary changed.
std::vector<PlistValue> otherValues(const PlistValue& value, int depth = 0)
{
    std::vector<PlistValue> others;
    if (value.isString()) {
        bool number = false;
        const double x = value.toString().toDouble(&number);
        if (number) {
            for (double y : {x + 1, x - 1, x == 0 ? 1.0 : 0.0, x * 2, x / 2, x + 0.25, x - 0.25, x + 10, x - 10})
                if (y != x)
                    others.push_back(numberValue(y));
        } else {
            others.push_back(value.toString() + QStringLiteral("1"));
            others.push_back(QStringLiteral("a"));
        }
    } else if (value.isData()) {
        QByteArray bytes = value.toData();
        if (!bytes.isEmpty()) {
            bytes[0] = char(bytes[0] ^ 0x10);
            others.push_back(PlistValue::fromData(bytes));
        }
    } else if (value.isArray() && depth < 4) {
        const PlistValue::Array& items = value.toArray();
        for (std::size_t i = 0; i < items.size() && others.size() < 24; ++i)
            for (PlistValue& item : otherValues(items[i], depth + 1)) {
                PlistValue::Array changed = items;
                changed[i] = std::move(item);
                others.emplace_back(std::move(changed));
            }
    } else if (value.isDictionary() && depth < 4) {
        const PlistDictionary& entries = value.toDictionary();
        for (const QString& key : entries.keys())
            for (PlistValue& item : otherValues(entries.value(key), depth + 1)) {
                PlistDictionary changed = entries;
                changed.insert(key, std::move(item));
                others.emplace_back(std::move(changed));
            }
    }
    return others;
}

// The program's own actions for keys that have one apart from reading a document (which rewrites the
// whole recording, say): each sets the value given.
const std::map<QString, std::function<void(int)>>& actions()
{
    static const std::map<QString, std::function<void(int)>> setters = {
        {"Recording/ploop", [](int v) { Transport::sharedTransport().setTimePosition(v); }},
        {"Recording/ploopStart", [](int v) { ploopStart.store(v); }},
        {"Recording/tlongE", [](int v) { QX2DSpectrumGLView::sharedQX2DSpectrumGLView().setDemoNumber2(v); }},
        {"Recording/SampleSpeed", [](int v) { SetPortView::setSampleSpeedTo(v); }},
    };
    return setters;
}

// Reads a section's dictionary into the program as a document's reader does, with the document's flag
// raised meanwhile.
bool applySection(DocumentSection& section, const PlistDictionary& values)
{
    SectionInput input(values, section.key());
    if (!section.stage(input) || input.failed())
        return false;
    startToOpenData.store(1, relaxed);
    MidiMapperWorker::documentFlagRaised();
    section.apply(DocumentReadContext{});
    startToOpenData.store(0, relaxed);
    MidiMapperWorker::documentFlagLowered();
    return true;
}

NUPO4DocumentController& quietController()
{
    auto& controller = NUPO4DocumentController::sharedNUPO4DocumentController();
    controller.tellUser = [](const QString& message) { ADD_FAILURE() << message.toStdString(); };
    controller.askToSaveChanges = [](const QString&) { return NUPO4DocumentController::Cancel; };
    return controller;
}

}  // namespace

TEST(DocumentStoredValues, EveryStoredKeyCountsOrIsOnlyAPlaceAndComesBack)
{
    startWithDemo();
    auto& controller = quietController();
    NUPO4DrawDocument& document = NUPO4DrawDocument::sharedNUPO4DrawDocument();
    // The MIDI sections are saved once their panels have been seen; the drawing once it holds graphics.
    WindowController::sharedWindowController().showPanelX(PreferencesTab::MIDIPeak);
    WindowController::sharedWindowController().showPanelX(PreferencesTab::MIDIBand);
    ASSERT_TRUE(processEventsUntil([] { return setBrainpeakMIDIOpend != 0 && setBrainrhythmMIDIOpend != 0; }));
    // The peak setups are saved once the user changed one of them.
    InstrumentNumber.store((InstrumentNumber.load() + 1) % 128);
    NUPO4DrawWindowController::showDrawWindow(nullptr);
    ASSERT_TRUE(processEventsUntil([] { return NUPO4Drawing::frontDrawing() != nullptr; }));
    NUPO4Drawing::frontDrawing()->addGraphic(NUPO4Graphic::make(GraphicKind::Rectangle, QRectF(40, 50, 120, 70)));
    const QString original = tempFolder() + "/walk-original.nupo4";
    ASSERT_TRUE(controller.saveDocumentTo(original));
    const PlistDictionary stored = savedFile(original);

    // The guard: every key a save writes is in one of the two lists, and no key is in both.
    for (const QString& sectionKey : stored.keys()) {
        const PlistValue section = stored.value(sectionKey);
        if (!section.isDictionary())
            continue;
        for (const QString& key : section.toDictionary().keys()) {
            const bool counted = isCounted(sectionKey, key);
            const bool place = isPlaceOnly(sectionKey, key);
            EXPECT_TRUE(counted || place) << (sectionKey + "/" + key).toStdString()
                                          << " is stored but neither counts nor is listed as a place";
            EXPECT_FALSE(counted && place) << (sectionKey + "/" + key).toStdString() << " is in both lists";
        }
    }

    // Each key changed alone, as the section's reader takes it: one that counts marks the document, a
    // place does not.
    std::map<QString, PlistValue> expected;
    for (const QString& sectionKey : stored.keys()) {
        DocumentSection* section = document.section(sectionKey);
        if (!section)
            continue;
        for (const QString& key : stored.value(sectionKey).toDictionary().keys()) {
            const std::string name = (sectionKey + "/" + key).toStdString();
            controller.markSaved();
            const std::optional<PlistDictionary> before = section->write();
            ASSERT_TRUE(before) << name;
            const PlistValue was = before->value(key);
            std::optional<PlistValue> now;
            for (const PlistValue& other : otherValues(was)) {
                if (const auto action = actions().find(sectionKey + "/" + key); action != actions().end()) {
                    if (!other.isString())
                        continue;
                    action->second(other.toString().toInt());
                    const PlistValue after = section->write()->value(key);
                    if (after != was) {
                        now = after;
                        break;
                    }
                    continue;
                }
                PlistDictionary changed = *before;
                changed.insert(key, other);
                // The recording's length and its channels go together.
                if (sectionKey == QLatin1String("Recording") && key == QLatin1String("maxploop"))
                    for (const QString& channel : changed.keys())
                        if (changed.value(channel).isData())
                            changed.insert(channel, PlistValue::fromData(changed.value(channel).toData().left(
                                                        other.toString().toInt() * 4)));
                if (!applySection(*section, changed))
                    continue;
                const std::optional<PlistDictionary> after = section->write();
                if (after && after->contains(key) && after->value(key) != was) {
                    now = after->value(key);
                    break;
                }
            }
            if (!now) {
                // A place may be taken only as its window opens (a frame, an open count).
                if (isCounted(sectionKey, key))
                    ADD_FAILURE() << name << " (" << textOf(was) << ") takes no other value";
                continue;
            }
            if (isCounted(sectionKey, key)) {
                EXPECT_TRUE(controller.isDocumentEdited()) << name << " changed to " << textOf(*now);
                expected[sectionKey + "/" + key] = *now;
                // A setup whose channel follows the peak's frequency or value has the mapper set the
                // channel as the recording plays, which is no change of the document; the switch goes
                // back once it has marked the document.
                if (sectionKey == QLatin1String("BrainPeakMIDI") && key.startsWith(QLatin1String("MIDIchannel")) &&
                    key != QLatin1String("MIDIchannelX:")) {
                    controller.markSaved();
                    MIDIchannelX[0].store((MIDIchannelX[0].load() + 1) % 16);  // as the mapper sets it
                    EXPECT_FALSE(controller.isDocumentEdited()) << name << ": the channel the mapper set";
                    ASSERT_TRUE(applySection(*section, *before));
                    expected.erase(sectionKey + "/" + key);
                }
            } else {
                EXPECT_FALSE(controller.isDocumentEdited()) << name << " changed to " << textOf(*now);
            }
        }
    }

    // Saved with every change, and reopened after the original: each value that counts comes back as it
    // was saved (a later change may have moved an earlier one).
    for (auto& [place, value] : expected)
        value = document.section(place.section(QLatin1Char('/'), 0, 0))
                    ->write()
                    .value_or(PlistDictionary())
                    .value(place.section(QLatin1Char('/'), 1));
    const QString changed = tempFolder() + "/walk-changed.nupo4";
    ASSERT_TRUE(controller.saveDocumentTo(changed));
    ASSERT_TRUE(controller.openDocumentAt(original));
    ASSERT_TRUE(controller.openDocumentAt(changed));
    EXPECT_FALSE(controller.isDocumentEdited());
    const PlistDictionary reopened = savedFile(changed);
    for (const auto& [place, value] : expected) {
        const QString sectionKey = place.section(QLatin1Char('/'), 0, 0);
        const QString key = place.section(QLatin1Char('/'), 1);
        DocumentSection* section = document.section(sectionKey);
        ASSERT_TRUE(section);
        const std::optional<PlistDictionary> now = section->write();
        ASSERT_TRUE(now);
        EXPECT_EQ(textOf(now->value(key)), textOf(value)) << place.toStdString() << " after reopening";
    }
}

TEST(DocumentStoredValues, AReplaySpeedChosenInTheWaterfallCountsAndComesBack)
{
    if (!onScreen())
        GTEST_SKIP() << "the plot windows draw only on an X display";
    startWithDemo();
    auto& controller = quietController();
    menuItem("showQX2DSpectrum")->trigger();
    QComboBox* speed = nullptr;
    ASSERT_TRUE(processEventsUntil([&] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->windowTitle().startsWith(QLatin1String("Waterfall Window")))
                speed = window->findChild<QComboBox*>(QStringLiteral("popup2"));
        return speed != nullptr;
    }));
    const QString saved = tempFolder() + "/speed.nupo4";
    ASSERT_TRUE(controller.saveDocumentTo(saved));
    const int was = tlongE.load();
    const int chosen = was == 5 ? 6 : 5;  // "X 2" or the next
    speed->setCurrentIndex(chosen);
    emit speed->activated(chosen);
    ASSERT_TRUE(processEventsUntil([&] { return tlongE.load() == chosen; }));
    EXPECT_TRUE(controller.isDocumentEdited());

    const QString changed = tempFolder() + "/speed-changed.nupo4";
    ASSERT_TRUE(controller.saveDocumentTo(changed));
    EXPECT_FALSE(controller.isDocumentEdited());
    ASSERT_TRUE(controller.openDocumentAt(saved));
    EXPECT_EQ(tlongE.load(), was);
    ASSERT_TRUE(controller.openDocumentAt(changed));
    EXPECT_EQ(tlongE.load(), chosen);
    EXPECT_FALSE(controller.isDocumentEdited());
}

TEST(DocumentStoredValues, AValueBeingTypedIsTakenBySaveAndAskedAboutByQuit)
{
    startWithDemo();
    auto& controller = quietController();
    int asked = 0;
    controller.askToSaveChanges = [&asked](const QString&) {
        ++asked;
        return NUPO4DocumentController::Cancel;
    };
    WindowController::sharedWindowController().showPanelX(PreferencesTab::MIDIBand);
    QLineEdit* field = nullptr;
    ASSERT_TRUE(processEventsUntil([&] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible())
                if (auto* found = window->findChild<QLineEdit*>(QStringLiteral("HighFSliderField8")))
                    field = found;
        return field != nullptr && field->isVisible();
    }));
    const QString saved = tempFolder() + "/typed.nupo4";
    ASSERT_TRUE(controller.saveDocumentTo(saved));
    const float was = HighFbandX[7][0].load();

    // 37 typed, no Return: Quit asks, and cancelled nothing is lost.
    field->setFocus();
    field->selectAll();
    field->insert(QStringLiteral("37"));  // as typed: the field counts as modified
    ASSERT_TRUE(field->isModified());
    EXPECT_FALSE(controller.documentShouldClose());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(HighFbandX[7][0].load(), 37.0f) << "was " << was;

    // Typed again and saved at once: the file holds it and the document stands saved.
    field->selectAll();
    field->insert(QStringLiteral("38"));
    controller.saveDocument(nullptr);
    ASSERT_TRUE(processEventsUntil([&] { return !controller.isSavingDocument(); }));  // written on its worker
    EXPECT_FALSE(controller.isDocumentEdited());
    const PlistDictionary file = savedFile(saved);
    const PlistValue highs = file.value("BrainRhythmMIDI").toDictionary().value("HighF8X:");
    ASSERT_TRUE(highs.isArray() && !highs.toArray().empty()) << textOf(highs);
    EXPECT_EQ(highs.toArray().front().toString(), QStringLiteral("38"));
    EXPECT_EQ(HighFbandX[7][0].load(), 38.0f);
}

TEST(DocumentStoredValues, BrowsingAFolderWithAMovieChangesNothingAndOpeningARecordingAsksFirst)
{
    startWithDemo();
    auto& controller = quietController();
    const QString folder = tempFolder() + "/media";
    ASSERT_TRUE(QDir().mkpath(folder));
    {
        QFile movie(folder + "/clip.mov");
        ASSERT_TRUE(movie.open(QIODevice::WriteOnly));
        movie.write("not a movie");
    }
    const QString saved = tempFolder() + "/browsing.nupo4";
    ASSERT_TRUE(controller.saveDocumentTo(saved));
    const PlistValue moviePath = savedFile(saved).value("Movie").toDictionary().value("MoviePath");

    fsPath = 0;  // the browser's columns start at "/", as the menu opens it
    auto* browser = dynamic_cast<AppControllerB*>(NibLoader::loadNibNamed(QStringLiteral("MainMenuB")));
    ASSERT_TRUE(browser);
    ASSERT_TRUE(processEventsUntil([&] { return !browser->isBusy(); }));
    bool found = false;
    bool done = false;
    browser->selectPath(folder + "/clip.mov", [&](bool f) {
        found = f;
        done = true;
    });
    ASSERT_TRUE(processEventsUntil([&] { return done && !browser->isBusy(); }));
    ASSERT_TRUE(found);
    EXPECT_EQ(outCHARsText(), QStringLiteral("clip.mov"));
    EXPECT_FALSE(controller.isDocumentEdited());
    ASSERT_TRUE(controller.saveDocumentTo(saved));
    EXPECT_EQ(savedFile(saved).value("Movie").toDictionary().value("MoviePath"), moviePath);

    // A recording opened over an edited document: the question comes first, and Cancel keeps the
    // recording and the edit.
    const QString recording = tempFolder() + "/other.dat";
    {
        QFile data(recording);
        ASSERT_TRUE(data.open(QIODevice::WriteOnly));
        data.write(QByteArray(QXSerialPort::oldFileHeaderBytes + 2 * 3000, '\x55'));
    }
    tlongE.store(tlongE.load() == 5 ? 6 : 5);
    ASSERT_TRUE(controller.isDocumentEdited());
    int asked = 0;
    NUPO4DocumentController::SaveAnswer answer = NUPO4DocumentController::Cancel;
    controller.askToSaveChanges = [&](const QString&) {
        ++asked;
        return answer;
    };
    const int length = maxploop.load();
    done = false;
    browser->selectPath(recording, [&](bool f) {
        found = f;
        done = true;
    });
    ASSERT_TRUE(processEventsUntil([&] { return done && !browser->isBusy(); }));
    ASSERT_TRUE(found);
    browser->setOpenAll(0);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(maxploop.load(), length);
    EXPECT_TRUE(controller.isDocumentEdited());

    // Don't Save: the recording is replaced.
    answer = NUPO4DocumentController::DontSave;
    browser->setOpenAll(0);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(maxploop.load(), 3000);
}

TEST(DocumentStoredValues, NoQuestionHasADefaultThatGivesWorkUp)
{
    startWithDemo();
    auto& controller = NUPO4DocumentController::sharedNUPO4DocumentController();
    controller.tellUser = [](const QString& message) { ADD_FAILURE() << message.toStdString(); };
    const QString saved = tempFolder() + "/questions.nupo4";
    ASSERT_TRUE(controller.saveDocumentTo(saved));
    tlongE.store(tlongE.load() == 5 ? 6 : 5);
    ASSERT_TRUE(controller.isDocumentEdited());

    // Each question answered with Return, as a user pressing it at once would: nothing is given up.
    QString defaultButton;
    const auto pressReturnOnQuestion = [&defaultButton] {
        QTimer::singleShot(0, [&defaultButton] {
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible()) {
                    defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
                    box->defaultButton()->click();
                    return;
                }
        });
    };
    pressReturnOnQuestion();
    controller.revertDocumentToSaved(nullptr);
    EXPECT_EQ(defaultButton, QStringLiteral("Cancel"));
    EXPECT_TRUE(controller.isDocumentEdited()) << "Return on Revert? gave the changes up";

    pressReturnOnQuestion();
    EXPECT_TRUE(controller.documentShouldClose());
    EXPECT_EQ(defaultButton, QStringLiteral("Save"));
    EXPECT_FALSE(controller.isDocumentEdited());
    EXPECT_EQ(savedFile(saved).value("Recording").toDictionary().value("tlongE").toString(),
              QString::number(tlongE.load()))
        << "Return on Save changes? did not keep the changes";
}
