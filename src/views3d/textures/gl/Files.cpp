#include "views3d/textures/gl/Files.h"

#include "platform/resources/ResourceLocator.h"

#include <QFileInfo>

#include <cstdarg>
#include <cstdio>

namespace nupo {

namespace Files {

FSSpec MakeFSSpecFromPosixPath(const char* path, const char* folder)
{
    if (!path || !folder || !*path)
        return {};
    if (path[0] == '/')
        return MakeFSSpec(QString::fromUtf8(path), QString(), false);
    return MakeFSSpec(QString::fromUtf8(path), QString::fromUtf8(folder), true);
}

FSSpec MakeFSSpec(const QString& name, const QString& folder, bool inBundle)
{
    if (!inBundle)
        return FSSpec{name};
    return FSSpec{ResourceLocator::firstFileIn(ResourceLocator::resourceFolders(folder), name)};
}

QString CreatePosixPathFromName(const char* name, const char* folder)
{
    if (!name || !folder)
        return {};
    return MakeFSSpec(QString::fromUtf8(name), QString::fromUtf8(folder), true).path;
}

int ValidFSSpec(const FSSpec* spec)
{
    constexpr int paramErr = -50;
    constexpr int fnfErr = -43;
    if (!spec)
        return paramErr;
    if (QFileInfo(spec->path).fileName().size() > 64)
        return paramErr;
    return !spec->isEmpty() && QFileInfo::exists(spec->path) ? 0 : fnfErr;
}

}  // namespace Files

namespace Util {

void log(const char* format, ...)
{
    char message[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(message, sizeof message, format, arguments);
    va_end(arguments);
    std::fprintf(stderr, "Log: %s\n", message);
}

}  // namespace Util

}  // namespace nupo
