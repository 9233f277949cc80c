#include "platform/UnixSignalNotifier.h"

#include <QtTest>

#include <csignal>

class TestUnixSignalNotifier : public QObject
{
    Q_OBJECT

private slots:
    void signalsArriveInTheEventLoop()
    {
        {
            UnixSignalNotifier notifier({SIGTERM, SIGINT, SIGHUP});
            QVERIFY(notifier.isActive());
            // A second notifier in the same process refuses to take over.
            UnixSignalNotifier second({SIGUSR1});
            QVERIFY(!second.isActive());

            QSignalSpy spy(&notifier, &UnixSignalNotifier::signalReceived);
            ::raise(SIGTERM);
            ::raise(SIGHUP);
            QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 2, 5000);
            QCOMPARE(spy.at(0).at(0).toInt(), int(SIGTERM));
            QCOMPARE(spy.at(1).at(0).toInt(), int(SIGHUP));
        }
        // Once the notifier is gone the default disposition is back, and a new one can start.
        struct sigaction current
        {};
        QCOMPARE(::sigaction(SIGTERM, nullptr, &current), 0);
        QVERIFY(current.sa_handler == SIG_DFL);
        UnixSignalNotifier again({SIGUSR1});
        QVERIFY(again.isActive());
    }
};

QTEST_GUILESS_MAIN(TestUnixSignalNotifier)
#include "tst_unixsignalnotifier.moc"
