#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QMainWindow;

namespace nupo {

// Set once the start-up sequence has run; a document opened before that runs it from its reader.
inline std::atomic<int> applicationisOpened{0};

// The application delegate: runs the start-up sequence once the event loop is up and the shutdown
// steps when the application quits.
class NUPO4DrawAppDelegate : public QObject {
    Q_OBJECT
public:
    static NUPO4DrawAppDelegate& sharedNUPO4DrawAppDelegate();

    // A document or recording given on the command line, opened after start-up.
    void setPathToOpen(const QString& path) { pathToOpen = path; }
    const QString& pathToOpenAtStart() const { return pathToOpen; }

    void applicationDidFinishLaunching(QObject* notification);
    void applicationWillTerminate(QObject* notification);
    // Creates the shared instances in start-up order; runs only while `applicationisOpened` is clear.
    void initAPstart(QObject* sender);

    QMainWindow* mainWindow() const { return window; }

private:
    NUPO4DrawAppDelegate() = default;

    QString pathToOpen;
    QMainWindow* window = nullptr;
};

}  // namespace nupo
