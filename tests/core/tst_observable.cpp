#include "core/LogEvent.h"
#include "core/Observable.h"
#include "core/ObservableEvent.h"
#include "shell/NullLogger.h"

#include "RecordingObserver.h"

#include <QtTest>

using UtilsLib::Observable;
using UtilsLib::ObservableEvent;

// A trace scope's Enter and Exit lines, with their type and level, are checked where they
// reach the log files (tst_logging); that a copy reports to its original's observers, where
// messages are copied (tst_messages).
class TestObservable : public QObject
{
    Q_OBJECT

private slots:
    void observersAreKeptOnceAndRemovedQuietly()
    {
        Observable observable;
        RecordingObserver first;
        RecordingObserver second;
        observable.addObserver(nullptr);
        QVERIFY(!observable.hasObservers());
        observable.addObserver(&first);
        observable.addObserver(&second);
        observable.addObserver(&first);
        observable.notifyObservers(ObservableEvent("Info", "Src", "both", 6, "A::b"));

        observable.removeObserver(&second);
        observable.removeObserver(&second); // absent: ignored
        observable.notifyObservers(ObservableEvent("Info", "Src", "first only", 6, "A::b"));
        QCOMPARE(first.texts(), (QStringList{"both", "first only"}));
        QCOMPARE(second.texts(), QStringList{"both"});
    }

    void originIsSplitAtTheLastSeparator_data()
    {
        QTest::addColumn<QString>("origin");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("methodName");
        const auto row = [](const char *name, const QString &origin, const char *className,
                            const char *methodName) {
            QTest::newRow(name) << origin << className << methodName;
        };
        row("namespaced", "Brindlecore::Core::Message::handle", "Brindlecore::Core::Message",
            "handle");
        row("no separator", "handle", "", "handle");
        row("separator at start", "::x", "", "::x");
        row("separator at position 1", "A::b", "A", "b");
        row("trailing separator", "A::", "A", "");
        row("empty", "", "", "");
        row("null", QString(), "", "");
    }
    void originIsSplitAtTheLastSeparator()
    {
        QFETCH(QString, origin);
        QFETCH(QString, className);
        QFETCH(QString, methodName);
        const ObservableEvent event("Info", "Src", "text", 6, origin);
        QCOMPARE(event.className(), className);
        QCOMPARE(event.methodName(), methodName);
    }

    void logEventTakesTheTimeAndAnyKind()
    {
        Observable observable;
        RecordingObserver observer;
        observable.addObserver(&observer);

        const QDateTime before = QDateTime::currentDateTime();
        UtilsLib::logEvent(&observable, "PrintClientMessager", "PrintClientMessager::writeData",
                           UtilsLib::LogInfo, "Sent 12 bytes");
        const QDateTime after = QDateTime::currentDateTime();
        UtilsLib::logEvent(&observable, "Message", "Brindlecore::Core::Message::handle",
                           "Application", 1, "No handler configured");
        UtilsLib::logEvent(nullptr, "X", "X::y", UtilsLib::LogError, "dropped");

        // The fields as such show in the log files' lines (tst_logging).
        const auto events = observer.events();
        QCOMPARE(events.size(), 2);
        // The local time of the event, not of its reading: read once the clock has moved on.
        QVERIFY(QTest::qWaitFor([&] { return QDateTime::currentDateTime() > after; }));
        QVERIFY(events[0].time() >= before && events[0].time() <= after);
        QCOMPARE(events[0].time().timeSpec(), Qt::LocalTime);
        QCOMPARE(events[1].type(), QString("Application"));
        QCOMPARE(events[1].level(), qint16(1));
    }

    void nothingIsBuiltWithoutObservers()
    {
        // A scope on an observable without observers must still be harmless when one is added
        // before it ends: it reports nothing rather than an unpaired Exit.
        Observable observable;
        RecordingObserver observer;
        {
            UtilsLib::TraceScope scope(&observable, "S", "S::f");
            observable.addObserver(&observer);
        }
        QVERIFY(observer.events().isEmpty());
        UtilsLib::TraceScope nullScope(nullptr, "S", "S::g");
    }

    void discardingObserversAreNotKept()
    {
        // With logging off the only observer is a NullLogger: no event, and no costly text, is
        // built for it.
        Observable observable;
        NullLogger discarding;
        observable.addObserver(&discarding);
        QVERIFY(!observable.hasObservers());
        int built = 0;
        const auto text = [&] {
            ++built;
            return QStringLiteral("Sent: 99|x");
        };
        UtilsLib::logEvent(&observable, "S", "S::f", UtilsLib::LogInfo, text);
        QCOMPARE(built, 0);

        RecordingObserver observer;
        observable.addObserver(&observer);
        UtilsLib::logEvent(&observable, "S", "S::f", UtilsLib::LogInfo, text);
        QCOMPARE(built, 1);
        QCOMPARE(observer.texts("Info"), QStringList{"Sent: 99|x"});
    }
};

QTEST_GUILESS_MAIN(TestObservable)
#include "tst_observable.moc"
