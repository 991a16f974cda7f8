#include "QXDrawerSound/browser/ui/AppControllerB.h"

#include "QXDrawerSound/browser/FSBrowserModel.h"
#include "QXDrawerSound/browser/FSNodeInfo.h"
#include "QXDrawerSound/browser/FolderLister.h"
#include "QXDrawerSound/browser/MediaBrowser.h"
#include "QXDrawerSound/browser/ui/FSBrowserCell.h"
#include "QXDrawerSound/player/SoundSlotTables.h"
#include "QXDrawerSound/player/ui/QXSoundWindowController.h"
#include "core/QXSerialPort.h"
#include "platform/appkit/ui/AlertPanel.h"
#include "platform/appkit/ui/Control.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/PopUpButton.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/viewhost/ui/OpenGLViewHost.h"
#include "platform/viewhost/ui/ThreadedGLViewHost.h"
#include "shared/CoreState.h"
#include "shared/Utilities.h"
#include "views3d/QX3DSpectrumGLView.h"
#include "views3d/spectrum/gl/QX3DSpectrumGLDrawing.h"
#include "views3d/spectrum/ui/QX3DSpectrumAppController.h"
#include "views3d/textures/gl/ImageSources.h"
#include "views3d/textures/gl/PictureLoader.h"
#include "views3d/textures/gl/ShadowApp.h"
#include "views3d/wave/gl/QXnewaveGLView.h"
#include "views3d/wave/ui/QXnewaveAppController.h"

#include <QColumnView>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QUrl>

#include <cstdio>
#include <cstring>

namespace nupo {

namespace {

constexpr int soundBlockCount = 12;
constexpr int inspectorIconSide = 128;
constexpr int visibleColumns = 4;
constexpr int minimumColumnWidth = 170;

// The loader beeps and logs a nib it cannot load; the browser's own line names the window's file.
NibController* loadNibOrComplain(const QString& name, const char* message, QObject* owner)
{
    if (NibController* controller = NibLoader::loadNibNamed(name, owner))
        return controller;
    if (QString::fromLatin1(message) != QStringLiteral("Failed to load %1.nib").arg(name))
        std::printf("%s\n", message);
    return nullptr;
}

}  // namespace

AppControllerB::AppControllerB()
{
    // Every browser starts with empty folder lists.
    soundNameArrayX.clear();
    soundNameArrayS.clear();
    outlet("fsBrowser", fsBrowser);
    outlet("nodeIconWell", nodeIconWell);
    outlet("nodeInspector", nodeInspector);
    outlet("MaxField", MaxField);
    outlet("displayHereMax", displayHereMax);
    outlet("CurrentField", CurrentField);
    outlet("displayHereCurrent", displayHereCurrent);
    outlet("progressBar", progressBar);
    outlet("popupSoundBlock", [this](QObject* object) { popupSoundBlock = object; });
    outlet("popupPlaySoundBlock", [this](QObject* object) { popupPlaySoundBlock = object; });
    action("reloadData", &AppControllerB::reloadData);
    action("OpenAll", &AppControllerB::OpenAll);
    action("MTextureX", &AppControllerB::MTextureX);
    action("STextureX", &AppControllerB::STextureX);
    action("OpenMovieX", &AppControllerB::OpenMovieX);
    action("OpenSoundX", &AppControllerB::OpenSoundX);
    action("OpenSoundXZ", &AppControllerB::OpenSoundXZ);
    action("selectSoundBlock", &AppControllerB::selectSoundBlock);
    action("selectPlaySoundBlock", &AppControllerB::selectPlaySoundBlock);
    action("ImageNTextFieldAction", &AppControllerB::ImageNTextFieldAction);
}

AppControllerB::~AppControllerB() = default;

AppControllerB& AppControllerB::sharedAppControllerB()
{
    static AppControllerB* instance = new AppControllerB;  // lives to process end
    return *instance;
}

namespace {

// The browser windows opened, oldest first (main thread; lives to process end).
QList<QPointer<AppControllerB>>& openedBrowsers()
{
    static auto* browsers = new QList<QPointer<AppControllerB>>;
    return *browsers;
}

}  // namespace

NibController* AppControllerB::showBrowser(QObject* owner)
{
    QList<QPointer<AppControllerB>>& browsers = openedBrowsers();
    browsers.removeAll(nullptr);
    for (auto it = browsers.crbegin(); it != browsers.crend(); ++it) {
        AppControllerB* browser = it->data();
        if (browser && browser->nibWindow() && browser->nibWindow()->isVisible()) {
            WindowHandle(browser->nibWindow()).makeKeyAndOrderFront();
            return browser;
        }
    }
    return NibLoader::loadNibNamed(QStringLiteral("MainMenuB"), owner, QStringLiteral("MainMenuB"));
}

int AppControllerB::getMaxOpen() const
{
    return maxImageN;
}

void AppControllerB::awakeFromNib()
{
    if (fsBrowser) {
        fsModel = new FSBrowserModel(this);
        // The columns take the cell from the view when they are made: set it before the first column.
        fsBrowser->setItemDelegate(new FSBrowserCell(fsBrowser));
        fsBrowser->setModel(fsModel);
        fsBrowser->setSelectionMode(QAbstractItemView::ExtendedSelection);
        fsBrowser->setResizeGripsVisible(true);
        const int width = std::max(minimumColumnWidth, fsBrowser->width() / visibleColumns);
        fsBrowser->setColumnWidths(QList<int>(visibleColumns * 8, width));
        // Keys move the selection as clicks do.
        connect(fsBrowser->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this] { browserSingleClick(fsBrowser); });
        connect(fsBrowser, &QAbstractItemView::doubleClicked, this,
                [this] { browserDoubleClick(fsBrowser); });
        connect(fsModel, &FSBrowserModel::busyChanged, this, [this] { showBusy(); });
    }
    showImageCounts();
    if (progressBar) {
        progressBar->setMaximum(100);
        progressBar->hide();
    }
    QStringList blocks;
    for (int block = 1; block <= soundBlockCount; ++block)
        blocks << QString::number(block);
    PopUpButton::removeAllItems(popupSoundBlock);
    PopUpButton::addItemsWithTitles(popupSoundBlock, blocks);
    PopUpButton::removeAllItems(popupPlaySoundBlock);
    PopUpButton::addItemsWithTitles(popupPlaySoundBlock,
                                    blocks.mid(0, std::clamp(SoundBlockX.load(), 1, soundBlockCount)));
    setSoundBlock(SoundBlockX.load() - 1);
    setPlaySoundBlock(PlaySoundBlockX.load() - 1);
    if (QWidget* window = nibWindow()) {
        openedBrowsers().append(this);
        window->show();
        WindowHandle(window).makeKeyAndOrderFront();
    }
}

// --- Browser ----------------------------------------------------------------------------------------------

void AppControllerB::reloadData(QObject*)
{
    if (fsModel)
        fsModel->reloadData();
}

QString AppControllerB::attributedInspectorStringForFSNode(const QString& path, bool directory)
{
    const FSNodeInfo node(nullptr, path);
    const QString name = node.lastPathComponent();
    selectDirectory = directory ? 1 : 0;
    const QString type = directory ? QStringLiteral("Directory") : QStringLiteral("Non-Directory");
    setOutCHARs(name);
    NSStringToC(path);  // refuses (leaves it empty) a path longer than the buffer
    const auto line = [](const QString& label, const QString& value) {
        return QStringLiteral(
                   "<span style=\"font-weight:bold; font-size:10pt\">%1</span>"
                   "<span style=\"font-size:9pt\">%2</span><br>")
            .arg(label, value.toHtmlEscaped());
    };
    return line(QStringLiteral("Name: "), name) + line(QStringLiteral("Long Name: "), node.absolutePath()) +
           line(QStringLiteral("Type: "), type);
}

void AppControllerB::browserSingleClick(QObject*)
{
    if (!fsBrowser || !fsModel)
        return;
    const QModelIndexList selected = fsBrowser->selectionModel()->selectedIndexes();
    QString text;
    QPixmap icon;
    if (selected.size() == 1) {
        const QModelIndex item = selected.first();
        const QString path = fsModel->pathOf(item);
        const bool directory = item.data(FSBrowserModel::IsDirectoryRole).toBool();
        text = attributedInspectorStringForFSNode(path, directory);
        icon = FSBrowserCell::iconImageOfSize(path, inspectorIconSide, directory,
                                              item.data(FSBrowserModel::IsLinkRole).toBool());
        // The column this item sits in, and the entries of the column its folder opens.
        int column = 0;
        for (QModelIndex up = item.parent(); up.isValid(); up = up.parent())
            ++column;
        selectedColumnXZ = column;
        // A folder's column shows what it holds now (once it is listed again).
        RowsCount = fsModel->entryCount(selectDirectory ? item : item.parent());
        if (selectDirectory)
            fsModel->refreshFolder(
                item, [model = QPointer<FSBrowserModel>(fsModel), folder = QPersistentModelIndex(item)] {
                    if (model && folder.isValid())
                        RowsCount = model->entryCount(folder);
                });
    } else {
        text = selected.isEmpty() ? QStringLiteral("No Selection") : QStringLiteral("Multiple Selection");
    }
    if (nodeInspector)
        nodeInspector->setText(text);
    if (nodeIconWell)
        nodeIconWell->setPixmap(icon);
}

void AppControllerB::browserDoubleClick(QObject* sender)
{
    browserSingleClick(sender);
    if (fsBrowser && fsModel && fsBrowser->currentIndex().isValid())
        QDesktopServices::openUrl(QUrl::fromLocalFile(fsModel->pathOf(fsBrowser->currentIndex())));
}

void AppControllerB::selectPath(const QString& path, std::function<void(bool)> done)
{
    if (!fsBrowser || !fsModel) {
        if (done)
            done(false);
        return;
    }
    ++pendingWork_;
    showBusy();
    fsModel->reveal(path, [self = QPointer<AppControllerB>(this), done](QModelIndex item) {
        if (!self)
            return;
        --self->pendingWork_;
        self->showBusy();
        if (item.isValid()) {
            self->fsBrowser->setCurrentIndex(item);
            self->fsBrowser->selectionModel()->select(item, QItemSelectionModel::ClearAndSelect);
            self->browserSingleClick(self->fsBrowser);
        }
        if (done)
            done(item.isValid());
    });
}

bool AppControllerB::isBusy() const
{
    return pendingWork_ > 0 || (fsModel && fsModel->isBusy());
}

// A busy bar and pointer while folders are being listed for the columns or for an open.
void AppControllerB::showBusy()
{
    const bool busy = isBusy();
    if (progressBar) {
        progressBar->setRange(0, busy ? 0 : 100);
        progressBar->setVisible(busy);
    }
    if (fsBrowser) {
        if (busy)
            fsBrowser->setCursor(Qt::BusyCursor);
        else
            fsBrowser->unsetCursor();
    }
}

// Has the folder listed on the folder worker and taken into the hand-over lists, then runs then with the
// number of its entries and the names of those that cannot be opened. A folder that is not listed (it
// does not answer) is named in an alert, and nothing is opened nor handed over. Nothing runs when the
// browser has closed by then.
void AppControllerB::listForOpening(const QString& folder, std::function<void(int, QStringList)> then)
{
    ++pendingWork_;
    showBusy();
    FolderLister::list(folder, false,
                       [self = QPointer<AppControllerB>(this), folder, then](FolderLister::Listing listing,
                                                                             const QString& failure) {
                           if (!self)
                               return;
                           --self->pendingWork_;
                           self->showBusy();
                           if (!failure.isEmpty()) {
                               AlertPanel::show(
                                   QStringLiteral("“%1” cannot be opened.").arg(QFileInfo(folder).fileName()),
                                   asSentence(failure))
                                   ->setObjectName(QStringLiteral("folderNotListedAlert"));
                               return;
                           }
                           QStringList unopenable;
                           const int listed = takeFolderListing(folder, listing, &unopenable);
                           then(listed, unopenable);
                       });
}

QString AppControllerB::inspectorText() const
{
    return nodeInspector ? nodeInspector->text() : QString();
}

// --- Opening ----------------------------------------------------------------------------------------------

static void openDataFile();

void AppControllerB::OpenAll(QObject* sender)
{
    setOpenAll(Control::intValue(sender));
}

void AppControllerB::MTextureX(QObject* sender)
{
    setMXTextureX(Control::intValue(sender));
}
void AppControllerB::STextureX(QObject* sender)
{
    setSTextureX(Control::intValue(sender));
}
void AppControllerB::OpenMovieX(QObject* sender)
{
    setOpenMovieX(Control::intValue(sender));
}
void AppControllerB::OpenSoundX(QObject* sender)
{
    setOpenSoundX(Control::intValue(sender));
}
void AppControllerB::OpenSoundXZ(QObject* sender)
{
    setOpenSoundXZ(Control::intValue(sender));
}

void AppControllerB::readImageCounts()
{
    // Each field sets one count, when it holds a number.
    const std::pair<QLineEdit*, int*> fields[] = {{MaxField, &maxImageN}, {CurrentField, &maxImageNX}};
    for (const auto& [field, count] : fields) {
        bool number = false;
        const int value = field ? field->text().trimmed().toInt(&number) : 0;
        if (number)
            *count = clampedImageCount(value, outCHARMCount);
    }
}

void AppControllerB::showImageCounts()
{
    const int shown = MaxTextureDN != 0 ? maxImageN : maxImageNX;
    Control::setIntValue(displayHereMax, shown);
    Control::setIntValue(displayHereCurrent, shown);
}

void AppControllerB::setOpenAll(int)
{
    readImageCounts();
    if (selectDirectory == 1) {
        const QString folder = QString::fromUtf8(outCHAR);
        listForOpening(folder, [this, folder](int listed, const QStringList& unopenable) {
            switch (kindOfSelection(true, folder, listed)) {
                case MediaKind::Image:
                    openImageFolder(folder, listed, unopenable);
                    break;
                case MediaKind::Sound:
                    openSoundFolder(folder, listed);
                    break;
                default:
                    break;
            }
            showImageCounts();
        });
        return;
    }
    switch (kindOfSelection(false, outCHARsText(), 0)) {
        case MediaKind::Image:
            setSTextureX(1);
            break;
        case MediaKind::Sound:
            setOpenSoundX(1);
            break;
        case MediaKind::Movie:
            setOpenMovieX(1);
            break;
        case MediaKind::Data:
            openDataFile();
            break;
        case MediaKind::None:
            break;
    }
    showImageCounts();
}

// An old data file becomes the recording; one that cannot is told on screen, and the recording in use
// stays.
static void openDataFile()
{
    // Unsaved work is saved or given up first, or the recording stays.
    if (AppControllerB::mayReplaceRecording && !AppControllerB::mayReplaceRecording())
        return;
    QXSerialPort& port = QXSerialPort::sharedQXSerialPort();
    if (port.openOldFileToBuffer() != 0)
        return;
    const QString path = QString::fromUtf8(outCHAR);
    AlertPanel::show(
        QStringLiteral("“%1” cannot be opened.").arg(QFileInfo(path).fileName()),
        QStringLiteral("%1\n\n%2\n\nNothing was loaded.").arg(asSentence(port.oldFileFailure()), path))
        ->setObjectName(QStringLiteral("dataFileRefusedAlert"));
}

// Copies the listed folder's first image paths into `outCHARM`: at most `outCHARMCount`, each whole or not
// at all. Returns how many it copied.
static int copyImageSet()
{
    int count = 0;
    for (int row = 0; row < LastRowsCount && count < outCHARMCount; ++row) {
        if (NSStringToC(soundNameArrayX[row], outCHARM[count], outCHARMSize))
            ++count;
    }
    return count;
}

// Says in the log and on screen that images chosen in the browser were not loaded; the alert does not
// hold up the caller.
static void tellImagesNotLoaded(const QString& why)
{
    std::printf("The images cannot be loaded: %s\n", why.toLocal8Bit().constData());
    std::fflush(stdout);
    AlertPanel::show(QStringLiteral("The images cannot be loaded."), asSentence(why))
        ->setObjectName(QStringLiteral("imagesNotLoadedAlert"));
}

// Each refused file by name, with why, one to a line.
static QString refusalLines(const std::vector<RefusedPicture>& refused)
{
    constexpr int namesShown = 20;
    QStringList lines;
    for (std::size_t n = 0; n < refused.size() && n < std::size_t(namesShown); ++n)
        lines << QStringLiteral("%1: %2").arg(QFileInfo(refused[n].path).fileName(), refused[n].reason);
    if (refused.size() > std::size_t(namesShown))
        lines << QStringLiteral("and %1 more").arg(refused.size() - std::size_t(namesShown));
    return lines.join(QLatin1Char('\n'));
}

// Says which files of a set were left out and why; the others are in the scene.
static void tellImagesPartlyLoaded(const std::vector<RefusedPicture>& refused, int count,
                                   const QString& folder)
{
    const QString why = QStringLiteral("%1 of the %2 files in %3 cannot be loaded:\n%4")
                            .arg(refused.size())
                            .arg(count)
                            .arg(folder, refusalLines(refused));
    std::printf("%s\n", why.toLocal8Bit().constData());
    std::fflush(stdout);
    AlertPanel::show(QStringLiteral("Some images cannot be loaded."),
                     why + QStringLiteral("\n\nThe others are loaded."))
        ->setObjectName(QStringLiteral("imagesPartlyLoadedAlert"));
}

// The views of a scene that a window shows, each on a host of its own.
template <class View>
static std::vector<View*> viewsIn(QWidget* window)
{
    std::vector<View*> views;
    if (!window)
        return views;
    for (ThreadedGLViewHost* host : window->findChildren<ThreadedGLViewHost*>())
        if (auto* view = dynamic_cast<View*>(host->view()))
            views.push_back(view);
    for (OpenGLViewHost* host : window->findChildren<OpenGLViewHost*>())
        if (auto* view = dynamic_cast<View*>(host->view()); view && host->isValid())
            views.push_back(view);
    return views;
}

namespace {

// One set asked for: its paths, its folder (empty for one image) and the folder's entries whose names
// cannot be opened (refused before anything is read).
struct ImageRequest {
    QStringList paths;
    QString folder;
    QStringList unopenable;

    int files() const { return int(paths.size() + unopenable.size()); }
};

// The refusals of a load: the names that cannot be opened first, then what the worker refused.
std::vector<RefusedPicture> refusalsOf(const ImageRequest& request, std::vector<RefusedPicture> refused)
{
    std::vector<RefusedPicture> all;
    for (const QString& name : request.unopenable)
        all.push_back({QDir(request.folder).filePath(name),
                       QStringLiteral("its name is not valid UTF-8, so this program cannot open it")});
    all.insert(all.end(), std::make_move_iterator(refused.begin()), std::make_move_iterator(refused.end()));
    return all;
}

// Tells that nothing of a request was loaded.
void tellNothingLoaded(const ImageRequest& request, const std::vector<RefusedPicture>& refused)
{
    if (request.folder.isEmpty()) {
        tellImagesNotLoaded(QStringLiteral("%1: %2").arg(request.paths.value(0),
                                                         refused.empty() ? QString() : refused[0].reason));
        return;
    }
    tellImagesNotLoaded(QStringLiteral("none of the %1 files in %2 can be loaded:\n%3")
                            .arg(request.files())
                            .arg(request.folder, refusalLines(refused)));
}

// The pictures of a load that could be read, numbered from 0 without gaps; the image counts say how many.
void keepLoadedPictures(PictureLoader::Result& result)
{
    result.set = loadedPictures(result.set);
    if (const int count = int(result.set->pictures.size()); count > 0) {
        maxImageN = count;
        maxImageNX = count;
    }
}

// Makes a decoded set (the pictures that loaded) the scene's shared table and the set the window's views
// show (each view makes its own textures of it before its next frame); one alert names the files that
// were refused and why.
void showLoaded(SpriteScene scene, QWidget* window, const ImageRequest& request, PictureLoader::Result result)
{
    const std::vector<RefusedPicture> refused = refusalsOf(request, std::move(result.refused));
    if (result.set->pictures.empty()) {
        tellNothingLoaded(request, refused);
        return;
    }
    const bool wave = scene == SpriteScene::Wave;
    if (wave ? viewsIn<QXnewaveGLView>(window).empty() : viewsIn<QX3DSpectrumGLDrawing>(window).empty()) {
        tellImagesNotLoaded(QStringLiteral("the window has no OpenGL picture to show them in"));
        return;
    }
    (wave ? shadow_app : static_cast<ShadowApp&>(shadow_appAX)).install(result.set);
    if (wave) {
        for (QXnewaveGLView* view : viewsIn<QXnewaveGLView>(window)) {
            view->setDisplaydX(4);
            view->showImages(result.set, int(result.set->pictures.size()));
        }
    } else {
        for (QX3DSpectrumGLDrawing* view : viewsIn<QX3DSpectrumGLDrawing>(window))
            view->showImages(result.set);
    }
    if (!refused.empty())
        tellImagesPartlyLoaded(refused, request.files(), request.folder);
}

}  // namespace

// Has the images read and decoded on the picture worker (the main thread goes on at once) for the scene
// `LoadTextuerF` chooses: the 3D spectrum (loadIntoSpectrum), whose window opens again once the set is
// decoded, or the wave surface, into the window that asked (loadIntoAskingWave) or, where none did or it
// has closed, a new one, which opens only once something could be loaded. `count` 0 loads the single image at
// `outCHAR`, otherwise the set's first `count` images of `outCHARM`.
void AppControllerB::loadTextures(int count, const QStringList& unopenable)
{
    ImageRequest request;
    if (count == 0)
        request.paths << QString::fromUtf8(outCHAR);
    for (int n = 0; n < count; ++n)
        request.paths << QString::fromUtf8(outCHARM[n]);
    if (count > 0)
        request.folder = QFileInfo(request.paths.first()).path();
    request.unopenable = unopenable;
    const int target = LoadTextuerF;
    LoadTextuerF = 0;
    const QPointer<AppControllerB> self(this);
    if (target != 0 && target != loadIntoAskingWave) {
        // The browser goes at once; the 3D window opens again once the set is decoded, so that its first
        // frame shows it (it takes the scene's set as it opens). Where nothing can be loaded it opens
        // with the set it had.
        if (QWidget* window = nibWindow())
            window->close();
        PictureLoader::load(request.paths, [request, count, target, self](PictureLoader::Result result) {
            keepLoadedPictures(result);
            if (result.set->loaded() > 0)
                shadow_appAX.install(result.set);
            auto* spectrum = dynamic_cast<QX3DSpectrumAppController*>(loadNibOrComplain(
                QStringLiteral("QX3DSpectrum"), "Failed to load QX3DSpectrum.nib", self.data()));
            if (!spectrum) {
                LoadTextuerF = target;  // a window that cannot be loaded leaves the request
                return;
            }
            if (QX3DSpectrumGLView* view = spectrum->visibleView(); view && count == 0)
                view->setDisplaynX(4);
            showLoaded(SpriteScene::Spectrum, spectrum->nibWindow(), request, std::move(result));
        });
    } else {
        QPointer<QWidget> asking =
            target == loadIntoAskingWave ? qobject_cast<QWidget*>(waveLoadTarget.data()) : nullptr;
        waveLoadTarget = nullptr;
        if (count == 0)
            MaxTextureDN = 0;
        PictureLoader::load(request.paths, [asking, request, self](PictureLoader::Result result) {
            keepLoadedPictures(result);
            if (self)
                self->showImageCounts();
            QWidget* window = asking && asking->isVisible() ? asking.data() : nullptr;
            if (!window && result.set->loaded() > 0) {
                // Opened with the set already the scene's, so that its first frame shows it.
                shadow_app.install(result.set);
                auto* wave = dynamic_cast<QXnewaveAppController*>(loadNibOrComplain(
                    QStringLiteral("QXnewave"), "Failed to load QXnewwave.nib", self.data()));
                if (!wave)
                    return;
                window = wave->nibWindow();
            }
            showLoaded(SpriteScene::Wave, window, request, std::move(result));
        });
    }
    showImageCounts();
}

// Opens a listed folder of images as a set: its first images, up to what a scene takes.
void AppControllerB::openImageFolder(const QString& folder, int listed, const QStringList& unopenable)
{
    const int count = copyImageSet();
    if (count == 0 && unopenable.isEmpty())
        return;
    maxImageN = std::max(1, count);
    maxImageNX = std::max(1, count);
    if (count == 0) {
        ImageRequest request;
        request.folder = folder;
        request.unopenable = unopenable;
        tellNothingLoaded(request, refusalsOf(request, {}));
        return;
    }
    loadTextures(count, unopenable);
    if (listed > outCHARMCount) {
        // Told after the scene opened, so that the alert stands in front of it.
        const QString capped =
            QStringLiteral("Only the first %1 of %2 images are loaded.").arg(outCHARMCount).arg(listed);
        std::printf("%s\n", capped.toLocal8Bit().constData());
        std::fflush(stdout);
        AlertPanel::show(
            capped,
            QStringLiteral("%1 holds more images than a scene takes; the rest are left out.").arg(folder))
            ->setObjectName(QStringLiteral("imagesCappedAlert"));
    }
}

void AppControllerB::setMXTextureX(int)
{
    const QString folder = QString::fromUtf8(outCHAR);
    listForOpening(folder, [this, folder](int listed, const QStringList& unopenable) {
        openImageFolder(folder, listed, unopenable);
        showImageCounts();
    });
}

void AppControllerB::setSTextureX(int)
{
    maxImageN = 1;
    maxImageNX = 1;
    loadTextures(0);
}

void AppControllerB::setOpenSoundX(int)
{
    const QString path = QString::fromUtf8(outCHAR);
    if (path.isEmpty())
        return;
    if (openSoundBank({path}) == nullptr)
        std::printf("Failed to load QXDrawerSound.nib\n");
    restoreSelection();
}

void AppControllerB::setOpenSoundXZ(int)
{
    const QString folder = QString::fromUtf8(outCHAR);
    listForOpening(folder,
                   [this, folder](int listed, const QStringList&) { openSoundFolder(folder, listed); });
}

// Opens a listed folder's entries as one bank in the next sound slot.
void AppControllerB::openSoundFolder(const QString& folder, int listed)
{
    if (listed == 0)
        return;
    const QString name = outCHARsText();
    if (openSoundBank(soundNameArrayX.mid(0, listed)) == nullptr)
        std::printf("Failed to load QXDrawerSound.nib\n");
    // The clicked folder stays the item the next open acts on.
    NSStringToC(folder);
    setOutCHARs(name);
    restoreSelection();
}

void AppControllerB::openNextSound()
{
    setOpenSoundX(1);
}

void AppControllerB::setOpenMovieX(int)
{
    loadNibOrComplain(QStringLiteral("QXDrawerMovie"), "Failed to load QXDrawerMovie.nib", this);
    restoreSelection();
}

// The opened window takes the focus; the browser keeps its columns and selection.
void AppControllerB::restoreSelection()
{
    if (fsBrowser && fsBrowser->currentIndex().isValid())
        fsBrowser->scrollTo(fsBrowser->currentIndex());
}

// --- Sound blocks -----------------------------------------------------------------------------------------

void AppControllerB::selectSoundBlock(QObject* sender)
{
    setSoundBlock(PopUpButton::indexOfSelectedItem(sender ? sender : popupSoundBlock));
}

void AppControllerB::selectPlaySoundBlock(QObject* sender)
{
    setPlaySoundBlock(PopUpButton::indexOfSelectedItem(sender ? sender : popupPlaySoundBlock));
}

void AppControllerB::setSoundBlock(int index)
{
    index = std::clamp(index, 0, soundBlockCount - 1);
    SoundBlockX = index + 1;
    PopUpButton::selectItemAtIndex(popupSoundBlock, index);
}

void AppControllerB::setPlaySoundBlock(int index)
{
    index = std::clamp(index, 0, soundBlockCount - 1);
    PlaySoundBlockX = index + 1;
    PopUpButton::selectItemAtIndex(popupPlaySoundBlock, index);
}

}  // namespace nupo
