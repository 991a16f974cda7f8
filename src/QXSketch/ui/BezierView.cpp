#include "QXSketch/ui/BezierView.h"

#include "QXSketch/gl/SketchState.h"
#include "analysis/BrainSwitch.h"
#include "platform/appkit/NotificationCenter.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/PopUpButton.h"
#include "plots/settings/DisplaySettings.h"
#include "views3d/QX3DSpectrumGLView.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPalette>
#include <QProgressBar>
#include <QTimer>

#include <cmath>

namespace nupo {

namespace {

constexpr const char* bandNames[8] = {"Eye", "Delta", "Theta", "Alpha", "SMR", "BetaM", "Beta", "Gamma"};

}  // namespace

BezierView::BezierView()
{
    outlet("sourcePopup", sourcePopup);
    outlet("switchArea", switchArea);
    action("selectSource", &BezierView::selectSource);
    action("changeSwitch", &BezierView::changeSwitch);
}

void BezierView::showBezierView(QObject* owner)
{
    NibLoader::showSingleNib(QStringLiteral("BezierView"), owner);
}

void BezierView::awakeFromNib()
{
    PopUpButton::removeAllItems(sourcePopup);
    for (int s = 0; s < 10; ++s)
        PopUpButton::addItemWithTitle(sourcePopup, sourceName(s));
    if (switchArea) {
        auto* grid = new QGridLayout(switchArea);
        for (int k = 0; k < 8; ++k) {
            switches[std::size_t(k)] = new QCheckBox(QString::fromLatin1(bandNames[k]), switchArea);
            switches[std::size_t(k)]->setProperty("tag", k + 1);
            connect(switches[std::size_t(k)], &QCheckBox::clicked, this,
                    [this, box = switches[std::size_t(k)]] { changeSwitch(box); });
            ranges[std::size_t(k)] = new QLabel(switchArea);
            meters[std::size_t(k)] = new QProgressBar(switchArea);
            meters[std::size_t(k)]->setRange(0, 100);
            meters[std::size_t(k)]->setMinimumWidth(160);
            // The level written over the meter is dark over the fill as over the rest: the style's light
            // text for the fill reaches past its end, white on the empty part.
            QPalette palette = meters[std::size_t(k)]->palette();
            palette.setColor(QPalette::HighlightedText, palette.color(QPalette::Text));
            meters[std::size_t(k)]->setPalette(palette);
            grid->addWidget(switches[std::size_t(k)], k, 0);
            grid->addWidget(ranges[std::size_t(k)], k, 1);
            grid->addWidget(meters[std::size_t(k)], k, 2);
        }
        grid->setColumnStretch(2, 1);
    }
    showSwitches();
    mixerWindowOpen = true;
    timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &BezierView::timerTick);
    timer->start(300);
}

void BezierView::windowWillClose(QObject* window)
{
    if (timer)
        timer->stop();
    mixerWindowOpen = false;
    NibController::windowWillClose(window);
}

void BezierView::selectSource(QObject*)
{
    const int s = PopUpButton::indexOfSelectedItem(sourcePopup);
    if (s < 0 || s > 9)
        return;
    source_ = s;
    showSwitches();
    timerTick();
}

void BezierView::changeSwitch(QObject* sender)
{
    const int k = sender ? sender->property("tag").toInt() : 0;
    auto* box = qobject_cast<QCheckBox*>(sender);
    if (k < 1 || k > 8 || !box)
        return;
    setBrainSwitchState(source_, k, box->isChecked() ? 1 : 0);
    NotificationCenter::defaultCenter().postNotificationName(WaterfallBSupdateNotification);
}

void BezierView::timerTick()
{
    QX3DSpectrumGLView::sharedQX3DSpectrumGLView().waven3DBSQC(source_);
    for (int k = 1; k <= 8; ++k) {
        QProgressBar* meter = meters[std::size_t(k - 1)];
        if (!meter)
            continue;
        const float level = brainSwitchLevel(source_, k);
        meter->setValue(std::clamp(int(std::lround(level * 10.0f)), 0, 100));
        meter->setFormat(QString::number(double(level), 'f', 1));
    }
}

int BezierView::shownLevel(int window) const
{
    if (window < 1 || window > 8 || !meters[std::size_t(window - 1)])
        return -1;
    return meters[std::size_t(window - 1)]->value();
}

QCheckBox* BezierView::switchBox(int window) const
{
    return window >= 1 && window <= 8 ? switches[std::size_t(window - 1)] : nullptr;
}

void BezierView::showSwitches()
{
    for (int k = 1; k <= 8; ++k) {
        const std::size_t i = std::size_t(k - 1);
        if (switches[i])
            switches[i]->setChecked(brainSwitchState(source_, k) != 0);
        if (ranges[i]) {
            const BrainSwitchWindow w = brainSwitchWindow(source_, k);
            ranges[i]->setText(QStringLiteral("%1–%2 Hz, level %3–%4")
                                   .arg(w.lowHz, 0, 'f', 1)
                                   .arg(w.highHz, 0, 'f', 1)
                                   .arg(w.lowValue, 0, 'f', 1)
                                   .arg(w.highValue, 0, 'f', 1));
        }
    }
}

}  // namespace nupo
