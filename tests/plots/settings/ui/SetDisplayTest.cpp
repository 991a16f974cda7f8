#include <gtest/gtest.h>

#include "platform/appkit/NotificationCenter.h"
#include "platform/appkit/ui/Beep.h"
#include "platform/appkit/ui/Control.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/PopUpButton.h"
#include "platform/appkit/ui/WindowPlacement.h"
#include "plots/bargraph/gl/BarGraphWindowState.h"
#include "plots/rawwave/gl/RawwaveWindowState.h"
#include "plots/rawwave/ui/QXRawwaveGraphController.h"
#include "plots/rawwave/ui/QXRoundController.h"
#include "plots/settings/DisplaySettings.h"
#include "plots/settings/ui/SetDisplay.h"
#include "shared/AnalysisState.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

using namespace nupo;

namespace {

SetDisplay* openPanel()
{
    return dynamic_cast<SetDisplay*>(NibLoader::loadNibNamed(QStringLiteral("SetDisplay")));
}

QObject* find(SetDisplay* panel, const char* name)
{
    return panel->nibWindow()->findChild<QObject*>(QString::fromLatin1(name));
}

}  // namespace

TEST(SetDisplay, SharedInstanceStoresValuesAndMappedMenuChoices)
{
    SetDisplay& shared = SetDisplay::sharedSetDisplay();
    shared.setShowPeakHold_(1);
    shared.setrawwaveWindowingDisplay_(1);
    EXPECT_EQ(ShowPeakHoldX, 1);
    EXPECT_EQ(rawwaveWindowing, 1);

    shared.setGridSize2DBar(1);
    EXPECT_EQ(setGridSize2DBarNumberX, 1);
    EXPECT_EQ(GridSize2DBarX, 10);
    shared.setPeakHoldSize2DBar(3);
    shared.setPeakHoldSize2DBar(6);  // "Other" keeps the size
    EXPECT_DOUBLE_EQ(PeakHoldSize2DBarX, 4.0);
    shared.setPeakHoldMode(4);
    EXPECT_EQ(PeakHoldModeX, 10);

    shared.setTopMaterial(0);
    EXPECT_EQ(setTopMaterialX, 1);
    shared.set2DMaterial(0);
    EXPECT_EQ(set2DMaterialX, 0);
    EXPECT_EQ(setMaterialX, 1);

    shared.setHorizontalLineMode_(3);
    shared.setHorizontalLineMode_(4);  // not a radio value: unchanged
    EXPECT_EQ(setHorizontalLineModeX, 3);

    // The shared panel holds no peak-hold colour: publishing it changes nothing.
    PeakHoldColorX[0] = 0.3f;
    shared.set2Dcolor();
    EXPECT_FLOAT_EQ(PeakHoldColorX[0], 0.3f);
    shared.setPeakHoldColor(RGBAColor::fromRGBA(0.1, 0.2, 0.3, 0.4));
    PeakHoldColorX[0] = 0.9f;
    shared.set2Dcolor();
    EXPECT_FLOAT_EQ(PeakHoldColorX[0], 0.1f);
    shared.setGridColor1(RGBAColor::fromRGBA(0.5, 0.5, 0.5, 1));
    EXPECT_FLOAT_EQ(GridColorY[1], 0.5f);
}

TEST(SetDisplay, ColourLevelsClampNotifyBeforeStoringAndAnimationsReset)
{
    SetDisplay* panel = openPanel();
    ASSERT_NE(panel, nullptr);
    std::vector<float> seen;
    int bsNotes = 0;
    ScopedObserver watch(WaterfallupdateNotification, panel,
                         [&](const Notification&) { seen.push_back(ColorGainSliderX); });
    ScopedObserver watchBS(WaterfallBSupdateNotification, nullptr, [&](const Notification&) { ++bsNotes; });

    auto* gainField = qobject_cast<QLineEdit*>(find(panel, "ColorGainField"));
    ASSERT_NE(gainField, nullptr);
    gainField->setText("7");
    panel->sendTextchangeColorGain(gainField);
    EXPECT_FLOAT_EQ(ColorGainSliderX, 5.0f);
    EXPECT_EQ(setColorGainAnimationX, 5);
    EXPECT_TRUE(seen.empty());  // typed values post nothing
    EXPECT_NEAR(Control::floatValue(panel->textColorGainField()), 5.0, 1e-6);

    QObject* slider = find(panel, "setColorGainSlider");
    Control::setFloatValue(slider, 2.5);
    panel->changeColorGainSlider(slider);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_FLOAT_EQ(seen[0], 5.0f);  // observers ran before the new value was stored
    EXPECT_NEAR(ColorGainSliderX, 2.5f, 0.01f);

    panel->changeColorOffsetBSMixSlider(find(panel, "setColorOffsetBSMixSlider"));
    EXPECT_EQ(bsNotes, 1);

    panel->setColorGainAnimation(0);
    EXPECT_FLOAT_EQ(ColorGainSliderX, 1.88f);
    EXPECT_EQ(setColorGainAnimationX, 0);
    panel->setColorOffsetAnimation(3);
    EXPECT_EQ(setColorOffsetAnimationX, 3);
    panel->setColorOffsetAnimation(9);
    EXPECT_EQ(setColorOffsetAnimationX, 0);
    EXPECT_FLOAT_EQ(ColorOffsetSliderX, 35.0f);
}

TEST(SetDisplay, TransparencyFieldsReachTheirWindows)
{
    SetDisplay* panel = openPanel();
    ASSERT_NE(panel, nullptr);
    auto* raw = qobject_cast<QLineEdit*>(find(panel, "AlphaRawwaveField"));
    raw->setText("-3");
    panel->sendTextAlphaRawwaveField(raw);
    EXPECT_FLOAT_EQ(WRawAlphaValue, 0.0f);
    auto* bar = qobject_cast<QLineEdit*>(find(panel, "Alpha2DBargraphField"));
    bar->setText("0.4");
    panel->sendTextAlpha2DBargraphField(bar);
    EXPECT_FLOAT_EQ(WBarAlphaValue, 0.4f);
    EXPECT_NEAR(Control::floatValue(panel->textAlpha2DBargraphField()), 0.4, 1e-6);
}

TEST(SetDisplay, AwakeShowsTheStoredOptions)
{
    setAutoGainRawwaveX = 5;  // from a document: past the three items of its menu
    setPeakHoldModeX = 3;
    setTopMaterialX = 13;
    ShowGrid2DBarX = 0;
    SetDisplay* panel = openPanel();
    ASSERT_NE(panel, nullptr);
    QObject* autoGain = find(panel, "popupAutoGainRawwave");
    EXPECT_EQ(PopUpButton::numberOfItems(autoGain), 3);
    EXPECT_EQ(PopUpButton::indexOfSelectedItem(autoGain), 2);
    EXPECT_EQ(setAutoGainRawwaveX, 5);
    // A menu shows the value the windows draw with (the start's mode 1, which index 3 does not give) and
    // opening the panel stores nothing.
    EXPECT_EQ(PopUpButton::titleOfSelectedItem(find(panel, "popupPeakHoldMode")), "peak one sampling back");
    EXPECT_EQ(PeakHoldModeX, 1);
    EXPECT_EQ(setPeakHoldModeX, 3);
    EXPECT_EQ(setTopMaterialX, 13);
    EXPECT_EQ(PopUpButton::titleOfSelectedItem(find(panel, "popupTopMaterial")), "other");
    EXPECT_EQ(PopUpButton::numberOfItems(find(panel, "popupMaterial")), 14);
    // Index and value that agree show that item; a value no item gives shows "Other".
    PeakHoldModeX = 5;
    GridSize2DBarX = 7;
    SetDisplay* again = openPanel();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(PopUpButton::titleOfSelectedItem(find(again, "popupPeakHoldMode")), "5 peak average");
    EXPECT_EQ(PopUpButton::titleOfSelectedItem(find(again, "popupGridSize2DBar")), "Other");
    EXPECT_EQ(GridSize2DBarX, 7);
    EXPECT_EQ(setGridSize2DBarNumberX, 0);
    EXPECT_EQ(Control::state(find(panel, "setShowGrid2DBar")), 0);
    EXPECT_EQ(Control::state(find(panel, "setShowHorizontalLine")), 1);
}

TEST(SetDisplay, FrontRawWaveWindowOpensInItsLayoutAndTheMediaBrowserOpens)
{
    SetDisplay* panel = openPanel();
    ASSERT_NE(panel, nullptr);
    panel->selectOpenFrontRawaveC(nullptr);
    EXPECT_EQ(WindowMode, 2);
    int fronts = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == "Raw wave" && w->isVisible()) {
            ++fronts;
            EXPECT_EQ(w->size(), QSize(640, 180));
        }
    EXPECT_EQ(fronts, 1);

    const int beeps = beepCount();
    panel->selectOpenAV(nullptr);
    bool browser = false;
    for (QWidget* w : QApplication::topLevelWidgets())
        browser = browser || (w->windowTitle() == "Media Browser" && w->isVisible());
    EXPECT_TRUE(browser);
    EXPECT_EQ(beepCount(), beeps);
}

TEST(SetDisplay, DoubleClickOnTheTracesClosesTheFrontRawWaveWindow)
{
    SetDisplay* panel = openPanel();
    ASSERT_NE(panel, nullptr);
    panel->selectOpenFrontRawaveA(nullptr);
    QWidget* front = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == "Raw wave" && w->isVisible())
            front = w;
    ASSERT_NE(front, nullptr);
    // The click lands on the widget that draws the traces, the innermost one under the pointer.
    const QPoint centre = front->rect().center();
    QWidget* target = front->childAt(centre);
    ASSERT_NE(target, nullptr);
    QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(front, centre));
    EXPECT_FALSE(front->isVisible());
}

TEST(SetDisplay, ThePanelFitsSmallScreensAndItsFieldsAreAsWideAsTheirValues)
{
    SetDisplay* panel = openPanel();
    ASSERT_NE(panel, nullptr);
    QWidget* window = panel->nibWindow();
    ASSERT_NE(window, nullptr);
    // A panel of the preferences window: never shown as a window of its own.
    EXPECT_FALSE(window->isVisible());
    const QSize wanted = window->sizeHint();
    EXPECT_LE(wanted.width(), 1024 - 60);
    EXPECT_LE(wanted.height(), 768 - 120);
    const auto fields = window->findChildren<QLineEdit*>();
    ASSERT_GE(fields.size(), 11);
    for (QLineEdit* field : fields)
        EXPECT_LE(field->maximumWidth(), 80) << field->objectName().toStdString();
    // The peak-hold marks' own colour starts opaque, so ticking the box never hides the marks.
    EXPECT_FLOAT_EQ(PeakHoldColorX[3], 1.0f);
}

TEST(SetDisplay, TheScreenWideBandOpensInsideTheScreen)
{
    WindowPlacement::watchTopLevelWindows();
    SetDisplay* panel = openPanel();
    ASSERT_NE(panel, nullptr);
    panel->selectOpenFrontRawaveD(nullptr);
    const QRect area = WindowPlacement::availableArea(nullptr);
    int fronts = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->windowTitle() != "Raw wave" || !w->isVisible())
            continue;
        ++fronts;
        EXPECT_EQ(w->width(), area.width());
        EXPECT_TRUE(area.contains(w->frameGeometry())) << w->x();
    }
    EXPECT_EQ(fronts, 1);
}
