#pragma once

#include "views3d/textures/gl/SpritePicture.h"

#include <QStringList>

#include <chrono>
#include <functional>
#include <vector>

namespace nupo {

// Reads and decodes picture sets away from the main thread and the drawing threads: on a worker thread
// of its own, one request after another (so a file that is slow to read holds up only later loads), each
// result handed to the main thread. Main thread.
class PictureLoader {
public:
    struct Result {
        SharedPictureSet set;                 // picture n in slot n, empty where refused
        std::vector<RefusedPicture> refused;  // in slot order
    };

    // Loads the pictures at paths; done runs on the main thread with the result, never before load
    // returns.
    static void load(const QStringList& paths, std::function<void(Result)> done);
    // Loads asked for whose results have not been handed over yet.
    static int pending();
    // At the end of the program, once its quit work is done: the pictures not begun are left out, and the
    // one being read or decoded is waited for at most that long. False when it is still under way then
    // (a read from a hung drive): the worker is abandoned where it is, and the process must end without
    // running the destructors it may still use (std::_Exit). Later calls return the same answer; later
    // loads are refused with "the program is ending".
    static bool finish(std::chrono::milliseconds longest = std::chrono::milliseconds(250));
};

}  // namespace nupo
