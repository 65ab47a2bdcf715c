#pragma once
// Allocator settings for a process that allocates and frees picture-sized
// buffers one after another.

namespace pixalto {

// Keeps freed picture buffers (up to 32 MiB each) in the process's heap for
// the next picture instead of giving them back to the system and taking fresh
// zeroed pages for every file. Call once, before the first conversion.
void keepPictureBuffersInHeap();

}  // namespace pixalto
