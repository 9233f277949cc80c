#include "core/AppContext.h"
#include "core/BcMutex.h"
#include "core/CommandLine.h"
#include "core/LogEvent.h"
#include "core/Observable.h"
#include "core/ObservableEvent.h"
#include "shell/NullLogger.h"

#include "RecordingObserver.h"

#include <QtTest>

#include <atomic>
#include <thread>

using Brindlecore::Core::AppContext;
using Brindlecore::Core::AppContextEntryInterface;
using Brindlecore::Core::BcMutex;
using OptionMap = QMap<QString, QString>;
using UtilsLib::Observable;
using UtilsLib::ObservableEvent;

namespace {

class TrackedEntry : public AppContextEntryInterface
{
public:
    TrackedEntry(const QString &name, std::atomic<int> *destroyed)
        : m_name(name)
        , m_destroyed(destroyed)
    {}
    ~TrackedEntry() override
    {
        if (m_destroyed)
            ++*m_destroyed;
    }
    QString entryName() const override { return m_name; }

private:
    QString m_name;
    std::atomic<int> *m_destroyed;
};

class OtherEntry : public AppContextEntryInterface
{
public:
    QString entryName() const override { return QStringLiteral("other"); }
};

} // namespace

// The context, its mutex, the command line and the observers. A trace scope's Enter and Exit
// lines, with their type and level, are checked where they reach the log files (tst_logging);
// that a copy reports to its original's observers where messages are copied (tst_messages).
class TestCore : public QObject
{
    Q_OBJECT

private slots:
    void replacedEntriesGoAndTakenOnesLiveOn()
    {
        std::atomic<int> firstDestroyed{0};
        std::atomic<int> secondDestroyed{0};
        std::unique_ptr<AppContextEntryInterface> taken;
        {
            AppContext context;
            context.addEntry(std::make_unique<TrackedEntry>("timeSource", &firstDestroyed));
            context.addEntry(std::make_unique<TrackedEntry>("timeSource", &secondDestroyed));
            QCOMPARE(firstDestroyed, 1);
            taken = context.takeEntry("timeSource");
            QVERIFY(taken);
            QVERIFY(!context.findEntry("timeSource"));
            QVERIFY(!context.takeEntry("timeSource"));
        }
        // The context is gone, the taken entry (the replacement) lives on.
        QCOMPARE(secondDestroyed, 0);
        taken.reset();
        QCOMPARE(secondDestroyed, 1);

        // Null, unknown and mistyped entries are tolerated.
        AppContext context;
        context.addEntry(nullptr);
        QVERIFY(!context.findEntry(QString()));
        QVERIFY(!context.findEntry(""));
        QVERIFY(!context.takeEntry(QString()));
        context.addEntry(std::make_unique<TrackedEntry>(QString(), nullptr));
        QVERIFY(context.findEntry(QString()));

        context.addEntry(std::make_unique<OtherEntry>());
        QVERIFY(context.findEntryAs<OtherEntry>("other"));
        QVERIFY(!context.findEntryAs<TrackedEntry>("other"));
    }

    void concurrentUseIsSafe()
    {
        std::atomic<int> created{0};
        std::atomic<int> destroyed{0};
        {
            AppContext context;
            std::vector<std::jthread> threads; // joined before the context goes
            for (int t = 0; t < 4; ++t) {
                threads.emplace_back([&, t] {
                    for (int i = 0; i < 2000; ++i) {
                        const QString name = QStringLiteral("entry%1").arg(i % 8);
                        if ((i + t) % 3 == 0) {
                            ++created;
                            context.addEntry(std::make_unique<TrackedEntry>(name, &destroyed));
                        } else if ((i + t) % 3 == 1) {
                            // Only the pointer is looked at: another thread may destroy the entry.
                            context.findEntry(name);
                        } else {
                            context.takeEntry(name).reset();
                        }
                    }
                });
            }
        }
        // Every entry was destroyed exactly once: by replacement, by its taker or by the context.
        QCOMPARE(destroyed.load(), created.load());
    }

    void bcMutexCopiesItsKindNotItsState()
    {
        BcMutex recursive(true);
        recursive.lock();
        QVERIFY(recursive.tryLock()); // re-entrant
        recursive.unlock();

        BcMutex copy(recursive);
        QVERIFY(copy.isRecursive());
        QVERIFY(copy.tryLock()); // the copy is unlocked although the original is held
        copy.unlock();
        recursive.unlock();

        BcMutex plain;
        QVERIFY(!plain.isRecursive());
        plain.lock();
        std::atomic<bool> acquired{true};
        std::thread([&] { acquired = plain.tryLock(); }).join();
        QVERIFY(!acquired);
        plain.unlock();

        plain = recursive;
        QVERIFY(plain.isRecursive());
    }

    void commandLineIsParsed_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("plain");
        QTest::addColumn<OptionMap>("options");

        QTest::newRow("program only")
            << QStringList{"/usr/bin/ondtpc"} << QStringList{"/usr/bin/ondtpc"} << OptionMap{};
        QTest::newRow("value keeps later separators")
            << QStringList{"ondtpc", "-locale=a=b", "-x:y=z"} << QStringList{"ondtpc"}
            << OptionMap{{"LOCALE", "a=b"}, {"X:Y", "z"}};
        QTest::newRow("colon separator, any case")
            << QStringList{"ondtpc", "-Locale:xx", "-dialect:fr:ca"} << QStringList{"ondtpc"}
            << OptionMap{{"LOCALE", "xx"}, {"DIALECT", "fr:ca"}};
        QTest::newRow("option without value")
            << QStringList{"ondtpc", "-verbose", "-e="} << QStringList{"ondtpc"}
            << OptionMap{{"VERBOSE", ""}, {"E", ""}};
        QTest::newRow("quotes stripped from plain arguments")
            << QStringList{"ondtpc", "'\\\\srv\\q1'", "\"\\\\srv\\q 2\"", "in'si\"de"}
            << QStringList{"ondtpc", "\\\\srv\\q1", "\\\\srv\\q 2", "inside"} << OptionMap{};
        QTest::newRow("quotes kept in option values")
            << QStringList{"ondtpc", "-locale=\"fr_ca\""} << QStringList{"ondtpc"}
            << OptionMap{{"LOCALE", "\"fr_ca\""}};
        QTest::newRow("last repetition wins")
            << QStringList{"ondtpc", "-locale=de_de", "-LOCALE=fr_fr"} << QStringList{"ondtpc"}
            << OptionMap{{"LOCALE", "fr_fr"}};
        QTest::newRow("empty argument is plain")
            << QStringList{"ondtpc", ""} << QStringList{"ondtpc", ""} << OptionMap{};
    }
    void commandLineIsParsed()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, plain);
        QFETCH(OptionMap, options);

        const CommandLine commandLine(arguments);
        QCOMPARE(commandLine.plainArguments(), plain);
        for (auto it = options.cbegin(); it != options.cend(); ++it) {
            QVERIFY2(commandLine.hasOption(it.key()), qPrintable(it.key()));
            QVERIFY(commandLine.hasOption(it.key().toLower()));
            QCOMPARE(commandLine.optionValue(it.key().toLower()), it.value());
        }
        QVERIFY(!commandLine.hasOption("absent"));
        QCOMPARE(commandLine.optionValue("absent"), QString());
    }

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
        // Logging off, the only observer is a NullLogger: no event or costly text is built for it.
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

        // An observer added inside a scope begun without one gets no unpaired Exit.
        RecordingObserver observer;
        {
            UtilsLib::TraceScope scope(&observable, "S", "S::f");
            observable.addObserver(&observer);
        }
        QVERIFY(observer.events().isEmpty());
        UtilsLib::TraceScope nullScope(nullptr, "S", "S::g");
        UtilsLib::logEvent(&observable, "S", "S::f", UtilsLib::LogInfo, text);
        QCOMPARE(built, 1);
        QCOMPARE(observer.texts("Info"), QStringList{"Sent: 99|x"});
    }
};

QTEST_GUILESS_MAIN(TestCore)
#include "tst_core.moc"
