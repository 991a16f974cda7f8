#pragma once

#include "platform/appkit/ui/NibController.h"

#include <memory>

class QWidget;

namespace nupo {

class QXorvellogoGLView;
class RunLoopTimer;

// The about window ("QXorvellogo"): the program's name, version and what it does, over the animated logo,
// which restarts every time the window opens. Main thread.
class QXorvellogoAppController : public NibController {
public:
    static QXorvellogoAppController& sharedQXorvellogoAppController();

    QXorvellogoAppController();
    ~QXorvellogoAppController() override;

    void awakeFromNib() override;
    void windowWillClose(QObject* window) override;
    // Restarts the logo animation.
    void restretOpen();

    QXorvellogoGLView* logoView() const { return logoView_.get(); }

private:
    std::unique_ptr<QXorvellogoGLView> logoView_;
    QWidget* host_ = nullptr;
    std::unique_ptr<RunLoopTimer> timer_;
    QObject* versionField = nullptr;
};

}  // namespace nupo
