#pragma once

// The movie-frame window's controller: steps its view one frame, or twenty at a time.

#include "platform/appkit/ui/NibController.h"

namespace nupo {

class MyQuickDrawView;

class MyObject : public NibController {
    Q_OBJECT
public:
    MyObject();

    void awakeFromNib() override;
    void windowWillClose(QObject* window) override;
    void applicationWillTerminate(QObject* notification);

    void nextFrame(QObject* sender);
    // Twenty steps at once; a movie at its end starts over with the counter at 1 first.
    void play(QObject* sender);

    MyQuickDrawView* view() const { return myView; }

private:
    QWidget* myWindow = nullptr;
    MyQuickDrawView* myView = nullptr;
};

}  // namespace nupo
