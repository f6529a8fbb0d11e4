// One byte of every stored row (the deletion mark) without reading the rows: the file is mapped
// and only the pages that hold those bytes are touched, nothing between them is copied.
#pragma once

#include <cstddef>
#include <sys/types.h>

namespace xb::store {

// Copies `count` bytes, one every `stride` bytes from `first` on, into `out`. False when the file
// cannot be mapped or turns out shorter (another program cut it meanwhile); the caller then
// reads the rows instead.
bool gatherStridedBytes(int fd, off_t first, size_t stride, size_t count, char* out);

} // namespace xb::store
