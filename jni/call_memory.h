// Memory for the objects and arrays one native call lays out, below 4 GiB so
// that the library can take its addresses as 32-bit words.
//
// Each thread has its own: a call starts with `beginCall`, which makes
// everything the thread's previous call used free again, so a call never
// leaks and two threads never share scratch memory. The memory comes in
// chunks from the host kit's Java heap; a chunk outgrown within a call, and a
// thread's chunk when the thread ends, go back to a process-wide pool for
// other calls and threads to reuse.
#pragma once

#include <cstddef>

namespace kelbridge {

// Brackets a call on this thread. When the outermost call begins, everything
// `callAllocate` handed out before on this thread may be reused; a call made
// while another runs on the same thread (from a class initialiser, say)
// allocates after the outer one's memory.
void enterCall();
void leaveCall();

// `bytes` of memory below 4 GiB, 16-byte aligned, not cleared, valid until
// this thread's next outermost call begins. Ends the process when the host
// kit's Java heap is exhausted.
void* callAllocate(std::size_t bytes);

// Bytes of chunks held by the pool and by every thread, for tests of reuse.
std::size_t callMemoryReserved();

}  // namespace kelbridge
