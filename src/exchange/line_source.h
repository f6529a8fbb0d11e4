// Physical lines of a byte stream, read in chunks so that a line of any length costs time in
// proportion to its size. Lines end with CR LF; a bare LF or CR is part of the line.
#pragma once

#include <cstddef>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace xb::exchange {

class LineSource {
  public:
    enum class Outcome {
        Line,       // `line` holds the next line, `lineEnd` its terminator ("" at the end of file)
        End,        // no more lines
        TooLong,    // the line grew beyond the limit; the source is left mid-line
        ReadFailed, // the stream reported an error
    };

    LineSource(std::unique_ptr<std::istream> in, std::size_t maxLineBytes);

    Outcome next(std::string& line, std::string_view& lineEnd);
    // Number of the line last returned, from 1.
    int lineNumber() const { return lineNumber_; }

  private:
    bool fill();

    std::unique_ptr<std::istream> in_;
    std::size_t maxLineBytes_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t size_ = 0;
    bool failed_ = false;
    int lineNumber_ = 0;
};

} // namespace xb::exchange
