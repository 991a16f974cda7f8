#pragma once

// A sound slot's window: the player of that slot whose control updates reach the widgets of the nib
// "QXDrawerSound". The ten slots share the nib: "QXDrawerSound" makes a slot-0 player
// (`QXSoundController`), "QXDrawerSoundA" .. "QXDrawerSoundI" make the players of slots 1 to 9
// (`QXSoundControllerA` .. `QXSoundControllerI`). Each window has its own drawer controller.

#include "QXDrawerSound/player/QXSoundController.h"
#include "QXDrawerSound/player/ui/QXDrawerController.h"
#include "platform/appkit/ui/NibController.h"

#include <array>

class QListWidget;

namespace nupo {

class MovieControllerBar;

class QXSoundWindowController : public NibController, public QXSoundController {
    Q_OBJECT
public:
    explicit QXSoundWindowController(int slot = 0);

    void awakeFromNib() override;
    void windowWillClose(QObject* window) override;
    void windowDidResize(QObject* window) override;
    void windowDidMove(QObject* window) override;

    void movieProperties(QObject* sender);
    void newWindow(QObject* sender);

    QObject* control(SoundOutlet outlet) const { return outlets[std::size_t(outlet)]; }
    QXDrawerSoundController& drawers() { return drawerController; }
    // The sound's controller bar (position, selection, volume) in the movie view's place.
    MovieControllerBar* soundControllerBar() const { return bar; }

    // Registers the ten slot classes and the nine nib names that share slot 0's nib (done at start-up;
    // callable again).
    static void registerSlots();

protected:
    void showValue(SoundOutlet outlet, double value) override;
    void showText(SoundOutlet outlet, const QString& text) override;
    void selectItem(SoundOutlet outlet, int index) override;
    void setItems(SoundOutlet outlet, const QStringList& items) override;
    void setLimits(SoundOutlet outlet, double minimum, double maximum) override;
    void setFieldFormat(SoundOutlet outlet, int left, int right) override;
    QString itemTitle(SoundOutlet outlet, int index) const override;
    int intValueOf(const QObject* sender) const override;
    double floatValueOf(const QObject* sender) const override;
    int selectedIndexOf(const QObject* sender) const override;
    QString selectedTitleOf(const QObject* sender) const override;
    int selectedTagOf(const QObject* sender) const override;
    void reloadLists() override;
    void showWindowTitle(const QString& title) override;
    void showTheWindow(SoundOutlet window) override;
    void alert(const QString& title, const QString& message) override;
    void showPlayer(MediaPlayer* player) override;

private:
    void declareActions();
    void showPosition();
    // Keeps the window's frame in SoundWindowFrameA while it is shown.
    void storeFrame();

    std::array<QObject*, std::size_t(SoundOutlet::count)> outlets{};
    Drawer* leftDrawer = nullptr;
    Drawer* bottomDrawer = nullptr;
    Drawer* upperRightDrawer = nullptr;
    Drawer* lowerRightDrawer = nullptr;
    QXDrawerSoundController drawerController;
    MovieControllerBar* bar = nullptr;
    bool reloading = false;
    int shownPosition = -1;
};

}  // namespace nupo

namespace nupo {

// Opens a bank of sounds (one file, or several files of a folder) in the next slot's window; null when
// nothing was opened (the reason is on standard output, and a nib that fails to load beeps).
QXSoundWindowController* openSoundBank(const QStringList& paths);

}  // namespace nupo
