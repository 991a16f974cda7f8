#include "core/ui/SetPortView.h"

#include "core/QXInputStream.h"
#include "platform/appkit/ui/NibLoader.h"
#include "shared/CoreState.h"

#include <QComboBox>
#include <QLabel>

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
    const auto& choices = sampleSpeedChoices();
    if (sampleSpeedPopup) {
        sampleSpeedPopup->clear();
        for (int rate : choices)
            sampleSpeedPopup->addItem(QStringLiteral("%1 Hz").arg(rate));
        const auto at =
            std::find(choices.begin(), choices.end(), SampleSpeed.load(std::memory_order_relaxed));
        sampleSpeedPopup->setCurrentIndex(at == choices.end() ? -1 : int(at - choices.begin()));
    }
    if (deviceConfigPopup)
        deviceConfigPopup->setCurrentIndex(std::clamp(DeviceConfig.load(std::memory_order_relaxed), 0, 3));
}

void SetPortView::needUpdateDataBuffer()
{
    // Posted when live samples land. No headset is read, so nothing posts it and there is nothing to do.
}

}  // namespace nupo
