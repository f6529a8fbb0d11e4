// The record keys of the rows of a received package. Child rows find their achievement by its
// record key alone, so every row must carry a record number of ten digits, and no two
// achievements of one package one key. The import and the authority's gathering refuse a
// package by the same rule and with the same messages.
#pragma once

#include "store/result.h"

#include <set>
#include <string>
#include <utility>

namespace xb::exchange {

// "文件 KJCG.TXT 第 3 行" + `what` + "，文件的格式不正确".
store::Error packageLineError(const std::string& fileName, int line, const std::string& what);

class PackageKeys {
  public:
    // Checks the key of the row read from `fileName` at `line`; `number` and `region` are the
    // row's ITEM_4 and ITEM_DQDM, trimmed. `achievement` is true for the rows of KJCG.TXT.
    store::Status check(const std::string& fileName, bool achievement, int line,
                        const std::string& number, const std::string& region);

  private:
    std::set<std::pair<std::string, std::string>> keys_;
};

} // namespace xb::exchange
