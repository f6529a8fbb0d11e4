// A computed amount box and the amount boxes it adds up. Whenever a part changes - typed, pasted
// or set by the program - every part whose text is not a number is reported with its label and
// set to "0" (amount_box.h), and the sum box shows the sum of the parts (amount_rules.h). A sum box
// may itself be a part of another sum: setting it runs that sum's rule in turn.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QLineEdit;

namespace xb::forms {

class AmountSum : public QObject {
  public:
    struct Part {
        QLineEdit* box;
        QString label; // what precedes the text in the warning, e.g. "“国家投入”:"
    };

    // `paused` (optional) tells when changes are not judged, e.g. while the page fills itself
    // from the stored row, whose computed values are then shown as stored.
    AmountSum(QLineEdit* sum, QList<Part> parts, std::function<bool()> paused = {},
              QObject* parent = nullptr);

    // Judges the parts and shows their sum now.
    void recompute();

  private:
    QLineEdit* sum_;
    QList<Part> parts_;
    std::function<bool()> paused_;
    bool busy_ = false; // setting a part to "0" changes it again; that change is part of this one
};

} // namespace xb::forms
