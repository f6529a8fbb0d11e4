#include "arj_output.h"

#include <QRegularExpression>

namespace xb::exchange {

QString arjExitStatusText(int exitCode) {
    switch (exitCode) {
    case 1:
        return QStringLiteral("有文件找不到或无法读取");
    case 2:
        return QStringLiteral("发生严重错误");
    case 3:
        return QStringLiteral("文件校验出错，压缩包可能已损坏");
    case 4:
        return QStringLiteral("压缩包的安全封印已损坏");
    case 5:
        return QStringLiteral("磁盘空间不足");
    case 6:
        return QStringLiteral("无法打开压缩包或文件");
    case 7:
        return QStringLiteral("命令参数错误");
    case 8:
        return QStringLiteral("内存不足");
    case 9:
        return QStringLiteral("文件不是 ARJ 压缩包");
    case 11:
        return QStringLiteral("操作被中断");
    default:
        return QStringLiteral("退出码 %1").arg(exitCode);
    }
}

QString arjDiagnostics(const QString& output, int maxLines) {
    // Lines that arj prints on every run; what remains is what went wrong.
    static const QRegularExpression routine(
        QStringLiteral("^(ARJ32 |Processing archive|Archive created|Creating archive|"
                       "Updating archive|Adding |Replacing |Extracting |Testing |Found |"
                       "\\d+ file\\(s\\))"));
    QStringList lines;
    for (QString line : output.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.contains(QLatin1Char('\b')) || routine.match(line).hasMatch())
            continue;
        lines << line;
    }
    if (lines.size() > maxLines) lines = lines.mid(lines.size() - maxLines);
    return lines.join(QStringLiteral("；"));
}

} // namespace xb::exchange
