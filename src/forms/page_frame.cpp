#include "forms/page_frame.h"

#include "store/history.h"
#include "ui/prompter.h"
#include "ui/roomy_button.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaMethod>
#include <QTabWidget>
#include <QVBoxLayout>

namespace xb::forms {
namespace {

QLabel* bannerLabel(const QString& text, QWidget* parent) {
    auto* title = new QLabel(text, parent);
    title->setObjectName(QStringLiteral("banner"));
    QFont font = title->font();
    font.setPointSizeF(font.pointSizeF() * 1.6);
    font.setBold(true);
    title->setFont(font);
    title->setAlignment(Qt::AlignCenter);
    return title;
}

} // namespace

PageFrame::PageFrame(QDialog& page, const QString& banner, QWidget* body, bool fixedPage)
    : page_(page), banner_(banner), row_(new QHBoxLayout), fixed_(fixedPage) {
    auto* layout = new QVBoxLayout(&page);
    if (fixedPage) {
        page.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        shown();
    }
    if (!banner.isEmpty()) layout->addWidget(bannerLabel(banner, &page));
    layout->addWidget(body, 1);
    if (!fixedPage) layout->addSpacing(8);
    row_->addStretch();
    layout->addLayout(row_);
}

QPushButton* PageFrame::addButton(const QString& caption, const QString& objectName,
                                  std::function<void()> standard) {
    QPushButton* button = ui::roomyButton(caption, objectName, &page_);
    row_->addWidget(button);
    connectHandler(button, std::move(standard));
    return button;
}

void PageFrame::addLeftButton(QPushButton* button, std::function<void()> standard) {
    ui::makeRoomy(*button);
    row_->insertWidget(0, button);
    if (standard) connectHandler(button, std::move(standard));
}

void PageFrame::connectHandler(QPushButton* button, std::function<void()> standard) {
    // Looked up at the click: the page's class is not complete while the base builds the frame,
    // and an entry dialog may rename its buttons afterwards.
    QObject::connect(button, &QPushButton::clicked, &page_, [this, button, standard] {
        const QByteArray handler = button->objectName().toLatin1() + "Click()";
        // What the click changes goes into the records' history under the page and the button;
        // a change on leaving is the page's save.
        const QString caption = button->text().remove(QLatin1Char('&'));
        store::HistoryScope history(
            (caption == QStringLiteral("退出") ? QStringLiteral("储存") : caption).toStdString(),
            (banner_.isEmpty() ? page_.windowTitle() : banner_).remove(u' ').toStdString());
        const QMetaObject* page = page_.metaObject();
        if (const int index = page->indexOfSlot(handler.constData()); index >= 0)
            page->method(index).invoke(&page_);
        else
            standard();
        if (store::Status s = history.commit(); !s) ui::prompter().showError(s.error());
    });
}

void PageFrame::close(int result) {
    closing_ = true;
    page_.done(result);
    closing_ = false;
}

void PageFrame::shown() {
    if (fixed_) page_.setFixedSize(800, 600); // the size of the form's pages
}

void reportCheckFailure(QWidget& page, const CheckFailure& failure) {
    if (failure.plain)
        ui::prompter().plain(failure.message);
    else if (!failure.message.isEmpty())
        ui::prompter().warn(failure.message);
    // An empty name would match any child.
    if (failure.control.isEmpty()) return;
    QWidget* control = page.findChild<QWidget*>(failure.control);
    if (!control) return;
    for (QTabWidget* tabs : page.findChildren<QTabWidget*>())
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->widget(i)->isAncestorOf(control)) tabs->setCurrentIndex(i);
    control->setFocus();
}

} // namespace xb::forms
