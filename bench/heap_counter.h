// Heap bytes in use, counted by this program's own malloc, calloc, realloc,
// free and aligned forms: thin forwards to the C library's allocator that add
// up malloc_usable_size while counting is on. Every allocation of a parse
// lands there: operator new calls malloc, and so does RapidJSON's CrtAllocator
// behind the document's memory pool and its parse stack.
// Outside a count the forwards cost one flag test, so timed runs stay fair.
// Single-threaded: count only while no other thread allocates.
#pragma once

#include <cstddef>

// Starts a count from the bytes in use now.
void startHeapCount();

// Ends the count; returns the largest number of bytes that were in use above
// the start at any moment since startHeapCount.
std::size_t stopHeapCount();
