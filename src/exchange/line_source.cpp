#include "line_source.h"

#include <cstring>

namespace xb::exchange {

namespace {
constexpr std::size_t ChunkBytes = 64 * 1024;
}

LineSource::LineSource(std::unique_ptr<std::istream> in, std::size_t maxLineBytes)
    : in_(std::move(in)), maxLineBytes_(maxLineBytes), buffer_(ChunkBytes) {}

bool LineSource::fill() {
    if (failed_ || !in_ || !*in_) return false;
    in_->read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    if (in_->bad()) {
        failed_ = true;
        return false;
    }
    pos_ = 0;
    size_ = static_cast<std::size_t>(in_->gcount());
    return size_ > 0;
}

LineSource::Outcome LineSource::next(std::string& line, std::string_view& lineEnd) {
    line.clear();
    lineEnd = {};
    bool sawBytes = false;
    for (;;) {
        if (pos_ == size_ && !fill()) {
            if (failed_) return Outcome::ReadFailed;
            if (!sawBytes) return Outcome::End;
            ++lineNumber_;
            return Outcome::Line; // last line without a line end
        }
        sawBytes = true;
        const char* start = buffer_.data() + pos_;
        const auto* newline = static_cast<const char*>(std::memchr(start, '\n', size_ - pos_));
        const std::size_t take = newline ? static_cast<std::size_t>(newline - start) : size_ - pos_;
        line.append(start, take);
        pos_ += take;
        if (newline) {
            ++pos_;
            // Only CR LF ends a line; a bare LF belongs to the value it stands in.
            if (!line.empty() && line.back() == '\r') {
                ++lineNumber_;
                line.pop_back();
                lineEnd = "\r\n";
                return Outcome::Line;
            }
            line += '\n';
        }
        if (line.size() > maxLineBytes_) {
            ++lineNumber_;
            return Outcome::TooLong;
        }
    }
}

} // namespace xb::exchange
