#include "printers/CupsPrinterConnector.h"
#include "printers/CupsSpooler.h"
#include "printers/QueueUseLock.h"

#include "FileBytes.h"
#include "LogLines.h"
#include "PrivateCupsd.h"
#include "RecordingObserver.h"

#include <QLocalServer>
#include <QtTest>

#include <sys/stat.h>

namespace {

const QString Virtual = QStringLiteral("Brindlecore Virtual Printer");
const LogLines line{QStringLiteral("CupsPrinterConnector")};

bool workerEnded()
{
    return QTest::qWaitFor([] { return !CupsPrinterConnector::isSettingDefaultPrinter(); }, 30000);
}

} // namespace

// The connector against real schedulers: a private cupsd as the workstation's spooler and a
// second one on 127.0.0.2 as the print server whose queues are shared.
class TestCupsPrinterConnector : public QObject
{
    Q_OBJECT

    PrivateCupsd m_local;
    PrivateCupsd m_server;
    QString m_serverAddress; // "127.0.0.2:port"
    QTemporaryDir m_scratch;
    RecordingObserver m_log; // emptied before each test

    // The clients of these tests share a lock folder of their own, made by the first of them.
    QString locks() const { return m_scratch.filePath("locks"); }

    // The text with "%1" standing for the print server's address.
    QString onServer(const QString &text) const
    {
        return QString(text).replace(QLatin1String("%1"), m_serverAddress);
    }
    // Adds local queues given as name, device URI, description, ...; says why when it fails.
    bool addQueues(const QStringList &queues)
    {
        for (qsizetype i = 0; i + 2 < queues.size(); i += 3) {
            if (!m_local.addQueue(queues[i], queues[i + 1], queues[i + 2])) {
                qWarning("%s", qPrintable(m_local.errorText()));
                return false;
            }
        }
        return true;
    }
    bool addAlphaBeta(const QString &defaultQueue)
    {
        return addQueues({"alpha", "file:///dev/null", "a", "beta", "file:///dev/null", "b"}) &&
               m_local.run("lpoptions", {"-d", defaultQueue});
    }
    // What lpstat prints about the local scheduler, trimmed; empty when it fails.
    QString lpstat(const QStringList &arguments)
    {
        QString output;
        return m_local.run("lpstat", arguments, &output) ? output.trimmed() : QString();
    }
    QString lpoptions() const
    {
        return QString::fromUtf8(readFile(m_local.homePath() + "/.cups/lpoptions"));
    }

private slots:
    void initTestCase()
    {
        // These tests need a real scheduler: without cupsd they fail here, never pass quietly.
        QVERIFY2(m_local.start(), qPrintable(m_local.errorText()));
        QVERIFY2(m_server.start({QStringLiteral("127.0.0.2"), true}),
                 qPrintable(m_server.errorText()));
        m_serverAddress = QStringLiteral("127.0.0.2:%1").arg(m_server.port());
        // The long one's local queue would be longer than the 127 bytes CUPS allows in a name.
        for (const auto &[queue, description] : {std::pair{QString("shared"), QString("Shared")},
                                                 {QString("virt"), Virtual},
                                                 {QString(118, u'x'), QString("long")}})
            QVERIFY2(m_server.addQueue(queue, "file:///dev/null", description, true),
                     qPrintable(m_server.errorText()));
    }

    void init()
    {
        QVERIFY2(!CupsPrinterConnector::isSettingDefaultPrinter(), "an earlier worker runs");
        m_local.exportEnvironment();
        QVERIFY2(m_local.clear(), qPrintable(m_local.errorText()));
        m_log.clear();
    }

    void addressFollowsTheFirstVirtualPrinter_data()
    {
        QTest::addColumn<QStringList>("queues"); // name, device URI, description, ...
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("address");

        const QString remote = QStringLiteral("ipp://127.0.0.6/printers/q");
        const QString local = QStringLiteral("file:///dev/null");
        QTest::newRow("no queue at all") << QStringList{} << QString() << "127.0.0.1";
        QTest::newRow("no virtual printer (the description is case-sensitive)")
            << QStringList{"office", remote, "brindlecore virtual printer"} << QString()
            << "127.0.0.1";
        // Two virtual printers: the first in listing order counts, local or remote.
        QTest::newRow("local first")
            << QStringList{"a_ondrel", local, Virtual, "b_ondrel", remote, Virtual}
            << QStringLiteral("127.0.0.1") << "127.0.0.1";
        QTest::newRow("remote loopback address first")
            << QStringList{"a_ondrel", remote, Virtual, "b_ondrel", local, Virtual}
            << QStringLiteral("127.0.0.6") << "127.0.0.6";
        QTest::newRow("host name is resolved")
            << QStringList{"ondrel", "ipps://localhost:8631/printers/q", Virtual}
            << QStringLiteral("localhost") << "127.0.0.1";
        QTest::newRow("unresolvable host")
            << QStringList{"ondrel", "ipp://printserver.invalid/printers/q", Virtual}
            << QStringLiteral("printserver.invalid") << "0.0.0.0";
    }
    void addressFollowsTheFirstVirtualPrinter()
    {
        QFETCH(QStringList, queues);
        QFETCH(QString, server);
        QFETCH(QString, address);
        QVERIFY(addQueues(queues));

        CupsPrinterConnector connector(&m_log);
        QCOMPARE(connector.getPrintServiceForOndrelPrinter(), address);
        QCOMPARE(LogLines::of(m_log),
                 (QStringList{line("Verbose", 9, "getPrintServiceForOndrelPrinterPrivate",
                                   "Print Service address is " + server),
                              line("Info", 6, "getPrintServiceForOndrelPrinter",
                                   "Print service address is " + address)}));
    }

    // A cupsd answers "localhost" to every loopback client, so this is checked without one.
    void serverOfAQueue_data()
    {
        QTest::addColumn<QString>("deviceUri");
        QTest::addColumn<QString>("printerUri");
        QTest::addColumn<QString>("server");

        const QString local = QStringLiteral("ipp://localhost/printers/q");
        QTest::newRow("https device") << "https://10.1.2.3:443/ipp/print" << local << "10.1.2.3";
        QTest::newRow("socket device") << "socket://10.1.2.4:9100" << local << "10.1.2.4";
        QTest::newRow("lpd device") << "lpd://10.1.2.5/queue" << local << "10.1.2.5";
        QTest::newRow("http device") << "http://10.1.2.6:631/printers/q" << local << "10.1.2.6";
        QTest::newRow("ipv6 device") << "ipp://[fd00::5]:631/printers/q" << local << "fd00::5";
        QTest::newRow("queue of a remote scheduler")
            << "file:///dev/null" << QString("ipp://ps.example.com:631/printers/q")
            << "ps.example.com";
        QTest::newRow("queue reached through a socket")
            << QString() << QString("ipp:///run/cups/cups.sock/printers/q") << QString();
    }
    void serverOfAQueue()
    {
        QFETCH(QString, deviceUri);
        QFETCH(QString, printerUri);
        QFETCH(QString, server);
        CupsSpooler::Queue queue;
        queue.deviceUri = deviceUri;
        queue.printerUri = printerUri;
        QCOMPARE(queue.server(), server);
    }

    void listingFailuresFallBackToThisComputer_data()
    {
        QTest::addColumn<bool>("answers");
        QTest::addColumn<QString>("errorStart"); // how the spooler's error text begins

        QTest::newRow("no scheduler") << false << "Unable to connect to ";
        QTest::newRow("scheduler that accepts but never answers") << true << "";
    }
    void listingFailuresFallBackToThisComputer()
    {
        QFETCH(bool, answers);
        QFETCH(QString, errorStart);
        const QString socket = m_scratch.filePath("cups.sock");
        QLocalServer silent;
        if (answers)
            QVERIFY(silent.listen(socket));
        qputenv("CUPS_SERVER", socket.toUtf8());

        CupsPrinterConnector connector(&m_log);
        QCOMPARE(connector.getPrintServiceForOndrelPrinter(), QStringLiteral("127.0.0.1"));
        connector.resetPerUserDefaults();

        const QStringList warnings = m_log.texts("Warning");
        QCOMPARE(warnings.size(), 2);
        const QString failed = "EnumPrinters failed.  Last error=" + errorStart;
        for (const QString &warning : warnings)
            QVERIFY2(warning.startsWith(failed) && warning.size() > failed.size(),
                     qPrintable(warning));
        // No address was found, so the private lookup reports none.
        QCOMPARE(
            LogLines::of(m_log),
            (QStringList{line("Warning", 2, "getPrintServiceForOndrelPrinterPrivate", warnings[0]),
                         line("Info", 6, "getPrintServiceForOndrelPrinter",
                              "Print service address is 127.0.0.1"),
                         line("Warning", 2, "resetPerUserDefaults", warnings[1])}));
    }

    void sharedPrinterIsConnectedAndRemoved()
    {
        const QString share = onServer("\\\\%1\\virt");
        const QString queue = onServer("%1_virt");
        CupsPrinterConnector connector(&m_log, 5, 50, locks());
        QVERIFY(connector.addConnection(share));
        QCOMPARE(lpstat({"-v", queue}), onServer("device for %1_virt: ipp://%1/printers/virt"));
        QVERIFY2(lpstat({"-a", queue}).contains("accepting requests"), "not accepting jobs");
        QVERIFY(connector.addConnection(share)); // connecting again is no change and no failure
        QCOMPARE(LogLines::of(m_log).mid(0, 1),
                 QStringList{line("Info", 6, "addConnection", "Adding connection to " + share)});
        // The queue carries the server's description, so it is found as the virtual printer.
        QCOMPARE(connector.getPrintServiceForOndrelPrinter(), QStringLiteral("127.0.0.2"));

        m_log.clear();
        QVERIFY(connector.removeConnection(share));
        QCOMPARE(lpstat({"-v", queue}), QString());
        QVERIFY(!connector.removeConnection(share)); // what is gone cannot be removed twice
        const QString removing =
            line("Info", 6, "removeConnection", "Deleting connection to " + share);
        QCOMPARE(LogLines::of(m_log),
                 (QStringList{removing, removing,
                              line("Warning", 2, "removeConnection",
                                   "DeletePrinterConnection failed.  Last error=The printer or "
                                   "class does not exist.")}));
    }

    void exitKeepsQueuesOthersNeed_data()
    {
        QTest::addColumn<QString>("location"); // of a queue for the share made before; none if null
        QTest::addColumn<int>("clients");
        QTest::addColumn<QString>("kept");  // why the first client to leave keeps the queue
        QTest::addColumn<bool>("outlives"); // the queue is still there when the last one has left

        QTest::newRow("administrator's queue")
            << "Room 2" << 1 << "no print client created it" << true;
        QTest::newRow("the last of two clients removes it")
            << QString() << 2 << "another client may use it" << false;
        QTest::newRow("a client's queue nobody uses any more")
            << QString(CupsPrinterConnector::CreatedQueueLocation) << 1 << QString() << false;
    }
    void exitKeepsQueuesOthersNeed()
    {
        QFETCH(QString, location);
        QFETCH(int, clients);
        QFETCH(QString, kept);
        QFETCH(bool, outlives);
        const QString share = onServer("\\\\%1\\shared");
        const QString queue = onServer("%1_shared");
        if (!location.isNull())
            QVERIFY(addQueues({queue, onServer("ipp://%1/printers/shared"), "Made before"}) &&
                    m_local.run("lpadmin", {"-p", queue, "-L", location}));
        std::vector<std::unique_ptr<CupsPrinterConnector>> connectors;
        for (int i = 0; i < clients; ++i) {
            connectors.push_back(
                std::make_unique<CupsPrinterConnector>(i ? nullptr : &m_log, 5, 50, locks()));
            QVERIFY(connectors.back()->addConnection(share));
        }
        for (int i = 0; i < clients; ++i) {
            QVERIFY(connectors[i]->removeConnection(share));
            QCOMPARE(lpstat({"-v", queue}).isEmpty(), i + 1 == clients && !outlives);
        }
        const QStringList info{"Adding connection to " + share, "Deleting connection to " + share};
        QCOMPARE(m_log.texts("Info"),
                 kept.isEmpty() ? info
                                : info + QStringList{"Keeping the printer " + queue + ": " + kept});
        struct stat folder;
        QVERIFY(stat(qPrintable(locks()), &folder) == 0 && (folder.st_mode & 07777) == 01777);
    }

    void creationThatOverranGoesAtTheEnd()
    {
        const QString share = onServer("\\\\%1\\shared");
        const QString queue = onServer("%1_shared");
        // A client that is leaving holds the queue alone, so the connection waits past its limit.
        auto leaving = std::make_unique<QueueUseLock>(locks(), queue);
        QVERIFY2(leaving->takeAlone(), qPrintable(leaving->error()));
        CupsPrinterConnector connector(&m_log, 5, 50, locks());
        QVERIFY(!connector.addConnection(share));
        leaving.reset();
        QVERIFY(QTest::qWaitFor([&] { return !lpstat({"-v", queue}).isEmpty(); }, 20000));
        connector.onTerminate();
        QCOMPARE(lpstat({"-v", queue}), QString());
        QCOMPARE(m_log.texts("Warning"),
                 QStringList{"AddPrinterConnection failed.  Last "
                             "error=Timed out waiting for the print spooler"});
        QVERIFY(m_log.contains("Info", "Removed the printer " + queue +
                                           " left by a connection that failed"));
    }

    void refusedConnectionsChangeNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("ownQueue"); // the user's own queue with the connection's name

        QTest::newRow("not a share") << "Office" << QString();
        QTest::newRow("share unknown to the server") << "\\\\%1\\nosuch" << QString();
        QTest::newRow("server not reachable") << "\\\\127.0.0.2:1\\shared" << QString();
        QTest::newRow("queue name too long for CUPS")
            << "\\\\%1\\" + QString(118, u'x') << QString();
        QTest::newRow("characters CUPS refuses") << "\\\\%1\\bad\"name" << QString();
        QTest::newRow("queue name collides") << "\\\\%1\\shared" << QString("%1_shared");
    }
    void refusedConnectionsChangeNothing()
    {
        QFETCH(QString, name);
        QFETCH(QString, ownQueue);
        name = onServer(name);
        ownQueue = onServer(ownQueue);
        const QString mine = QStringLiteral("ipp://127.0.0.9/printers/mine");
        if (!ownQueue.isEmpty())
            QVERIFY(addQueues({ownQueue, mine, "Mine"}));

        CupsPrinterConnector connector(&m_log, 5, 50, locks());
        QVERIFY(!connector.addConnection(name));
        QVERIFY(!connector.removeConnection(name));
        const QStringList warnings = m_log.texts("Warning");
        QVERIFY2(warnings.size() == 2 &&
                     warnings[0].startsWith("AddPrinterConnection failed.  Last error=") &&
                     warnings[1].startsWith("DeletePrinterConnection failed.  Last error="),
                 qPrintable(warnings.join(u'\n')));
        QCOMPARE(lpstat({"-e"}), ownQueue);
        if (!ownQueue.isEmpty())
            QCOMPARE(lpstat({"-v", ownQueue}),
                     QStringLiteral("device for %1: %2").arg(ownQueue, mine));
    }

    void nonAdministratorIsRefused()
    {
        const QString queue = onServer("%1_shared");
        PrivateCupsd restricted;
        QVERIFY2(restricted.start(), qPrintable(restricted.errorText()));
        QVERIFY2(restricted.addQueue(queue, onServer("ipp://%1/printers/shared"), "x") &&
                     restricted.run("lpadmin", {"-p", queue, "-L",
                                                CupsPrinterConnector::CreatedQueueLocation}),
                 qPrintable(restricted.errorText()));
        // The same scheduler again, now with the caller outside its SystemGroup.
        QVERIFY2(restricted.start({QString(), false}), qPrintable(restricted.errorText()));
        restricted.exportEnvironment();

        CupsPrinterConnector connector(&m_log, 5, 50, locks());
        QVERIFY(!connector.addConnection(onServer("\\\\%1\\virt")));
        QVERIFY(!connector.removeConnection(onServer("\\\\%1\\shared")));
        const QStringList warnings = m_log.texts("Warning");
        QVERIFY2(
            warnings.size() == 2 &&
                warnings[0].startsWith("AddPrinterConnection failed.  Last error=Forbidden") &&
                warnings[1].startsWith("DeletePrinterConnection failed.  Last error=Forbidden"),
            qPrintable(warnings.join(u'\n')));
        QString output;
        QVERIFY(restricted.run("lpstat", {"-e"}, &output));
        QCOMPARE(output.trimmed(), queue);
    }

    void defaultPrinterFollowsTheRequest_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("lpdest");
        QTest::addColumn<QString>("written"); // the user's default in lpoptions afterwards
        QTest::addColumn<QString>("reads");   // what getDefaultPrinter gives afterwards
        QTest::addColumn<QStringList>("noted");

        const QString set = QStringLiteral("setDefaultPrinter");
        const QString none;
        QTest::newRow("queue name") << "beta" << none << "beta" << QString("beta") << QStringList{};
        QTest::newRow("share path of a connection")
            << "\\\\%1\\shared" << none << "%1_shared" << QString("%1_shared") << QStringList{};
        QTest::newRow("empty name starts no worker")
            << none << none << "alpha" << QString("alpha")
            << QStringList{line("Info", 6, set, "Printer name is empty")};
        // libcups lets the variable outrank lpoptions.
        QTest::newRow("LPDEST overrides")
            << "beta" << QString("alpha") << "beta" << QString("alpha")
            << QStringList{line("Warning", 2, set, "LPDEST=alpha overrides the default printer")};
    }
    void defaultPrinterFollowsTheRequest()
    {
        QFETCH(QString, name);
        QFETCH(QString, lpdest);
        QFETCH(QString, written);
        QFETCH(QString, reads);
        QFETCH(QStringList, noted);
        QVERIFY(addAlphaBeta("alpha"));
        CupsPrinterConnector connector(&m_log, 5, 50, locks());
        QVERIFY(connector.addConnection(onServer("\\\\%1\\shared")));
        QCOMPARE(connector.getDefaultPrinter(), QStringLiteral("alpha"));
        if (!lpdest.isEmpty())
            qputenv("LPDEST", lpdest.toUtf8());
        m_log.clear();

        connector.setDefaultPrinter(onServer(name));
        QVERIFY(!name.isEmpty() || !CupsPrinterConnector::isSettingDefaultPrinter());
        QVERIFY(workerEnded());
        QCOMPARE(connector.getDefaultPrinter(), onServer(reads));
        QVERIFY2(lpoptions().contains("Default " + onServer(written)), qPrintable(lpoptions()));
        QCOMPARE(LogLines::of(m_log),
                 noted + QStringList{line("Info", 6, "getDefaultPrinter",
                                          "Default printer is " + onServer(reads))});
    }

    void requestWhileWorkerRunsIsDropped()
    {
        QVERIFY(addAlphaBeta("beta"));
        CupsPrinterConnector connector(&m_log, 3000, 20);
        // A queue that does not exist keeps the worker retrying until the queue is there.
        connector.setDefaultPrinter(QStringLiteral("late"));
        QVERIFY(CupsPrinterConnector::isSettingDefaultPrinter());
        connector.setDefaultPrinter(QStringLiteral("alpha"));
        QVERIFY(addQueues({"late", "file:///dev/null", "l"}));
        QVERIFY(workerEnded());
        QCOMPARE(LogLines::of(m_log), QStringList()); // the worker ends silently
        QCOMPARE(connector.getDefaultPrinter(), QStringLiteral("late"));

        // Once the worker has ended, a request is taken again.
        connector.setDefaultPrinter(QStringLiteral("alpha"));
        QVERIFY(workerEnded());
        QCOMPARE(connector.getDefaultPrinter(), QStringLiteral("alpha"));
    }

    void destructionEndsTheWorkerAfterItsAttempt_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("retrying");
        QTest::addColumn<QString>("defaultPrinter");

        // Waiting for the ten-minute interval would run into the test's time-out.
        QTest::newRow("failed attempt, interval not awaited") << "missing" << true << "alpha";
        // As at shutdown: the default printer is restored, then the connector goes.
        QTest::newRow("request just before destruction is made") << "beta" << false << "beta";
    }
    void destructionEndsTheWorkerAfterItsAttempt()
    {
        QFETCH(QString, name);
        QFETCH(bool, retrying);
        QFETCH(QString, defaultPrinter);
        QVERIFY(addAlphaBeta("alpha"));
        {
            CupsPrinterConnector connector(nullptr, 5, 600000);
            connector.setDefaultPrinter(name);
            QVERIFY(!retrying || CupsPrinterConnector::isSettingDefaultPrinter());
        }
        QVERIFY(!CupsPrinterConnector::isSettingDefaultPrinter());
        QCOMPARE(CupsPrinterConnector(nullptr).getDefaultPrinter(), defaultPrinter);
    }

    void everyVirtualPrinterIsReset()
    {
        QVERIFY(
            addQueues({"first", "file:///dev/null", Virtual, "second", "ipp://127.0.0.7/printers/q",
                       Virtual, "office", "file:///dev/null", "Office"}));
        QVERIFY(m_local.run("lpoptions", {"-p", "first", "-o", "sides=two-sided-long-edge"}));
        QVERIFY(m_local.run("lpoptions", {"-p", "second", "-o", "number-up=2"}));
        QVERIFY(m_local.run("lpoptions", {"-p", "office", "-o", "number-up=4"}));
        QVERIFY(m_local.run("lpoptions", {"-d", "second"}));
        QVERIFY2(lpoptions().contains("number-up=2"), qPrintable(lpoptions()));

        CupsPrinterConnector connector(&m_log);
        connector.resetPerUserDefaults();

        // Both virtual printers lose their options and keep the default; the others keep theirs.
        const QString options = lpoptions();
        QVERIFY2(!options.contains("sides=") && !options.contains("number-up=2") &&
                     options.contains("Dest office number-up=4") &&
                     options.contains(QRegularExpression("^Default second$",
                                                         QRegularExpression::MultilineOption)),
                 qPrintable(options));
        const QStringList onePrinter{
            line("Info", 6, "resetPrinter",
                 "Calling SetPrinter to overwrite the per-user defaults with global defaults"),
            line("Verbose", 9, "resetPrinter", "SetPrinter succeeded")};
        QCOMPARE(LogLines::of(m_log), onePrinter + onePrinter);
    }
};

QTEST_MAIN(TestCupsPrinterConnector)
#include "tst_cupsprinterconnector.moc"
