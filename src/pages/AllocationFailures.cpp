// Linked into the trial's program only. An allocation its memory cannot hold ends the trial as
// out of memory: Qt's text engine would give the layout up silently instead, and a page that
// needs more memory than a trial has would pass as a quick one.
#include <unistd.h>

#include <cstddef>
#include <cstdlib>

#include "pages/PageTrial.h"

// The sanitizers' allocators report what they cannot give themselves.
#ifndef EXAMSIM_INSTRUMENTED

// glibc's own allocator, under the names it keeps for those that replace its entry points.
// NOLINTBEGIN(bugprone-reserved-identifier, readability-identifier-naming,
// readability-inconsistent-declaration-parameter-name)
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);

void* malloc(std::size_t size) noexcept {
    void* const block = __libc_malloc(size);
    if (block == nullptr && size != 0) ::_exit(page_trial::kOutOfMemoryExit);
    return block;
}

void* calloc(std::size_t count, std::size_t size) noexcept {
    void* const block = __libc_calloc(count, size);
    if (block == nullptr && count != 0 && size != 0) ::_exit(page_trial::kOutOfMemoryExit);
    return block;
}

void* realloc(void* block, std::size_t size) noexcept {
    void* const moved = __libc_realloc(block, size);
    if (moved == nullptr && size != 0) ::_exit(page_trial::kOutOfMemoryExit);
    return moved;
}
}
// NOLINTEND(bugprone-reserved-identifier, readability-identifier-naming,
// readability-inconsistent-declaration-parameter-name)

#endif
