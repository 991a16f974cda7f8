#include "platform/appkit/ui/NibLoader.h"

#include "platform/appkit/MainThread.h"
#include "platform/appkit/ui/Beep.h"
#include "platform/appkit/ui/ColorWell.h"
#include "platform/appkit/ui/Drawer.h"
#include "platform/appkit/ui/NibActionConnector.h"
#include "platform/appkit/ui/NibCheck.h"
#include "platform/appkit/ui/NibController.h"
#include "platform/appkit/ui/NibControllerRegistry.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/resources/ResourceLocator.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPoint>
#include <QPointer>
#include <QUiLoader>
#include <QWidget>
#include <QXmlStreamReader>
#include <QtDebug>

#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>

namespace nupo {

namespace {

struct ExtraFolders {
    std::mutex mutex;
    QStringList folders;
};

ExtraFolders& extraFolders()
{
    static ExtraFolders* instance = new ExtraFolders;  // lives to process end
    return *instance;
}

struct NibAlias {
    QString nib;
    QString controllerClass;
};

struct NibAliases {
    std::mutex mutex;
    QHash<QString, NibAlias> aliases;
};

NibAliases& nibAliases()
{
    static NibAliases* instance = new NibAliases;  // lives to process end
    return *instance;
}

void reportFailure(const QString& failureName)
{
    std::printf("Failed to load %s.nib\n", failureName.toLocal8Bit().constData());
    std::fflush(stdout);
    beep();
}

// Every object of the nib by object name: the root first, then its descendants in creation order.
QList<QObject*> namedObjects(QWidget* root)
{
    QList<QObject*> objects{root};
    const auto children = root->findChildren<QObject*>();
    for (QObject* child : children) {
        if (!child->objectName().isEmpty())
            objects.append(child);
    }
    return objects;
}

// Builds our own widget classes where a nib names them (promoted widgets), Qt's otherwise.
class WidgetFactory : public QUiLoader {
public:
    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override
    {
        if (NibCheck::ownWidgetClasses().contains(className)) {
            auto* well = new ColorWell(parent);
            well->setObjectName(name);
            return well;
        }
        return QUiLoader::createWidget(className, parent, name);
    }
};

Drawer::Edge drawerEdgeNamed(const QString& name)
{
    if (name.compare(QLatin1String("bottom"), Qt::CaseInsensitive) == 0)
        return Drawer::Edge::Bottom;
    if (name.compare(QLatin1String("right"), Qt::CaseInsensitive) == 0)
        return Drawer::Edge::Right;
    return Drawer::Edge::Left;
}

// Moves every child marked with `drawerEdge` into a Drawer of the window that takes its name.
void makeDrawers(QWidget* root)
{
    const auto widgets = root->findChildren<QWidget*>();
    for (QWidget* content : widgets) {
        const QString edgeName = content->property("drawerEdge").toString();
        if (edgeName.isEmpty())
            continue;
        auto* drawer = new Drawer(root, drawerEdgeNamed(edgeName));
        drawer->setObjectName(content->objectName());
        content->setObjectName(content->objectName() + QStringLiteral("Content"));
        drawer->setMinContentSize(content->minimumSize());
        drawer->setMaxContentSize(content->maximumSize());
        drawer->setContentSize(content->size());
        drawer->setLeadingOffset(content->property("leadingOffset").toDouble());
        drawer->setTrailingOffset(content->property("trailingOffset").toDouble());
        drawer->setContentView(content);  // takes it out of the window and its layout
    }
}

// The position in the root widget's geometry. Qt's form loader gives a root widget only the size of its
// geometry, so the nib's window position is read here: windows open where their nib places them.
std::optional<QPoint> rootPosition(QIODevice& nib)
{
    QXmlStreamReader xml(&nib);
    if (!xml.readNextStartElement() || xml.name() != u"ui")
        return {};
    while (xml.readNextStartElement() && xml.name() != u"widget")
        xml.skipCurrentElement();
    if (xml.name() != u"widget")
        return {};
    while (xml.readNextStartElement()) {
        if (xml.name() != u"property" || xml.attributes().value(QLatin1String("name")) != u"geometry") {
            xml.skipCurrentElement();
            continue;
        }
        if (!xml.readNextStartElement() || xml.name() != u"rect")
            return {};
        std::optional<int> x, y;
        while (xml.readNextStartElement()) {
            bool ok = false;
            const QString name = xml.name().toString();  // a copy: the text read next moves the view
            const int value = xml.readElementText().toInt(&ok);
            if (ok && name == u"x")
                x = value;
            else if (ok && name == u"y")
                y = value;
        }
        if (x && y)
            return QPoint(*x, *y);
        return {};
    }
    return {};
}

}  // namespace

std::unique_ptr<QWidget> NibLoader::buildWidgets(const QByteArray& nib, const QString& folder, QString* error)
{
    if (const QString problem = NibCheck::problemIn(nib); !problem.isEmpty()) {
        if (error)
            *error = problem;
        return nullptr;
    }
    QBuffer buffer;
    buffer.setData(nib);
    buffer.open(QIODevice::ReadOnly);
    WidgetFactory loader;
    loader.setWorkingDirectory(QDir(folder));
    std::unique_ptr<QWidget> root(loader.load(&buffer));
    if (!root) {
        if (error)
            *error = loader.errorString();
        return nullptr;
    }
    if (buffer.seek(0)) {
        if (const std::optional<QPoint> position = rootPosition(buffer))
            root->move(*position);
    }
    return root;
}

QStringList NibLoader::searchFolders()
{
    QStringList folders = ResourceLocator::resourceFolders(QStringLiteral("nibs"));
    std::lock_guard lock(extraFolders().mutex);
    folders.append(extraFolders().folders);
    return folders;
}

void NibLoader::addSearchFolder(const QString& folder)
{
    std::lock_guard lock(extraFolders().mutex);
    if (!extraFolders().folders.contains(folder))
        extraFolders().folders.append(folder);
}

QString NibLoader::pathForNib(const QString& name)
{
    // A name is a plain file name: no folders, so a nib name can never reach outside the nib folders.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return {};
    return ResourceLocator::firstFileIn(searchFolders(), name + QStringLiteral(".ui"));
}

void NibLoader::addNibAlias(const QString& name, const QString& nib, const QString& controllerClass)
{
    std::lock_guard lock(nibAliases().mutex);
    nibAliases().aliases.insert(name, NibAlias{nib, controllerClass});
}

NibController* NibLoader::loadNibNamed(const QString& name, QObject* owner, const QString& failureName)
{
    // Widgets live on the main thread only: a load asked for elsewhere (a notification handler on a
    // worker thread, say) happens there on the next event-loop turn.
    if (!isMainThread()) {
        QPointer<QObject> guardedOwner(owner);
        const bool hadOwner = owner != nullptr;
        performOnMainThread([name, guardedOwner, hadOwner, failureName] {
            if (!hadOwner || guardedOwner)
                loadNibNamed(name, guardedOwner, failureName);
        });
        return nullptr;
    }
    const QString reportedName = failureName.isEmpty() ? name : failureName;
    QString path = pathForNib(name);
    QString aliasClass;
    if (path.isEmpty()) {
        std::lock_guard lock(nibAliases().mutex);
        const auto alias = nibAliases().aliases.constFind(name);
        if (alias != nibAliases().aliases.constEnd()) {
            path = pathForNib(alias->nib);
            aliasClass = alias->controllerClass;
        }
    }
    if (path.isEmpty()) {
        reportFailure(reportedName);
        return nullptr;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning().noquote() << QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        reportFailure(reportedName);
        return nullptr;
    }
    QString problem;
    std::unique_ptr<QWidget> root = buildWidgets(file.readAll(), QFileInfo(path).absolutePath(), &problem);
    if (!root) {
        qWarning().noquote() << QStringLiteral("Cannot build %1: %2").arg(path, problem);
        reportFailure(reportedName);
        return nullptr;
    }

    const QString className =
        aliasClass.isEmpty() ? root->property("controllerClass").toString() : aliasClass;
    NibController* controller =
        className.isEmpty() ? new NibController : NibControllerRegistry::create(className);
    if (!controller) {
        qWarning().noquote() << QStringLiteral("%1: unknown controller class %2").arg(path, className);
        reportFailure(reportedName);
        return nullptr;
    }

    QWidget* window = root.release();
    makeDrawers(window);
    controller->adoptWindow(window, owner);
    for (QObject* object : namedObjects(window))
        controller->bindOutlet(object->objectName(), object);
    NibActionConnector::connectAll(window, controller, name);

    QPointer<NibController> alive(controller);
    controller->awakeFromNib();
    if (!alive || !alive->nibWindow() || alive->windowIsClosed())
        return alive;
    const QVariant visibleAtLaunch = window->property("visibleAtLaunch");
    if (!visibleAtLaunch.isValid() || visibleAtLaunch.toBool())
        window->show();
    return controller;
}

NibController* NibLoader::showSingleNib(const QString& name, QObject* owner)
{
    static auto* open = new QHash<QString, QPointer<NibController>>;  // main thread; lives to process end
    QPointer<NibController>& shown = (*open)[name];
    if (shown && shown->nibWindow() && !shown->windowIsClosed()) {
        WindowHandle(shown->nibWindow()).makeKeyAndOrderFront();
        return shown;
    }
    shown = loadNibNamed(name, owner);
    return shown;
}

}  // namespace nupo
