// Joins physical lines into one record text while a quoted value is open. A quoted value opens
// only where TAB is directly followed by QUOTE and closes at a QUOTE followed by TAB once its
// QUOTEs pair up, or at the line end when they pair up and the line ends with QUOTE.
#pragma once

#include <string>
#include <string_view>

namespace xb::exchange {

class RecordAssembler {
  public:
    // Starts a record with its first line; true when the record is already complete.
    bool begin(std::string_view line);
    // Adds the next line to the open record, joined by the line end that preceded it; true when
    // the record is now complete. At the end of file an open record is complete as it stands.
    bool append(std::string_view lineEnd, std::string_view line);

    const std::string& text() const { return text_; }

  private:
    bool scan(std::string_view unscanned);
    void addToOpenValue(std::string_view text);

    std::string text_;
    // The open value's text is only ever asked for the parity of its QUOTEs and its last
    // character, so those are kept instead of the text: rescanning it would cost quadratic time
    // on long quoted values.
    bool open_ = false;
    bool oddQuotes_ = false;
    bool endsWithQuote_ = false;
};

} // namespace xb::exchange
