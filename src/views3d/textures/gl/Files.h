#pragma once

#include <QString>

namespace nupo {

// A file reference: an absolute path, or empty when a name could not be resolved.
struct FSSpec {
    QString path;
    bool isEmpty() const { return path.isEmpty(); }
};

// Resolving the image names the media browser hands over.
namespace Files {

// A path beginning with "/" names a file of the file system; any other names a resource of the program in
// the folder ("Images"), looked up beside the executable and then in the source tree. Empty when a string
// is missing or the resource is not found.
FSSpec MakeFSSpecFromPosixPath(const char* path, const char* folder);
// The file system path `name` (inBundle false) or the resource `name` in `folder` (inBundle true).
FSSpec MakeFSSpec(const QString& name, const QString& folder, bool inBundle);
// The path of the resource `name` in `folder`, or empty.
QString CreatePosixPathFromName(const char* name, const char* folder);
// 0 when the file exists, -50 for a name over 64 characters, -43 (file not found) otherwise.
int ValidFSSpec(const FSSpec* spec);

}  // namespace Files

// Diagnostics of the image code.
namespace Util {
// Formats the message (at most 1024 characters) and writes "Log: <message>" to standard error.
void log(const char* format, ...) __attribute__((format(printf, 1, 2)));
}  // namespace Util

}  // namespace nupo
