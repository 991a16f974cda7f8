#include "platform/appkit/ui/Beep.h"
#include "platform/appkit/ui/ColorWell.h"
#include "platform/appkit/ui/Control.h"
#include "platform/appkit/ui/Drawer.h"
#include "platform/appkit/ui/NibCheck.h"
#include "platform/appkit/ui/NibController.h"
#include "platform/appkit/ui/NibControllerRegistry.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>

namespace nupo {

// The controller of the test nib: records what the loader did to it.
class NupoTestPanelController : public NibController {
public:
    NupoTestPanelController()
    {
        ++created;
        outlet("window", window);
        outlet("popup", popup);
        outlet("slider", slider);
        outlet("button", button);
        outlet("matrix", matrix);
        outlet("label", label);  // a QLabel in the nib: wrong type, stays null
        outlet("missing", missing);
        outlet("colorWell", colorWell);
        outlet("leftDrawer", leftDrawer);
        action("select", &NupoTestPanelController::select);
        action("changeSlider", &NupoTestPanelController::changeSlider);
        action("press", &NupoTestPanelController::press);
        action("changeMatrix", &NupoTestPanelController::changeMatrix);
        action("changeColor", &NupoTestPanelController::changeColor);
    }
    ~NupoTestPanelController() override { ++destroyed; }

    void awakeFromNib() override { outletsBoundAtAwake = popup && slider && button && matrix && window; }
    void windowWillClose(QObject* closing) override
    {
        ++willCloseCalls;
        closedWindow = closing;
    }

    void select(QObject* sender) { record("select", sender); }
    void changeSlider(QObject* sender) { record("changeSlider", sender); }
    void press(QObject* sender) { record("press", sender); }
    void changeMatrix(QObject* sender) { record("changeMatrix", sender); }
    void changeColor(QObject* sender)
    {
        record("changeColor", sender);
        pickedColor = Control::color(sender);
    }

    QWidget* window = nullptr;
    QComboBox* popup = nullptr;
    QSlider* slider = nullptr;
    QAbstractButton* button = nullptr;
    QWidget* matrix = nullptr;
    QPushButton* label = nullptr;
    QWidget* missing = nullptr;
    ColorWell* colorWell = nullptr;
    Drawer* leftDrawer = nullptr;
    RGBAColor pickedColor;

    bool outletsBoundAtAwake = false;
    int willCloseCalls = 0;
    QObject* closedWindow = nullptr;
    QStringList actions;
    QList<QObject*> senders;

    static inline int created = 0;
    static inline int destroyed = 0;

private:
    void record(const char* name, QObject* sender)
    {
        actions.append(QString::fromLatin1(name));
        senders.append(sender);
    }
};

// The controller class that a second name for the test nib asks for.
class NupoTestAliasController : public NupoTestPanelController {};

namespace {

class NibLoaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        NibLoader::addSearchFolder(test::sourcePath("tests/platform/appkit/ui/nibs"));
        NibControllerRegistry::add<NupoTestPanelController>(QStringLiteral("NupoTestPanelController"));
        NibControllerRegistry::add<NupoTestAliasController>(QStringLiteral("NupoTestAliasController"));
    }

    static void releaseClosed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    static NupoTestPanelController* loadPanel()
    {
        return dynamic_cast<NupoTestPanelController*>(NibLoader::loadNibNamed("NupoTestPanel", nullptr));
    }

    // Loads the nib and returns what the loader wrote to standard output.
    static QString loadOutput(const QString& name, NibController** result, const QString& failureName = {})
    {
        ::testing::internal::CaptureStdout();
        *result = NibLoader::loadNibNamed(name, nullptr, failureName);
        return QString::fromStdString(::testing::internal::GetCapturedStdout());
    }
};

TEST_F(NibLoaderTest, LoadingBindsOutletsByNameBeforeAwakeAndShowsTheWindow)
{
    QObject owner;
    auto* controller =
        dynamic_cast<NupoTestPanelController*>(NibLoader::loadNibNamed("NupoTestPanel", &owner));
    ASSERT_NE(controller, nullptr);
    EXPECT_TRUE(controller->outletsBoundAtAwake);
    EXPECT_EQ(controller->window, controller->nibWindow());
    EXPECT_EQ(controller->nibOwner(), &owner);
    EXPECT_EQ(controller->popup->count(), 3);
    EXPECT_EQ(controller->label, nullptr);
    EXPECT_EQ(controller->missing, nullptr);
    EXPECT_TRUE(controller->window->isVisible());
    EXPECT_EQ(controller->window->windowTitle(), "Test Panel");
    // The window opens where the nib places it, not only at its size.
    EXPECT_EQ(controller->window->pos(), QPoint(140, 90));
    WindowHandle(controller->window).close();
    releaseClosed();
}

TEST_F(NibLoaderTest, UserWorkingTheControlsRunsTheirActionsWithTheControlAsSender)
{
    auto* controller = loadPanel();
    ASSERT_NE(controller, nullptr);

    controller->button->click();
    QTest::keyClick(controller->popup, Qt::Key_Down);
    QTest::keyClick(controller->slider, Qt::Key_Right);
    auto* cellB = controller->matrix->findChild<QRadioButton*>("cellB");
    ASSERT_NE(cellB, nullptr);
    cellB->click();

    EXPECT_EQ(controller->actions, QStringList({"press", "select", "changeSlider", "changeMatrix"}));
    EXPECT_EQ(controller->senders, QList<QObject*>({controller->button, controller->popup, controller->slider,
                                                    controller->matrix}));
    EXPECT_EQ(controller->popup->currentIndex(), 1);
    WindowHandle(controller->window).close();
    releaseClosed();
}

TEST_F(NibLoaderTest, ColourWellsAndDrawersComeFromTheNib)
{
    auto* controller = loadPanel();
    ASSERT_NE(controller, nullptr);
    ASSERT_NE(controller->colorWell, nullptr);
    ASSERT_NE(controller->leftDrawer, nullptr);

    // Picking a colour in the well's dialog sends the well's action with the colour.
    controller->colorWell->click();
    ASSERT_NE(controller->colorWell->colorDialog(), nullptr);
    controller->colorWell->colorDialog()->setCurrentColor(QColor::fromRgbF(1.0f, 0.5f, 0.0f, 0.25f));
    controller->colorWell->colorDialog()->accept();
    EXPECT_EQ(controller->actions, QStringList({"changeColor"}));
    EXPECT_NEAR(controller->pickedColor.red, 1.0, 0.01);
    EXPECT_NEAR(controller->pickedColor.green, 0.5, 0.01);
    EXPECT_NEAR(controller->pickedColor.blue, 0.0, 0.01);
    EXPECT_NEAR(controller->pickedColor.alpha, 0.25, 0.01);

    // The drawer takes the widget's name, size, limits and offsets, starts closed, and its controls
    // still reach the controller.
    Drawer* drawer = controller->leftDrawer;
    EXPECT_EQ(drawer->state(), Drawer::State::Closed);
    EXPECT_EQ(drawer->preferredEdge(), Drawer::Edge::Left);
    EXPECT_EQ(drawer->contentSize(), QSizeF(150, 200));
    EXPECT_EQ(drawer->minContentSize(), QSizeF(100, 100));
    EXPECT_EQ(drawer->maxContentSize(), QSizeF(300, 300));
    EXPECT_EQ(drawer->leadingOffset(), 20.0);
    EXPECT_FALSE(controller->window->isAncestorOf(drawer->contentView()));
    drawer->findChild<QAbstractButton*>("drawerCheck")->click();
    EXPECT_EQ(controller->actions.last(), "press");

    QPointer<Drawer> drawerAlive(drawer);
    WindowHandle(controller->window).close();
    releaseClosed();
    EXPECT_TRUE(drawerAlive.isNull());
}

TEST_F(NibLoaderTest, ValuesSetFromCodeSendNoAction)
{
    auto* controller = loadPanel();
    ASSERT_NE(controller, nullptr);
    controller->slider->setValue(40);
    controller->popup->setCurrentIndex(2);
    controller->slider->setValue(40);  // unchanged value after a user move must not fire either
    QTest::keyClick(controller->slider, Qt::Key_Home);
    QTest::keyClick(controller->slider, Qt::Key_Home);  // already at the minimum: no change, no action
    controller->slider->setValue(5);
    EXPECT_EQ(controller->actions, QStringList({"changeSlider"}));
    WindowHandle(controller->window).close();
    releaseClosed();
}

TEST_F(NibLoaderTest, ClosingTheWindowTellsAndReleasesTheController)
{
    const int destroyedBefore = NupoTestPanelController::destroyed;
    auto* controller = loadPanel();
    ASSERT_NE(controller, nullptr);
    QPointer<QWidget> window = controller->window;
    QPointer<QObject> alive = controller;

    WindowHandle(window).close();
    EXPECT_EQ(controller->willCloseCalls, 1);
    EXPECT_EQ(controller->closedWindow, window.data());
    releaseClosed();
    EXPECT_TRUE(alive.isNull());
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(NupoTestPanelController::destroyed, destroyedBefore + 1);
}

TEST_F(NibLoaderTest, EveryLoadMakesANewWindowAndController)
{
    auto* first = loadPanel();
    auto* second = loadPanel();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_NE(first->window, second->window);
    WindowHandle(first->window).close();
    releaseClosed();
    // The other window and its controller are untouched.
    second->button->click();
    EXPECT_EQ(second->actions, QStringList({"press"}));
    WindowHandle(second->window).close();
    releaseClosed();
}

TEST_F(NibLoaderTest, ALoadAskedForOnAnotherThreadHappensOnTheMainThread)
{
    const int createdBefore = NupoTestPanelController::created;
    NibController* fromWorker = reinterpret_cast<NibController*>(1);
    // Joined through the thread library: a QThread that has ended before wait() is asked tells so
    // through a lock of Qt's that ThreadSanitizer cannot see.
    std::thread worker([&fromWorker] { fromWorker = NibLoader::loadNibNamed("NupoTestPanel"); });
    worker.join();
    EXPECT_EQ(fromWorker, nullptr);
    EXPECT_EQ(NupoTestPanelController::created, createdBefore);
    QCoreApplication::processEvents();
    EXPECT_EQ(NupoTestPanelController::created, createdBefore + 1);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->windowTitle() == "Test Panel")
            window->close();
    }
    releaseClosed();
}

TEST_F(NibLoaderTest, ARootThatIsNotVisibleAtLaunchStaysHiddenAndGetsAPlainController)
{
    NibController* controller = NibLoader::loadNibNamed("NupoTestHiddenPanel");
    ASSERT_NE(controller, nullptr);
    ASSERT_NE(controller->nibWindow(), nullptr);
    EXPECT_FALSE(controller->nibWindow()->isVisible());
    QPointer<NibController> alive(controller);
    WindowHandle(controller->nibWindow()).close();
    releaseClosed();
    EXPECT_TRUE(alive.isNull());
}

TEST_F(NibLoaderTest, FailuresAreLoggedAndBeepWithoutAController)
{
    // Nib files that are not nibs at all, or that Qt's form loader would crash on: the smallest such
    // case found is a layout without a class.
    const QString folder = test::tempFolder();
    const std::pair<QString, QByteArray> files[] = {
        {"NupoTestBroken", "this is not a designer file"},
        {"NupoTestLayoutWithoutClass",
         "<ui><widget class=\"QWidget\"><widget class=\"QWidget\"><layout></layout></widget></widget></ui>"},
    };
    for (const auto& [name, text] : files) {
        QFile file(folder + "/" + name + ".ui");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    NibLoader::addSearchFolder(folder);

    struct Case {
        QString name;
        QString failureName;
        QString expected;
    };
    const Case cases[] = {
        {"NupoTestNoSuchNib", {}, "Failed to load NupoTestNoSuchNib.nib\n"},
        {"NupoTestUnknownClass", {}, "Failed to load NupoTestUnknownClass.nib\n"},
        {"NupoTestBroken", {}, "Failed to load NupoTestBroken.nib\n"},
        {"NupoTestLayoutWithoutClass", {}, "Failed to load NupoTestLayoutWithoutClass.nib\n"},
        {"NupoTestNoSuchNib", "QXDrawerSound", "Failed to load QXDrawerSound.nib\n"},
        {"../nibs/NupoTestPanel", {}, "Failed to load ../nibs/NupoTestPanel.nib\n"},
        {"", {}, "Failed to load .nib\n"},
    };
    for (const Case& c : cases) {
        const int beepsBefore = beepCount();
        NibController* controller = nullptr;
        EXPECT_EQ(loadOutput(c.name, &controller, c.failureName), c.expected) << c.name.toStdString();
        EXPECT_EQ(controller, nullptr);
        EXPECT_EQ(beepCount(), beepsBefore + 1);
    }
}

TEST(NibCheck, RefusesWhatTheFormLoaderCannotBuildSafely)
{
    // Every nib of the program passes.
    const QDir nibs(test::sourcePath("resources/nibs"));
    const QStringList names = nibs.entryList({"*.ui"});
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        QFile file(nibs.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(NibCheck::problemIn(file.readAll()).toStdString(), "") << name.toStdString();
    }

    const auto deep = [](int levels) {
        QByteArray text = "<ui>";
        for (int i = 0; i < levels; ++i)
            text += "<widget class=\"QWidget\">";
        for (int i = 0; i < levels; ++i)
            text += "</widget>";
        return text + "</ui>";
    };
    struct Case {
        QByteArray nib;
        QString problem;  // empty: accepted
    };
    const Case cases[] = {
        {"<ui><widget class=\"QWidget\"><layout class=\"QVBoxLayout\"/></widget></ui>", {}},
        {"<ui><widget class=\"QWidget\"><widget class=\"nupo::ColorWell\"/></widget></ui>", {}},
        {"<ui><widget class=\"QWidget\">\n<widget class=\"QWidget\"><layout></layout></widget></widget></ui>",
         "line 2: a <layout> without a class"},
        {"<ui><widget><layout class=\"QVBoxLayout\"/></widget></ui>", "line 1: a <widget> without a class"},
        {"<ui><widget class=\"QNoSuchWidget\"/></ui>", "line 1: unknown widget class QNoSuchWidget"},
        {"<ui><widget class=\"QWidget\"><layout class=\"QWidget\"/></widget></ui>",
         "line 1: unknown layout class QWidget"},
        {"<ui><widget class=\"QWidget\"></ui>", "line 1: Opening and ending tag mismatch."},
        {"<widget class=\"QWidget\"/>", "line 1: the root element is <widget>, not <ui>"},
        {"", "line 1: Premature end of document."},
        {deep(NibCheck::maxDepth - 1), {}},
        {deep(NibCheck::maxDepth), "line 1: elements nested deeper than 256 levels"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NibCheck::problemIn(c.nib).toStdString(), c.problem.toStdString())
            << c.nib.left(100).toStdString();
}

TEST_F(NibLoaderTest, ANameCanShareAnotherNibWithItsOwnControllerClass)
{
    NibLoader::addNibAlias("NupoTestPanelB", "NupoTestPanel", "NupoTestAliasController");
    NibController* controller = NibLoader::loadNibNamed("NupoTestPanelB");
    auto* alias = dynamic_cast<NupoTestAliasController*>(controller);
    ASSERT_NE(alias, nullptr);
    EXPECT_TRUE(alias->outletsBoundAtAwake);
    EXPECT_TRUE(alias->nibWindow()->isVisible());
    // The nib's own name still gives its own class.
    NibController* own = NibLoader::loadNibNamed("NupoTestPanel");
    EXPECT_EQ(dynamic_cast<NupoTestAliasController*>(own), nullptr);
    EXPECT_NE(dynamic_cast<NupoTestPanelController*>(own), nullptr);
    WindowHandle(alias->nibWindow()).close();
    WindowHandle(own->nibWindow()).close();
}

TEST_F(NibLoaderTest, TheRegistryCreatesOnlyKnownClasses)
{
    EXPECT_TRUE(NibControllerRegistry::contains("NupoTestPanelController"));
    std::unique_ptr<NibController> made(NibControllerRegistry::create("NupoTestPanelController"));
    EXPECT_NE(dynamic_cast<NupoTestPanelController*>(made.get()), nullptr);
    EXPECT_EQ(NibControllerRegistry::create("NupoTestNoSuchController"), nullptr);
    // A controller made outside a nib has no window and empty outlets, and is safe to destroy.
    EXPECT_EQ(made->nibWindow(), nullptr);
}

}  // namespace
}  // namespace nupo
