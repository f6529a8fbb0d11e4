// Starts like the program does (same title, same guard). With the lock it writes "acquired" and
// holds the lock until its standard input closes; without it, it ends at once, silently, with 0.

#include "app/application_title.h"
#include "app/single_instance.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(xb::app::applicationTitle());

    xb::app::SingleInstanceGuard guard(xb::app::applicationTitle());
    switch (guard.acquire()) {
    case xb::app::SingleInstanceGuard::Outcome::HeldByAnother:
        return 0;
    case xb::app::SingleInstanceGuard::Outcome::Unavailable:
        std::fputs("unavailable\n", stdout);
        return 3;
    case xb::app::SingleInstanceGuard::Outcome::Acquired:
        break;
    }
    std::fputs("acquired\n", stdout);
    std::fflush(stdout);

    QFile input;
    if (input.open(stdin, QIODevice::ReadOnly)) input.readAll();
    return 0;
}
