#include "QXDrawerSound/player/ui/MyObject.h"

#include "QXDrawerSound/player/ui/MyQuickDrawView.h"

#include <QVBoxLayout>

namespace nupo {

namespace {

constexpr int stepsPerPlay = 20;

}  // namespace

MyObject::MyObject()
{
    outlet("myWindow", myWindow);
    // The nib holds a placeholder where the view goes.
    outlet("myView", [this](QObject* object) {
        auto* place = qobject_cast<QWidget*>(object);
        if (!place)
            return;
        myView = new MyQuickDrawView(place);
        auto* layout = new QVBoxLayout(place);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(myView);
    });
    action("nextFrame", &MyObject::nextFrame);
    action("play", &MyObject::play);
}

void MyObject::awakeFromNib()
{
    if (myView)
        myView->awakeFromNib();
}

void MyObject::windowWillClose(QObject* window)
{
    applicationWillTerminate(nullptr);
    NibController::windowWillClose(window);
}

void MyObject::applicationWillTerminate(QObject*)
{
    if (myView)
        myView->freeAllocatedObjects();
}

void MyObject::nextFrame(QObject*)
{
    if (!myView)
        return;
    myView->nextFrame();
    myView->drawFrame();
    myView->update();
}

void MyObject::play(QObject* sender)
{
    if (!myView)
        return;
    // A finished movie starts over: its beginning, the counter at 1, then the steps.
    if (qtMovieX && qtMovieX == myView->movie() && qtMovieX->isAtEnd())
        myView->goToBeginning();
    for (int step = 0; step < stepsPerPlay; ++step)
        nextFrame(sender);
}

}  // namespace nupo
