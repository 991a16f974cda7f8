#include "QXDrawerSound/player/ui/QXSoundWindowController.h"

#include "QXDrawerSound/player/SoundSlotTables.h"
#include "QXDrawerSound/player/ui/PropertyPanel.h"
#include "platform/appkit/ui/AlertPanel.h"
#include "platform/appkit/ui/Control.h"
#include "platform/appkit/ui/ElidedLabel.h"
#include "platform/appkit/ui/FixedPointFormat.h"
#include "platform/appkit/ui/NibControllerRegistry.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/PopUpButton.h"
#include "platform/appkit/ui/RadioMatrix.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/appkit/ui/WindowPlacement.h"
#include "platform/media/ui/MovieControllerBar.h"
#include "shared/BrainBands.h"

#include <QAbstractSlider>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPoint>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <cmath>

namespace nupo {

namespace {

// How often the time display follows the sound.
constexpr int positionIntervalMs = 100;
// Each slot's window opens this much further right and down than the one before, so that all show.
const QPoint slotCascade{20, 12};

}  // namespace

void QXSoundWindowController::registerSlots()
{
    for (int slot = 0; slot < soundSlotCount; ++slot) {
        NibControllerRegistry::add(soundSlotClassName(slot),
                                   [slot]() -> NibController* { return new QXSoundWindowController(slot); });
        if (slot > 0)
            NibLoader::addNibAlias(soundSlotNibName(slot), soundSlotNibName(0), soundSlotClassName(slot));
    }
}

QXSoundWindowController::QXSoundWindowController(int slot) : QXSoundController(slot)
{
    for (int i = 0; i < int(SoundOutlet::count); ++i) {
        const auto index = std::size_t(i);
        outlet(soundOutletName(SoundOutlet(i)), [this, index](QObject* object) { outlets[index] = object; });
    }
    outlet("leftDrawer", leftDrawer);
    outlet("bottomDrawer", bottomDrawer);
    outlet("upperRightDrawer", upperRightDrawer);
    outlet("lowerRightDrawer", lowerRightDrawer);
    declareActions();
}

void QXSoundWindowController::declareActions()
{
    using Action = void (QXSoundController::*)(QObject*);
    static const std::pair<const char*, Action> actions[] = {
        {"play", &QXSoundController::playButtonAction},
        {"stop", &QXSoundController::stop},
        {"goToBeginning", &QXSoundController::goToBeginning},
        {"goToEnd", &QXSoundController::goToEnd},
        {"stepBack", &QXSoundController::stepBack},
        {"stepForward", &QXSoundController::stepForward},
        {"RateON", &QXSoundController::RateON},
        {"VolumeTimeSpeedControl", &QXSoundController::VolumeTimeSpeedControl},
        {"TimeControl", &QXSoundController::TimeControl},
        {"OptionControl", &QXSoundController::OptionControl},
        {"SWmethodBS", &QXSoundController::SWmethodBS},
        {"UseBSc", &QXSoundController::UseBSc},
        {"OnOffSWBS", &QXSoundController::OnOffSWBS},
        {"UseFBS", &QXSoundController::UseFBS},
        {"SWBSOptionControl", &QXSoundController::SWBSOptionControl},
        {"FrameChangeBS", &QXSoundController::FrameChangeBS},
        {"VolumeControl", &QXSoundController::VolumeControl},
        {"SpeedControl", &QXSoundController::SpeedControl},
        {"UseBSON", &QXSoundController::UseBSON},
        {"PlaymodeMatrix", &QXSoundController::PlaymodeMatrix},
        {"RateSlider", &QXSoundController::RateSlider},
        {"TimeSlider", &QXSoundController::TimeSlider},
        {"UseBSSlider", &QXSoundController::UseBSSlider},
        {"OnOffSWBSSlider", &QXSoundController::OnOffSWBSSlider},
        {"UseFBSSlider", &QXSoundController::UseFBSSlider},
        {"VolumeSlider", &QXSoundController::VolumeSlider},
        {"SpeedSlider", &QXSoundController::SpeedSlider},
    };
    for (const auto& [name, function] : actions)
        action(QString::fromLatin1(name),
               [this, function = function](QObject* sender) { (this->*function)(sender); });

    for (int band = 0; band < brainBandCount; ++band) {
        action(QString::fromLatin1(brainBandButtonNames[band]),
               [this, band](QObject* sender) { FrameBS(band, sender); });
        action(QString::fromLatin1(brainBandSliderNames[band]),
               [this, band](QObject* sender) { BandSlider(band, sender); });
    }
    static const char* const popups[] = {"selectSelectSound", "selectSoundBrain", "selectSoundPFC",
                                         "selectVolumeBrain", "selectVolumePFC",  "selectTimeBain",
                                         "selectTimePFC",     "selectSpeedBrain", "selectSpeedPFC"};
    for (int popup = 0; popup < soundPopupCount; ++popup)
        action(QString::fromLatin1(popups[popup]),
               [this, popup](QObject* sender) { selectPopup(popup, sender); });

    action("movieProperties", &QXSoundWindowController::movieProperties);
    action("newWindow", &QXSoundWindowController::newWindow);

    using DrawerAction = void (QXDrawerController::*)(QObject*);
    static const std::pair<const char*, DrawerAction> drawerActions[] = {
        {"openLeftDrawer", &QXDrawerController::openLeftDrawer},
        {"closeLeftDrawer", &QXDrawerController::closeLeftDrawer},
        {"toggleLeftDrawer", &QXDrawerController::toggleLeftDrawer},
        {"openBottomDrawer", &QXDrawerController::openBottomDrawer},
        {"closeBottomDrawer", &QXDrawerController::closeBottomDrawer},
        {"toggleBottomDrawer", &QXDrawerController::toggleBottomDrawer},
        {"openUpperRightDrawer", &QXDrawerController::openUpperRightDrawer},
        {"closeUpperRightDrawer", &QXDrawerController::closeUpperRightDrawer},
        {"toggleUpperRightDrawer", &QXDrawerController::toggleUpperRightDrawer},
        {"openLowerRightDrawer", &QXDrawerController::openLowerRightDrawer},
        {"closeLowerRightDrawer", &QXDrawerController::closeLowerRightDrawer},
        {"toggleLowerRightDrawer", &QXDrawerController::toggleLowerRightDrawer},
    };
    for (const auto& [name, function] : drawerActions)
        action(QString::fromLatin1(name),
               [this, function = function](QObject* sender) { (drawerController.*function)(sender); });
}

void QXSoundWindowController::awakeFromNib()
{
    QWidget* window = nibWindow();
    const float* frame = SoundWindowFrameA[slot()];
    if (window && SoundOpenFromFile != 0 && frame[2] > 0.0f && frame[3] > 0.0f) {
        // A document reopens the window where it was saved.
        WindowPlacement::keepChosenFrame(window);
        WindowHandle(window).setFrame(QRectF(frame[0], frame[1], frame[2], frame[3]));
    } else if (window) {
        window->move(window->pos() + slotCascade * slot());
    }
    FixedPointFormat::apply(control(SoundOutlet::displayHereFPS), FixedPointFormat{3, 2, true});
    // A long name or failure is cut at the window's edge, whole in the tool tip.
    ElidedLabel::install(qobject_cast<QLabel*>(control(SoundOutlet::displayHeresoundName)));
    drawerController.bind(window, leftDrawer, bottomDrawer, upperRightDrawer, lowerRightDrawer);
    drawerController.awakeFromNib();
    drawerController.windowDidResize(window);

    // The property window is a panel of its own.
    if (auto* properties = qobject_cast<QWidget*>(control(SoundOutlet::moviePropertiesWindow))) {
        properties->setParent(window, Qt::Tool);
        properties->hide();
    }
    for (SoundOutlet list : {SoundOutlet::soundName, SoundOutlet::movieTrackMediaTypes}) {
        if (auto* widget = qobject_cast<QListWidget*>(control(list)))
            widget->setAlternatingRowColors(true);
    }
    if (auto* list = qobject_cast<QListWidget*>(control(SoundOutlet::soundName))) {
        connect(list, &QListWidget::currentRowChanged, this, [this](int row) {
            if (!reloading && row >= 0)
                tableViewSelectionDidChange(row);
        });
    }
    if (auto* place = qobject_cast<QWidget*>(control(SoundOutlet::movieViewObject))) {
        auto* layout = new QVBoxLayout(place);
        layout->setContentsMargins(0, 0, 0, 0);
        bar = new MovieControllerBar(place);
        layout->addWidget(bar);
        connect(bar, &MovieControllerBar::playPauseClicked, this, [this] { playButtonAction(nullptr); });
        connect(bar, &MovieControllerBar::seekRequested, this, [this](double seconds) {
            if (movie())
                movie()->seek(seconds);
        });
        connect(bar, &MovieControllerBar::selectionChanged, this,
                [this](double start, double length) { setMovieSelection(start, length); });
        connect(bar, &MovieControllerBar::volumeChanged, this, [this](double level) {
            if (movie())
                movie()->setVolume(level);
        });
    }
    auto* position = new QTimer(this);
    connect(position, &QTimer::timeout, this, [this] { showPosition(); });
    position->start(positionIntervalMs);

    init();
    setUpWindow();
    showPosition();
}

void QXSoundWindowController::windowWillClose(QObject* window)
{
    if (movie())
        movie()->pause();
    NibController::windowWillClose(window);
}

void QXSoundWindowController::windowDidResize(QObject* window)
{
    drawerController.windowDidResize(window);
    storeFrame();
}

void QXSoundWindowController::windowDidMove(QObject* window)
{
    NibController::windowDidMove(window);
    storeFrame();
}

void QXSoundWindowController::storeFrame()
{
    WindowHandle(nibWindow()).storeShownFrame(SoundWindowFrameA[slot()]);
}

void QXSoundWindowController::movieProperties(QObject*)
{
    showPropertyPanel(qobject_cast<QWidget*>(control(SoundOutlet::moviePropertiesWindow)), nibWindow());
}

void QXSoundWindowController::newWindow(QObject*)
{
    showTheWindow(SoundOutlet::movieWindow);
}

void QXSoundWindowController::showPlayer(MediaPlayer* player)
{
    if (bar)
        bar->setPlayer(player);
}

// The time of the sound in seconds; the bar follows the slot's player (made with the first sound opened).
void QXSoundWindowController::showPosition()
{
    const MediaPlayer* player = movie();
    if (bar && bar->player() != player)
        bar->setPlayer(movie());
    const double time = player ? player->currentTime() : 0.0;
    const int tenths = static_cast<int>(std::lround(time * 10.0));
    if (tenths != shownPosition) {
        shownPosition = tenths;
        Control::setFloatValue(control(SoundOutlet::displayHereFPS), time);
    }
}

void QXSoundWindowController::showValue(SoundOutlet outlet, double value)
{
    Control::setFloatValue(control(outlet), value);
}

void QXSoundWindowController::alert(const QString& title, const QString& message)
{
    AlertPanel::show(title, message)->setObjectName(QStringLiteral("soundSlotAlert"));
}

void QXSoundWindowController::showText(SoundOutlet outlet, const QString& text)
{
    QObject* target = control(outlet);
    if (target && Control::stringValue(target) != text)
        Control::setStringValue(target, text);
}

void QXSoundWindowController::selectItem(SoundOutlet outlet, int index)
{
    QObject* target = control(outlet);
    if (!RadioMatrix::cells(target).isEmpty())
        RadioMatrix::selectCellWithTag(target, index);
    else
        PopUpButton::selectItemAtIndex(target, index);
}

void QXSoundWindowController::setItems(SoundOutlet outlet, const QStringList& items)
{
    PopUpButton::removeAllItems(control(outlet));
    PopUpButton::addItemsWithTitles(control(outlet), items);
}

void QXSoundWindowController::setLimits(SoundOutlet outlet, double minimum, double maximum)
{
    Control::setFloatRange(control(outlet), minimum, maximum);
}

void QXSoundWindowController::setFieldFormat(SoundOutlet outlet, int left, int right)
{
    // The value is shown in the display field that the label's accessor returns.
    const SoundOutlet field = outlet == SoundOutlet::RateField ? SoundOutlet::displayHereRate : outlet;
    FixedPointFormat::apply(control(field), FixedPointFormat{left, right, true});
}

QString QXSoundWindowController::itemTitle(SoundOutlet outlet, int index) const
{
    const QObject* popup = control(outlet);
    return popup && index >= 0 && index < PopUpButton::numberOfItems(popup)
               ? PopUpButton::titleOfSelectedItem(popup)
               : QString();
}

int QXSoundWindowController::intValueOf(const QObject* sender) const
{
    return Control::intValue(sender);
}
double QXSoundWindowController::floatValueOf(const QObject* sender) const
{
    return Control::floatValue(sender);
}
int QXSoundWindowController::selectedIndexOf(const QObject* sender) const
{
    return PopUpButton::indexOfSelectedItem(sender);
}
QString QXSoundWindowController::selectedTitleOf(const QObject* sender) const
{
    return PopUpButton::titleOfSelectedItem(sender);
}
int QXSoundWindowController::selectedTagOf(const QObject* sender) const
{
    return RadioMatrix::selectedTag(sender);
}

void QXSoundWindowController::reloadLists()
{
    reloading = true;
    if (auto* list = qobject_cast<QListWidget*>(control(SoundOutlet::soundName))) {
        QStringList names;
        for (int row = 0; row < numberOfRowsInTableView(); ++row)
            names << objectValueForRow(row);
        if (names.size() != list->count() ||
            std::any_of(names.begin(), names.end(), [&, row = 0](const QString& name) mutable {
                return list->item(row++)->text() != name;
            })) {
            list->clear();
            list->addItems(names);
        }
    }
    if (auto* tracks = qobject_cast<QListWidget*>(control(SoundOutlet::movieTrackMediaTypes))) {
        tracks->clear();
        tracks->addItems(trackNames());
    }
    reloading = false;
}

void QXSoundWindowController::showWindowTitle(const QString& title)
{
    if (QWidget* window = nibWindow())
        window->setWindowTitle(title);
}

void QXSoundWindowController::showTheWindow(SoundOutlet windowOutlet)
{
    auto* widget = qobject_cast<QWidget*>(control(windowOutlet));
    if (!widget && windowOutlet == SoundOutlet::movieWindow)
        widget = nibWindow();
    if (!widget)
        return;
    widget->show();
    WindowHandle(widget).makeKeyAndOrderFront();
}

QXSoundWindowController* openSoundBank(const QStringList& paths)
{
    const int slot = handOverSoundBank(paths);
    if (slot < 0)
        return nullptr;
    return dynamic_cast<QXSoundWindowController*>(
        NibLoader::loadNibNamed(soundSlotNibName(slot), nullptr, QStringLiteral("QXDrawerSound")));
}

}  // namespace nupo
