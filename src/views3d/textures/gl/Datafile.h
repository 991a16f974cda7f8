#pragma once

#include "views3d/textures/gl/Files.h"

#include <QFile>

namespace nupo {

// One open file.
class Datafile {
public:
    // Mode letters, compared without case: r read only, w write, a write at the end; w with "+" creates a
    // missing file. False when the file cannot be opened (or created).
    bool Open(const FSSpec& spec, const char* mode);
    void Close();
    bool isOpen() const { return file_.isOpen(); }
    // Length of the file, -1 when it cannot be read.
    qint64 size() const;
    QFile& file() { return file_; }

private:
    QFile file_;
};

}  // namespace nupo
