#pragma once

#include <QByteArray>
#include <QMainWindow>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

namespace nupo {

// Set once the start-up sequence has run; a document opened before that runs it from its reader.
inline std::atomic<int> applicationisOpened{0};

// The application delegate: runs the start-up sequence once the event loop is up and the shutdown
// steps when the application quits.
class NUPO4DrawAppDelegate : public QObject {
    Q_OBJECT
public:
    static NUPO4DrawAppDelegate& sharedNUPO4DrawAppDelegate();

    // A document or recording given on the command line, opened after start-up. The native form is the
    // path as the file system holds it (any bytes, as the command line gives them).
    void setPathToOpen(const QString& path);
    void setNativePathToOpen(const QByteArray& nativePath) { pathToOpen = nativePath; }
    const QByteArray& pathToOpenAtStart() const { return pathToOpen; }
    // The patch interface's port from the command line (0: none; then the user default
    // "patchInterfacePort" decides, and without it the interface stays off).
    void setPatchPort(int port) { patchPort = port; }
    // The port the interface is started on at start-up, 0 for none.
    int patchInterfacePort() const;

    // Opens the main window (the Control Panel with the main menu), runs the start-up sequence and
    // opens the file given on the command line.
    void applicationDidFinishLaunching(QObject* notification);
    void applicationWillTerminate(QObject* notification);
    // Creates the shared instances in start-up order; runs only while `applicationisOpened` is clear.
    void initAPstart(QObject* sender);

    // Opens a file given to the application: a brain-note document is read (and its recording played), a
    // recording (old data file) is loaded and played. Returns false when it cannot be opened, with a line
    // on standard output and an alert on screen that name the file and what is wrong with it (the
    // system's reason where it gives one); the recording in use stays.
    bool openFile(const QString& path);
    bool openFile(const QByteArray& nativePath);

    // The Control Panel while it is open (Window ▸ Control Panel opens it again).
    QMainWindow* mainWindow() const;

private:
    NUPO4DrawAppDelegate() = default;
    void openMainWindow();

    QByteArray pathToOpen;
    int patchPort = 0;
};

}  // namespace nupo
