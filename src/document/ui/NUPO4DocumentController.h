#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

namespace nupo {

class NUPO4DrawDocument;
class PlistValue;

// Reopens the sound slot windows of a document just read: every slot whose bank holds sounds, slot 1
// first, while `SoundOpenFromFile` tells the slot windows to take their settings from the slot tables.
// Nothing opens when slot 1 holds no sounds.
void SoundOpenFromFileAction();

// The brain-note document in the user interface: the File menu's New, Open…, Save, Save As… and Revert,
// saving the preferences, the document's name with the modified mark in every window title, and the
// question whether to save changes before the document is closed (New, Open, quit, last window closed).
//
// A document is edited when a value it stores differs from what was last saved or opened (what the plot
// windows show among them, a background chosen in one, the replay speed), or a sample of its recording was
// changed since; what is stored only as a place (placeOnlyKeys: which windows are open, their frames,
// transparencies and the background colours windows take as they open) is no change, nor is a
// brain-switch window that the drawing highlights while the recording plays. Save, Save As, Revert and
// every closing question take the value being typed in a field first, as Return would.
class NUPO4DocumentController : public QObject {
    Q_OBJECT
public:
    static NUPO4DocumentController& sharedNUPO4DocumentController();

    // Adds every section of the program to a document, in the order they are written.
    static void addSections(NUPO4DrawDocument& document);
    // Installs the shared document's hooks: startUp runs the start-up sequence when it has not run yet
    // and says whether it ran.
    static void installDocument(std::function<bool()> startUp);

    // File menu.
    void newDocument(QObject* sender);
    void openDocument(QObject* sender);
    void saveDocument(QObject* sender);
    void saveDocumentAs(QObject* sender);
    void revertDocumentToSaved(QObject* sender);
    // NUPO4 ▸ Save Preferences: writes the preference file.
    void savePreferences(QObject* sender);

    // Opens a document (the command line, Open…): false, with the reason told to the user, when refused.
    // A path given as bytes is kept byte for byte, so that a file name that is not UTF-8 opens and is
    // saved to again.
    bool openDocumentAt(const QByteArray& nativePath);
    bool openDocumentAt(const QString& path);
    // File ▸ Open's way: the file is read and parsed on a thread of its own, then taken on the main thread
    // as openDocumentAt takes it; the program goes on meanwhile. A later opening takes the place of one
    // still being read.
    void openDocumentInBackground(const QByteArray& nativePath);
    bool isReadingDocument() const { return readsTaken != readsStarted; }
    // File ▸ Save's way: the document's state is taken here, then written and synced to disk on a thread
    // of its own while the program goes on and the titles say the document is being saved. A save asked
    // for while one is under way waits for it, then saves the state of that moment. Once the file is
    // written the state the save took counts as saved: a change made meanwhile keeps the mark.
    void saveDocumentInBackground(const QByteArray& nativePath);
    bool isSavingDocument() const { return saving != nullptr; }
    // Saves and waits until the file is written (after the saves under way): for callers that need the
    // file before they go on; the menus save in the background. False, with the reason told to the user,
    // when it failed.
    bool saveDocumentTo(const QByteArray& nativePath);
    bool saveDocumentTo(const QString& path);
    // Waits, saying so with message, until no save is under way, the program answering meanwhile: false
    // when the user stopped waiting or a save failed meanwhile (the user was told).
    bool waitForSaving(const QString& message);
    // Reads the preference file when there is one (start-up); false when it exists and was refused.
    bool readPreferenceFile();

    // The document's file (empty while untitled), as shown and byte for byte, and the name shown in
    // titles.
    const QString& fileName() const { return path; }
    const QByteArray& nativeFileName() const { return nativePath; }
    QString displayName() const;
    // Where File ▸ Open starts: the folder of the document shown, else of the last one opened or saved.
    QString folderToOpenFrom() const;
    bool isDocumentEdited() const;
    // The document's state now counts as saved.
    void markSaved();
    // Puts the name and the modified mark into every window title.
    void updateWindowTitles();

    // Asks, when the document is edited, whether to save it before it closes; false when the user
    // cancels (or the save failed).
    bool documentShouldClose();
    // Quit: asks first, then quits.
    void terminate(QObject* sender);
    // Ends the program without asking (again): the windows that close on the way out ask nothing.
    void quit();
    bool isQuitting() const { return quitting; }

    enum SaveAnswer { Save, DontSave, Cancel };
    // The question asked (tests put their own answer here) and where messages go (alert panel).
    std::function<SaveAnswer(const QString& name)> askToSaveChanges;
    std::function<bool(const QString& name)> askToRevert;
    std::function<void(const QString& message)> tellUser;
    // File choosers (tests put their own here); empty: the user cancelled.
    std::function<QString()> chooseFileToOpen;
    std::function<QString(const QString& suggested)> chooseFileToSave;
    // Shows message until saved() holds (a panel the user may dismiss, running the event loop meanwhile);
    // false when the user stopped waiting. Tests put their own here.
    std::function<bool(const QString& message, const std::function<bool()>& saved)> showWhileSaving;

    // The stored keys ("Section" or "Section/key") that are only a place: saved, but no change of the
    // document.
    static QStringList placeOnlyKeys();

    static inline const QString fileSuffix = QStringLiteral("nupo4");

signals:
    // No save is under way any more.
    void savingEnded();

protected:
    // Asks before the last window closes, so that a cancelled close leaves that window open.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    NUPO4DocumentController();
    QByteArray settingsSnapshot() const;
    struct RecordingMark {
        int length = 0;
        int rate = 0;
        unsigned long long changes = 0;
        int replaySpeed = 0;
        bool operator==(const RecordingMark&) const = default;
    };
    RecordingMark recordingMark() const;
    void lastWindowClosed();
    // The bytes of a name the file chooser gave: the document's own file, or a file in its folder, keep
    // the bytes they have (the chooser shows a name that is not UTF-8 only approximately).
    QByteArray nativeNameOf(const QString& chosen) const;
    void takeFileName(const QByteArray& file);
    // Takes a document read and parsed (null: refused, with the reason in error), as openDocumentAt says.
    bool takeDocument(const QByteArray& file, const PlistValue* parsed, QString error);
    struct SaveUnderWay;
    void startSave(const QByteArray& file);
    void finishSave(bool written, const QString& error);
    // Runs call once no save is under way (at once when none is).
    void afterSaving(std::function<void()> call);

    QString path;
    QByteArray nativePath;
    QString lastFolder;
    QByteArray savedSettings;
    RecordingMark savedRecording;
    bool opening = false;
    quint64 readsStarted = 0;  // documents asked to open so far
    quint64 readsTaken = 0;    // the last of them taken (or given up)
    quint64 documentsTaken = 0;  // documents opened or made new: a save of an earlier one names nothing
    std::shared_ptr<const SaveUnderWay> saving;  // the save under way
    QList<QByteArray> savesWaiting;      // files to save once it has ended, in order
    std::vector<std::function<void()>> whenSaved;
    quint64 failedSaves = 0;
    // Set once the user has agreed to quit: the windows Qt closes on the way out ask nothing more.
    bool quitting = false;
    bool asking = false;       // while the save question is shown
    bool closeAgreed = false;  // the user answered the question as the last window closed
    QTimer titleTimer;
};

}  // namespace nupo
