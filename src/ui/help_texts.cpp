#include "ui/help_texts.h"

#include <QFile>

// The resource lives in a static library: nothing else refers to it, so the linker would leave
// it out unless it is registered by name.
static void registerHelpResource() {
    Q_INIT_RESOURCE(help_texts);
}

namespace xb::ui {

QMap<QString, HelpText> parseHelpTexts(const QString& contents) {
    QMap<QString, HelpText> texts;
    QString name;
    QStringList lines;
    HelpText current;
    const auto finish = [&] {
        if (name.isEmpty()) return;
        while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
            lines.removeLast();
        current.text = lines.join(QLatin1Char('\n'));
        texts.insert(name, current);
    };
    for (const QString& line : contents.split(QLatin1Char('\n'))) {
        const QString l = line.endsWith(QLatin1Char('\r')) ? line.chopped(1) : line;
        if (l.startsWith(QLatin1Char('[')) && l.endsWith(QLatin1Char(']'))) {
            finish();
            name = l.mid(1, l.size() - 2).trimmed();
            lines.clear();
            current = HelpText{QStringLiteral("关闭"), {}};
        } else if (!name.isEmpty() && lines.isEmpty() && l.startsWith(QStringLiteral("button="))) {
            current.closeCaption = l.mid(7).trimmed();
        } else if (!name.isEmpty()) {
            lines << l;
        }
    }
    finish();
    return texts;
}

std::optional<HelpText> helpText(const QString& objectName) {
    static const QMap<QString, HelpText> texts = [] {
        registerHelpResource();
        QFile file(QStringLiteral(":/help/help_texts.txt"));
        return file.open(QIODevice::ReadOnly) ? parseHelpTexts(QString::fromUtf8(file.readAll()))
                                              : QMap<QString, HelpText>();
    }();
    const auto found = texts.constFind(objectName);
    return found == texts.constEnd() ? std::nullopt : std::optional<HelpText>(*found);
}

} // namespace xb::ui
