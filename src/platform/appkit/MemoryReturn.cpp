#include "platform/appkit/MemoryReturn.h"

#include <malloc.h>

namespace nupo {

namespace {

// A 256 x 256 picture of 32-bit pixels and larger.
constexpr int largeBufferBytes = 256 * 1024;

}  // namespace

void giveLargeBuffersBackToTheSystem()
{
#if defined(__GLIBC__)
    // A fixed threshold also turns off glibc's raising of it.
    mallopt(M_MMAP_THRESHOLD, largeBufferBytes);
#endif
}

void trimFreeMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace nupo
