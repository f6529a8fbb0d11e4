// Runs every window test class of the organization and people pages in one offscreen
// QApplication.

#include <QApplication>

int runProfilePageTests(int argc, char** argv);
int runSubjectLeadersPageTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failures = 0;
    for (auto run : {runProfilePageTests, runSubjectLeadersPageTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
