#include "app/welcome_window.h"

#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace xb::app {

WelcomeWindow::WelcomeWindow(const QString& picturePath, QWidget* parent)
    : QDialog(parent), content_(new QLabel(this)), closeTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("WelcomeWindow"));
    setWindowTitle(QStringLiteral("国家XunbaoQelo〔V6.0〕"));
    // A title bar only: the window has no buttons and leaves by itself.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(clientSize);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content_);

    const QImage picture = QImageReader(picturePath).read();
    hasPicture_ = !picture.isNull();
    if (hasPicture_) {
        content_->setPixmap(QPixmap::fromImage(
            picture.scaled(clientSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    } else {
        content_->setText(windowTitle());
        content_->setAlignment(Qt::AlignCenter);
        QFont font = content_->font();
        font.setPointSize(font.pointSize() * 2);
        content_->setFont(font);
    }

    closeTimer_->setSingleShot(true);
    // A precise timer, so that the window never leaves before its delay is over.
    closeTimer_->setTimerType(Qt::PreciseTimer);
    closeTimer_->setInterval(defaultDelay);
    connect(closeTimer_, &QTimer::timeout, this, &QDialog::accept);
}

void WelcomeWindow::setCloseDelay(std::chrono::milliseconds delay) {
    closeTimer_->setInterval(delay);
}

std::chrono::milliseconds WelcomeWindow::closeDelay() const {
    return closeTimer_->intervalAsDuration();
}

void WelcomeWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Spontaneous shows come from the desktop (a restore after minimizing), not from a showing.
    if (!event->spontaneous()) closeTimer_->start();
}

void WelcomeWindow::hideEvent(QHideEvent* event) {
    // Closed early (by the program or Escape): a pending timeout must not close it a second time.
    if (!event->spontaneous()) closeTimer_->stop();
    QDialog::hideEvent(event);
}

QString welcomePicturePath(const QString& dataDirectory) {
    return dataDirectory + QStringLiteral("/welcome.jpg");
}

} // namespace xb::app
