#pragma once

namespace platform {

// Hands the memory the allocator keeps free (after a large structure was
// deleted) back to the system, so the resident size follows what the program
// uses rather than the most it ever used. Costs a walk over the allocator's
// free lists: call it after freeing megabytes, not after every small free.
void returnFreeMemoryToSystem();

} // namespace platform
