#pragma once

#include <QtGlobal>

#include <cstddef>
#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#endif
#ifdef __GLIBC__
#include <malloc.h>
#endif

// Asks for fresh memory to be given in large pages: on first touch, each
// page costs a fault, and a large page stands for 512 small ones; reading
// a large store out of order also misses the address cache far less. Nothing
// changes but the speed (and nothing at all where large pages do not exist).
inline void preferLargePages(const void *begin, size_t bytes)
{
#ifdef __linux__
    constexpr uintptr_t kLarge = uintptr_t(2) << 20;
    const uintptr_t from = (reinterpret_cast<uintptr_t>(begin) + kLarge - 1) & ~(kLarge - 1);
    const uintptr_t to = (reinterpret_cast<uintptr_t>(begin) + bytes) & ~(kLarge - 1);
    if (to > from) madvise(reinterpret_cast<void *>(from), to - from, MADV_HUGEPAGE);
#else
    Q_UNUSED(begin);
    Q_UNUSED(bytes);
#endif
}

// Keeps the memory a command frees for the commands after it, large blocks
// included, instead of giving it back to the system at once: the system
// hands each fresh page over zeroed (and a virtual machine backs it anew),
// which at ten million lines costs a command more than its own work. Once,
// at the start of the process, before any other thread.
inline void keepFreedMemory()
{
#ifdef __GLIBC__
    constexpr int kLarge = 1 << 30;
    mallopt(M_MMAP_THRESHOLD, kLarge);
    mallopt(M_TRIM_THRESHOLD, kLarge);
#endif
}
