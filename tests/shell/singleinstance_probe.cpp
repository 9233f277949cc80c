// One copy of an application with the single-instance guard, for the guard's tests:
//   singleinstance_probe hold        print "running" and end when a copy runs, else initialise,
//                                    print "ready" and "received:<text>" per text; "quit" ends
//   singleinstance_probe send TEXT   print "sent" or "failed"
#include "shell/QtSingleApplication.h"

#include <QTextStream>
#include <QWidget>

#include <cstdio>

int main(int argc, char **argv)
{
    QtSingleApplication app(QStringLiteral("Ondrel Laptop Print Client"), argc, argv);
    const QStringList arguments = app.arguments();
    const QString mode = arguments.value(1);
    QTextStream out(stdout);

    if (mode == QLatin1String("send")) {
        out << (app.sendMessage(arguments.value(2), 30000) ? "sent" : "failed") << Qt::endl;
        return 0;
    }
    if (app.isRunning()) {
        out << "running" << Qt::endl;
        return 3;
    }
    QWidget window;
    window.setWindowTitle(QStringLiteral("main"));
    window.showMinimized();
    app.setMainWidget(&window);
    app.initialize(true);
    QObject::connect(&app, &QtSingleApplication::messageReceived, &app, [&](const QString &text) {
        // activateMainWidget ran first (connected by initialize): the window is shown again.
        out << "received:" << text << (window.isMinimized() ? " minimized" : " restored")
            << Qt::endl;
        if (text == QLatin1String("quit"))
            app.quit();
    });
    out << "ready" << Qt::endl;
    return app.exec();
}
