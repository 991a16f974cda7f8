#include "core/ui/SetPortView.h"

#include "core/QXInputStream.h"
#include "platform/appkit/ui/NibLoader.h"
#include "shared/CoreState.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QSignalBlocker>

#include <algorithm>

namespace nupo {

SetPortView::SetPortView()
{
    outlet("sampleSpeedPopup", sampleSpeedPopup);
    outlet("deviceConfigPopup", deviceConfigPopup);
    outlet("portStatusField", portStatusField);
    action("setSampleSpeed", &SetPortView::setSampleSpeed);
    action("setDeviceConfig", &SetPortView::setDeviceConfig);
}

SetPortView& SetPortView::sharedSetPortView()
{
    static SetPortView* instance = [] {
        auto* shared = new SetPortView;  // lives to process end
        shared->dataObserver =
            ScopedObserver(needUpdateDataBufferNotification, nullptr,
                           [shared](const Notification&) { shared->needUpdateDataBuffer(); });
        QXInputStream::sharedQXInputStream().initializeThred();
        return shared;
    }();
    return *instance;
}

QWidget* SetPortView::makePanel()
{
    NibController* controller = NibLoader::loadNibNamed(QStringLiteral("SetPortView"));
    return controller ? controller->nibWindow() : nullptr;
}

const std::vector<int>& SetPortView::sampleSpeedChoices()
{
    static const std::vector<int> choices{128, 256, 512, 1024, 120, 240, 480, 960, 1200, 1440, 1920};
    return choices;
}

void SetPortView::setSampleSpeedTo(int samplesPerSecond)
{
    if (samplesPerSecond <= 0)
        return;
    SampleSpeed.store(samplesPerSecond, std::memory_order_relaxed);
    tploop.store(std::max(1, 4 * (samplesPerSecond / 120)), std::memory_order_relaxed);
    tlongE.store(2, std::memory_order_relaxed);
}

void SetPortView::setSampleSpeed(QObject* sender)
{
    auto* popup = qobject_cast<QComboBox*>(sender);
    const auto& choices = sampleSpeedChoices();
    if (!popup || popup->currentIndex() < 0 || popup->currentIndex() >= int(choices.size()))
        return;
    setSampleSpeedTo(choices[std::size_t(popup->currentIndex())]);
}

void SetPortView::setDeviceConfig(QObject* sender)
{
    auto* popup = qobject_cast<QComboBox*>(sender);
    if (popup && popup->currentIndex() >= 0 && popup->currentIndex() <= 3)
        DeviceConfig.store(popup->currentIndex(), std::memory_order_relaxed);
}

void SetPortView::awakeFromNib()
{
    if (sampleSpeedPopup) {
        const QSignalBlocker block(sampleSpeedPopup);
        sampleSpeedPopup->clear();
        for (int rate : sampleSpeedChoices())
            sampleSpeedPopup->addItem(QStringLiteral("%1 Hz").arg(rate));
    }
    showSettings();
    // A document read since the panel was made may have changed the rate and the channels.
    if (QWidget* panel = nibWindow())
        panel->installEventFilter(this);
}

void SetPortView::showSettings()
{
    if (sampleSpeedPopup) {
        const QSignalBlocker block(sampleSpeedPopup);
        const auto& choices = sampleSpeedChoices();
        const auto at =
            std::find(choices.begin(), choices.end(), SampleSpeed.load(std::memory_order_relaxed));
        sampleSpeedPopup->setCurrentIndex(at == choices.end() ? -1 : int(at - choices.begin()));
    }
    if (deviceConfigPopup) {
        const QSignalBlocker block(deviceConfigPopup);
        deviceConfigPopup->setCurrentIndex(std::clamp(DeviceConfig.load(std::memory_order_relaxed), 0, 3));
    }
}

bool SetPortView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == nibWindow() && event->type() == QEvent::Show)
        showSettings();
    return NibController::eventFilter(watched, event);
}

void SetPortView::needUpdateDataBuffer()
{
    // Posted when live samples land. No headset is read, so nothing posts it and there is nothing to do.
}

}  // namespace nupo
