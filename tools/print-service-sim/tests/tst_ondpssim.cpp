#include "SimProcess.h"

#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

// This program's own loopback address (the Print Service port is fixed).
static const QString Address = QStringLiteral("127.0.0.6");

namespace {

// Plays the client's side by hand: raw bytes, so framing can be exercised.
class RawClient
{
public:
    bool connect()
    {
        m_socket.connectToHost(Address, 21326);
        return m_socket.waitForConnected(5000);
    }
    void write(const QByteArray &bytes)
    {
        m_socket.write(bytes);
        m_socket.flush();
    }
    // The texts received so far, without their NULs; waits for at least count of them.
    QList<QByteArray> texts(int count)
    {
        // A short answer shows in the caller's comparison.
        (void)QTest::qWaitFor(
            [&] {
                m_received += m_socket.readAll();
                return m_received.count('\0') >= count ||
                       m_socket.state() == QAbstractSocket::UnconnectedState;
            },
            5000);
        m_received += m_socket.readAll();
        QList<QByteArray> pieces = m_received.split('\0');
        pieces.removeLast();
        return pieces;
    }
    bool waitForClose()
    {
        return QTest::qWaitFor(
            [&] { return m_socket.state() == QAbstractSocket::UnconnectedState; }, 5000);
    }

private:
    QTcpSocket m_socket;
    QByteArray m_received;
};

const QString Stamp = QStringLiteral("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}");

} // namespace

class TestOndpsSim : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void helpDescribesTheSteps();
    void usageErrors_data();
    void usageErrors();
    void scriptedConversation();
    void unmetExpectations_data();
    void unmetExpectations();
    void framesTextsLikeTheClient();
    void closeRefusesUntilReopen();
    void interactivePrompt();

private:
    QString writeScript(const QString &text);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestOndpsSim::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString TestOndpsSim::writeScript(const QString &text)
{
    const QString path = m_dir->filePath("script.txt");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(text.toUtf8());
    return path;
}

void TestOndpsSim::helpDescribesTheSteps()
{
    QProcess process;
    process.start(ONDPS_SIM_PATH, {"--help"});
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 0);
    const QString help = QString::fromUtf8(process.readAllStandardOutput());
    for (const char *word :
         {"expect <regex>", "send <text>", "wait <ms>", "close", "reopen", "--listen", "--port",
          "--script", "--timeout", "--log", "Exit status"}) {
        QVERIFY2(help.contains(word), word);
    }
}

void TestOndpsSim::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown option") << QStringList{"--bogus"} << QString() << "Unknown option";
    QTest::newRow("port") << QStringList{"--port", "70000"} << QString() << "not a port";
    QTest::newRow("address") << QStringList{"--listen", "example.org"} << QString()
                             << "not an IP address";
    QTest::newRow("time-out") << QStringList{"--timeout", "soon"} << QString() << "not a time-out";
    QTest::newRow("missing script") << QStringList{"--script", "/nonexistent/script"} << QString()
                                    << "cannot read /nonexistent/script";
    QTest::newRow("bad script line") << QStringList{} << "send a\nexpekt b\n"
                                     << "script.txt: line 2: unknown step \"expekt\"";
    QTest::newRow("address not on this machine")
        << QStringList{"--listen", "192.0.2.1"} << QString() << "cannot listen on 192.0.2.1";
}

void TestOndpsSim::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, script);
    QFETCH(QString, message);

    if (!script.isEmpty())
        arguments << "--script" << writeScript(script);
    if (!arguments.contains("--listen"))
        arguments << "--listen" << Address;
    QProcess process;
    process.start(ONDPS_SIM_PATH, arguments);
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 2);
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(errors.contains(message), qPrintable(errors));
}

void TestOndpsSim::scriptedConversation()
{
    const QString log = m_dir->filePath("traffic.log");
    const QString script = writeScript("# greeting, settings and the answer\n"
                                       "expect register:jo:PC-1\n"
                                       "send 58|${NOW}|Qen_us\n"
                                       "expect 59\\|\\d{14}\\|Aen_us\n"
                                       "wait 50\n"
                                       "send No Response\n");
    SimProcess sim;
    QVERIFY(sim.start({"--listen", Address, "--script", script, "--log", log}));
    RawClient client;
    QVERIFY(client.connect());
    client.write(QByteArray("register:jo:PC-1\0", 17));
    const QList<QByteArray> settings = client.texts(1);
    QCOMPARE(settings.size(), 1);
    QVERIFY2(QRegularExpression("58\\|\\d{14}\\|Qen_us").match(settings[0]).hasMatch(),
             settings[0]);
    client.write("59|20250201090503|Aen_us" + QByteArray(1, '\0'));
    QCOMPARE(client.texts(2).value(1), QByteArray("No Response"));

    QVERIFY(sim.finish());
    QCOMPARE(sim.exitCode(), 0);
    QVERIFY(sim.output().isEmpty()); // the traffic went to the file
    QFile file(log);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString traffic = QString::fromUtf8(file.readAll());
    for (const QString &line :
         QStringList{"#1 < register:jo:PC-1", "#1 > 58\\|\\d{14}\\|Qen_us",
                     "#1 < 59\\|20250201090503\\|Aen_us", "#1 > No Response"}) {
        QVERIFY2(
            QRegularExpression("(^|\\n)" + Stamp + " " + line + "\\n").match(traffic).hasMatch(),
            qPrintable(line + " in\n" + traffic));
    }
}

void TestOndpsSim::unmetExpectations_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QByteArray>("clientSends");
    QTest::addColumn<QString>("message");

    QTest::newRow("wrong text") << "expect register:.*\nsend never sent\n"
                                << QByteArray("hello\0", 6)
                                << "script.txt:1: expect register:.*: received \"hello\"";
    QTest::newRow("partial match is no match")
        << "expect register\n"
        << QByteArray("register:jo:PC\0", 15) << "received \"register:jo:PC\"";
    QTest::newRow("nothing in time") << "expect register:.*\n"
                                     << QByteArray()
                                     << "script.txt:1: expect register:.*: nothing received "
                                        "within 300 ms";
    QTest::newRow("second of two fails")
        << "expect a\nexpect b\n"
        << QByteArray("a\0c\0", 4) << "script.txt:2: expect b: received \"c\"";
}

void TestOndpsSim::unmetExpectations()
{
    QFETCH(QString, script);
    QFETCH(QByteArray, clientSends);
    QFETCH(QString, message);

    SimProcess sim;
    QVERIFY(sim.start({"--listen", Address, "--timeout", "300", "--script", writeScript(script)}));
    RawClient client;
    QVERIFY(client.connect());
    client.write(clientSends);
    QVERIFY(sim.finish());
    QCOMPARE(sim.exitCode(), 1);
    QVERIFY2(sim.errors().contains(message), qPrintable(sim.errors()));
    // The script stops at its first failure: nothing after it is sent.
    QVERIFY(!sim.output().contains("never sent"));
}

void TestOndpsSim::framesTextsLikeTheClient()
{
    const QString script =
        writeScript("expect one\nexpect two\nexpect split\nexpect ^$\nexpect legacy\n");
    SimProcess sim;
    QVERIFY(sim.start({"--listen", Address, "--script", script}));
    RawClient client;
    QVERIFY(client.connect());
    client.write(QByteArray("one\0two\0sp", 10));
    QTest::qWait(50);
    client.write(QByteArray("lit\0\0", 5));
    QTest::qWait(50);
    client.write("legacy"); // no NUL: handled after a pause, as the client does
    QVERIFY(sim.finish());
    QVERIFY2(sim.exitCode() == 0, qPrintable(sim.errors()));
}

void TestOndpsSim::closeRefusesUntilReopen()
{
    const QString script = writeScript("expect first\nclose\nwait 300\nreopen\nexpect second\n");
    SimProcess sim;
    QVERIFY(sim.start({"--listen", Address, "--script", script}));
    RawClient first;
    QVERIFY(first.connect());
    first.write(QByteArray("first\0", 6));
    QVERIFY(first.waitForClose());

    // While closed, a connection is refused.
    QTcpSocket refused;
    refused.connectToHost(Address, 21326);
    QVERIFY(!refused.waitForConnected(5000));
    QCOMPARE(refused.error(), QAbstractSocket::ConnectionRefusedError);

    RawClient second;
    QVERIFY(QTest::qWaitFor([&] { return second.connect(); }, 5000));
    second.write(QByteArray("second\0", 7));
    QVERIFY(sim.finish());
    QVERIFY2(sim.exitCode() == 0, qPrintable(sim.errors()));
    QVERIFY(sim.output().contains("#1 * closed by the simulator"));
    QVERIFY(sim.output().contains("#2 < second"));
}

void TestOndpsSim::interactivePrompt()
{
    SimProcess sim;
    QVERIFY(sim.start({"--listen", Address, "--timeout", "5000"}));
    RawClient client;
    QVERIFY(client.connect());
    sim.process().write("send hi\nexpect ok\nbogus\nquit\n");
    QCOMPARE(client.texts(1).value(0), QByteArray("hi"));
    client.write(QByteArray("ok\0", 3));
    QVERIFY(sim.finish());
    QCOMPARE(sim.exitCode(), 0);
    QVERIFY2(sim.errors().contains("line 3: unknown step \"bogus\""), qPrintable(sim.errors()));
    QVERIFY(sim.output().contains("#1 < ok"));
}

QTEST_GUILESS_MAIN(TestOndpsSim)
#include "tst_ondpssim.moc"
