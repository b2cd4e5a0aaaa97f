#pragma once

// A page in work needs buffers of tens of megabytes. The C library gives such
// buffers back to the system when they are freed, so every new one costs the
// kernel a page fault per 4 KiB; adjusting a page then spends much of its time
// there, and more so with several workers.

// Keeps freed buffers in the heap for the next page. Call once at start-up,
// before any thread is made.
void KeepFreedMemoryForReuse();

// Gives the heap's free memory back to the system, for when a batch has ended
// and the buffers kept for reuse are no longer needed.
void ReleaseFreedMemory();
