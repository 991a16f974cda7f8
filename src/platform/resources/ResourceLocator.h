#pragma once

#include <QString>
#include <QStringList>

namespace nupo {

// Where the program's resource files (nibs, sounds) are found: resources/<kind> beside the executable,
// then in the source tree, so that a program run from its build folder finds the files of its checkout.
namespace ResourceLocator {

// The folders resources/<kind> is looked for in, in order: beside the executable (when an application
// object exists), in NUPO_SOURCE_DIR from the environment, then in the tree the program was built from.
// A folder is listed once.
QStringList resourceFolders(const QString& kind);

// The absolute path of `fileName` in the first of `folders` that has it as a file, or empty.
QString firstFileIn(const QStringList& folders, const QString& fileName);

}  // namespace ResourceLocator

}  // namespace nupo
