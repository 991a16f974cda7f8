#pragma once

namespace nupo {

// Large buffers (decoded pictures, their mipmaps, frames read back, a file's bytes) are mapped on their
// own and go back to the system as they are freed, rather than stay in the allocator's arenas: glibc
// otherwise raises its mapping threshold after the first such buffer is freed, and buffers made on one
// thread and freed on another then pile up in the arenas as free but resident memory. Called once at
// the start of the program, before its threads.
void giveLargeBuffersBackToTheSystem();

// Gives the free memory at the top of the allocator's arenas back to the system (after a large set of
// pictures is released). Any thread; takes each arena's lock in turn.
void trimFreeMemory();

}  // namespace nupo
