// Runs the test classes of the window seams in one offscreen QApplication.

#include <QApplication>

int runModalTests(int argc, char** argv);
int runPrompterTests(int argc, char** argv);
int runChineseTextsTests(int argc, char** argv);
int runHelpTextsTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failures = 0;
    for (auto run : {runModalTests, runPrompterTests, runChineseTextsTests, runHelpTextsTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
