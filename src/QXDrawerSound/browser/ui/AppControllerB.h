#pragma once

// The media browser (nib "MainMenuB"): a column browser over the file system, an inspector of the item
// clicked last, and buttons that open the selection by kind: images become textures of the wave surface
// or the 3D spectrum, sounds and folders of sounds open in the next sound slot, movies in the movie
// window, old data files become the recording. It also holds the two sound-block popups every slot obeys
// and the image counts. Folders are listed on the folder worker, for the columns and for an open alike;
// the browser shows it is busy meanwhile, and an open goes on once its folder is listed.

#include "platform/appkit/ui/NibController.h"

#include <QStringList>

#include <functional>

class QColumnView;
class QLabel;
class QLineEdit;
class QProgressBar;
class QModelIndex;

namespace nupo {

class FSBrowserModel;

class AppControllerB : public NibController {
    Q_OBJECT
public:
    AppControllerB();
    ~AppControllerB() override;

    // The process-wide instance (no window): what the 3D views ask for the image count.
    static AppControllerB& sharedAppControllerB();
    // The media browser for a texture load: the one open (opened last) brought to the front, or a new one
    // where none is open. Main thread.
    static NibController* showBrowser(QObject* owner = nullptr);
    int getMaxOpen() const;

    void awakeFromNib() override;

    // Browser.
    void reloadData(QObject* sender);
    void browserSingleClick(QObject* sender);
    void browserDoubleClick(QObject* sender);
    // Shows the item of a path in the columns (listing the folders on the way) and clicks it once; done,
    // where given, learns whether it was found.
    void selectPath(const QString& path, std::function<void(bool found)> done = {});
    // Whether folders are being listed (for the columns or an open) or a path sought.
    bool isBusy() const;

    // Open buttons: their actions, and the open operations (the argument is not used).
    void OpenAll(QObject* sender);
    void MTextureX(QObject* sender);
    void STextureX(QObject* sender);
    void OpenMovieX(QObject* sender);
    void OpenSoundX(QObject* sender);
    void OpenSoundXZ(QObject* sender);
    void setOpenAll(int value);
    // Asked before a data file replaces the recording in use (the document installs it): false keeps the
    // recording. None: it may be replaced.
    static inline std::function<bool()> mayReplaceRecording;
    void setMXTextureX(int value);
    void setSTextureX(int value);
    void setOpenSoundX(int value);
    void setOpenSoundXZ(int value);
    void setOpenMovieX(int value);
    void setOpenMovieXZ(int) {}  // a folder of movies opens nothing
    void openNextSound();

    // Sound blocks.
    void selectSoundBlock(QObject* sender);
    void selectPlaySoundBlock(QObject* sender);
    void setSoundBlock(int index);
    void setPlaySoundBlock(int index);
    void ImageNTextFieldAction(QObject*) {}

    // The inspector's text of the item at path (three lines: name, long name, type); records the item's
    // name in `outCHARs`, its path in `outCHAR` and whether it is a folder in `selectDirectory`.
    static QString attributedInspectorStringForFSNode(const QString& path, bool directory);

    QColumnView* browser() const { return fsBrowser; }
    FSBrowserModel* model() const { return fsModel; }
    QString inspectorText() const;

private:
    void showImageCounts();
    void showBusy();
    void listForOpening(const QString& folder, std::function<void(int listed, QStringList unopenable)> then);
    void openImageFolder(const QString& folder, int listed, const QStringList& unopenable);
    void openSoundFolder(const QString& folder, int listed);
    void loadTextures(int count, const QStringList& unopenable = {});
    void readImageCounts();
    void restoreSelection();

    QColumnView* fsBrowser = nullptr;
    QLabel* nodeIconWell = nullptr;
    QLabel* nodeInspector = nullptr;
    QLineEdit* MaxField = nullptr;
    QLabel* displayHereMax = nullptr;
    QLineEdit* CurrentField = nullptr;
    QLabel* displayHereCurrent = nullptr;
    QProgressBar* progressBar = nullptr;
    QObject* popupSoundBlock = nullptr;
    QObject* popupPlaySoundBlock = nullptr;
    FSBrowserModel* fsModel = nullptr;
    int pendingWork_ = 0;  // folder listings for opens and paths sought
};

}  // namespace nupo
