#pragma once

// The one way the program opens a file a user named: never blocking on a FIFO or a device, refusing
// whatever is not a regular file by saying what it is, and reading no more than the caller can hold.

#include <QByteArray>
#include <QString>

namespace nupo {

// Opens the file at path for reading, without ever blocking: a folder, FIFO, socket or device is refused,
// as is a file the system will not open. Returns the descriptor (the caller closes it), or -1 with the
// reason (the system's own, or which kind of thing the path names) in reason. size, when given, receives
// the file's size in bytes.
int openRegularFileForReading(const QByteArray& path, QString* reason, qint64* size = nullptr);

// Reads the whole regular file at path into contents, refusing (as above) what is not one and a file
// larger than maxBytes, also one that grows past it while it is read. False with the reason otherwise.
bool readRegularFile(const QByteArray& path, qint64 maxBytes, QByteArray* contents, QString* reason);
bool readRegularFile(const QString& path, qint64 maxBytes, QByteArray* contents, QString* reason);

// Test aid, never set in normal use: called by readRegularFile and isReadableRegularFile on the reading
// thread once the file is open, before it is read, with its path (e.g. to hold the read as a hung drive
// would).
using ReadHookForTests = void (*)(const QByteArray& path);
void setReadHookForTests(ReadHookForTests hook);
// Test aid, never set in normal use: called by writeFileAtomically on the writing thread once the
// temporary file is open, before it is written, with the target's path (e.g. to hold the write as a slow
// or hung drive would).
using WriteHookForTests = void (*)(const QByteArray& path);
void setWriteHookForTests(WriteHookForTests hook);

// Says whether path names a regular file that can be opened for reading, without keeping it open: for
// readers that open the file themselves (the media player), so that they never meet a FIFO or a device.
bool isReadableRegularFile(const QString& path, QString* reason);

// Writes contents to path so that the file is either the old one or the whole new one: a temporary file
// beside it (saveFileName), flushed to disk, then renamed over it (keeping the old file's
// permissions). The folder must exist. On failure nothing but the old file is left and reason says why in
// plain words ("no space left on the device", "the folder /x is not writable"). A file-size limit makes
// the write fail with its reason rather than end the program. Temporary files that saves of path by
// processes no longer running left behind are removed first. The path is taken byte for byte. A symbolic
// link is followed: the file it names is replaced (its temporary file beside that file) and the link
// stays. A FIFO, device, socket or folder at the name is refused by what it is and left alone.
bool writeFileAtomically(const QByteArray& path, const QByteArray& contents, QString* reason);
bool writeFileAtomically(const QString& path, const QByteArray& contents, QString* reason);

// The name of the temporary file that save number serial of process pid writes for target: in the
// target's folder, ".<hash of the target's name>.saving-<pid>-<n>", short whatever the target's length.
QByteArray saveFileName(const QByteArray& target, qint64 pid, unsigned serial);

// Removes the temporary files that saves of path left when their process ended in the middle (killed,
// or the machine stopped), also those named "<name>.saving-<pid>-<n>" as earlier versions did; those of
// a process still running may be a save under way and stay. Returns how many were removed.
int removeStaleSaveFiles(const QByteArray& path);

// The path made absolute against the working folder, byte for byte.
QByteArray absoluteNativePath(const QByteArray& path);

// Makes the folder and the folders above it that are missing, byte for byte; false with the system's
// error number in error when one cannot be made.
bool makeFolders(const QByteArray& folder, int* error = nullptr);

// The reason an error number gives, in plain words for the failures a user can meet and mend.
QString fileErrorReason(int error);

}  // namespace nupo
