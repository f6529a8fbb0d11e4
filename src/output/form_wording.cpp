#include "output/form_wording.h"

#include <QFile>

#include <map>

// The wording lives in a resource of a static library: nothing else refers to it, so it is
// registered by hand before its first use.
static void registerFormWording() {
    Q_INIT_RESOURCE(form_wording);
}

namespace xb::output {
namespace {

std::map<std::string, std::vector<std::string>> readSections() {
    registerFormWording();
    std::map<std::string, std::vector<std::string>> sections;
    QFile file(QStringLiteral(":/output/form_wording.txt"));
    if (!file.open(QIODevice::ReadOnly)) return sections;
    std::vector<std::string>* current = nullptr;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const std::string line = raw.trimmed().toStdString();
        if (line.empty()) continue;
        if (line.front() == '[' && line.back() == ']') {
            current = &sections[line.substr(1, line.size() - 2)];
            continue;
        }
        if (current) current->push_back(line);
    }
    return sections;
}

} // namespace

const std::vector<std::string>& formWording(const std::string& section) {
    static const std::map<std::string, std::vector<std::string>> sections = readSections();
    static const std::vector<std::string> none;
    const auto it = sections.find(section);
    return it == sections.end() ? none : it->second;
}

} // namespace xb::output
