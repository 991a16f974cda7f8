#include "tools/ui/QXorvellogoAppController.h"

#include "platform/appkit/RunLoopTimer.h"
#include "platform/appkit/ui/Control.h"
#include "platform/viewhost/ui/PlotViewHosting.h"
#include "tools/gl/QXorvellogoGLView.h"

#include <QWidget>

namespace nupo {

QXorvellogoAppController& QXorvellogoAppController::sharedQXorvellogoAppController()
{
    static QXorvellogoAppController* instance = new QXorvellogoAppController;  // lives to process end
    return *instance;
}

QXorvellogoAppController::QXorvellogoAppController()
{
    outlet("versionField", versionField);
    outlet("logoView", [this](QObject* object) {
        auto* placeholder = qobject_cast<QWidget*>(object);
        if (!placeholder)
            return;
        logoView_ = std::make_unique<QXorvellogoGLView>(QRectF(QPointF(0, 0), QSizeF(placeholder->size())));
        // The logo is light and rarely drawn: it stays on the main thread.
        host_ = hostPlotView(placeholder, *logoView_, OpenGLViewHost::Drawing::OnMainThread);
    });
}

QXorvellogoAppController::~QXorvellogoAppController()
{
    timer_.reset();
    delete host_;  // before the view it shows
}

void QXorvellogoAppController::awakeFromNib()
{
    Control::setStringValue(versionField, QStringLiteral("Version %1").arg(QStringLiteral(NUPO_VERSION)));
    restretOpen();
    if (logoView_)
        timer_ = std::make_unique<RunLoopTimer>(1.0 / 30.0, [this] { logoView_->setNeedsDisplay(true); });
}

void QXorvellogoAppController::windowWillClose(QObject* window)
{
    timer_.reset();
    NibController::windowWillClose(window);
}

void QXorvellogoAppController::restretOpen()
{
    nupo::restretOpen();
}

}  // namespace nupo
