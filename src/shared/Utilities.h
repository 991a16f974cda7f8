#pragma once

// Shared utility functions of the application core: script running, string-to-bytes copies into fixed
// buffers and brain-switch rectangles of the drawing. (The time text of a sample position is
// timeStampText in plots/frame/PlotWindowState.h.)

#include <QByteArray>
#include <QString>

#include <cstddef>

namespace nupo {

// --- Scripts -------------------------------------------------------------------------------------------

// Result while `AppleScriptON` is off: nothing was run.
inline constexpr int scriptsSwitchedOff = -50;
// Result while it is on: this system has no script engine, so nothing was run either.
inline constexpr int noScriptEngine = -1;

// Writes a line to standard output the first time that exact line is given; later calls with it do
// nothing. For faults that may repeat on every tick or message (an index out of range).
void reportOnce(const QString& line);

// Runs script source text. Returns 0 on success, `scriptsSwitchedOff` while `AppleScriptON` is 0, and
// `noScriptEngine` (after a line on standard output) while it is on.
int SimpleRunAppleScript(const QString& source);

// --- Byte strings --------------------------------------------------------------------------------------

// Copies a string (as a file-system path: UTF-8 here) and a terminating zero into buffer. A string that
// does not fit whole is refused with a line on standard output: the buffer is left empty (a truncated
// path would name another file) and the result is false.
bool NSStringToC(const QString& string, char* buffer, std::size_t size);
// The same into the shared path buffer `outCHAR`.
bool NSStringToC(const QString& string);
// The same for a path as the file system holds it (any bytes but zero, UTF-8 or not), so that every
// file name, also one that is not valid text, reaches the opener unchanged. A path with a zero byte is
// refused too: no file has that name.
bool nativePathToC(const QByteArray& path, char* buffer, std::size_t size);
bool nativePathToC(const QByteArray& path);

// --- Files ---------------------------------------------------------------------------------------------

// A path as the file system holds it, shown readably: valid UTF-8 as it is, every other byte and every
// control character as \xNN, so a message names exactly one file and cannot break a line.
QString displayPath(const QByteArray& path);

// A reason as a sentence of its own for an alert: first letter upper case, a full stop at the end
// unless it ends in one already ("no such file" -> "No such file."). Empty stays empty.
QString asSentence(const QString& reason);

// Copies a length-prefixed string (first byte = length, then the bytes) into a zero-terminated one. The
// destination must hold length + 1 bytes (256 for any length); a shorter one is left empty and the result
// is false.
bool PtoCstr2(const unsigned char* source, char* destination, std::size_t destinationSize);

// --- Brain-switch rectangles ----------------------------------------------------------------------------

// Frame of a brain-switch rectangle in drawing coordinates (y downward).
struct BSrectangleFrame {
    int x = 0;
    int y = 0;
    int width = 1;
    int height = 1;
};

// The frame of a brain-switch window: x and width from its Hz edges, y and height from its value range.
BSrectangleFrame BSrectangleFrameFor(float lowerValue, float upperValue, float lowerHz, float upperHz);
// The script that moves and resizes rectangle n of the front document to frame.
QString BSrectangleScript(int n, const BSrectangleFrame& frame);
// Moves and resizes rectangle n of the front brain-note document. While `AppleScriptON` is 0 nothing
// moves and the result is `scriptsSwitchedOff`. While it is on, the move is carried out natively by the
// installed mover (the drawing editor's) and the result is 0; without a mover the script is handed to
// SimpleRunAppleScript and its result returned.
int setBSrectangle(int n, float lowerValue, float upperValue, float lowerHz, float upperHz);
// The program's own scripting of its drawing, carried out without a script engine.
using BSrectangleMover = void (*)(int n, const BSrectangleFrame& frame);
void setBSrectangleMover(BSrectangleMover mover);

}  // namespace nupo
