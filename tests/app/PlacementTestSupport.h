// What the window-placement tests of the whole program share.
#pragma once

#include "app/NUPO4DrawAppDelegate.h"
#include "platform/appkit/ui/WindowPlacement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QList>
#include <QMainWindow>
#include <QRect>
#include <QScreen>
#include <QString>
#include <QWidget>

#include <string>

namespace nupo::test {

// A window's title and frame, for failure messages.
inline QString described(const QWidget* window)
{
    const QRect f = WindowPlacement::frameOf(window);
    return QStringLiteral("%1 at %2,%3 %4x%5")
        .arg(window->windowTitle())
        .arg(f.x())
        .arg(f.y())
        .arg(f.width())
        .arg(f.height());
}

// The ordinary windows and dialogs on screen.
inline QList<QWidget*> shownWindows()
{
    QList<QWidget*> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && (window->windowType() == Qt::Window || window->windowType() == Qt::Dialog))
            windows.append(window);
    return windows;
}

// The screen's size, for a trace of the run.
inline std::string screenSize()
{
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    return QStringLiteral("screen %1x%2").arg(screen.width()).arg(screen.height()).toStdString();
}

// Starts the program's windows as a launch does; its Control Panel.
inline QMainWindow* launchedControlPanel()
{
    auto& delegate = NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    delegate.applicationDidFinishLaunching(nullptr);
    return delegate.mainWindow();
}

}  // namespace nupo::test
