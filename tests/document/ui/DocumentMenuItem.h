#pragma once

// The main menu's item of a given action name, for tests that drive the File menu as a user does.
#include "app/NUPO4DrawAppDelegate.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace nupo::test {

inline QAction* menuItem(const QString& action)
{
    QMainWindow* panel = NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate().mainWindow();
    for (QAction* top : panel->menuBar()->actions())
        if (top->menu())
            for (QAction* item : top->menu()->actions())
                if (item->objectName() == action)
                    return item;
    return nullptr;
}

}  // namespace nupo::test
