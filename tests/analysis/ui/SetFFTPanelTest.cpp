#include "analysis/SetFFTController.h"
#include "analysis/ui/SetFFTPanel.h"
#include "platform/appkit/ui/RadioMatrix.h"
#include "shared/AnalysisState.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QWidget>

using namespace nupo;

namespace {

template <class T>
T* child(QWidget* panel, const char* name)
{
    return panel->findChild<T*>(QString::fromLatin1(name));
}

// Picks an item as a person does (the popup's action runs on `activated`).
void choose(QComboBox* popup, int index)
{
    popup->setCurrentIndex(index);
    emit popup->activated(index);
}

}  // namespace

TEST(SetFFTPanel, ShowsTheSettingsAndSendsItsControls)
{
    fftp = 512;
    setGain2Number = 1;
    mainsFrequencyX = 50;
    QWidget* panel = SetFFTPanel::makePanel();
    ASSERT_NE(panel, nullptr);
    auto* matrix = child<QGroupBox>(panel, "fftPointMatrix");
    ASSERT_NE(matrix, nullptr);
    EXPECT_EQ(RadioMatrix::selectedTag(matrix), 2);
    EXPECT_EQ(child<QComboBox>(panel, "gain2Popup")->currentIndex(), 1);
    EXPECT_EQ(child<QComboBox>(panel, "gain1Popup")->count(), 9);
    EXPECT_EQ(child<QComboBox>(panel, "mainsPopup")->currentIndex(), 0);

    RadioMatrix::cells(matrix)[4]->click();  // 2048 points
    EXPECT_EQ(fftp.load(), 2048);
    choose(child<QComboBox>(panel, "gain4Popup"), 0);
    EXPECT_FLOAT_EQ(displayGainX[3].load(), 10.0f);
    child<QCheckBox>(panel, "logPowerCheck")->click();
    EXPECT_EQ(LOGpowerONed.load(), 1);
    choose(child<QComboBox>(panel, "averagingPopup"), 2);
    EXPECT_EQ(averageFFTX.load(), 4);
    choose(child<QComboBox>(panel, "mainsPopup"), 1);
    EXPECT_EQ(mainsFrequencyX.load(), 60);

    // A size switched elsewhere (a spectrum view's large grid) shows on the panel.
    SetFFTController::sharedSetFFTController().setFFTpoint(1);
    EXPECT_EQ(RadioMatrix::selectedTag(matrix), 1);
    delete panel;
}
