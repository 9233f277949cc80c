// The floor of the idle figures: a Qt Widgets program that shows nothing and waits in its
// event loop until it is terminated; with --timer-ms N it also runs an N ms timer that does
// nothing. It prints "ready" once its event loop runs.
#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QTimer tick;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--timer-ms") == 0)
            tick.start(std::atoi(argv[i + 1]));
    }
    QTimer::singleShot(0, &application, [] {
        std::fputs("ready\n", stdout);
        std::fflush(stdout);
    });
    return application.exec();
}
