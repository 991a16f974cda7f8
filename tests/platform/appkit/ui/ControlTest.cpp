#include "platform/appkit/ui/ColorWell.h"
#include "platform/appkit/ui/Control.h"
#include "platform/appkit/ui/ElidedLabel.h"
#include "platform/appkit/ui/FixedPointFormat.h"
#include "platform/appkit/ui/PopUpButton.h"
#include "platform/appkit/ui/RadioMatrix.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cmath>

namespace nupo {
namespace {

TEST(ControlTest, SlidersMapTheirPositionsOntoTheirFloatRange)
{
    QSlider slider;
    slider.setRange(0, 1000);
    slider.setProperty("minValue", -5.0);
    slider.setProperty("maxValue", 5.0);
    Control::setFloatValue(&slider, 2.5);
    EXPECT_EQ(slider.value(), 750);
    EXPECT_DOUBLE_EQ(Control::floatValue(&slider), 2.5);
    Control::setFloatValue(&slider, 99.0);  // beyond the range: the end of the range
    EXPECT_DOUBLE_EQ(Control::floatValue(&slider), 5.0);
    Control::setFloatValue(&slider, std::nan(""));  // not a number: unchanged
    EXPECT_DOUBLE_EQ(Control::floatValue(&slider), 5.0);

    QSlider plain;
    plain.setRange(0, 20);
    Control::setFloatValue(&plain, 7.6);
    EXPECT_EQ(plain.value(), 8);
    EXPECT_EQ(Control::intValue(&plain), 8);
}

TEST(ControlTest, EveryKindOfControlAndNullAnswerValueReads)
{
    EXPECT_EQ(Control::intValue(nullptr), 0);
    EXPECT_EQ(Control::floatValue(nullptr), 0.0);
    EXPECT_TRUE(Control::stringValue(nullptr).isEmpty());
    Control::setFloatValue(nullptr, 1.0);
    Control::setStringValue(nullptr, "x");
    Control::setHidden(nullptr, true);

    QCheckBox check;
    Control::setState(&check, 1);
    EXPECT_TRUE(check.isChecked());
    EXPECT_EQ(Control::state(&check), 1);

    QComboBox popup;
    popup.addItems({"a", "b", "c"});
    Control::setIntValue(&popup, 2);
    EXPECT_EQ(Control::intValue(&popup), 2);
    EXPECT_EQ(Control::stringValue(&popup), "c");
    Control::setIntValue(&popup, 0);
    Control::setIntValue(&popup, 9);  // no such item: the last one, as PopUpButton does
    EXPECT_EQ(Control::intValue(&popup), 2);

    QLineEdit edit("12.5");
    EXPECT_DOUBLE_EQ(Control::floatValue(&edit), 12.5);
    EXPECT_EQ(Control::intValue(&edit), 13);
    edit.setText("not a number");
    EXPECT_EQ(Control::intValue(&edit), 0);

    QLabel label;
    Control::setIntValue(&label, 42);
    EXPECT_EQ(label.text(), "42");

    QSpinBox spin;
    spin.setRange(0, 50);
    Control::setFloatValue(&spin, 30.2);
    EXPECT_EQ(spin.value(), 30);

    ColorWell well;
    const RGBAColor red = RGBAColor::fromRGBA(1.0, 0.0, 0.0, 1.0);
    Control::setColor(&well, red);
    EXPECT_EQ(Control::color(&well), red);
    EXPECT_EQ(Control::color(&label), RGBAColor::fromRGBA(0.0, 0.0, 0.0, 1.0));
    Control::setColor(&well, RGBAColor::fromRGBA(2.0, -1.0, 0.5, 1.0));  // clamped into 0..1
    EXPECT_EQ(well.color(), RGBAColor::fromRGBA(1.0, 0.0, 0.5, 1.0));

    // The well shows its colour.
    well.resize(60, 30);
    Control::setColor(&well, RGBAColor::fromRGBA(0.0, 0.0, 1.0, 1.0));
    EXPECT_EQ(well.grab().toImage().pixelColor(30, 15), QColor(0, 0, 255));

    QLabel tagged;
    tagged.setProperty("tag", 12);
    EXPECT_EQ(Control::tag(&tagged), 12);
    EXPECT_EQ(Control::tag(&label), 0);
}

TEST(ControlTest, AnElidingLabelKeepsItsWholeTextWithinItsWindowsWidth)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* label = new QLabel(QStringLiteral("short"));
    layout->addWidget(label);
    layout->addWidget(new QLineEdit);
    ElidedLabel::install(label);
    window.resize(240, 80);
    window.show();
    const int widthBefore = window.minimumSizeHint().width();

    const QString whole = QStringLiteral("Cannot play /home/user/sounds/") + QString(200, QLatin1Char('x')) +
                          QStringLiteral(".wav: unrecognized file format");
    Control::setStringValue(label, whole);
    // Read back whole through the controls' interface; shown cut to the label, whole in the tool tip.
    EXPECT_EQ(Control::stringValue(label), whole);
    // Its beginning and its end stay in sight: what failed, and why.
    EXPECT_TRUE(label->text().startsWith(QStringLiteral("Cannot"))) << label->text().toStdString();
    EXPECT_TRUE(label->text().contains(QChar(0x2026))) << label->text().toStdString();
    EXPECT_TRUE(label->text().endsWith(QStringLiteral("format"))) << label->text().toStdString();
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width());
    EXPECT_EQ(label->toolTip(), whole);
    EXPECT_EQ(window.minimumSizeHint().width(), widthBefore);  // the window need not grow for it
    EXPECT_EQ(window.width(), 240);

    // Wide enough again: the whole text, and no tool tip to repeat it.
    window.resize(label->fontMetrics().horizontalAdvance(whole) + 100, 80);
    EXPECT_EQ(label->text(), whole);
    EXPECT_TRUE(label->toolTip().isEmpty());

    // A plain label is untouched, whatever other objects it holds.
    QLabel plain;
    new QObject(&plain);
    EXPECT_FALSE(ElidedLabel::isInstalled(&plain));
    Control::setStringValue(&plain, whole);
    EXPECT_EQ(plain.text(), whole);
}

TEST(ControlTest, FixedPointFieldsFormatShownValuesAndLimitTyping)
{
    const FixedPointFormat threeThree{3, 3, false};
    EXPECT_EQ(threeThree.format(3.14159), "3.142");
    EXPECT_EQ(threeThree.format(-0.5), "-0.500");
    EXPECT_EQ(threeThree.format(12345.6), "12345.600");  // too wide: shown whole, never cut
    EXPECT_EQ((FixedPointFormat{2, 0, true}.format(7.6)), "8");
    EXPECT_TRUE(threeThree.accepts("123.456"));
    EXPECT_TRUE(threeThree.accepts("-1."));
    EXPECT_FALSE(threeThree.accepts("1234"));
    EXPECT_FALSE(threeThree.accepts("1.2345"));
    EXPECT_FALSE((FixedPointFormat{2, 2, true}.accepts("-1.5")));

    QLabel display;
    FixedPointFormat::apply(&display, threeThree);
    Control::setFloatValue(&display, 0.5);
    EXPECT_EQ(display.text(), "0.500");
    Control::setIntValue(&display, 2);
    EXPECT_EQ(display.text(), "2.000");

    QLineEdit rate;
    FixedPointFormat::apply(&rate, FixedPointFormat{2, 2, true});
    FixedPointFormat stored;
    ASSERT_TRUE(FixedPointFormat::formatOf(&rate, &stored));
    EXPECT_EQ(stored, (FixedPointFormat{2, 2, true}));
    QTest::keyClicks(&rate, "-123.456");
    EXPECT_EQ(rate.text(), "12.45");
    // A new format replaces the old one.
    FixedPointFormat::apply(&rate, FixedPointFormat{3, 2, true});
    rate.clear();
    QTest::keyClicks(&rate, "123.4");
    EXPECT_EQ(rate.text(), "123.4");
}

TEST(ControlTest, PopupSelectionStaysWithinItsItems)
{
    QComboBox popup;
    PopUpButton::addItemsWithTitles(&popup, {"Normal View", "Full View", "Alpha 1.0"});
    PopUpButton::addItemWithTitle(&popup, "Alpha 0.8");
    EXPECT_EQ(PopUpButton::numberOfItems(&popup), 4);
    PopUpButton::selectItemAtIndex(&popup, 2);
    EXPECT_EQ(PopUpButton::indexOfSelectedItem(&popup), 2);
    EXPECT_EQ(PopUpButton::titleOfSelectedItem(&popup), "Alpha 1.0");
    PopUpButton::selectItemAtIndex(&popup, 10);
    EXPECT_EQ(PopUpButton::indexOfSelectedItem(&popup), 3);
    PopUpButton::selectItemAtIndex(&popup, 0);
    PopUpButton::selectItemAtIndex(&popup, -4);
    EXPECT_EQ(PopUpButton::indexOfSelectedItem(&popup), 3);

    PopUpButton::removeAllItems(&popup);
    PopUpButton::selectItemAtIndex(&popup, 3);
    EXPECT_EQ(PopUpButton::indexOfSelectedItem(&popup), -1);

    PopUpButton::selectItemAtIndex(nullptr, 1);
    QLabel notAPopup;
    PopUpButton::selectItemAtIndex(&notAPopup, 1);
    EXPECT_EQ(PopUpButton::indexOfSelectedItem(&notAPopup), -1);
}

TEST(ControlTest, RadioMatricesSelectCellsByTag)
{
    QGroupBox matrix;
    auto* none = new QRadioButton("none", &matrix);
    auto* fine = new QRadioButton("fine", &matrix);
    auto* coarse = new QRadioButton("coarse", &matrix);
    none->setProperty("tag", 0);
    fine->setProperty("tag", 4);
    coarse->setProperty("tag", 2);
    EXPECT_EQ(RadioMatrix::selectedTag(&matrix), -1);

    EXPECT_TRUE(RadioMatrix::selectCellWithTag(&matrix, 4));
    EXPECT_EQ(RadioMatrix::selectedTag(&matrix), 4);
    EXPECT_TRUE(RadioMatrix::selectCellWithTag(&matrix, 2));
    EXPECT_FALSE(fine->isChecked());
    EXPECT_EQ(Control::intValue(&matrix), 2);
    EXPECT_FALSE(RadioMatrix::selectCellWithTag(&matrix, 9));
    EXPECT_EQ(RadioMatrix::selectedTag(&matrix), 2);
    Control::setIntValue(&matrix, 0);
    EXPECT_TRUE(none->isChecked());
    EXPECT_EQ(RadioMatrix::selectedTag(fine), -1);  // a single cell answers for itself

    // Cells in an exclusive button group, without tags: tagged by position.
    QWidget grouped;
    QButtonGroup group;
    for (int i = 0; i < 3; ++i)
        group.addButton(new QRadioButton(QString::number(i), &grouped));
    group.buttons()[0]->setChecked(true);
    EXPECT_TRUE(RadioMatrix::selectCellWithTag(&grouped, 1));
    EXPECT_EQ(RadioMatrix::selectedTag(&grouped), 1);
    EXPECT_FALSE(group.buttons()[0]->isChecked());
    EXPECT_TRUE(group.exclusive());

    EXPECT_EQ(RadioMatrix::selectedTag(nullptr), -1);
    EXPECT_FALSE(RadioMatrix::selectCellWithTag(nullptr, 1));
}

}  // namespace
}  // namespace nupo
