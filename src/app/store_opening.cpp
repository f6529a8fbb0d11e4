#include "app/store_opening.h"

#include "store/writer_lock.h"
#include "ui/prompter.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

namespace xb::app {
namespace {

// Waits until the data directory is free; false when the user gave up.
bool waitForWriter(const std::string& directory) {
    QProgressDialog waiting(QStringLiteral("正在等待另一个程序结束对数据目录的使用……"),
                            QStringLiteral("取消"), 0, 0);
    waiting.setWindowTitle(QStringLiteral("Xunbao"));
    waiting.setMinimumDuration(0);
    QEventLoop loop;
    bool free = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        // Taking the lock and letting go of it at once tells whether the writer has ended.
        if (store::WriterLock::take(directory, "应用程序 Xunbao").ok()) {
            free = true;
            loop.quit();
        }
    });
    QObject::connect(&waiting, &QProgressDialog::canceled, &loop, &QEventLoop::quit);
    poll.start(500);
    waiting.show();
    loop.exec();
    return free;
}

} // namespace

bool openRecordStore(store::RecordStore& store) {
    for (;;) {
        const store::Status opened = store.open();
        if (opened) break;
        if (!store.lockRefused()) {
            ui::prompter().showError(opened.error());
            break;
        }
        if (!ui::prompter().confirm(QStringLiteral("请注意！"),
                                    QString::fromStdString(opened.message()) +
                                        QStringLiteral("。\n\n是否等待它结束后再打开？")))
            return false;
        if (!waitForWriter(store.dataDirectory())) return false;
    }
    for (const std::string& warning : store.openingWarnings())
        ui::prompter().warn(QString::fromStdString(warning));
    return true;
}

} // namespace xb::app
