// A write the engine reports done is on the disk: it ends with a sync of the file it wrote. Many
// writes in a row (a statement over many rows, a group of an import) sync each file once, when
// the SyncScope around them commits, instead of once per write.
#pragma once

#include "file_system.h"
#include "result.h"

#include <memory>
#include <string>

namespace xb::store {

class SyncScope {
  public:
    SyncScope();
    // Syncs what is still waiting; an error then goes unreported, so callers commit().
    ~SyncScope();
    SyncScope(const SyncScope&) = delete;
    SyncScope& operator=(const SyncScope&) = delete;

    // Syncs every file written since the scope began. Scopes nest: an inner one leaves the
    // syncs to the outermost.
    Status commit();

  private:
    bool committed_ = false;
};

// The closing sync of a write to `file`: now, or when the scope around it commits. `what` names
// the file in the message.
Status syncWhenDone(const std::shared_ptr<File>& file, const std::string& what);
// A sync that cannot wait: later writes depend on what is written so far being on the disk.
Status syncNow(File& file, const std::string& what);

} // namespace xb::store
