#pragma once

#include "platform/appkit/FrameTimer.h"
#include "platform/appkit/ui/NibController.h"
#include "plots/rawwave/gl/QXRoundCustomView.h"

class QWidget;

namespace nupo {

// The transparent front raw-wave window (nib "QXRoundWindow"): a frameless window that stays in front
// and shows the live traces of CH 1 and CH 2 in the layout `WindowMode` chose. A double click closes it.
class QXRoundController : public NibController {
    Q_OBJECT
public:
    QXRoundController();

    void awakeFromNib() override;
    void windowWillClose(QObject* window) override;

    QXRoundCustomView& view() { return roundView; }
    QWidget* windowWidget() const { return window; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QXRoundCustomView roundView;
    FrameTimer timer;
    QWidget* window = nullptr;
    QWidget* host = nullptr;
};

}  // namespace nupo
