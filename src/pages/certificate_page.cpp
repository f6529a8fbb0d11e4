#include "pages/certificate_page.h"

#include "pages/certificate_rules.h"
#include "ui/field_labels.h"
#include "ui/help_window.h"
#include "ui/memo_box.h"
#include "ui/named_widget.h"

#include <QDateTime>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace xb::pages {

namespace {

// Empties its text box when it is clicked into while holding only blanks.
class BlankClearer : public QObject {
  public:
    explicit BlankClearer(QPlainTextEdit* box) : QObject(box), box_(box) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress && !box_->toPlainText().isEmpty() &&
            box_->toPlainText().trimmed().isEmpty())
            box_->clear();
        return QObject::eventFilter(watched, event);
    }

  private:
    QPlainTextEdit* box_;
};

} // namespace

TFpage9::TFpage9(QWidget* parent)
    : RecordPage(
          QStringLiteral("TFpage9"), QStringLiteral("鉴 定 证 书 内 容"), "kjcg",
          {QStringLiteral("btnSave01"), QStringLiteral("Button2"), QStringLiteral("Button1")},
          {.runsChecks = false, .staysOpenOnFailedSave = true}, parent),
      edt_301_(ui::namedLineEdit("Edt_301", 0, body())),
      edt_302_y_(ui::namedLineEdit("edt_302_y", 56, body())),
      edt_302_m_(ui::namedLineEdit("edt_302_m", 36, body())),
      edt_302_d_(ui::namedLineEdit("edt_302_d", 36, body())), tabs_(new QTabWidget(body())),
      help_(new ui::HelpWindow(QStringLiteral("THelpPjzs"), this)) {
    tabs_->setObjectName(QStringLiteral("PageControl1"));

    auto* date = new QHBoxLayout;
    date->addWidget(edt_302_y_);
    date->addWidget(ui::fieldLabel(QStringLiteral("年"), body()));
    date->addWidget(edt_302_m_);
    date->addWidget(ui::fieldLabel(QStringLiteral("月"), body()));
    date->addWidget(edt_302_d_);
    date->addWidget(ui::fieldLabel(QStringLiteral("日"), body()));
    date->addWidget(ui::fieldLabel(QStringLiteral("(格式YYYY.MM.DD)"), body()));
    date->addStretch();

    auto* grid = new QGridLayout;
    grid->addWidget(ui::fieldLabel(QStringLiteral("证书号"), body()), 0, 0);
    grid->addWidget(edt_301_, 0, 1);
    grid->addWidget(ui::fieldLabel(QStringLiteral("评价日期"), body()), 1, 0);
    grid->addLayout(date, 1, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(grid);
    layout->addWidget(tabs_, 1);

    binder().text(edt_301_, "item_301");
    binder().date(edt_302_y_, edt_302_m_, edt_302_d_, "item_302");
    QPlainTextEdit* memos[] = {
        addMemoTab("Mo_13_2", QStringLiteral("推广应用前景与措施")),
        addMemoTab("Mo_13_3", QStringLiteral("主要技术文件目录及来源")),
        addMemoTab("Mo_133", QStringLiteral("评价委员会专家测试报告")),
        addMemoTab("Mo_303", QStringLiteral("评价意见")),
    };
    const char* fields[] = {"item_13_2", "item_13_3", "item_133", "item_303"};
    for (int i = 0; i < 4; ++i)
        binder().memo(memos[i], fields[i]);

    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (auto* memo = qobject_cast<QPlainTextEdit*>(tabs_->widget(index))) showTextStart(memo);
    });
}

QPlainTextEdit* TFpage9::addMemoTab(const char* name, const QString& caption) {
    auto* memo = ui::namedWidget<ui::MemoBox>(name, tabs_);
    tabs_->addTab(memo, caption);
    // A blank opinion is emptied when clicked into, so that typing starts at its beginning.
    if (QLatin1String(name) == QLatin1String("Mo_303"))
        memo->viewport()->installEventFilter(new BlankClearer(memo));
    return memo;
}

void TFpage9::showTextStart(QPlainTextEdit* memo) {
    memo->moveCursor(QTextCursor::Start);
    memo->ensureCursorVisible();
    memo->setFocus();
}

std::optional<forms::CheckFailure> TFpage9::check() {
    return checkCertificateDate(edt_302_y_->text(), edt_302_m_->text(), edt_302_d_->text(),
                                QDateTime::currentDateTime().date().year());
}

void TFpage9::help() {
    if (categoryPosition() == 0) help_->showHelp();
}

} // namespace xb::pages
