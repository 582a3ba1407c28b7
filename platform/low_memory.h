// Anonymous memory below 4 GiB, for whatever the renderer addresses through
// 32-bit words: the host's Java heap and the pixel memory of DIB sections.
//
// Linux has no portable request for low addresses: MAP_32BIT exists only on
// x86-64, and emulators such as qemu-user ignore it. So the memory is placed
// by address hints: MAP_32BIT is tried first where it is defined (its result
// is kept only when it really lies below 4 GiB), then low addresses are
// probed with MAP_FIXED_NOREPLACE, which never replaces an existing mapping.
// Kernels older than 4.17 take that flag as a plain hint, so every result is
// checked and given back when it does not lie below 4 GiB.
//
// Exported by the platform library, so that the host kit (which links it
// already) shares one implementation and one probing cursor with it.
#pragma once

#include <cstddef>

namespace kelplatform {

// Maps `bytes` (rounded up to whole pages) of private anonymous memory with
// `protection` (PROT_* flags), without reserving swap for it. The whole range
// lies below 4 GiB, starts on a page boundary and reads as zero. Null when no
// room below 4 GiB is left (or `bytes` is 0). Give it back with munmap.
__attribute__((visibility("default"))) void* mapBelow4GiB(std::size_t bytes, int protection);

// Test switch: false makes `mapBelow4GiB` skip MAP_32BIT and go straight to
// probing, as on systems that lack it. True (the default) restores it.
__attribute__((visibility("default"))) void allowMap32Bit(bool allowed);

}  // namespace kelplatform
