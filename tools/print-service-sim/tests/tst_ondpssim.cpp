#include "FileBytes.h"
#include "ScenarioScript.h"
#include "TrafficLog.h"

#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

// This program's own loopback address (the Print Service port is fixed).
static const QString Address = QStringLiteral("127.0.0.6");
static const int HttpPort = 21380;

namespace {

// Runs ondps-sim for a test, collecting what it writes; QProcess kills it if a test fails
// before it ends.
struct SimProcess
{
    // True once the simulator says in its traffic log (standard output) that it listens.
    bool start(const QStringList &arguments)
    {
        process.start(ONDPS_SIM_PATH, arguments);
        return says(" * listening on ") && process.state() == QProcess::Running;
    }
    // Waits until the traffic log holds the text `count` times, or the simulator ended.
    bool says(const QString &text, int count = 1)
    {
        return QTest::qWaitFor(
                   [&] {
                       collect();
                       return output.count(text) >= count ||
                              process.state() == QProcess::NotRunning;
                   },
                   10000) &&
               output.count(text) >= count;
    }
    // False when it did not end in time; the event loop runs meanwhile, so the test's own
    // sockets answer the simulator.
    bool finish()
    {
        const bool ended = QTest::qWaitFor(
            [&] {
                collect();
                return process.state() == QProcess::NotRunning;
            },
            20000);
        collect();
        return ended;
    }
    void collect()
    {
        output += QString::fromUtf8(process.readAllStandardOutput());
        errors += QString::fromUtf8(process.readAllStandardError());
    }

    QProcess process;
    QString output;
    QString errors;
};

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
        QTest::qWait(50); // separate reads on the simulator's side
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

private:
    QTcpSocket m_socket;
    QByteArray m_received;
};

QByteArray httpAnswer(const QByteArray &status, int length, const QByteArray &rest = "\r\n")
{
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(length) + "\r\n" +
           (status.startsWith("405") ? "Allow: GET\r\n" : "") + "Connection: close\r\n" + rest;
}

const char *const KindNames[] = {"expect", "send", "wait", "close", "reopen", "http"};

void row(const char *name, const QString &input, const QString &output)
{
    QTest::newRow(name) << input << output;
}

// A command line the simulator refuses with status 2, saying why.
void usageRow(const char *name, const QStringList &arguments, const QString &says,
              const QString &script = QString())
{
    QTest::newRow(name) << arguments << script << 2 << QStringList{says};
}

} // namespace

// The scenario format and the traffic log, then what the client's end-to-end tests do not
// reach of the ondps-sim program: its usage errors, framing, unmet expectations and prompt.
class TestOndpsSim : public QObject
{
    Q_OBJECT

    QString writeScript(const QString &text)
    {
        const QString path = m_dir->filePath("script.txt");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return QString();
        file.write(text.toUtf8());
        return path;
    }

    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void parseLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("parsed");

        row("send keeps blanks", "send  two  blanks ", "send [ two  blanks ] 0");
        row("send with a tab", "send\tx", "send [x] 0");
        row("bare send is the empty text", "send", "send [] 0");
        row("indented", "   wait 250", "wait [250] 250");
        row("reopen, windows line end", "reopen\r", "reopen [] 0");
        row("unknown step", "SEND x",
            "unknown step \"SEND\" (expect, send, wait, close, reopen or http)");
        row("expect without pattern", "expect",
            "expect needs a pattern (^$ matches the empty text)");
        row("invalid pattern", "expect (a", "invalid pattern \"(a\": missing closing parenthesis");
        row("wait without number", "wait soon",
            "wait needs a number of milliseconds, not \"soon\"");
        row("negative wait", "wait -5", "wait needs a number of milliseconds, not \"-5\"");
        row("close with argument", "close now", "close takes no argument");
        row("http without behaviour", "http /languages/.*",
            "http needs a path pattern and a behaviour (serve, 404, hang or close), not "
            "\"/languages/.*\"");
    }

    void parseLine()
    {
        QFETCH(QString, line);

        QString error;
        const auto step = ScenarioScript::parseLine(line, 7, &error);
        QCOMPARE(step.has_value(), error.isEmpty());
        QTEST(step ? QString("%1 [%2] %3")
                         .arg(KindNames[int(step->kind)], step->argument,
                              QString::number(step->milliseconds))
                   : error,
              "parsed");
    }

    // A logged text stays on one line, and a backslash in it stays readable.
    void logLinesAreOneLineEach()
    {
        QCOMPARE(TrafficLog::escaped(QString("a\nb\r\n DOM\\:x ") + QChar(1) + "\t"),
                 "a\\nb\\r\\n DOM\\\\:x \\x01\\t");
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("says");

        QTest::newRow("help") << QStringList{"--help"} << QString() << 0
                              << QStringList{"expect <regex>", "send <text>", "wait <ms>",
                                             "close",          "reopen",      "--port",
                                             "--script",       "--timeout",   "--log",
                                             "http <regex>",   "--http-port", "Exit status"};
        usageRow("unknown option", {"--bogus"}, "Unknown option");
        usageRow("port", {"--port", "70000"}, "not a port");
        usageRow("address", {"--listen", "example.org"}, "not an IP address");
        usageRow("time-out", {"--timeout", "soon"}, "not a time-out");
        usageRow("missing script", {"--script", "/nonexistent/script"},
                 "cannot read /nonexistent/script");
        usageRow("bad script line", {}, "script.txt: line 2: unknown step \"expekt\"",
                 "send a\nexpekt b\n");
        usageRow("address not on this machine", {"--listen", "192.0.2.1"},
                 "cannot listen on 192.0.2.1");
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, script);
        QFETCH(int, status);
        QFETCH(QStringList, says);

        if (!script.isEmpty())
            arguments << "--script" << writeScript(script);
        if (!arguments.contains("--listen"))
            arguments << "--listen" << Address;
        QProcess process;
        process.start(ONDPS_SIM_PATH, arguments);
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), status);
        const QString output = QString::fromUtf8(status == 0 ? process.readAllStandardOutput()
                                                             : process.readAllStandardError());
        for (const QString &text : says)
            QVERIFY2(output.contains(text), qPrintable(text + " in\n" + output));
    }

    void scriptedConversation()
    {
        const QString script = writeScript("expect register:jo:PC-1\n"
                                           "expect ^$\n"
                                           "expect legacy\n"
                                           "send 80|${NOW}\n");
        SimProcess sim;
        QVERIFY(sim.start({"--listen", Address, "--script", script}));
        RawClient client;
        QVERIFY(client.connect());
        // The simulator frames texts as the client does: a text split over two writes, the
        // empty text in the same write as the end of the first, and an unterminated text from
        // a legacy peer.
        client.write("regis");
        client.write(QByteArray("ter:jo:PC-1\0\0", 13));
        client.write("legacy");
        const QList<QByteArray> sent = client.texts(1);
        QCOMPARE(sent.size(), 1);
        QVERIFY2(QRegularExpression("80\\|\\d{14}").match(sent[0]).hasMatch(), sent[0]);

        QVERIFY(sim.finish());
        QVERIFY2(sim.process.exitCode() == 0, qPrintable(sim.errors));
        const QString stamp = "\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}";
        for (const char *line :
             {"#1 < register:jo:PC-1", "#1 < ", "#1 < legacy", "#1 > 80\\|\\d{14}"}) {
            const QRegularExpression logged("(^|\\n)" + stamp + " " + line + "\\n");
            QVERIFY2(logged.match(sim.output).hasMatch(),
                     qPrintable(line + QString(" in\n") + sim.output));
        }
    }

    void unmetExpectations_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QByteArray>("clientSends");
        QTest::addColumn<QString>("message");

        QTest::newRow("wrong text")
            << "expect register:.*\nsend never sent\n"
            << QByteArray("hello\0", 6) << "script.txt:1: expect register:.*: received \"hello\"";
        QTest::newRow("partial match is no match")
            << "expect register\n"
            << QByteArray("register:jo:PC\0", 15) << "received \"register:jo:PC\"";
        QTest::newRow("nothing in time") << "expect register:.*\n"
                                         << QByteArray()
                                         << "script.txt:1: expect register:.*: nothing received "
                                            "within 300 ms";
        // Comment and blank lines count in the line number.
        QTest::newRow("second of two fails")
            << "# first a, then b\n\nexpect a\n  # indented note\nexpect b\n"
            << QByteArray("a\0c\0", 4) << "script.txt:5: expect b: received \"c\"";
    }

    void unmetExpectations()
    {
        QFETCH(QString, script);
        QFETCH(QByteArray, clientSends);
        QFETCH(QString, message);

        // Only the row that waits for nothing waits briefly; the others get their text at once.
        const QString timeoutMs = clientSends.isEmpty() ? "300" : "60000";
        SimProcess sim;
        QVERIFY(sim.start(
            {"--listen", Address, "--timeout", timeoutMs, "--script", writeScript(script)}));
        RawClient client;
        QVERIFY(client.connect());
        client.write(clientSends);
        QVERIFY(sim.finish());
        QCOMPARE(sim.process.exitCode(), 1);
        QVERIFY2(sim.errors.contains(message), qPrintable(sim.errors));
        // The script stops at its first failure: nothing after it is sent.
        QVERIFY(!sim.output.contains("never sent"));
    }

    void interactivePromptAndRestart()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--listen", Address, "--timeout", "60000"}));
        RawClient client;
        QVERIFY(client.connect());
        sim.process.write("send hi\nexpect ok\nbogus\nclose\n");
        QCOMPARE(client.texts(1).value(0), QByteArray("hi"));
        client.write(QByteArray("ok\0", 3));
        // Closed, it refuses connections as a stopped Print Service does, until it reopens.
        QVERIFY(sim.says(" * stopped listening"));
        QVERIFY(!RawClient().connect());
        sim.process.write("reopen\n");
        QVERIFY(sim.says(" * listening on ", 2));
        QVERIFY(RawClient().connect());
        sim.process.write("quit\n");
        QVERIFY(sim.finish());
        QCOMPARE(sim.process.exitCode(), 0);
        QVERIFY2(sim.errors.contains("line 3: unknown step \"bogus\""), qPrintable(sim.errors));
        QVERIFY(sim.output.contains("#1 < ok"));
        QVERIFY(sim.output.contains("#2 * connected from"));
    }

    // Files of the root over HTTP, nothing outside it, and misbehaviour where the newest http
    // step matching a path asks for it; a hanging request holds up no other.
    void servesFilesOverHttp()
    {
        QVERIFY(QDir(m_dir->path()).mkpath("root/languages"));
        for (const char *name : {"FR", "DE"})
            QVERIFY(writeFile(m_dir->filePath(QString("root/languages/%1.qm").arg(name)), name));
        QVERIFY(QFile::link(writeScript("not served"), m_dir->filePath("root/link.txt")));
        SimProcess sim;
        QVERIFY(sim.start({"--listen", Address, "--http-port", QString::number(HttpPort),
                           "--http-root", m_dir->filePath("root")}));
        sim.process.write("http /languages/.* close\nhttp /languages/FR\\.qm serve\n"
                          "http /slow/.* hang\n");
        QVERIFY(sim.says(" * http rule /slow/.* hang"));
        QTcpSocket hanging;
        hanging.connectToHost(Address, HttpPort);
        QVERIFY(hanging.waitForConnected(5000));
        hanging.write("GET /slow/FR.qm HTTP/1.1\r\n\r\n");
        QVERIFY(sim.says(" * http GET /slow/FR.qm hang"));

        const QList<std::pair<QByteArray, QByteArray>> exchanges{
            {"GET /languages/FR.qm?v=2 HTTP/1.1", httpAnswer("200 OK", 2, "\r\nFR")},
            {"GET /languages/DE.qm HTTP/1.1", httpAnswer("200 OK", 3, "\r\nDE")},
            {"GET /missing.qm HTTP/1.1", httpAnswer("404 Not Found", 0)},
            {"GET /../script.txt HTTP/1.1", httpAnswer("404 Not Found", 0)},
            {"GET /link.txt HTTP/1.1", httpAnswer("404 Not Found", 0)},
            {"POST /languages/FR.qm HTTP/1.1", httpAnswer("405 Method Not Allowed", 0)},
        };
        for (const auto &[request, expected] : exchanges) {
            QTcpSocket socket;
            socket.connectToHost(Address, HttpPort);
            QVERIFY(socket.waitForConnected(5000));
            socket.write(request + "\r\nHost: sim\r\n\r\n");
            socket.waitForDisconnected(5000);
            QCOMPARE(socket.readAll(), expected);
        }
        // An answer to it would have been sent before those and be here by now.
        QVERIFY(!hanging.waitForReadyRead(0));
        QCOMPARE(hanging.state(), QAbstractSocket::ConnectedState);

        sim.process.write("quit\n");
        QVERIFY(sim.finish());
        QVERIFY2(sim.output.contains(" - * http GET /languages/FR.qm 200\n"),
                 qPrintable(sim.output));
    }
};

QTEST_GUILESS_MAIN(TestOndpsSim)
#include "tst_ondpssim.moc"
