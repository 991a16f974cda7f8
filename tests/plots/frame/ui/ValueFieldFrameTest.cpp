#include <gtest/gtest.h>

#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "plots/frame/ui/PlotControls.h"
#include "plots/frame/ui/ValueFieldFrame.h"
#include "plots/rawwave/ui/QXRawwaveGraphController.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "support/EventCounter.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QWidget>

#include <memory>

using namespace nupo;

namespace {

// Counts the layout requests a widget receives: each one is a relayout of everything below it.
struct LayoutRequests : EventCounter {
    explicit LayoutRequests(QWidget& watched) : EventCounter(watched, QEvent::LayoutRequest) {}
};

// A window like the plot windows' information grid: names and values in pairs, a long note below.
struct InfoGrid {
    QWidget window;
    QLabel* value[2];
    InfoGrid()
    {
        auto* grid = new QGridLayout(&window);
        for (int row = 0; row < 2; ++row) {
            grid->addWidget(new QLabel(QStringLiteral("Name %1").arg(row)), row, 0);
            value[row] = new QLabel(QStringLiteral("0"));
            value[row]->setObjectName(QStringLiteral("value%1").arg(row));
            grid->addWidget(value[row], row, 1);
            grid->addWidget(new QLabel(QStringLiteral("Other")), row, 2);
        }
        grid->addWidget(new QLabel(QStringLiteral("A note below the fields")), 2, 0, 1, 3);
        window.show();
        settle();
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    QRect placeOf(QLabel* label) const { return {label->mapTo(&window, QPoint(0, 0)), label->size()}; }
};

QXRawwaveGraphController* openRawwaveWindow()
{
    auto* controller =
        dynamic_cast<QXRawwaveGraphController*>(NibLoader::loadNibNamed(QStringLiteral("QXRawwaveGraph")));
    if (controller)
        controller->tickTimer().stop();  // ticked by hand
    return controller;
}

}  // namespace

TEST(ValueFieldFrame, NewTextsRepaintTheFieldWithoutRelayout)
{
    InfoGrid framed;
    InfoGrid plain;
    LayoutRequests requests(framed.window);
    LayoutRequests plainRequests(plain.window);

    // The first text moves the field into its frame (one relayout); the widest text sets its room.
    ValueFieldFrame::setText(framed.value[0], QStringLiteral("12345.678"));
    framed.settle();
    requests.count = 0;
    for (const char* text : {"1.000", "2.500", "99.125", "12345.678", "0.001"}) {
        ValueFieldFrame::setText(framed.value[0], QString::fromLatin1(text));
        framed.settle();
        EXPECT_EQ(framed.value[0]->text(), QString::fromLatin1(text));
    }
    EXPECT_EQ(requests.count, 0);
    // The plain label relayouts the window on every change (what the frame saves).
    for (const char* text : {"1.000", "2.500"}) {
        plain.value[0]->setText(QString::fromLatin1(text));
        plain.settle();
    }
    EXPECT_GE(plainRequests.count, 2);

    // A wider text than any before grows the frame: one relayout, and the whole text fits.
    ValueFieldFrame::setText(framed.value[0], QStringLiteral("123456789012.345"));
    framed.settle();
    EXPECT_GE(requests.count, 1);
    EXPECT_GE(framed.value[0]->width(), framed.value[0]->sizeHint().width());

    // Laid out where a plain label with the widest text stands, at its size.
    plain.value[0]->setText(QStringLiteral("123456789012.345"));
    plain.settle();
    ValueFieldFrame::setText(framed.value[1], QStringLiteral("7"));
    plain.value[1]->setText(QStringLiteral("7"));
    framed.settle();
    plain.settle();
    for (int row = 0; row < 2; ++row)
        EXPECT_EQ(framed.placeOf(framed.value[row]), plain.placeOf(plain.value[row])) << row;
    // Still found by name below the window.
    EXPECT_EQ(framed.window.findChild<QLabel*>(QStringLiteral("value1")), framed.value[1]);
}

TEST(ValueFieldFrame, HiddenFieldLeavesItsCellEmpty)
{
    InfoGrid framed;
    InfoGrid plain;
    ValueFieldFrame::setText(framed.value[0], QStringLiteral("3.000"));
    plain.value[0]->setText(QStringLiteral("3.000"));
    framed.value[0]->hide();
    plain.value[0]->hide();
    framed.settle();
    plain.settle();
    EXPECT_TRUE(PlotControls::isHidden(framed.value[0]));
    EXPECT_FALSE(framed.value[0]->isVisible());
    EXPECT_EQ(framed.placeOf(framed.value[1]), plain.placeOf(plain.value[1]));

    framed.value[0]->show();
    plain.value[0]->show();
    framed.settle();
    plain.settle();
    EXPECT_TRUE(framed.value[0]->isVisible());
    EXPECT_EQ(framed.placeOf(framed.value[0]), plain.placeOf(plain.value[0]));

    // A field hidden before its first text stays hidden in its frame.
    framed.value[1]->hide();
    ValueFieldFrame::setText(framed.value[1], QStringLiteral("4.000"));
    framed.settle();
    EXPECT_FALSE(framed.value[1]->isVisible());
    EXPECT_EQ(framed.value[1]->text(), QStringLiteral("4.000"));
}

TEST(ValueFieldFrame, PlotWindowTicksDoNotRelayoutTheWindow)
{
    DeviceConfig = 3;
    SampleSpeed = 120;
    fftp = 256;
    auto* c = openRawwaveWindow();
    ASSERT_NE(c, nullptr);
    QWidget* window = c->windowWidget();
    WindowHandle(window).makeKeyAndOrderFront();
    auto* time = qobject_cast<QLabel*>(c->textploopField());
    ASSERT_NE(time, nullptr);
    auto tick = [&](int sample, double fps) {
        ploop = sample;
        FPSXXRawwave = fps * OpenRawwave;
        ARawwavePP = fps / 3.0;
        c->timerUpdate();
        InfoGrid::settle();
    };
    tick(100, 29.5);
    tick(200, 30.25);

    // Every widget of the window that has a layout: a relayout of any of them is what the frames avoid.
    std::vector<std::unique_ptr<LayoutRequests>> watchers;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (w->layout())
            watchers.push_back(std::make_unique<LayoutRequests>(*w));
    watchers.push_back(std::make_unique<LayoutRequests>(*window));
    for (int i = 0; i < 20; ++i)
        tick(300 + i * 4, 29.0 + i * 0.125);
    int requests = 0;
    for (const auto& w : watchers)
        requests += w->count;
    EXPECT_EQ(requests, 0);
    EXPECT_EQ(PlotControls::text(time), QStringLiteral("00:00:03.133"));
    EXPECT_GE(time->width(), time->sizeHint().width());
    WindowHandle(window).close();
}
