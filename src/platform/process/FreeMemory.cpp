#include "platform/process/FreeMemory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

void returnFreeMemoryToSystem()
{
#if defined(__GLIBC__)
    // glibc keeps freed blocks in every thread's arena; trimming releases
    // their unused pages, not only those at the top of the main heap.
    malloc_trim(0);
#endif
}

} // namespace platform
