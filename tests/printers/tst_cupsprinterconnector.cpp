#include "app/ObservableEvent.h"
#include "printers/CupsPrinterConnector.h"
#include "printers/CupsSpooler.h"

#include "PrivateCupsd.h"
#include "RecordingObserver.h"

#include <QLocalServer>
#include <QRegularExpression>
#include <QtTest>

#include <memory>

namespace {

const QString Virtual = QStringLiteral("Brindlecore Virtual Printer");
const QString Source = QStringLiteral("CupsPrinterConnector");

// One expected log line: type, level, the operation of its origin and its text.
struct Line
{
    QString type;
    int level;
    QString method;
    QString text;
};

Line trace(const QString &when, const QString &method)
{
    return {QStringLiteral("Trace"), 9, method,
            QStringLiteral("%1: CupsPrinterConnector::%2").arg(when, method)};
}

void compareLines(const QList<UtilsLib::ObservableEvent> &events, const QList<Line> &expected)
{
    QStringList got;
    for (const auto &event : events)
        got << event.type() + u' ' + event.text();
    QVERIFY2(events.size() == expected.size(), qPrintable(got.join(u'\n')));
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QCOMPARE(events[i].text(), expected[i].text);
        QCOMPARE(events[i].type(), expected[i].type);
        QCOMPARE(int(events[i].level()), expected[i].level);
        QCOMPARE(events[i].source(), Source);
        QCOMPARE(events[i].className(), Source);
        QCOMPARE(events[i].methodName(), expected[i].method);
    }
}

} // namespace

// The connector against real schedulers: a private cupsd as the workstation's spooler and a
// second one on 127.0.0.2 as the print server whose queues are shared.
class TestCupsPrinterConnector : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void addressFollowsTheFirstVirtualPrinter_data();
    void addressFollowsTheFirstVirtualPrinter();
    void serverOfAQueue_data();
    void serverOfAQueue();
    void listingFailuresFallBackToThisComputer_data();
    void listingFailuresFallBackToThisComputer();

    void sharedPrinterIsConnectedAndRemoved_data();
    void sharedPrinterIsConnectedAndRemoved();
    void connectedVirtualPrinterGivesItsServer();
    void refusedConnections_data();
    void refusedConnections();
    void collidingQueueIsLeftAlone();
    void nonAdministratorIsRefused();

    void defaultPrinterIsSetAndReadBack_data();
    void defaultPrinterIsSetAndReadBack();
    void emptyNameStartsNoWorker();
    void requestWhileWorkerRunsIsDropped();
    void workerEndsSilentlyAfterItsAttempts();
    void destructionDoesNotWaitForTheInterval();
    void requestJustBeforeDestructionIsStillMade();
    void environmentOverrideIsLogged();

    void everyVirtualPrinterIsReset();
    void resetWithoutSchedulerWarns();

private:
    QString queueDevice(const QString &queue);
    QString lpoptions();

    PrivateCupsd m_local;
    PrivateCupsd m_server;
    QString m_serverAddress; // "127.0.0.2:port"
};

void TestCupsPrinterConnector::initTestCase()
{
    // These tests need a real scheduler: without cupsd they fail here, never pass quietly.
    QVERIFY2(m_local.start(), qPrintable(m_local.errorText()));
    QVERIFY2(m_server.start({QStringLiteral("127.0.0.2"), true}), qPrintable(m_server.errorText()));
    m_serverAddress = QStringLiteral("127.0.0.2:%1").arg(m_server.port());
    QVERIFY2(m_server.addQueue("shared", "file:///dev/null", "Shared by the server", true),
             qPrintable(m_server.errorText()));
    QVERIFY2(m_server.addQueue("virt", "file:///dev/null", Virtual, true),
             qPrintable(m_server.errorText()));
    // Its local connection queue would be longer than the 127 bytes CUPS allows in a name.
    QVERIFY2(m_server.addQueue(QString(118, u'x'), "file:///dev/null", "long", true),
             qPrintable(m_server.errorText()));
}

void TestCupsPrinterConnector::init()
{
    QVERIFY2(!CupsPrinterConnector::isSettingDefaultPrinter(), "a worker of an earlier test runs");
    m_local.exportEnvironment();
    QVERIFY2(m_local.clear(), qPrintable(m_local.errorText()));
}

QString TestCupsPrinterConnector::queueDevice(const QString &queue)
{
    QString output;
    if (!m_local.run("lpstat", {"-v", queue}, &output))
        return QString();
    const QString prefix = QStringLiteral("device for %1: ").arg(queue);
    return output.startsWith(prefix) ? output.mid(prefix.size()).trimmed() : QString();
}

QString TestCupsPrinterConnector::lpoptions()
{
    QFile file(QDir(m_local.homePath()).filePath(".cups/lpoptions"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void TestCupsPrinterConnector::addressFollowsTheFirstVirtualPrinter_data()
{
    QTest::addColumn<QStringList>("queues"); // name, device URI, description, ...
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("address");

    QTest::newRow("no queue at all") << QStringList{} << ""
                                     << "127.0.0.1";
    QTest::newRow("no virtual printer")
        << QStringList{"office", "ipp://127.0.0.3/printers/q", "Office laser"} << ""
        << "127.0.0.1";
    QTest::newRow("description is case-sensitive")
        << QStringList{"office", "ipp://127.0.0.3/printers/q", "brindlecore virtual printer"} << ""
        << "127.0.0.1";
    QTest::newRow("local virtual printer")
        << QStringList{"ondrel", "file:///dev/null", Virtual} << "127.0.0.1"
        << "127.0.0.1";
    QTest::newRow("remote over ipp")
        << QStringList{"ondrel", "ipp://127.0.0.2/printers/q", Virtual} << "127.0.0.2"
        << "127.0.0.2";
    QTest::newRow("remote over socket")
        << QStringList{"ondrel", "socket://127.0.0.4:9100", Virtual} << "127.0.0.4"
        << "127.0.0.4";
    QTest::newRow("remote over http")
        << QStringList{"ondrel", "http://127.0.0.5:631/printers/q", Virtual} << "127.0.0.5"
        << "127.0.0.5";
    QTest::newRow("host name is resolved")
        << QStringList{"ondrel", "ipps://localhost:8631/printers/q", Virtual} << "localhost"
        << "127.0.0.1";
    QTest::newRow("unresolvable host")
        << QStringList{"ondrel", "ipp://printserver.invalid/printers/q", Virtual}
        << "printserver.invalid"
        << "0.0.0.0";
    QTest::newRow("first in listing order: remote")
        << QStringList{"a_ondrel", "ipp://127.0.0.6/printers/q", Virtual,
                       "b_ondrel", "file:///dev/null",           Virtual}
        << "127.0.0.6"
        << "127.0.0.6";
    QTest::newRow("first in listing order: local")
        << QStringList{"a_ondrel", "file:///dev/null",           Virtual,
                       "b_ondrel", "ipp://127.0.0.6/printers/q", Virtual}
        << "127.0.0.1"
        << "127.0.0.1";
}

void TestCupsPrinterConnector::addressFollowsTheFirstVirtualPrinter()
{
    QFETCH(QStringList, queues);
    QFETCH(QString, server);
    QFETCH(QString, address);
    for (qsizetype i = 0; i + 2 < queues.size(); i += 3)
        QVERIFY2(m_local.addQueue(queues[i], queues[i + 1], queues[i + 2]),
                 qPrintable(m_local.errorText()));

    RecordingObserver log;
    CupsPrinterConnector connector(&log);
    QCOMPARE(connector.getPrintServiceForOndrelPrinter(), address);

    const QString outer = QStringLiteral("getPrintServiceForOndrelPrinter");
    const QString inner = QStringLiteral("getPrintServiceForOndrelPrinterPrivate");
    compareLines(log.events(),
                 {trace("Enter", outer),
                  trace("Enter", inner),
                  {"Verbose", 9, inner, QStringLiteral("Print Service address is %1").arg(server)},
                  trace("Exit", inner),
                  {"Info", 6, outer, QStringLiteral("Print service address is %1").arg(address)},
                  trace("Exit", outer)});
}

void TestCupsPrinterConnector::serverOfAQueue_data()
{
    QTest::addColumn<QString>("deviceUri");
    QTest::addColumn<QString>("printerUri");
    QTest::addColumn<QString>("server");

    const QString local = QStringLiteral("ipp://localhost/printers/q");
    QTest::newRow("ipp device") << "ipp://ps.example.com/printers/q" << local << "ps.example.com";
    QTest::newRow("https device") << "https://10.1.2.3:443/ipp/print" << local << "10.1.2.3";
    QTest::newRow("ipv6 device") << "ipp://[fd00::5]:631/printers/q" << local << "fd00::5";
    QTest::newRow("local device") << "file:///dev/null" << local << "";
    QTest::newRow("usb device") << "usb://Maker/Model?serial=1" << local << "";
    // A queue of a scheduler on another computer names that computer in its own address.
    QTest::newRow("queue of a remote scheduler") << "file:///dev/null"
                                                 << "ipp://ps.example.com:631/printers/q"
                                                 << "ps.example.com";
    QTest::newRow("queue reached through a socket") << ""
                                                    << "ipp:///run/cups/cups.sock/printers/q"
                                                    << "";
    QTest::newRow("nothing known") << ""
                                   << ""
                                   << "";
}

void TestCupsPrinterConnector::serverOfAQueue()
{
    QFETCH(QString, deviceUri);
    QFETCH(QString, printerUri);
    QFETCH(QString, server);
    CupsSpooler::Queue queue;
    queue.deviceUri = deviceUri;
    queue.printerUri = printerUri;
    QCOMPARE(queue.server(), server);
}

void TestCupsPrinterConnector::listingFailuresFallBackToThisComputer_data()
{
    QTest::addColumn<bool>("answers");

    QTest::newRow("no scheduler") << false;
    QTest::newRow("scheduler that accepts but never answers") << true;
}

void TestCupsPrinterConnector::listingFailuresFallBackToThisComputer()
{
    QFETCH(bool, answers);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString socket = folder.filePath("cups.sock");
    QLocalServer silent;
    if (answers)
        QVERIFY(silent.listen(socket));
    qputenv("CUPS_SERVER", socket.toUtf8());

    RecordingObserver log;
    CupsPrinterConnector connector(&log);
    QCOMPARE(connector.getPrintServiceForOndrelPrinter(), QStringLiteral("127.0.0.1"));

    const QString outer = QStringLiteral("getPrintServiceForOndrelPrinter");
    const QString inner = QStringLiteral("getPrintServiceForOndrelPrinterPrivate");
    const QList<UtilsLib::ObservableEvent> events = log.events();
    QCOMPARE(events.size(), 6);
    QCOMPARE(events[2].type(), QStringLiteral("Warning"));
    QCOMPARE(events[2].methodName(), inner);
    QVERIFY2(events[2].text().startsWith("EnumPrinters failed.  Last error="),
             qPrintable(events[2].text()));
    QVERIFY(events[2].text().size() > QStringLiteral("EnumPrinters failed.  Last error=").size());
    // No address was found, so the private lookup reports none.
    QVERIFY(!log.texts("Verbose").join(u'\n').contains("Print Service address is"));
    QCOMPARE(events[4].text(), QStringLiteral("Print service address is 127.0.0.1"));
}

void TestCupsPrinterConnector::sharedPrinterIsConnectedAndRemoved_data()
{
    QTest::addColumn<QString>("form");

    QTest::newRow("backslashes") << "\\\\%1\\shared";
    QTest::newRow("forward slashes") << "//%1/shared";
    QTest::newRow("ipp address") << "ipp://%1/printers/shared";
}

void TestCupsPrinterConnector::sharedPrinterIsConnectedAndRemoved()
{
    QFETCH(QString, form);
    const QString share = form.arg(m_serverAddress);
    const QString queue = m_serverAddress + QStringLiteral("_shared");
    const QString device = QStringLiteral("ipp://%1/printers/shared").arg(m_serverAddress);

    RecordingObserver log;
    CupsPrinterConnector connector(&log);
    QVERIFY(connector.addConnection(share));
    QCOMPARE(queueDevice(queue), device);
    QString output;
    QVERIFY(m_local.run("lpstat", {"-l", "-p", queue}, &output));
    QVERIFY2(output.contains("Description: Shared by the server"), qPrintable(output));
    QVERIFY(m_local.run("lpstat", {"-a", queue}, &output));
    QVERIFY2(output.contains("accepting requests"), qPrintable(output));
    // Connecting again is no change and no failure.
    QVERIFY(connector.addConnection(share));

    QVERIFY(connector.removeConnection(share));
    QCOMPARE(queueDevice(queue), QString());
    // What is gone cannot be removed twice.
    QVERIFY(!connector.removeConnection(share));

    const QString add = QStringLiteral("addConnection");
    const QString remove = QStringLiteral("removeConnection");
    const QList<UtilsLib::ObservableEvent> events = log.events();
    QVERIFY(events.size() > 12);
    compareLines(events.mid(0, 4), {trace("Enter", add),
                                    {"Info", 6, add, "Adding connection to " + share},
                                    trace("Exit", add),
                                    trace("Enter", add)});
    compareLines(events.mid(6, 4), {trace("Enter", remove),
                                    {"Info", 6, remove, "Deleting connection to " + share},
                                    trace("Exit", remove),
                                    trace("Enter", remove)});
    QCOMPARE(events[11].type(), QStringLiteral("Warning"));
    QVERIFY(events[11].text().startsWith("DeletePrinterConnection failed.  Last error="));
}

void TestCupsPrinterConnector::connectedVirtualPrinterGivesItsServer()
{
    CupsPrinterConnector connector(nullptr);
    QCOMPARE(connector.getPrintServiceForOndrelPrinter(), QStringLiteral("127.0.0.1"));
    const QString share = QStringLiteral("\\\\%1\\virt").arg(m_serverAddress);
    QVERIFY(connector.addConnection(share));
    // The connection carries the server's description, so it is found as the virtual printer.
    QCOMPARE(connector.getPrintServiceForOndrelPrinter(), QStringLiteral("127.0.0.2"));
    QVERIFY(connector.removeConnection(share));
}

void TestCupsPrinterConnector::refusedConnections_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("not a share") << "Office";
    QTest::newRow("empty") << "";
    QTest::newRow("share unknown to the server") << "\\\\%1\\nosuch";
    QTest::newRow("server not reachable") << "\\\\127.0.0.2:1\\shared";
    QTest::newRow("queue name too long for CUPS") << "\\\\%1\\" + QString(118, u'x');
    QTest::newRow("characters CUPS refuses") << "\\\\%1\\bad\"name";
}

void TestCupsPrinterConnector::refusedConnections()
{
    QFETCH(QString, name);
    if (name.contains("%1"))
        name = name.arg(m_serverAddress);

    RecordingObserver log;
    CupsPrinterConnector connector(&log);
    QVERIFY(!connector.addConnection(name));
    const QStringList warnings = log.texts("Warning");
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings[0].startsWith("AddPrinterConnection failed.  Last error="),
             qPrintable(warnings[0]));
    QString output;
    m_local.run("lpstat", {"-e"}, &output);
    QCOMPARE(output.trimmed(), QString());
}

void TestCupsPrinterConnector::collidingQueueIsLeftAlone()
{
    // A queue of the user's own that happens to carry the name a connection would get.
    const QString queue = m_serverAddress + QStringLiteral("_shared");
    const QString mine = QStringLiteral("ipp://127.0.0.9/printers/mine");
    QVERIFY2(m_local.addQueue(queue, mine, "Mine"), qPrintable(m_local.errorText()));
    const QString share = QStringLiteral("\\\\%1\\shared").arg(m_serverAddress);

    RecordingObserver log;
    CupsPrinterConnector connector(&log);
    QVERIFY(!connector.addConnection(share));
    QVERIFY(!connector.removeConnection(share));
    QCOMPARE(queueDevice(queue), mine);
    QCOMPARE(log.texts("Warning").size(), 2);
}

void TestCupsPrinterConnector::nonAdministratorIsRefused()
{
    const QString share = QStringLiteral("\\\\%1\\shared").arg(m_serverAddress);
    const QString queue = m_serverAddress + QStringLiteral("_shared");
    PrivateCupsd restricted;
    QVERIFY2(restricted.start(), qPrintable(restricted.errorText()));
    QVERIFY2(restricted.addQueue(queue, "ipp://" + m_serverAddress + "/printers/shared", "x"),
             qPrintable(restricted.errorText()));
    // The same scheduler again, now with the caller outside its SystemGroup.
    QVERIFY2(restricted.start({QString(), false}), qPrintable(restricted.errorText()));
    restricted.exportEnvironment();

    RecordingObserver log;
    CupsPrinterConnector connector(&log);
    QVERIFY(!connector.addConnection(QStringLiteral("\\\\%1\\virt").arg(m_serverAddress)));
    QVERIFY(!connector.removeConnection(share));
    const QStringList warnings = log.texts("Warning");
    QCOMPARE(warnings.size(), 2);
    QVERIFY2(warnings[0].startsWith("AddPrinterConnection failed.  Last error=Forbidden"),
             qPrintable(warnings[0]));
    QVERIFY2(warnings[1].startsWith("DeletePrinterConnection failed.  Last error=Forbidden"),
             qPrintable(warnings[1]));
    QString output;
    QVERIFY(restricted.run("lpstat", {"-e"}, &output));
    QCOMPARE(output.trimmed(), queue);
}

void TestCupsPrinterConnector::defaultPrinterIsSetAndReadBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("queue");

    QTest::newRow("queue name") << "beta"
                                << "beta";
    QTest::newRow("share path of a connection") << "\\\\%1\\shared"
                                                << "%1_shared";
}

void TestCupsPrinterConnector::defaultPrinterIsSetAndReadBack()
{
    QFETCH(QString, name);
    QFETCH(QString, queue);
    name = name.contains("%1") ? name.arg(m_serverAddress) : name;
    queue = queue.contains("%1") ? queue.arg(m_serverAddress) : queue;
    QVERIFY2(m_local.addQueue("alpha", "file:///dev/null", "a"), qPrintable(m_local.errorText()));
    QVERIFY2(m_local.addQueue("beta", "file:///dev/null", "b"), qPrintable(m_local.errorText()));
    QVERIFY(m_local.run("lpoptions", {"-d", "alpha"}));

    RecordingObserver log;
    CupsPrinterConnector connector(&log, 5, 50);
    QVERIFY(connector.addConnection(QStringLiteral("\\\\%1\\shared").arg(m_serverAddress)));
    QCOMPARE(connector.getDefaultPrinter(), QStringLiteral("alpha"));
    log.clear();

    connector.setDefaultPrinter(name);
    QTRY_VERIFY_WITH_TIMEOUT(!CupsPrinterConnector::isSettingDefaultPrinter(), 20000);
    QCOMPARE(connector.getDefaultPrinter(), queue);
    compareLines(log.events(), {trace("Enter", "setDefaultPrinter"),
                                trace("Exit", "setDefaultPrinter"),
                                trace("Enter", "getDefaultPrinter"),
                                {"Info", 6, "getDefaultPrinter", "Default printer is " + queue},
                                trace("Exit", "getDefaultPrinter")});
    QVERIFY(lpoptions().contains("Default " + queue));
}

void TestCupsPrinterConnector::emptyNameStartsNoWorker()
{
    RecordingObserver log;
    CupsPrinterConnector connector(&log);
    connector.setDefaultPrinter(QString());
    QVERIFY(!CupsPrinterConnector::isSettingDefaultPrinter());
    compareLines(log.events(), {trace("Enter", "setDefaultPrinter"),
                                {"Info", 6, "setDefaultPrinter", "Printer name is empty"},
                                trace("Exit", "setDefaultPrinter")});
}

void TestCupsPrinterConnector::requestWhileWorkerRunsIsDropped()
{
    QVERIFY2(m_local.addQueue("alpha", "file:///dev/null", "a"), qPrintable(m_local.errorText()));
    QVERIFY2(m_local.addQueue("beta", "file:///dev/null", "b"), qPrintable(m_local.errorText()));
    QVERIFY(m_local.run("lpoptions", {"-d", "beta"}));

    CupsPrinterConnector connector(nullptr, 100, 20);
    // A queue that does not exist keeps the worker retrying for a while.
    connector.setDefaultPrinter(QStringLiteral("missing"));
    QVERIFY(CupsPrinterConnector::isSettingDefaultPrinter());
    connector.setDefaultPrinter(QStringLiteral("alpha"));
    QTRY_VERIFY_WITH_TIMEOUT(!CupsPrinterConnector::isSettingDefaultPrinter(), 30000);
    QCOMPARE(connector.getDefaultPrinter(), QStringLiteral("beta"));

    // Once the worker has ended, a request is taken again.
    connector.setDefaultPrinter(QStringLiteral("alpha"));
    QTRY_VERIFY_WITH_TIMEOUT(!CupsPrinterConnector::isSettingDefaultPrinter(), 20000);
    QCOMPARE(connector.getDefaultPrinter(), QStringLiteral("alpha"));
}

void TestCupsPrinterConnector::workerEndsSilentlyAfterItsAttempts()
{
    QVERIFY2(m_local.addQueue("alpha", "file:///dev/null", "a"), qPrintable(m_local.errorText()));
    QVERIFY(m_local.run("lpoptions", {"-d", "alpha"}));
    RecordingObserver log;
    CupsPrinterConnector connector(&log, 3, 20);
    connector.setDefaultPrinter(QStringLiteral("missing"));
    QTRY_VERIFY_WITH_TIMEOUT(!CupsPrinterConnector::isSettingDefaultPrinter(), 20000);
    compareLines(log.events(),
                 {trace("Enter", "setDefaultPrinter"), trace("Exit", "setDefaultPrinter")});
    QCOMPARE(connector.getDefaultPrinter(), QStringLiteral("alpha"));
}

void TestCupsPrinterConnector::destructionDoesNotWaitForTheInterval()
{
    {
        // Ten minutes between attempts: waiting for the interval would run into the test's
        // time-out.
        CupsPrinterConnector connector(nullptr, 5, 600000);
        connector.setDefaultPrinter(QStringLiteral("missing"));
        QVERIFY(CupsPrinterConnector::isSettingDefaultPrinter());
    }
    QVERIFY(!CupsPrinterConnector::isSettingDefaultPrinter());
}

void TestCupsPrinterConnector::requestJustBeforeDestructionIsStillMade()
{
    QVERIFY2(m_local.addQueue("alpha", "file:///dev/null", "a"), qPrintable(m_local.errorText()));
    QVERIFY2(m_local.addQueue("beta", "file:///dev/null", "b"), qPrintable(m_local.errorText()));
    QVERIFY(m_local.run("lpoptions", {"-d", "alpha"}));
    {
        // As at shutdown: the default printer is restored, then the connector goes.
        CupsPrinterConnector connector(nullptr, 5, 600000);
        connector.setDefaultPrinter(QStringLiteral("beta"));
    }
    QVERIFY(!CupsPrinterConnector::isSettingDefaultPrinter());
    CupsPrinterConnector reader(nullptr);
    QCOMPARE(reader.getDefaultPrinter(), QStringLiteral("beta"));
}

void TestCupsPrinterConnector::environmentOverrideIsLogged()
{
    QVERIFY2(m_local.addQueue("alpha", "file:///dev/null", "a"), qPrintable(m_local.errorText()));
    QVERIFY2(m_local.addQueue("beta", "file:///dev/null", "b"), qPrintable(m_local.errorText()));
    qputenv("LPDEST", "alpha");

    RecordingObserver log;
    CupsPrinterConnector connector(&log, 3, 20);
    connector.setDefaultPrinter(QStringLiteral("beta"));
    QTRY_VERIFY_WITH_TIMEOUT(!CupsPrinterConnector::isSettingDefaultPrinter(), 20000);
    QCOMPARE(log.texts("Warning"), QStringList{"LPDEST=alpha overrides the default printer"});
    // lpoptions has the change, yet the variable still decides.
    QVERIFY(lpoptions().contains("Default beta"));
    QCOMPARE(connector.getDefaultPrinter(), QStringLiteral("alpha"));
    qunsetenv("LPDEST");
}

void TestCupsPrinterConnector::everyVirtualPrinterIsReset()
{
    QVERIFY2(m_local.addQueue("first", "file:///dev/null", Virtual),
             qPrintable(m_local.errorText()));
    QVERIFY2(m_local.addQueue("second", "ipp://127.0.0.7/printers/q", Virtual),
             qPrintable(m_local.errorText()));
    QVERIFY2(m_local.addQueue("office", "file:///dev/null", "Office"),
             qPrintable(m_local.errorText()));
    QVERIFY(m_local.run("lpoptions", {"-p", "first", "-o", "sides=two-sided-long-edge"}));
    QVERIFY(m_local.run("lpoptions", {"-p", "second", "-o", "number-up=2"}));
    QVERIFY(m_local.run("lpoptions", {"-p", "office", "-o", "number-up=4"}));
    QVERIFY(m_local.run("lpoptions", {"-d", "second"}));
    QVERIFY2(lpoptions().contains("number-up=2"), qPrintable(lpoptions()));

    RecordingObserver log;
    CupsPrinterConnector connector(&log);
    connector.resetPerUserDefaults();

    const QString options = lpoptions();
    QVERIFY2(!options.contains("sides=") && !options.contains("number-up=2"), qPrintable(options));
    QVERIFY2(options.contains("Dest office number-up=4"), qPrintable(options));
    QVERIFY2(options.contains(
                 QRegularExpression("^Default second$", QRegularExpression::MultilineOption)),
             qPrintable(options));

    const QString reset = QStringLiteral("resetPerUserDefaults");
    const QString printer = QStringLiteral("resetPrinter");
    const QList<Line> onePrinter{
        trace("Enter", printer),
        {"Info", 6, printer,
         "Calling SetPrinter to overwrite the per-user defaults with global defaults"},
        {"Verbose", 9, printer, "SetPrinter succeeded"},
        trace("Exit", printer)};
    compareLines(log.events(), QList<Line>{trace("Enter", reset)} + onePrinter + onePrinter +
                                   QList<Line>{trace("Exit", reset)});
}

void TestCupsPrinterConnector::resetWithoutSchedulerWarns()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    qputenv("CUPS_SERVER", folder.filePath("none.sock").toUtf8());
    RecordingObserver log;
    CupsPrinterConnector connector(&log);
    connector.resetPerUserDefaults();
    const QStringList warnings = log.texts("Warning");
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings[0].startsWith("EnumPrinters failed.  Last error=Unable to connect to "),
             qPrintable(warnings[0]));
    QCOMPARE(log.events().size(), 3);
}

QTEST_MAIN(TestCupsPrinterConnector)
#include "tst_cupsprinterconnector.moc"
