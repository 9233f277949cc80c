#include "core/LogEvent.h"
#include "core/Observable.h"
#include "core/ObservableEvent.h"
#include "shell/NullLogger.h"

#include "RecordingObserver.h"

#include <QtTest>

using UtilsLib::Observable;
using UtilsLib::ObservableEvent;

class TestObservable : public QObject
{
    Q_OBJECT

private slots:
    void addingTwiceDeliversOnce();
    void nullAndRemovedObserversGetNothing();
    void copiesReportToTheSameObservers();
    void assignmentReplacesTheList();
    void originIsSplitAtTheLastSeparator_data();
    void originIsSplitAtTheLastSeparator();
    void logEventTakesTheTimeAndAnyKind();
    void traceScopeWritesEnterAndExitPairs();
    void nothingIsBuiltWithoutObservers();
    void discardingObserversAreNotKept();
};

void TestObservable::addingTwiceDeliversOnce()
{
    Observable observable;
    RecordingObserver first;
    RecordingObserver second;
    observable.addObserver(&first);
    observable.addObserver(&second);
    observable.addObserver(&first);

    observable.notifyObservers(ObservableEvent("Info", "Src", "hello", 6, "A::b"));

    QCOMPARE(first.events().size(), 1);
    QCOMPARE(second.events().size(), 1);
}

void TestObservable::nullAndRemovedObserversGetNothing()
{
    Observable observable;
    RecordingObserver observer;
    observable.addObserver(nullptr);
    QVERIFY(!observable.hasObservers());

    observable.addObserver(&observer);
    observable.removeObserver(&observer);
    observable.removeObserver(&observer); // absent: ignored
    observable.notifyObservers(ObservableEvent());
    QVERIFY(observer.events().isEmpty());
}

void TestObservable::copiesReportToTheSameObservers()
{
    Observable original;
    RecordingObserver observer;
    original.addObserver(&observer);

    Observable copy(original);
    copy.notifyObservers(ObservableEvent("Info", "Src", "from copy", 6, "x"));
    QCOMPARE(observer.texts(), QStringList{"from copy"});

    // The copy's list is its own: removing from it leaves the original's intact.
    copy.removeObserver(&observer);
    original.notifyObservers(ObservableEvent("Info", "Src", "from original", 6, "x"));
    copy.notifyObservers(ObservableEvent("Info", "Src", "lost", 6, "x"));
    QCOMPARE(observer.texts(), (QStringList{"from copy", "from original"}));
}

void TestObservable::assignmentReplacesTheList()
{
    Observable source;
    Observable target;
    RecordingObserver sourceObserver;
    RecordingObserver targetObserver;
    source.addObserver(&sourceObserver);
    target.addObserver(&targetObserver);

    target = source;
    target.notifyObservers(ObservableEvent("Info", "S", "t", 6, "o"));
    QCOMPARE(sourceObserver.events().size(), 1);
    QCOMPARE(targetObserver.events().size(), 0);

    Observable &self = target;
    target = self;
    target.notifyObservers(ObservableEvent("Info", "S", "t", 6, "o"));
    QCOMPARE(sourceObserver.events().size(), 2);
}

void TestObservable::originIsSplitAtTheLastSeparator_data()
{
    QTest::addColumn<QString>("origin");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("methodName");
    const auto row = [](const char *name, const QString &origin, const char *className,
                        const char *methodName) {
        QTest::newRow(name) << origin << className << methodName;
    };
    row("namespaced", "Brindlecore::Core::Message::handle", "Brindlecore::Core::Message", "handle");
    row("no separator", "handle", "", "handle");
    row("separator at start", "::x", "", "::x");
    row("separator at position 1", "A::b", "A", "b");
    row("trailing separator", "A::", "A", "");
    row("empty", "", "", "");
    row("null", QString(), "", "");
}

void TestObservable::originIsSplitAtTheLastSeparator()
{
    QFETCH(QString, origin);
    QFETCH(QString, className);
    QFETCH(QString, methodName);

    const ObservableEvent event("Info", "Src", "text", 6, origin);
    QCOMPARE(event.className(), className);
    QCOMPARE(event.methodName(), methodName);
}

void TestObservable::logEventTakesTheTimeAndAnyKind()
{
    Observable observable;
    RecordingObserver observer;
    observable.addObserver(&observer);

    const QDateTime before = QDateTime::currentDateTime();
    UtilsLib::logEvent(&observable, "PrintClientMessager", "PrintClientMessager::writeData",
                       UtilsLib::LogInfo, "Sent 12 bytes");
    const QDateTime after = QDateTime::currentDateTime();
    UtilsLib::logEvent(&observable, "Message", "Brindlecore::Core::Message::handle", "Application",
                       1, "No handler configured");
    UtilsLib::logEvent(nullptr, "X", "X::y", UtilsLib::LogError, "dropped");

    // The fields as such show in the log files' lines (tst_logging).
    const auto events = observer.events();
    QCOMPARE(events.size(), 2);
    // The local time of the event, not of its reading: read once the clock has moved on.
    QDeadlineTimer deadline(5000);
    while (QDateTime::currentDateTime() <= after && !deadline.hasExpired())
        QThread::msleep(1);
    QVERIFY(events[0].time() >= before && events[0].time() <= after);
    QCOMPARE(events[0].time().timeSpec(), Qt::LocalTime);
    QCOMPARE(events[1].type(), QString("Application"));
    QCOMPARE(events[1].level(), qint16(1));
}

void TestObservable::traceScopeWritesEnterAndExitPairs()
{
    Observable observable;
    RecordingObserver observer;
    observable.addObserver(&observer);
    {
        UtilsLib::TraceScope outer(&observable, "PrintClientMessager",
                                   "PrintClientMessager::reconnect");
        UtilsLib::TraceScope inner(&observable, "PrintClientMessager",
                                   "PrintClientMessager::connectToServer");
        UtilsLib::logEvent(&observable, "PrintClientMessager",
                           "PrintClientMessager::connectToServer", UtilsLib::LogInfo, "work");
    }
    QCOMPARE(observer.texts(), (QStringList{"Enter: PrintClientMessager::reconnect",
                                            "Enter: PrintClientMessager::connectToServer", "work",
                                            "Exit: PrintClientMessager::connectToServer",
                                            "Exit: PrintClientMessager::reconnect"}));
    const auto events = observer.events();
    QCOMPARE(events.first().type(), QString("Trace"));
    QCOMPARE(events.first().level(), qint16(9));
    QCOMPARE(events.first().methodName(), QString("reconnect"));
    QCOMPARE(events.last().type(), QString("Trace"));
}

void TestObservable::nothingIsBuiltWithoutObservers()
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

void TestObservable::discardingObserversAreNotKept()
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

QTEST_GUILESS_MAIN(TestObservable)
#include "tst_observable.moc"
