// Whole reads and writes at a file offset, retried until done: the engine's only file access.
#pragma once

#include <cstddef>
#include <sys/types.h>

namespace xb::store {

// Writes all bytes at `offset`; false when the disk refuses them.
bool writeAll(int fd, const void* data, size_t size, off_t offset);
// Reads up to `size` bytes at `offset`; fewer at the file's end; -1 on a read error.
ssize_t readAt(int fd, void* data, size_t size, off_t offset);

} // namespace xb::store
