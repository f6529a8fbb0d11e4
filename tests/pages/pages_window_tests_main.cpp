// Runs every window test class of the pages in one offscreen QApplication.

#include <QApplication>

int runFormTreeTests(int argc, char** argv);
int runOptionPanelTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failures = 0;
    for (auto run : {runFormTreeTests, runOptionPanelTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
