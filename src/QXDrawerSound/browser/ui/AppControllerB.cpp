#include "QXDrawerSound/browser/ui/AppControllerB.h"

#include "QXDrawerSound/browser/FSBrowserModel.h"
#include "QXDrawerSound/browser/FSNodeInfo.h"
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

QString AppControllerB::attributedInspectorStringForFSNode(const QString& path)
{
    const FSNodeInfo node(nullptr, path);
    const QString name = node.lastPathComponent();
    const QString type = node.fsType();  // records `selectDirectory`
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
        text = attributedInspectorStringForFSNode(path);
        icon = FSBrowserCell::iconImageOfSize(path, inspectorIconSide);
        // The column this item sits in, and the entries of the column its folder opens.
        int column = 0;
        for (QModelIndex up = item.parent(); up.isValid(); up = up.parent())
            ++column;
        selectedColumnXZ = column;
        // A folder's column shows what it holds now.
        if (selectDirectory)
            fsModel->refreshFolder(item);
        RowsCount = fsModel->rowCount(selectDirectory ? item : item.parent());
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

bool AppControllerB::selectPath(const QString& path)
{
    if (!fsBrowser || !fsModel)
        return false;
    const QModelIndex item = fsModel->indexOfPath(path);
    if (!item.isValid())
        return false;
    fsBrowser->setCurrentIndex(item);
    fsBrowser->selectionModel()->select(item, QItemSelectionModel::ClearAndSelect);
    browserSingleClick(fsBrowser);
    return true;
}

QString AppControllerB::inspectorText() const
{
    return nodeInspector ? nodeInspector->text() : QString();
}

// --- Opening ----------------------------------------------------------------------------------------------

static void openDataFile();

void AppControllerB::OpenAll(QObject* sender)
{
    if (progressBar) {
        progressBar->show();
        progressBar->setValue(1);
        progressBar->repaint();
    }
    isWorking = true;
    setOpenAll(Control::intValue(sender));
    isWorking = false;
    if (progressBar)
        progressBar->hide();
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
    const QString selection = selectDirectory == 1 ? QString::fromUtf8(outCHAR) : outCHARsText();
    switch (kindOfSelection(selectDirectory == 1, selection)) {
        case MediaKind::Image:
            selectDirectory == 1 ? setMXTextureX(1) : setSTextureX(1);
            break;
        case MediaKind::Sound:
            selectDirectory == 1 ? setOpenSoundXZ(1) : setOpenSoundX(1);
            break;
        case MediaKind::Movie:
            if (selectDirectory == 0)
                setOpenMovieX(1);
            break;
        case MediaKind::Data:
            if (selectDirectory == 0)
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

// Has the pictures at paths read and decoded on the picture worker; the main thread goes on at once.
// Once they are decoded they become the scene's shared table and the set the window's views show (each
// view makes its own textures of them before its next frame); one alert names the files that were
// refused and why. `folder` is the folder of a set (empty for one image).
static void loadPictures(SpriteScene scene, QWidget* window, const QStringList& paths, const QString& folder)
{
    const bool wave = scene == SpriteScene::Wave;
    if ((wave ? viewsIn<QXnewaveGLView>(window).empty() : viewsIn<QX3DSpectrumGLDrawing>(window).empty())) {
        tellImagesNotLoaded(QStringLiteral("the window has no OpenGL picture to show them in"));
        return;
    }
    const int count = static_cast<int>(paths.size());
    PictureLoader::load(paths, [scene, wave, target = QPointer<QWidget>(window), paths, folder,
                                count](PictureLoader::Result result) {
        if (result.set->loaded() == 0) {
            tellImagesNotLoaded(
                folder.isEmpty()
                    ? QStringLiteral("%1: %2").arg(
                          paths.value(0), result.refused.empty() ? QString() : result.refused[0].reason)
                    : QStringLiteral("none of the %1 files in %2 can be loaded:\n%3")
                          .arg(count)
                          .arg(folder, refusalLines(result.refused)));
            return;
        }
        (scene == SpriteScene::Wave ? shadow_app : static_cast<ShadowApp&>(shadow_appAX)).install(result.set);
        if (wave) {
            for (QXnewaveGLView* view : viewsIn<QXnewaveGLView>(target))
                view->showImages(result.set, std::max(1, count));
        } else {
            for (QX3DSpectrumGLDrawing* view : viewsIn<QX3DSpectrumGLDrawing>(target))
                view->showImages(result.set);
        }
        if (!result.refused.empty())
            tellImagesPartlyLoaded(result.refused, count, folder);
    });
}

// Opens the scene chosen by `LoadTextuerF` and has the images loaded into it: the wave surface (0) or the
// 3D spectrum (other), whose view then draws lit smooth surfaces. `count` 0 loads the single image at
// `outCHAR`, otherwise the set's first `count` images of `outCHARM`.
void AppControllerB::loadTextures(int count)
{
    QStringList paths;
    if (count == 0)
        paths << QString::fromUtf8(outCHAR);
    for (int n = 0; n < count; ++n)
        paths << QString::fromUtf8(outCHARM[n]);
    const QString folder = count > 0 ? QFileInfo(paths.first()).path() : QString();
    if (LoadTextuerF == 0) {
        auto* wave = dynamic_cast<QXnewaveAppController*>(
            loadNibOrComplain(QStringLiteral("QXnewave"), "Failed to load QXnewwave.nib", this));
        if (!wave)
            return;
        if (count == 0)
            MaxTextureDN = 0;
        QXnewaveGLView::sharedQXnewaveGLView().setDisplaydX(4);
        if (QXnewaveGLView* view = wave->glView()) {
            view->setDisplaydX(4);
            loadPictures(SpriteScene::Wave, wave->nibWindow(), paths, folder);
        }
    } else {
        auto* spectrum = dynamic_cast<QX3DSpectrumAppController*>(
            loadNibOrComplain(QStringLiteral("QX3DSpectrum"), "Failed to load QX3DSpectrum.nib", this));
        if (!spectrum)
            return;
        if (QWidget* window = nibWindow())
            window->close();
        if (QX3DSpectrumGLView* view = spectrum->visibleView(); view && count == 0)
            view->setDisplaynX(4);
        loadPictures(SpriteScene::Spectrum, spectrum->nibWindow(), paths, folder);
    }
    LoadTextuerF = 0;
    showImageCounts();
}

void AppControllerB::setMXTextureX(int)
{
    const QString folder = QString::fromUtf8(outCHAR);
    const int listed = listFolderForOpening(folder);
    const int count = copyImageSet();
    if (count == 0)
        return;
    maxImageN = count;
    maxImageNX = count;
    loadTextures(count);
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
    const int listed = listFolderForOpening(QString::fromUtf8(outCHAR));
    if (listed == 0)
        return;
    const QString folder = QString::fromUtf8(outCHAR);
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
