#include "saved_file.h"

#include <QDir>
#include <QSaveFile>

namespace xb::ui {

store::Status saveWholeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return store::fail("无法写入文件 " + QDir::toNativeSeparators(path).toStdString() + "：" +
                           file.errorString().toStdString());
    return {};
}

} // namespace xb::ui
