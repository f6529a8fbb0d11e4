// Runs the test classes of the shared page pieces in one offscreen QApplication.

#include <QApplication>

int runChangeMarkerTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return runChangeMarkerTests(argc, argv) == 0 ? 0 : 1;
}
