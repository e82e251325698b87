// SPDX-License-Identifier: GPL-3.0-or-later
// Saves a rectangle of the X screen as a PNG: kelvane-grab OUT.png [X Y W H].
// The README's screenshot script runs it under Xvfb.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 6) {
        std::fprintf(stderr, "usage: kelvane-grab OUT.png [X Y WIDTH HEIGHT]\n");
        return 2;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        std::fprintf(stderr, "kelvane-grab: no screen\n");
        return 1;
    }
    QPixmap shot = argc == 6 ? screen->grabWindow(0, std::atoi(argv[2]), std::atoi(argv[3]),
                                                  std::atoi(argv[4]), std::atoi(argv[5]))
                             : screen->grabWindow(0);
    if (shot.isNull() || !shot.save(argv[1], "PNG")) {
        std::fprintf(stderr, "kelvane-grab: could not save %s\n", argv[1]);
        return 1;
    }
    return 0;
}
