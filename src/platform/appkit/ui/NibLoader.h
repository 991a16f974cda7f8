#pragma once

// Nibs: windows and panels described in Qt Designer `.ui` files and loaded by name.
//
// How to write a controller for a nib
// -----------------------------------
// 1. The nib is resources/nibs/<Name>.ui. Its root widget (the window) carries a dynamic string
//    property `controllerClass` naming the controller class, e.g. "QXRawwaveGraphController".
//    Controls that send an action carry a dynamic string property `action` with the action's name
//    ("select"; a trailing ':' is ignored). A radio matrix is a container (QGroupBox or QWidget) with
//    the `action` property whose radio buttons carry an int property `tag`. Buttons may carry `tag`.
//    A slider with float values carries double properties `minValue` and `maxValue`.
//    A colour well is a QPushButton promoted to `nupo::ColorWell` (header platform/appkit/ui/ColorWell.h).
//    A drawer is a child widget of the window, outside its layout, with a string property
//    `drawerEdge` ("left", "bottom" or "right"); it becomes a Drawer bound to the outlet of its name.
// 2. The controller derives from NibController, has a public default constructor, declares its
//    outlets and actions in that constructor, and is registered with the nib loader at start-up:
//
//        class QXExampleController : public NibController {
//        public:
//            QXExampleController()
//            {
//                outlet("popup", popup);                       // nib object named "popup"
//                outlet("window", window);                     // the root, if named "window"
//                action("select", &QXExampleController::select);
//            }
//            void select(QObject* sender);                     // also callable with nullptr
//            void awakeFromNib() override;                     // outlets are bound here
//            void windowWillClose(QObject* window) override;   // then the controller is released
//        private:
//            QComboBox* popup = nullptr;
//            QWidget* window = nullptr;
//        };
//        // in installLinks() (app/Wiring.cpp):
//        NibControllerRegistry::add<QXExampleController>(QStringLiteral("QXExampleController"));
//
//    An outlet that is not the widget itself (a view object hosted by a widget) is declared with a
//    binder: `outlet("graphView", [this](QObject* o) { graphView = viewHostedBy(o); });`.
//    The program and the ui test mains call installLinks() first, so every nib finds its controller.
// 3. Open the window with `NibLoader::loadNibNamed("QXExample", owner)`. The loader finds the file,
//    builds the widgets, creates the controller, binds every declared outlet whose name matches an
//    object of the nib (others stay null), connects the actions, calls awakeFromNib() and shows the
//    window (unless the root has `visibleAtLaunch` false or awakeFromNib closed it). Every load gives
//    a new window and a new controller. Read and set controls through Control, PopUpButton and
//    RadioMatrix, give number fields a FixedPointFormat, and drive the window through WindowHandle;
//    all are null-safe, so the shared instance with its empty outlets can call them too. Report
//    failures with AlertPanel or beep().
// 4. The controller owns its window; close the window (never delete it) to end both.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QWidget;

namespace nupo {

class NibController;

class NibLoader {
public:
    // Loads the nib of that name and returns its controller (owned by its window's life cycle, see
    // NibController). The owner, the object that opens the nib (may be null), is kept for the
    // controller as nibOwner(). On failure (no such nib, unreadable file, unknown controller
    // class) it writes "Failed to load <failureName>.nib" to standard output, beeps and returns null;
    // failureName defaults to name. Called from another thread than the main thread, it queues the
    // load to the main thread (unless the owner is gone by then) and returns null at once.
    static NibController* loadNibNamed(const QString& name, QObject* owner = nullptr,
                                       const QString& failureName = {});

    // For windows there is one of: brings the window loaded from that nib by this call before to the
    // front while it is open, else loads the nib as loadNibNamed does. Main thread.
    static NibController* showSingleNib(const QString& name, QObject* owner = nullptr);

    // Builds the widgets of a nib's text, after NibCheck has found nothing wrong with it; folder is where
    // the nib's relative paths point. Null, with the reason in error, when the nib cannot be built.
    static std::unique_ptr<QWidget> buildWidgets(const QByteArray& nib, const QString& folder,
                                                 QString* error = nullptr);

    // The path of <name>.ui in the first search folder that has it, or empty.
    static QString pathForNib(const QString& name);

    // Lets a family of windows share one nib file: loading `name` (when no nib of its own exists) builds
    // `nib` with `controllerClass` in place of the class its root names.
    static void addNibAlias(const QString& name, const QString& nib, const QString& controllerClass);

    // Where nibs are looked for, in order: <executable folder>/resources/nibs, then
    // <source tree>/resources/nibs (NUPO_SOURCE_DIR from the environment, else the build's), then
    // the folders added here (for tests).
    static QStringList searchFolders();
    static void addSearchFolder(const QString& folder);
};

}  // namespace nupo
