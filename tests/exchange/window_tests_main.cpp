// Runs the window tests of the export and the code management window in one offscreen
// QApplication.

#include <QApplication>

int runExportWindowTests(int argc, char** argv);
int runCodeManageWindowTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failures = 0;
    for (auto run : {runExportWindowTests, runCodeManageWindowTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
