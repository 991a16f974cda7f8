#pragma once

#include <QString>

namespace nupo::test {

// A fresh, empty folder under the system temp folder, removed when the process ends.
QString tempFolder();

// Path of a file in the source tree (resources, test data).
QString sourcePath(const QString& relative);

}  // namespace nupo::test
