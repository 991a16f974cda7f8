#include "views3d/textures/gl/Datafile.h"

#include <cctype>
#include <cstring>

namespace nupo {

bool Datafile::Open(const FSSpec& spec, const char* mode)
{
    Close();
    if (spec.isEmpty() || !mode || !*mode)
        return false;
    const char first = static_cast<char>(std::tolower(static_cast<unsigned char>(mode[0])));
    const bool create = first == 'w' && std::strchr(mode, '+') != nullptr;
    file_.setFileName(spec.path);
    if (!file_.exists() && !create)
        return false;
    QIODevice::OpenMode openMode = first == 'r' ? QIODevice::ReadOnly : QIODevice::ReadWrite;
    if (first == 'a')
        openMode |= QIODevice::Append;
    return file_.open(openMode);
}

void Datafile::Close()
{
    if (file_.isOpen())
        file_.close();
}

qint64 Datafile::size() const
{
    return file_.isOpen() ? file_.size() : -1;
}

}  // namespace nupo
