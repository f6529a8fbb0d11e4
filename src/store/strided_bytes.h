// Pieces of every stored row (the deletion mark, an indexed field) without reading whole rows:
// the file is mapped and only the pages that hold those bytes are touched, nothing between them
// is copied.
#pragma once

#include <cstddef>
#include <sys/types.h>
#include <vector>

namespace xb::store {

struct RowPiece {
    size_t offset = 0; // within the row
    size_t width = 0;
};

// Copies the pieces of `count` rows of `stride` bytes from `first` on into `out`, row after row,
// the pieces of a row one after another. False when the file cannot be mapped or turns out
// shorter (another program cut it meanwhile); the caller then reads the rows instead.
bool gatherRowPieces(int fd, off_t first, size_t stride, size_t count,
                     const std::vector<RowPiece>& pieces, char* out);

} // namespace xb::store
