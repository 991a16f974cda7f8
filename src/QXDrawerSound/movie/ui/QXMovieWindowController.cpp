#include "QXDrawerSound/movie/ui/QXMovieWindowController.h"

#include "QXDrawerSound/movie/MovieState.h"
#include "QXDrawerSound/player/ui/PropertyPanel.h"
#include "platform/appkit/ui/AlertPanel.h"
#include "platform/appkit/ui/Control.h"
#include "platform/appkit/ui/FixedPointFormat.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/PopUpButton.h"
#include "platform/appkit/ui/RadioMatrix.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/appkit/ui/WindowPlacement.h"
#include "platform/media/ui/MovieControllerBar.h"
#include "platform/viewhost/ui/OpenGLViewHost.h"
#include "shared/BrainBands.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QVBoxLayout>

namespace nupo {

namespace {

// The picture's size when the window leaves it free ("Size to fit window").
constexpr int freeSize = QWIDGETSIZE_MAX;

// The live movie windows, oldest first (main thread only). Never destroyed, for windows ending late.
std::vector<QXMovieWindowController*>& liveWindows()
{
    static auto* windows = new std::vector<QXMovieWindowController*>;
    return *windows;
}

}  // namespace

QXMovieWindowController::QXMovieWindowController()
{
    for (int i = 0; i < int(MovieOutlet::count); ++i) {
        const auto index = std::size_t(i);
        outlet(movieOutletName(MovieOutlet(i)), [this, index](QObject* object) { outlets[index] = object; });
    }
    declareActions();
    liveWindows().push_back(this);
}

QXMovieWindowController::~QXMovieWindowController()
{
    std::erase(liveWindows(), this);
    // The render context goes before the player it draws.
    view.releaseRenderContext();
    view.setPlayer(nullptr);
}

void QXMovieWindowController::declareActions()
{
    using Action = void (QXMovieController::*)(QObject*);
    static const std::pair<const char*, Action> actions[] = {
        {"play", &QXMovieController::playButtonAction},
        {"stop", &QXMovieController::stop},
        {"goToBeginning", &QXMovieController::goToBeginning},
        {"goToEnd", &QXMovieController::goToEnd},
        {"stepBack", &QXMovieController::stepBack},
        {"stepForward", &QXMovieController::stepForward},
        {"PloopSync", &QXMovieController::PloopSync},
        {"selectMoviesize", &QXMovieController::selectMoviesize},
        {"PlaymodeMatrix", &QXMovieController::PlaymodeMatrix},
    };
    for (const auto& [name, function] : actions)
        action(QString::fromLatin1(name),
               [this, function = function](QObject* sender) { (this->*function)(sender); });

    static const char* const switchActions[movieSwitchCount] = {
        "RateON",       "SoundFrameSpeedControl", "SoundControl", "FrameControl",
        "SpeedControl", "OptionControl",          "FrameChangeBS"};
    for (int which = 0; which < movieSwitchCount; ++which)
        action(QString::fromLatin1(switchActions[which]),
               [this, which](QObject* sender) { switchAction(which, sender); });
    static const char* const gainActions[movieGainCount] = {"RateSlider", "SoundSlider", "FrameSlider",
                                                            "SpeedSlider"};
    for (int which = 0; which < movieGainCount; ++which)
        action(QString::fromLatin1(gainActions[which]),
               [this, which](QObject* sender) { gainAction(which, sender); });
    for (int band = 0; band < brainBandCount; ++band) {
        action(QString::fromLatin1(brainBandButtonNames[band]),
               [this, band](QObject* sender) { FrameBS(band, sender); });
        action(QString::fromLatin1(brainBandSliderNames[band]),
               [this, band](QObject* sender) { BandSlider(band, sender); });
    }
    static const char* const popups[moviePopupCount] = {"selectSoundBrain", "selectSoundPFC",
                                                        "selectFrameBain",  "selectFramePFC",
                                                        "selectSpeedBain",  "selectSpeedPFC"};
    for (int popup = 0; popup < moviePopupCount; ++popup)
        action(QString::fromLatin1(popups[popup]),
               [this, popup](QObject* sender) { selectPopup(popup, sender); });
    action("movieProperties", &QXMovieWindowController::movieProperties);
    action("newWindow", &QXMovieWindowController::newWindow);
}

std::vector<QXMovieWindowController*> QXMovieWindowController::openWindows()
{
    std::vector<QXMovieWindowController*> shown;
    for (QXMovieWindowController* window : liveWindows())
        if (window->movie() && window->nibWindow() && window->nibWindow()->isVisible())
            shown.push_back(window);
    return shown;
}

QXMovieWindowController* QXMovieWindowController::openOrReuse(QObject* owner)
{
    const std::vector<QXMovieWindowController*> shown = openWindows();
    if (!shown.empty()) {
        QXMovieWindowController* window = shown.back();
        WindowHandle(window->nibWindow()).makeKeyAndOrderFront();
        return window;
    }
    // A movie still being opened is the one asked for again.
    for (QXMovieWindowController* window : liveWindows())
        if (window->isOpening())
            return window;
    return dynamic_cast<QXMovieWindowController*>(
        NibLoader::loadNibNamed(QStringLiteral("QXDrawerMovie"), owner));
}

void QXMovieWindowController::awakeFromNib()
{
    if (auto* properties = qobject_cast<QWidget*>(control(MovieOutlet::moviePropertiesWindow))) {
        properties->setParent(nibWindow(), Qt::Tool);
        properties->hide();
    }
    if (auto* placeholder = qobject_cast<QWidget*>(control(MovieOutlet::movieViewObject))) {
        WindowPlacement::markPicture(placeholder);
        buildMovieView(placeholder);
    }
    init();
    // The window shows once its movie has opened (setUpWindow shows it then), not empty before.
    if (QWidget* window = nibWindow())
        window->setProperty("visibleAtLaunch", false);
    setUpWindow();
    whenOpened([this] { Control::setFloatValue(control(MovieOutlet::setSpeedSlider), gain(SpeedGain)); });
}

void QXMovieWindowController::movieNotOpened()
{
    // Nothing to show: the window goes with its controller once the alert is read.
    if (QWidget* window = nibWindow())
        QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
}

// The movie view in the nib's placeholder: the picture (a GL host, or a note where the window system has
// no GL) and the controller bar under it.
void QXMovieWindowController::buildMovieView(QWidget* placeholder)
{
    auto* outer = new QVBoxLayout(placeholder);
    outer->setContentsMargins(0, 0, 0, 0);
    box = new QWidget(placeholder);
    box->setObjectName(QStringLiteral("movieBox"));
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    outer->addWidget(box);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (OpenGLViewHost::isSupported()) {
        host = new OpenGLViewHost(&view, box);
        host->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(host);
    } else {
        auto* note = new QLabel(QStringLiteral("OpenGL is not available: the picture cannot be drawn."), box);
        note->setAlignment(Qt::AlignCenter);
        layout->addWidget(note, 1);
    }
    bar = new MovieControllerBar(box);
    layout->addWidget(bar);
    connect(bar, &MovieControllerBar::playPauseClicked, this, [this] { playButtonAction(nullptr); });
    connect(bar, &MovieControllerBar::seekRequested, this, [this](double seconds) {
        if (movie()) {
            movie()->seek(seconds);
            setcurrentTimePointTextStrX();
        }
    });
    connect(bar, &MovieControllerBar::selectionChanged, this,
            [this](double start, double length) { setMovieSelection(start, length); });
    connect(bar, &MovieControllerBar::volumeChanged, this, [this](double level) {
        if (movie())
            movie()->setVolume(level);
    });
}

void QXMovieWindowController::windowWillClose(QObject* window)
{
    movieWindowClosing();
    NibController::windowWillClose(window);
}

void QXMovieWindowController::windowDidMove(QObject*)
{
    storeFrame();
}

void QXMovieWindowController::windowDidResize(QObject*)
{
    storeFrame();
}

void QXMovieWindowController::storeFrame()
{
    if (movie() && frameTaken)
        WindowHandle(nibWindow()).storeShownFrame(NomalQTSizeR);
}

void QXMovieWindowController::movieProperties(QObject*)
{
    showPropertyPanel(qobject_cast<QWidget*>(control(MovieOutlet::moviePropertiesWindow)), nibWindow());
}

void QXMovieWindowController::newWindow(QObject*)
{
    if (QWidget* window = nibWindow()) {
        window->show();
        WindowHandle(window).makeKeyAndOrderFront();
    }
}

void QXMovieWindowController::setTheWindow(int small)
{
    setWindowFrame(small != 0 ? SmallSizeR : NomalQTSizeR);
}

void QXMovieWindowController::setWindowFrame(const float* frame)
{
    WindowHandle(nibWindow()).setFrame(QRectF(frame[0], frame[1], frame[2], frame[3]), true, true);
    frameTaken = true;
}

void QXMovieWindowController::showValue(MovieOutlet outlet, double value)
{
    Control::setFloatValue(control(outlet), value);
}

void QXMovieWindowController::showText(MovieOutlet outlet, const QString& text)
{
    QObject* target = control(outlet);
    if (target && Control::stringValue(target) != text)
        Control::setStringValue(target, text);
}

void QXMovieWindowController::setItems(MovieOutlet outlet, const QStringList& items)
{
    PopUpButton::removeAllItems(control(outlet));
    PopUpButton::addItemsWithTitles(control(outlet), items);
}

void QXMovieWindowController::selectItem(MovieOutlet outlet, int index)
{
    QObject* target = control(outlet);
    if (!RadioMatrix::cells(target).isEmpty())
        RadioMatrix::selectCellWithTag(target, index);
    else
        PopUpButton::selectItemAtIndex(target, index);
}

void QXMovieWindowController::setLimits(MovieOutlet outlet, double minimum, double maximum)
{
    Control::setFloatRange(control(outlet), minimum, maximum);
}

void QXMovieWindowController::setFieldFormat(MovieOutlet outlet, int left, int right)
{
    // The value is shown in the display field that the label's accessor returns.
    const MovieOutlet field = outlet == MovieOutlet::RateField ? MovieOutlet::displayHereRate : outlet;
    FixedPointFormat::apply(control(field), FixedPointFormat{left, right, true});
}

void QXMovieWindowController::setHidden(MovieOutlet outlet, bool hidden)
{
    Control::setHidden(control(outlet), hidden);
}

void QXMovieWindowController::setEnabled(MovieOutlet outlet, bool enabled)
{
    Control::setEnabled(control(outlet), enabled);
}

void QXMovieWindowController::showPlayButton(bool pauseTitle)
{
    Control::setStringValue(control(MovieOutlet::playButton),
                            pauseTitle ? QStringLiteral("||") : QStringLiteral(">"));
}

void QXMovieWindowController::showMovie(MediaPlayer* player)
{
    view.setPlayer(player);
    if (bar)
        bar->setPlayer(player);
    if (!player) {
        view.setNeedsDisplay(true);
        return;
    }
    // A host whose context is ready makes the render context now; otherwise its first frame does.
    if (host && view.makeCurrentContext())
        view.createRenderContext();
}

// The bar shows or hides, and the movie view takes the picture's size with the bar under it, or fills
// its place ("Size to fit window").
bool QXMovieWindowController::resizeMovieView(double magnification, bool controllerBar)
{
    if (bar)
        bar->setVisible(controllerBar);
    if (!box)
        return true;
    QLayout* outer = box->parentWidget() ? box->parentWidget()->layout() : nullptr;
    QLayout* inner = box->layout();
    if (sizeChoice() == 0 || !movie()) {
        box->setMinimumSize(0, 0);
        box->setMaximumSize(freeSize, freeSize);
        if (outer)
            outer->setAlignment(box, Qt::Alignment());
        if (host) {
            host->setMinimumSize(0, 0);
            host->setMaximumSize(freeSize, freeSize);
            inner->setAlignment(host, Qt::Alignment());
        }
        return true;
    }
    // A picture whose size is not known yet (just after opening) keeps the place it has until it is.
    if (movie()->videoWidth() <= 0 || movie()->videoHeight() <= 0)
        return false;
    int width = std::max(16, int(movie()->videoWidth() * magnification));
    int height = std::max(16, int(movie()->videoHeight() * magnification));
    const int barHeight = controllerBar ? MovieControllerBar::barHeight : 0;
    // The window grows with the picture only as far as the free space has room: a larger picture (double
    // size, or a strong peak) is shown as large as fits, in its own proportions. The free space is the
    // largest part of the screen that no window kept clear of (the Control Panel, the tool palette)
    // covers; what the window needs besides the picture's place is what it has around that place now.
    QWidget* window = nibWindow();
    QWidget* holder = box->parentWidget() != window ? box->parentWidget() : nullptr;
    if (window && holder) {
        const QRect area = WindowPlacement::availableArea(window);
        const QRect free =
            WindowPlacement::clearSpot(area, QSize(1, 1), area, WindowPlacement::keptClearFrames(window))
                .value_or(area);
        const QSize around = (window->size() - holder->size()).expandedTo(QSize(0, 0));
        const QSize room = free.size()
                               .shrunkBy(WindowPlacement::decorationOf(window))
                               .shrunkBy(QMargins(0, 0, around.width(), around.height() + barHeight));
        const double fit = std::min({1.0, double(room.width()) / width, double(room.height()) / height});
        if (fit < 1.0) {
            width = std::max(16, int(width * fit));
            height = std::max(16, int(height * fit));
        }
    }
    if (host) {
        host->setFixedSize(width, height);
        inner->setAlignment(host, Qt::AlignHCenter);
    }
    // A bar narrower than it likes to be leaves too short a slider to select with.
    const int barWidth = controllerBar && bar ? bar->sizeHint().width() : 0;
    box->setFixedSize(std::max(width, barWidth), height + barHeight);
    if (outer)
        outer->setAlignment(box, Qt::AlignCenter);
    if (window && holder && window->isVisible()) {
        // The window grows to hold the picture whole, then stays on the screen and clear of the windows
        // kept clear.
        const QSize grow = (box->size() - holder->size()).expandedTo(QSize(0, 0));
        const QSize needed = (window->size() + grow).boundedTo(window->maximumSize());
        if (needed != window->size())
            window->resize(needed);
        WindowPlacement::keepOnScreen(window);
        WindowPlacement::moveClearOf(window, WindowPlacement::keptClearFrames(window));
    }
    return true;
}

void QXMovieWindowController::reloadTracks()
{
    if (auto* tracks = qobject_cast<QListWidget*>(control(MovieOutlet::movieTrackMediaTypes))) {
        tracks->clear();
        tracks->addItems(trackNames());
    }
}

void QXMovieWindowController::showWindow(float alpha, bool inFront)
{
    QWidget* window = nibWindow();
    if (!window)
        return;
    // The window then takes its own frame (the one stored in the document, or where it was last), so
    // its first show must not move it elsewhere: that move would be stored as its frame.
    WindowPlacement::keepChosenFrame(window);
    window->show();
    WindowHandle handle(window);
    handle.makeKeyAndOrderFront();
    handle.setAlphaValue(alpha);
    if (inFront)
        handle.setStatusWindowLevel(true);
}

void QXMovieWindowController::closePropertyWindow()
{
    if (auto* properties = qobject_cast<QWidget*>(control(MovieOutlet::moviePropertiesWindow)))
        properties->close();
}

void QXMovieWindowController::alert(const QString& title, const QString& message)
{
    AlertPanel::show(title, message);
}

int QXMovieWindowController::intValueOf(const QObject* sender) const
{
    return Control::intValue(sender);
}
double QXMovieWindowController::floatValueOf(const QObject* sender) const
{
    return Control::floatValue(sender);
}
int QXMovieWindowController::selectedIndexOf(MovieOutlet popup, const QObject*) const
{
    // The popup outlet answers, whatever sent the action.
    return PopUpButton::indexOfSelectedItem(control(popup));
}
int QXMovieWindowController::selectedTagOf(const QObject* sender) const
{
    return RadioMatrix::selectedTag(sender);
}

}  // namespace nupo
