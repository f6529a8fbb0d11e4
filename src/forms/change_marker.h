// The change marker of a page: set when the user edits a watched control, never by the page's
// own filling. Single-record pages and entry dialogs compare their controls with the stored row
// to find unsaved changes; the marker covers the controls that such a comparison cannot see
// (code boxes, lists whose stored form is not compared).
#pragma once

#include <QObject>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace xb::forms {

class ChangeMarker : public QObject {
    Q_OBJECT

  public:
    explicit ChangeMarker(QObject* parent = nullptr);

    // Any change of the control's content sets the marker, unless the page is filling itself.
    void watch(QLineEdit* edit);
    void watch(QComboBox* combo);
    void watch(QAbstractButton* button);
    void watch(QPlainTextEdit* text);

    bool isSet() const { return set_; }
    void set();
    void clear() { set_ = false; }
    // Whether the page is filling itself: handlers of user changes stay quiet meanwhile.
    bool isFilling() const { return filling_ > 0; }

    // While a Filling lives, changes made to the watched controls do not set the marker.
    class Filling {
      public:
        explicit Filling(ChangeMarker& marker) : marker_(marker) { ++marker_.filling_; }
        ~Filling() { --marker_.filling_; }
        Filling(const Filling&) = delete;
        Filling& operator=(const Filling&) = delete;

      private:
        ChangeMarker& marker_;
    };

  signals:
    void changed();

  private:
    void noteChange();

    bool set_ = false;
    int filling_ = 0;
};

} // namespace xb::forms
