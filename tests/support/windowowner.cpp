// test_window_owner TITLE [--hidden]: a Qt program with one top-level window titled TITLE
// (UTF-8), for the window-list tests. Without --hidden the window is shown; with it the native
// window is made and titled but never mapped. Prints "ready" once the window is on the
// server (shown windows: once exposed) and runs until it is killed.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: test_window_owner TITLE [--hidden]\n");
        return 2;
    }
    const bool hidden = argc > 2 && std::strcmp(argv[2], "--hidden") == 0;

    QWidget window;
    window.setWindowTitle(QString::fromUtf8(argv[1]));
    window.resize(200, 100);
    if (hidden) {
        window.winId(); // the native window exists, titled, unmapped
    } else {
        window.show();
    }

    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (hidden || window.windowHandle()->isExposed()) {
            poll.stop();
            std::printf("ready\n");
            std::fflush(stdout);
        }
    });
    poll.start(10);
    return app.exec();
}
