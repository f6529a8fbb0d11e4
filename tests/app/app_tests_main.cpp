// Runs every test class of the application shell in one offscreen QApplication.

#include <QApplication>

int runDateTextTests(int argc, char** argv);
int runSingleInstanceTests(int argc, char** argv);
int runWelcomeWindowTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failures = 0;
    for (auto run : {runDateTextTests, runSingleInstanceTests, runWelcomeWindowTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
