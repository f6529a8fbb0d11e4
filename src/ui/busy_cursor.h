// The busy cursor for the length of a scope, put back however the scope is left.
#pragma once

#include <QApplication>
#include <QCursor>

namespace xb::ui {

class BusyCursor {
  public:
    BusyCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyCursor() { restore(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    // Puts the normal cursor back early, before a message is shown.
    void restore() {
        if (active_) QApplication::restoreOverrideCursor();
        active_ = false;
    }

  private:
    bool active_ = true;
};

} // namespace xb::ui
