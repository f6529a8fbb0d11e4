// The welcome window shown at start: the welcome picture filling 807 × 600 pixels under the
// caption "国家XunbaoQelo〔V6.0〕", no buttons, closing itself a few seconds after each show.
// It is a QDialog so that it can be shown through ui::showModal(); reused, it starts its delay
// again every time it is shown.
#pragma once

#include <QDialog>
#include <chrono>

class QLabel;
class QTimer;

namespace xb::app {

class WelcomeWindow : public QDialog {
    Q_OBJECT

  public:
    static constexpr QSize clientSize{807, 600};
    static constexpr std::chrono::milliseconds defaultDelay{5000};

    // Reads the picture at `picturePath` (see welcomePicturePath()). A missing or unreadable
    // picture gives a plain window showing the caption instead.
    explicit WelcomeWindow(const QString& picturePath, QWidget* parent = nullptr);

    // How long the window stays after it is shown; tests shorten it.
    void setCloseDelay(std::chrono::milliseconds delay);
    std::chrono::milliseconds closeDelay() const;

    // Whether the picture could be read.
    bool hasPicture() const { return hasPicture_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QLabel* content_;
    QTimer* closeTimer_;
    bool hasPicture_ = false;
};

// The welcome picture of the data directory `dataDirectory`: welcome.jpg.
QString welcomePicturePath(const QString& dataDirectory);

} // namespace xb::app
