#include "interop/ui/QCNUPO4Patches.h"

#include "QXDrawerSound/player/SoundSlotTables.h"
#include "QXSketch/gl/NUPO4Drawing.h"
#include "interop/OscPatchServer.h"
#include "platform/appkit/NotificationCenter.h"
#include "platform/appkit/ui/AlertPanel.h"
#include "plots/bargraph/gl/QX2DBarGraphView.h"
#include "plots/bargraph/ui/QX2DBarGraphController.h"
#include "plots/rawwave/gl/RawwaveWindowState.h"
#include "plots/rawwave/ui/QXRawwaveGraphController.h"
#include "plots/waterfall/ui/QX2DSpectrumAppController.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "shared/Utilities.h"

#include <QMessageBox>

#include <climits>
#include <cmath>

namespace nupo {

namespace {

using Reply = OscPatchServer::Reply;
using Values = std::vector<double>;

std::optional<int> intArgument(const QString& address, double value)
{
    if (value < double(INT_MIN) || value > double(INT_MAX)) {
        reportOnce(
            QStringLiteral("Patch interface: %1 %2 out of the int range; ignored.").arg(address).arg(value));
        return std::nullopt;
    }
    return int(value);
}

// The five stored window inputs every plot patch has, for a controller with those setters.
template <class Controller>
void addWindowInputs(OscPatchServer& server, const QString& patch, Controller& (*shared)())
{
    using Setter = void (Controller::*)(int);
    const std::pair<const char*, Setter> inputs[] = {{"BrainCHX", &Controller::BrainCHX},
                                                     {"XpositionX", &Controller::XpositionX},
                                                     {"YpositionX", &Controller::YpositionX},
                                                     {"WsizeX", &Controller::WsizeX},
                                                     {"HsizeX", &Controller::HsizeX}};
    for (const auto& [name, setter] : inputs) {
        const QString address = patch + QLatin1String(name);
        server.addMethod(address, 1, 1,
                         [address, shared, setter = setter](const Values& v) -> std::optional<Reply> {
                             if (const std::optional<int> value = intArgument(address, v[0]))
                                 (shared().*setter)(*value);
                             return std::nullopt;
                         });
    }
}

void addColourInputs(OscPatchServer& server, const QString& patch)
{
    using Setter = void (QX2DBarGraphView::*)(float);
    const std::pair<const char*, Setter> inputs[] = {
        {"redComponentY", &QX2DBarGraphView::redComponentY},
        {"greenComponentY", &QX2DBarGraphView::greenComponentY},
        {"blueComponentY", &QX2DBarGraphView::blueComponentY},
        {"alphaComponentY", &QX2DBarGraphView::alphaComponentY},
        {"redComponentCY", &QX2DBarGraphView::redComponentCY},
        {"greenComponentCY", &QX2DBarGraphView::greenComponentCY},
        {"blueComponentCY", &QX2DBarGraphView::blueComponentCY},
        {"alphaComponentCY", &QX2DBarGraphView::alphaComponentCY}};
    for (const auto& [name, setter] : inputs) {
        const QString address = patch + QLatin1String(name);
        server.addMethod(address, 1, 1, [address, setter = setter](const Values& v) -> std::optional<Reply> {
            if (v[0] < 0.0 || v[0] > 1.0) {
                reportOnce(
                    QStringLiteral("Patch interface: %1 %2 outside 0..1; ignored.").arg(address).arg(v[0]));
                return std::nullopt;
            }
            (QX2DBarGraphView::sharedQX2DBarGraphView().*setter)(float(v[0]));
            return std::nullopt;
        });
    }
}

void addRawDataPatch(OscPatchServer& server)
{
    const QString patch = QStringLiteral("/nupo4/rawdata/");
    addWindowInputs(server, patch, &QXRawwaveGraphController::sharedQXRawwaveGraphController);
    server.addMethod(patch + "ShowWindowRawwave", 0, 0,
                     [](const Values&) -> std::optional<Reply> { return Reply{float(ShowWindowRawwave)}; });
    server.addMethod(patch + "boundsRawwave", 0, 0, [](const Values&) -> std::optional<Reply> {
        const QRectF b = boundsRawwave;
        return Reply{float(b.x()), float(b.y()), float(b.width()), float(b.height())};
    });
    server.addMethod(patch + "ARawwavePP", 0, 0, [](const Values&) -> std::optional<Reply> {
        return Reply{float(ARawwavePP.load(std::memory_order_relaxed))};
    });
}

void addBarGraphPatch(OscPatchServer& server)
{
    const QString patch = QStringLiteral("/nupo4/bargraph/");
    addWindowInputs(server, patch, &QX2DBarGraphController::sharedQX2DBarGraphController);
    addColourInputs(server, patch);
}

void addWaterfallPatch(OscPatchServer& server)
{
    const QString patch = QStringLiteral("/nupo4/waterfall/");
    addWindowInputs(server, patch, &QX2DSpectrumAppController::sharedQX2DSpectrumAppController);
    using Setter = void (QX2DSpectrumAppController::*)(double);
    const std::pair<const char*, Setter> inputs[] = {{"inputRX", &QX2DSpectrumAppController::inputRX},
                                                     {"inputRY", &QX2DSpectrumAppController::inputRY},
                                                     {"inputRZ", &QX2DSpectrumAppController::inputRZ}};
    for (const auto& [name, setter] : inputs)
        server.addMethod(patch + QLatin1String(name), 1, 1,
                         [setter = setter](const Values& v) -> std::optional<Reply> {
                             (QX2DSpectrumAppController::sharedQX2DSpectrumAppController().*setter)(v[0]);
                             return std::nullopt;
                         });
}

// The front drawing's rectangles 1..drawingPatchRectangles: each has an address for its brain channel
// (1..10) and one for its view (0..19), which the rectangle hands to the shared views.
void addDrawingPatch(OscPatchServer& server)
{
    const std::pair<const char*, bool (*)(int, int)> setters[] = {{"BrainChannel", &setRectangleBrainChannel},
                                                                  {"View", &setRectangleView}};
    for (int k = 1; k <= QCNUPO4Patches::drawingPatchRectangles; ++k)
        for (const auto& [name, setter] : setters) {
            const QString address =
                QStringLiteral("/nupo4/drawing/rectangle%1/%2").arg(k).arg(QLatin1String(name));
            server.addMethod(address, 1, 1,
                             [address, k, setter = setter](const Values& v) -> std::optional<Reply> {
                                 if (const std::optional<int> value = intArgument(address, v[0]))
                                     setter(k, *value);
                                 return std::nullopt;
                             });
        }
}

void addPreferencesPatch(OscPatchServer& server)
{
    const QString patch = QStringLiteral("/nupo4/preferences/");
    const std::pair<const char*, const QString*> sounds[] = {{"soundPlay", &SetSoundPlayNotification},
                                                             {"soundStop", &SetSoundStopNotification}};
    for (const auto& [name, notification] : sounds)
        server.addMethod(patch + QLatin1String(name), 0, 1,
                         [notification = notification](const Values& v) -> std::optional<Reply> {
                             if (v.empty() || v[0] != 0.0)
                                 NotificationCenter::defaultCenter().postNotificationName(*notification);
                             return std::nullopt;
                         });
    server.addMethod(patch + "PlaySoundBlockX", 1, 1, [](const Values& v) -> std::optional<Reply> {
        if (v[0] < 1.0 || v[0] > 12.0 || v[0] != std::floor(v[0])) {
            reportOnce(QStringLiteral("Patch interface: PlaySoundBlockX %1 is not a block 1..12; ignored.")
                           .arg(v[0]));
            return std::nullopt;
        }
        PlaySoundBlockX.store(int(v[0]), std::memory_order_relaxed);
        return std::nullopt;
    });
    server.addMethod(patch + "AppleScriptON", 1, 1, [](const Values& v) -> std::optional<Reply> {
        if (v[0] != 0.0 && v[0] != 1.0) {
            reportOnce(
                QStringLiteral("Patch interface: AppleScriptON %1 is neither 0 nor 1; ignored.").arg(v[0]));
            return std::nullopt;
        }
        AppleScriptON.store(int(v[0]), std::memory_order_relaxed);
        return std::nullopt;
    });
}

}  // namespace

void QCNUPO4Patches::addAddressSpaces(OscPatchServer& server)
{
    addRawDataPatch(server);
    addBarGraphPatch(server);
    addWaterfallPatch(server);
    addDrawingPatch(server);
    addPreferencesPatch(server);
}

OscPatchServer& QCNUPO4Patches::sharedPatchServer()
{
    static OscPatchServer* server = [] {
        auto* s = new OscPatchServer;  // lives to process end
        addAddressSpaces(*s);
        return s;
    }();
    return *server;
}

bool QCNUPO4Patches::startPatchInterface(int port)
{
    QString why;
    if (sharedPatchServer().start(port, &why))
        return true;
    AlertPanel::show(QStringLiteral("The patch interface did not start."),
                     QStringLiteral("%1\n\nThe program runs on without it.").arg(asSentence(why)))
        ->setObjectName(QStringLiteral("patchInterfaceAlert"));
    return false;
}

}  // namespace nupo
