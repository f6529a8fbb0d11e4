// Entry points that take arbitrary bytes and must neither crash nor hang on any of them: the
// table reader (a table with its memo file), the query parser and the exchange file reader. Each
// one is run by libFuzzer in a fuzzing build and by the corpus replay in every test run.
#pragma once

#include <cstddef>
#include <cstdint>

namespace xb::fuzz {

// The input is cut into a table file and a memo file (the first two bytes give the table part's
// length); the table is opened, every row decoded with its memos, and a row appended when the
// table takes writes.
int tableReader(const uint8_t* data, size_t size);
// The input is one statement of the query dialect.
int queryParser(const uint8_t* data, size_t size);
// The input is an achievement exchange file, read record by record.
int exchangeReader(const uint8_t* data, size_t size);

} // namespace xb::fuzz
