// The desktop's colour-scheme setting for end-to-end tests: serves it on the
// session bus as the XDG portal does and changes it on each line read from
// standard input ("dark", "light" or "none").
//
//   fake_appearance_portal light|dark|none

#include "fakeappearanceportal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

FakeAppearancePortal::Scheme parse(const std::string &word)
{
    if (word == "dark") {
        return FakeAppearancePortal::Scheme::Dark;
    }
    if (word == "light") {
        return FakeAppearancePortal::Scheme::Light;
    }
    return FakeAppearancePortal::Scheme::NoPreference;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    FakeAppearancePortal portal(parse(argc > 1 ? argv[1] : "none"));
    if (!portal.start()) {
        std::fprintf(stderr, "fake_appearance_portal: could not take the portal's name\n");
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        std::string line;
        if (!std::getline(std::cin, line)) {
            QCoreApplication::quit();
            return;
        }
        portal.setScheme(parse(line));
    });
    return QCoreApplication::exec();
}
