#include "ClientHarness.h"
#include "FileBytes.h"
#include "TranslationFiles.h"
#include "settings/HexCodec.h"

#include <QtTest>

namespace {

// How many texts the simulator received, from its traffic log.
qsizetype receivedTexts(const ClientHarness &harness)
{
    const QStringList lines = linesOf(harness.trafficPath());
    return std::count_if(lines.begin(), lines.end(),
                         [](const QString &line) { return line.section(' ', 2, 2) == "<"; });
}

bool finishes(QProcess *process, int timeoutMs)
{
    return process->state() == QProcess::NotRunning || process->waitForFinished(timeoutMs);
}

// Starts the client against a simulator that waits for its registration; null when none came.
QProcess *startRegistered(ClientHarness &harness)
{
    QProcess *simulator = harness.startSimulator(QStringLiteral("expect register:.*\n"));
    QProcess *client = harness.startClient();
    return finishes(simulator, 30000) && simulator->exitCode() == 0 ? client : nullptr;
}

// How far the portable pixmap (8 bits a channel, "P6", size and depth each on a line, as import
// writes it) is from grey, as the largest difference between two channels of a pixel, and how
// many colours it has.
std::pair<int, qsizetype> colours(const QByteArray &ppm)
{
    qsizetype start = 0;
    for (int line = 0; line < 3 && start >= 0; ++line)
        start = ppm.indexOf('\n', start) + 1;
    int spread = -1;
    QSet<int> found;
    for (qsizetype i = start; start > 0 && i + 2 < ppm.size(); i += 3) {
        const quint8 red = ppm[i], green = ppm[i + 1], blue = ppm[i + 2];
        const auto [low, high] = std::minmax({red, green, blue});
        spread = std::max(spread, high - low);
        found.insert(red << 16 | green << 8 | blue);
    }
    return {spread, found.size()};
}

const QRegularExpression LogLine(
    R"(^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2},\d{3}, \d+, (ERROR|WARN |INFO |DEBUG), [A-Za-z]+, )"
    R"([A-Za-z]*, .*$)");

} // namespace

class TestClient : public QObject
{
    Q_OBJECT

private slots:
    void conversationReconnectionAndOrderlyStop()
    {
        ClientHarness harness("127.0.0.20");
        QVERIFY2(harness.start(), qPrintable(harness.errorText()));
        const QString registration = QRegularExpression::escape(harness.expectedRegistration());
        QProcess *simulator = harness.startSimulator(
            QStringLiteral("expect %1\n"
                           "send 80|20250201090503\n"
                           "expect Message Not Handled: 80\\|20250201090503\n"
                           "send hello\n"
                           "expect Message Not Handled: hello\n"
                           "send No Response\n"
                           "expect No Response\n"
                           "send 58|20250201090503|Apelbrostagin|Qen_us\n"
                           "expect 59\\|\\d{14}\\|Aen_us\n"
                           "close\n"
                           "wait 300\n"
                           "reopen\n"
                           "expect %1\n"
                           "send 99|20250201090503|A1\n"
                           "expect Message Not Handled: 99\\|20250201090503\\|A1\n")
                .arg(registration));
        QProcess *client = harness.startClient();

        // The scenario ends well only if every text the client sent was the one expected.
        QVERIFY2(finishes(simulator, 60000), "the scenario did not end");
        QCOMPARE(simulator->exitCode(), 0);

        QVERIFY(ClientHarness::stopsCleanly(client));

        const QStringList user = linesOf(harness.logFolder() + "/ondtpc-userlog.txt");
        const QStringList dev = linesOf(harness.logFolder() + "/ondtpc-devlog.txt");
        // Every line is well formed; the staff password in the settings text reaches no log.
        for (const QString &line : user + dev)
            QVERIFY2(LogLine.match(line).hasMatch() && !line.contains("pelbrostagin"),
                     qPrintable(line));
        QVERIFY(user.last().endsWith(
            "INFO , TpcApplication, main, Ondrel Laptop Print Client stopped (exit code 0)"));
        // Between the signal and the end: the default printer put back, connections removed.
        const QStringList ending =
            user.mid(user.lastIndexOf(QRegularExpression(".*Received signal.*")));
        QVERIFY2(ending.size() >= 2 && ending.size() <= 4, qPrintable(ending.join('\n')));
        QVERIFY(ending.first().endsWith(
            "INFO , TpcApplication, endSession, Received signal 15; stopping"));
        QVERIFY(user.filter("Recevied: 58|20250201090503|A****|Qen_us").size() == 1);
    }

    void secondCopyEndsAtOnce()
    {
        ClientHarness harness("127.0.0.21");
        QVERIFY2(harness.start(), qPrintable(harness.errorText()));
        QProcess *simulator = harness.startSimulator(
            QStringLiteral("expect %1\nwait 30000\n")
                .arg(QRegularExpression::escape(harness.expectedRegistration())));
        QProcess *first = harness.startClient();
        QTRY_VERIFY_WITH_TIMEOUT(receivedTexts(harness) == 1, 20000);

        QProcess *second = harness.startClient();
        QVERIFY(finishes(second, 15000));
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(first->state(), QProcess::Running);
        // The second copy never connected.
        QCOMPARE(receivedTexts(harness), 1);
        simulator->kill();
    }

    // Asking for the version or the usage needs no display (without one the toolkit would
    // end the process) and leaves no lock, socket, state or log behind.
    void informationOptionsLeaveNoTrace_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        QTest::newRow("version") << QStringList{"--version"}
                                 << R"(^ondtpc \(Ondrel Laptop Print Client\) \d+\.\d+\.\d+\.\d+\n)"
                                    R"(Copyright .* Brindlecore\. All rights reserved\.\n$)";
        QTest::newRow("help after a printer") << QStringList{"//127.0.0.24/x", "--help"}
                                              << R"(^Usage: ondtpc .*See ondtpc\(1\)\.\n$)";
    }

    void informationOptionsLeaveNoTrace()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        ClientHarness harness("127.0.0.28");
        const QString empty = harness.scratchPath("empty");
        QVERIFY(QDir().mkpath(empty));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"XDG_RUNTIME_DIR", "ONDTPC_COMMON_APPDATA", "XDG_STATE_HOME",
                                 "XDG_CONFIG_HOME", "HOME"})
            environment.insert(name, empty);
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        QProcess client;
        client.setProcessEnvironment(environment);
        client.start(harness.clientProgram(), arguments);
        QVERIFY(client.waitForFinished(15000));
        QCOMPARE(client.exitCode(), 0);
        const QString output = client.readAllStandardOutput();
        QVERIFY2(QRegularExpression(expected, QRegularExpression::DotMatchesEverythingOption)
                     .match(output)
                     .hasMatch(),
                 qPrintable(output));
        QVERIFY(QDir(empty).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    }

    // The command line's language comes with the site's override from the Print Service's
    // language port; without an override the shipped translation stays.
    void localeFetchesTheSitesOverride_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("request");
        QTest::addColumn<QString>("logged");
        QTest::newRow("override") << "fr_ca"
                                  << "GET /languages/FR_CA_OVERRIDE.qm 200"
                                  << "Using overrides for language name and/or close language "
                                     "options ([Français (bibliothèque)], [])";
        QTest::newRow("none") << "es_us"
                              << "GET /languages/ES_US_OVERRIDE.qm 404"
                              << "Failed to retrieve override translations from "
                                 "http://127.0.0.40:30044/languages/ES_US_OVERRIDE.qm";
    }
    void localeFetchesTheSitesOverride()
    {
        QFETCH(QString, locale);
        QFETCH(QString, request);
        QFETCH(QString, logged);
        ClientHarness harness("127.0.0.40");
        QVERIFY2(harness.start(), qPrintable(harness.errorText()));
        const QString site = harness.scratchPath("site");
        QVERIFY(QDir().mkpath(site + "/languages"));
        QVERIFY(writeTranslationFile(
            site + "/languages/FR_CA_OVERRIDE.qm",
            {{"Language Preferences", "<<Language Name>>", "Français (bibliothèque)"}}));
        // The language change comes before the connection: registered means it is over.
        QProcess *simulator = harness.startSimulator("expect register:.*\n", 60000,
                                                     {"--http-port", "30044", "--http-root", site});
        QProcess *client = harness.startClient({"-locale=" + locale});
        QVERIFY(finishes(simulator, 60000));
        QCOMPARE(simulator->exitCode(), 0);
        QVERIFY(ClientHarness::stopsCleanly(client));
        QVERIFY2(!linesOf(harness.trafficPath()).filter(request).isEmpty(), qPrintable(request));
        QVERIFY2(!linesOf(harness.logFolder() + "/ondtpc-devlog.txt").filter(logged).isEmpty(),
                 qPrintable(logged));
    }

    // The settings reach the session file of an installed client, the spooler's default printer
    // and the languages: each supported dialect's override is fetched, then the locale's.
    void settingsTakeEffect()
    {
        ClientHarness harness("127.0.0.41");
        QVERIFY2(harness.start(), qPrintable(harness.errorText()));
        QVERIFY(harness.cupsd().addQueue("colour", "file:/dev/null", "Colour printer"));
        QVERIFY(harness.installClient());
        QVERIFY(QDir().mkpath(harness.scratchPath("site/languages")));
        const QString password = "Sandpiper-4417";
        QProcess *simulator = harness.startSimulator(
            QStringLiteral("expect register:.*\n"
                           "send 58|20250201090503|A%1|Gcolour|O1|Pfr_ca,es_us|Qfr_ca|L30044\n"
                           "expect 59\\|\\d{14}\\|Afr_ca\n")
                .arg(UtilsLib::hexEncode(password)),
            60000, {"--http-port", "30044", "--http-root", harness.scratchPath("site")});
        QProcess *client = harness.startClient();
        QVERIFY(finishes(simulator, 60000));
        QCOMPARE(simulator->exitCode(), 0);
        QString defaultPrinter;
        QTRY_VERIFY_WITH_TIMEOUT(harness.cupsd().run("lpstat", {"-d"}, &defaultPrinter) &&
                                     defaultPrinter.contains("colour"),
                                 20000);
        const QString session = harness.homeFolder() + "/.ondTpc/session.dat";
        // Owner, group and others: only the owner reads and writes it.
        QCOMPARE(int(QFile::permissions(session) & QFileDevice::Permissions(0x7077)),
                 int(QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(ClientHarness::stopsCleanly(client));

        QStringList fetched;
        for (const QString &line : linesOf(harness.trafficPath()).filter(" http GET "))
            fetched.append(line.section("/languages/", 1).section(' ', 0, 0));
        QCOMPARE(fetched,
                 (QStringList{"EN_US_OVERRIDE.qm", "FR_CA_OVERRIDE.qm", "ES_US_OVERRIDE.qm",
                              "EN_US_OVERRIDE.qm", "FR_CA_OVERRIDE.qm"}));
        for (const char *log : {"/ondtpc-userlog.txt", "/ondtpc-devlog.txt"})
            QVERIFY(linesOf(harness.logFolder() + log).filter(password).isEmpty());
    }

    // The job flow's windows against the real client on an X server: each answer goes back on
    // the connection its question came on, and a lost connection takes its question away.
    void jobFlowWindowsAnswerTheirOwnConnection()
    {
        ClientHarness harness("127.0.0.42");
        QVERIFY2(harness.start(), qPrintable(harness.errorText()));
        QVERIFY(harness.startXServer());
        const QString registration =
            "expect " + QRegularExpression::escape(harness.expectedRegistration());
        const QString progress = "Ondrel Laptop Print Client";
        harness.startSimulatorPrompt();
        QProcess *client = harness.startClient();
        const auto step = [&harness](const QString &line) { return harness.step(line); };
        const auto answer = [&](const QString &text, const QString &window, const QString &key,
                                const QString &reply) {
            if (!step("send " + text) || !harness.pressKeyInWindow(window, key)) {
                qWarning("no window %s for %s", qPrintable(window), qPrintable(text));
                return false;
            }
            return step("expect " + reply);
        };
        QVERIFY(step(registration));

        QVERIFY(step("send 60|${NOW}"));
        QVERIFY(step("expect 80\\|\\d{14}"));
        QVERIFY(harness.waitForWindow(progress));
        // A deleted job takes the progress window away before its notice.
        QVERIFY(step("send 51|${NOW}"));
        QVERIFY(harness.waitForWindow("Job Canceled"));
        QVERIFY(harness.waitForWindow(progress, false, 0));
        QVERIFY(harness.pressReturnInWindow("Job Canceled"));
        QVERIFY(step("expect 86\\|\\d{14}"));

        QVERIFY(answer("52|${NOW}", "Job Status Change", "Return", "53\\|\\d{14}\\|1"));
        QVERIFY(answer("52|${NOW}", "Job Status Change", "Escape", "53\\|\\d{14}\\|0"));
        QVERIFY(answer("62|${NOW}|A1|B0|CColour Laser|DDesk 2|E|FDA|G$0.20|H$0.40|I",
                       "Job Released", "Return", "86\\|\\d{14}"));
        QVERIFY(answer("62|${NOW}|A0|B0|C|D|ENo paper|F|G|H|I|ZR17|Y250", "Error", "Return",
                       "86\\|\\d{14}"));

        // The question goes with its connection; the new one starts with the registration and
        // carries no answer to a question it never asked.
        QVERIFY(step("send 52|${NOW}"));
        QVERIFY(harness.waitForWindow("Job Status Change"));
        QVERIFY(step("close"));
        QVERIFY(harness.waitForWindow("Job Status Change", false));
        QVERIFY(step("reopen"));
        QVERIFY(step(registration));
        QVERIFY(step("send 80|${NOW}"));
        QVERIFY(step("expect Message Not Handled: 80\\|\\d{14}"));
        const QStringList log = linesOf(harness.logFolder() + "/ondtpc-userlog.txt");
        QVERIFY(!log.filter("Dropped: 53|").isEmpty());
        QVERIFY(ClientHarness::stopsCleanly(client));
    }

    // Who is printing: the dialog asks once, the session answers later requests that it can
    // answer, a refusal forgets the user, and no PIN reaches a log.
    void identificationAndItsResult()
    {
        ClientHarness harness("127.0.0.43");
        QVERIFY2(harness.start(), qPrintable(harness.errorText()));
        QVERIFY(harness.startXServer());
        harness.startSimulatorPrompt();
        QProcess *client = harness.startClient();
        const auto step = [&harness](const QString &line) { return harness.step(line); };
        const QString dialog = "User Identification";
        const QString pin = UtilsLib::hexEncode("2468");
        QVERIFY(step("expect " + QRegularExpression::escape(harness.expectedRegistration())));

        QVERIFY(step("send 54|${NOW}|1"));
        QVERIFY(harness.typeInWindow(dialog, "jo"));
        QVERIFY(harness.pressReturnInWindow(dialog));
        QVERIFY(step("expect 55\\|\\d{14}\\|0\\|JO\\|JO\\|"));
        // Asked again, the session answers without a dialog.
        QVERIFY(step("send 54|${NOW}|1"));
        QVERIFY(step("expect 55\\|\\d{14}\\|0\\|JO\\|JO\\|"));
        // A refusal forgets the user: the next request asks again, now with a PIN.
        QVERIFY(step("send 56|${NOW}|2|XBad user|XUnknown user ID|X0"));
        QVERIFY(harness.pressReturnInWindow("Bad user"));
        QVERIFY(step("expect 86\\|\\d{14}"));
        QVERIFY(step("send 54|${NOW}|7"));
        QVERIFY(harness.typeInWindow(dialog, "jo\t2468"));
        QVERIFY(harness.pressReturnInWindow(dialog));
        QVERIFY(step("expect 55\\|\\d{14}\\|0\\|JO\\|JO\\|" + pin));
        QVERIFY(step("send 54|${NOW}|7"));
        QVERIFY(step("expect 55\\|\\d{14}\\|0\\|JO\\|JO\\|" + pin));
        QVERIFY(step("send 56|${NOW}|3|G$5.00|H$20.00|K1|O1"));
        QVERIFY(step("expect 80\\|\\d{14}"));
        QVERIFY(step("send 56|${NOW}|3|G$5.00|H$20.00|K1"));
        QVERIFY(step("expect No Response"));
        QVERIFY(ClientHarness::stopsCleanly(client));

        const QStringList logs = linesOf(harness.logFolder() + "/ondtpc-userlog.txt") +
                                 linesOf(harness.logFolder() + "/ondtpc-devlog.txt");
        QVERIFY(logs.filter("55|").size() >= 4);
        QVERIFY(logs.filter("2468").isEmpty() && logs.filter(pin).isEmpty());
    }

    // A print job from its cost to its pickup, and the page limit of a booking session with a
    // staff member's approval, against the real client.
    void printJobFromCostToPickup()
    {
        ClientHarness harness("127.0.0.44");
        QVERIFY2(harness.start(), qPrintable(harness.errorText()));
        QVERIFY(harness.startXServer());
        // A booking session with 8 of its 10 pages printed.
        const QString booking = harness.setBookingSession(
            "[General]\nIn%20Session=1\nPages%20Printed%20This%20Session=8\n");
        QVERIFY(!booking.isEmpty());
        harness.startSimulatorPrompt();
        QProcess *client = harness.startClient();
        const auto step = [&harness](const QString &line) { return harness.step(line); };
        const QString computer = harness.expectedRegistration().section(':', -1);
        const QString sent =
            "expect 5\\|\\d{14}\\|A" + QRegularExpression::escape(computer) + "\\|Ben_us";
        const QString cost = "Print this job?";
        const QString progress = "Ondrel Laptop Print Client";
        QVERIFY(step("expect " + QRegularExpression::escape(harness.expectedRegistration())));
        QVERIFY(step("send 58|${NOW}|A" + UtilsLib::hexEncode("s3cret") + "|B1|C10|D1|Qen_us"));
        QVERIFY(step("expect 59\\|\\d{14}\\|Aen_us"));

        QVERIFY(step("send 4|${NOW}|A2|B$0.10|C0|D0|E$0.20|G0|H0"));
        QVERIFY(harness.pressKeyInWindow(cost, "Escape"));
        QVERIFY(step("expect 7\\|\\d{14}"));
        QVERIFY(harness.waitForWindow(progress, false, 0));
        // The whole job on one connection, each text answered once and in order.
        QVERIFY(step("send 4|${NOW}|A2|B$0.10|C0|D0|E$0.20|G0|H0"));
        QVERIFY(harness.pressReturnInWindow(cost));
        QVERIFY(step(sent));
        QVERIFY(harness.waitForWindow(progress));
        QVERIFY(step("send 60|${NOW}"));
        QVERIFY(step("expect 80\\|\\d{14}"));
        QVERIFY(step("send 54|${NOW}|1"));
        QVERIFY(harness.typeInWindow("User Identification", "jo"));
        QVERIFY(harness.pressReturnInWindow("User Identification"));
        QVERIFY(step("expect 55\\|\\d{14}\\|0\\|JO\\|JO\\|"));
        QVERIFY(step("send 56|${NOW}|3|G$5.00|H$20.00|O1"));
        QVERIFY(step("expect 80\\|\\d{14}"));
        QVERIFY(step("send 6|${NOW}|1|J42|E2030-01-01T12:00:00|LFront Desk#^#Main floor"));
        QVERIFY(harness.pressReturnInWindow("Print Complete"));
        QVERIFY(step("expect 86\\|\\d{14}"));
        QVERIFY(harness.waitForWindow(progress, false));

        // The session has its 10 pages now: a 3-page job needs the staff password.
        QVERIFY(step("send 4|${NOW}|A3|B$0.10|C0|D0|E$0.30|G0|H0"));
        QVERIFY(harness.pressReturnInWindow(cost));
        QVERIFY(harness.pressReturnInWindow("Warning"));
        QVERIFY(harness.typeInWindow("Password Required", "s3cret"));
        QVERIFY(harness.pressReturnInWindow("Password Required"));
        QVERIFY(step(sent));
        QVERIFY(step("send 4|${NOW}|A3|B$0.10|C0|D0|E$0.30|G0|H0"));
        QVERIFY(harness.pressReturnInWindow(cost));
        QVERIFY(harness.pressReturnInWindow("Warning"));
        QVERIFY(harness.typeInWindow("Password Required", "guess"));
        QVERIFY(harness.pressReturnInWindow("Password Required"));
        QVERIFY(harness.pressReturnInWindow("Error"));
        QVERIFY(step("expect 7\\|\\d{14}"));
        QVERIFY(ClientHarness::stopsCleanly(client));
        QVERIFY(readFile(booking).contains("Pages%20Printed%20This%20Session=10"));
    }

    // Every secret of a job flow, with the developer log taking every line: the staff password
    // the Print Service sets and the one typed, the booking session's PIN and a typed PIN reach
    // no log line, in clear or encoded as on the wire.
    void noSecretInAnyLog()
    {
        ClientHarness harness("127.0.0.51");
        QVERIFY2(harness.start(), qPrintable(harness.errorText()));
        QVERIFY(harness.startXServer());
        const QString booking =
            harness.setBookingSession("[General]\nIn%20Session=1\nCurrent%20User=patron7\n"
                                      "Access%20Key=9753\nPages%20Printed%20This%20Session=10\n");
        QVERIFY(!booking.isEmpty());
        harness.startSimulatorPrompt();
        QProcess *client = harness.startClient();
        const auto step = [&harness](const QString &line) { return harness.step(line); };
        const QStringList secrets{"Kestrel-88", "9753", "2468"};
        QVERIFY(step("expect " + QRegularExpression::escape(harness.expectedRegistration())));
        QVERIFY(
            step("send 58|${NOW}|A" + UtilsLib::hexEncode(secrets[0]) + "|B1|C10|D1|E1|Qen_us"));
        QVERIFY(step("expect 59\\|\\d{14}\\|Aen_us"));
        // Over the booking session's page limit: the staff password is typed.
        QVERIFY(step("send 4|${NOW}|A3|B$0.10|C0|D0|E$0.30|G0|H0"));
        QVERIFY(harness.pressReturnInWindow("Print this job?"));
        QVERIFY(harness.pressReturnInWindow("Warning"));
        QVERIFY(harness.typeInWindow("Password Required", secrets[0]));
        QVERIFY(harness.pressReturnInWindow("Password Required"));
        QVERIFY(step("expect 5\\|.*"));
        // The booking session answers with its user and PIN; refused, the user types them.
        QVERIFY(step("send 54|${NOW}|7"));
        QVERIFY(step("expect 55\\|\\d{14}\\|0\\|.*\\|" + UtilsLib::hexEncode(secrets[1])));
        QVERIFY(step("send 56|${NOW}|2|XBad user|XUnknown user ID|X0"));
        QVERIFY(harness.pressReturnInWindow("Bad user"));
        QVERIFY(step("expect 86\\|\\d{14}"));
        QVERIFY(writeFile(booking, "[General]\nIn%20Session=0\n"));
        QVERIFY(step("send 54|${NOW}|7"));
        QVERIFY(harness.typeInWindow("User Identification", "jo\t" + secrets[2]));
        QVERIFY(harness.pressReturnInWindow("User Identification"));
        QVERIFY(step("expect 55\\|\\d{14}\\|0\\|JO\\|JO\\|" + UtilsLib::hexEncode(secrets[2])));
        QVERIFY(ClientHarness::stopsCleanly(client));

        const QStringList logs = linesOf(harness.logFolder() + "/ondtpc-userlog.txt") +
                                 linesOf(harness.logFolder() + "/ondtpc-devlog.txt");
        QVERIFY(logs.filter("55|").size() >= 2);
        for (const QString &secret : secrets)
            for (const QString &form : {secret, UtilsLib::hexEncode(secret)})
                for (const QString &line : logs)
                    QVERIFY2(!line.contains(form), qPrintable(form + " in: " + line));
    }

    // A client that is not installed and older than the Print Service requires says so, and
    // ends in order once its reply has left.
    void outOfDateClientEndsAfterItsReply()
    {
        ClientHarness harness("127.0.0.45");
        QVERIFY2(harness.start(), qPrintable(harness.errorText()));
        QVERIFY(harness.startXServer());
        harness.startSimulatorPrompt();
        QProcess *client = harness.startClient();
        const auto step = [&harness](const QString &line) { return harness.step(line); };
        QVERIFY(step("expect " + QRegularExpression::escape(harness.expectedRegistration())));
        QVERIFY(step("send 64|${NOW}|A0.1"));
        QVERIFY(step("expect 80\\|\\d{14}"));
        QVERIFY(step("send 64|${NOW}|A99.0"));
        QVERIFY(harness.pressReturnInWindow("Error"));
        QVERIFY(step("expect 86\\|\\d{14}"));
        QVERIFY(finishes(client, 15000));
        QCOMPARE(client->exitStatus(), QProcess::NormalExit);
        QCOMPARE(client->exitCode(), 0);
        const QStringList user = linesOf(harness.logFolder() + "/ondtpc-userlog.txt");
        QVERIFY(user.last().endsWith("Ondrel Laptop Print Client stopped (exit code 0)"));
    }

    // An installed client docks its icon in the desktop's tray instead of showing its window;
    // the icon is in colour while the client is registered. The tool tip is not on the X
    // server: tst_mainwindow checks it.
    void trayIconFollowsTheConnection()
    {
        ClientHarness harness("127.0.0.46");
        QVERIFY2(harness.start(), qPrintable(harness.errorText()));
        QVERIFY(harness.installClient());
        QVERIFY2(harness.startXServer(), qPrintable(harness.errorText()));
        QVERIFY2(harness.startSystemTray(), qPrintable(harness.errorText()));
        harness.startSimulatorPrompt();
        QProcess *client = harness.startClient();
        const auto step = [&harness](const QString &line) { return harness.step(line); };
        const QString registration =
            "expect " + QRegularExpression::escape(harness.expectedRegistration());
        QVERIFY(step(registration));
        // The icon is the client's one window on screen, inside the tray's panel; the main window
        // would have been mapped before the registration was sent.
        const QString pid = QString::number(client->processId());
        QString icon;
        QTRY_VERIFY_WITH_TIMEOUT(
            !(icon = harness.onDisplay("xdotool", {"search", "--onlyvisible", "--pid", pid}))
                 .isEmpty(),
            20000);
        QVERIFY2(!icon.contains('\n'), qPrintable(icon));
        const QString panel =
            harness.onDisplay("xdotool", {"search", "--onlyvisible", "--classname", "panel"});
        QVERIFY(harness.onDisplay("xwininfo", {"-tree", "-id", panel})
                    .contains("0x" + QString::number(icon.toULong(), 16) + " "));
        QVERIFY(harness.waitForWindow("Ondrel™ Print Client", false, 0));

        const auto picture = [&] {
            return harness.outputOnDisplay("import", {"-window", icon, "-depth", "8", "ppm:-"});
        };
        // Painted, the icon is no longer a plain area of the tray's background. The grey
        // picture is slightly blue; the coloured one is far from grey.
        QByteArray unregistered;
        QTRY_VERIFY_WITH_TIMEOUT(colours(unregistered = picture()).second > 1, 20000);
        QVERIFY(colours(unregistered).first < 64);
        QVERIFY(step("send 58|${NOW}|A" + UtilsLib::hexEncode("s3cret") + "|Qen_us"));
        QVERIFY(step("expect 59\\|\\d{14}\\|Aen_us"));
        QTRY_VERIFY_WITH_TIMEOUT(colours(picture()).first > 128, 20000);
        QVERIFY(step("close"));
        QTRY_VERIFY_WITH_TIMEOUT(picture() == unregistered, 20000);
        QVERIFY(step("reopen"));
        QVERIFY(step(registration));
        QVERIFY(ClientHarness::stopsCleanly(client));
    }

    // Without a tray the main window stays within reach, minimised; its stop button ends an
    // installed client only with the staff password, and any other client at once.
    void stopNeedsTheStaffPassword_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::newRow("installed") << true;
        QTest::newRow("not installed") << false;
    }
    void stopNeedsTheStaffPassword()
    {
        QFETCH(bool, installed);
        ClientHarness harness("127.0.0.47");
        QVERIFY2(harness.start(), qPrintable(harness.errorText()));
        QVERIFY(!installed || harness.installClient());
        QVERIFY2(harness.startXServer(), qPrintable(harness.errorText()));
        harness.startSimulatorPrompt();
        QProcess *client = harness.startClient();
        const auto step = [&harness](const QString &line) { return harness.step(line); };
        const auto windows = [&](const QString &title) {
            return harness.onDisplay("xdotool", {"search", "--onlyvisible", "--name", title})
                .split('\n', Qt::SkipEmptyParts);
        };
        QVERIFY(step("expect " + QRegularExpression::escape(harness.expectedRegistration())));
        QVERIFY(step("send 58|${NOW}|A" + UtilsLib::hexEncode("Sandpiper-4417") + "|Qen_us"));
        QVERIFY(step("expect 59\\|\\d{14}\\|Aen_us"));
        // Without a window manager a minimised window is mapped, marked iconic and hidden.
        const QStringList main = windows("Ondrel™ Print Client");
        QCOMPARE(main.size(), 1);
        const QString state =
            harness.onDisplay("xprop", {"-id", main[0], "WM_HINTS", "_NET_WM_STATE"});
        QVERIFY2(state.contains("Initial state is Iconic State") &&
                     state.contains("_NET_WM_STATE_HIDDEN"),
                 qPrintable(state));
        // The stop button has the focus in its window; one Space presses it.
        const auto pressStop = [&] {
            harness.onDisplay("xdotool", {"windowfocus", "--sync", main[0], "key", "space"});
        };
        const QString dialog = "Password Required";
        pressStop();
        if (installed) {
            QVERIFY(harness.typeInWindow(dialog, "wrong"));
            const QString asking = windows(dialog).value(0);
            harness.onDisplay("xdotool", {"key", "Return"});
            // The refusal has the dialog's title: it is the other window of that title. Escape
            // closes it; unlike Return, a spare one that reaches the main window after it does
            // not press the stop button.
            const auto other = [&] {
                QStringList shown = windows(dialog);
                shown.removeAll(asking);
                return shown.value(0);
            };
            QString refusal;
            QTRY_VERIFY_WITH_TIMEOUT(!(refusal = other()).isEmpty(), 20000);
            QTRY_VERIFY_WITH_TIMEOUT(
                harness.onDisplay("xdotool", {"windowfocus", "--sync", refusal, "key", "Escape"})
                        .isEmpty() &&
                    windows(dialog).isEmpty(),
                20000);
            QCOMPARE(client->state(), QProcess::Running);
            QVERIFY(step("send 99|${NOW}"));
            QVERIFY(step("expect Message Not Handled: 99\\|\\d{14}"));
            pressStop();
            QVERIFY(harness.typeInWindow(dialog, "Sandpiper-4417"));
            harness.onDisplay("xdotool", {"key", "Return"});
        }
        QVERIFY(finishes(client, 20000));
        QCOMPARE(client->exitStatus(), QProcess::NormalExit);
        QCOMPARE(client->exitCode(), 0);
        QVERIFY(linesOf(harness.logFolder() + "/ondtpc-userlog.txt")
                    .last()
                    .endsWith("Ondrel Laptop Print Client stopped (exit code 0)"));
    }

    void renamedExecutableShowsTheFatalError()
    {
        ClientHarness harness("127.0.0.22");
        QVERIFY2(harness.start(), qPrintable(harness.errorText()));
        QVERIFY2(harness.startXServer(), qPrintable(harness.errorText()));
        const QString renamed = harness.scratchPath("printclient");
        QVERIFY(QFile::copy(harness.clientProgram(), renamed)); // executable like the original

        QProcess *client = harness.startClient({}, renamed);
        QVERIFY2(harness.pressReturnInWindow("Ondrel"), "the error dialog did not appear");
        QVERIFY(finishes(client, 15000));
        QCOMPARE(client->exitCode(), 0);
    }

    void unreachableSharedPrinterEndsTheRun()
    {
        ClientHarness harness("127.0.0.23");
        QVERIFY2(harness.start(), qPrintable(harness.errorText()));
        QVERIFY2(harness.startXServer(), qPrintable(harness.errorText()));
        // Nothing listens on 127.0.0.24: the one shared printer cannot be connected.
        QProcess *client = harness.startClient({"\\\\127.0.0.24\\nosuch"});
        QVERIFY2(harness.pressReturnInWindow("Ondrel"), "the error dialog did not appear");
        QVERIFY(finishes(client, 15000));
        QCOMPARE(client->exitCode(), 1);
        const QStringList user = linesOf(harness.logFolder() + "/ondtpc-userlog.txt");
        QVERIFY(!user.filter("Failed to connect to \\\\127.0.0.24\\nosuch").isEmpty());
    }

    // Damaged preferences files are tst_damaged_files' business.
    void preferencesFileTurnsVerboseLoggingOff()
    {
        ClientHarness harness("127.0.0.25");
        QVERIFY2(harness.start(), qPrintable(harness.errorText()));
        QVERIFY(QDir().mkpath(harness.configFolder()));
        QVERIFY(writeFile(harness.configFolder() + "/ondtpc.xml",
                          "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<Settings>\r\n"
                          "<entry name='Logging: Verbose'>0</entry>\r\n</Settings>\r\n"));

        QProcess *client = startRegistered(harness);
        QVERIFY(client);
        QVERIFY(ClientHarness::stopsCleanly(client));
        QVERIFY(!QFile::exists(harness.logFolder() + "/ondtpc-devlog.txt"));
        const QStringList user = linesOf(harness.logFolder() + "/ondtpc-userlog.txt");
        QVERIFY(user.last().endsWith("stopped (exit code 0)"));
        QVERIFY(user.filter("Could not read the preferences file").isEmpty());
    }

    void lostDisplayStillRestoresTheWorkstation()
    {
        // The toolkit ends the process from inside the event loop when its display goes away.
        ClientHarness harness("127.0.0.26");
        QVERIFY2(harness.start(), qPrintable(harness.errorText()));
        QVERIFY2(harness.startXServer(), qPrintable(harness.errorText()));
        QProcess *client = startRegistered(harness);
        QVERIFY(client);

        harness.killXServer();
        QVERIFY(finishes(client, 15000));
        const QStringList dev = linesOf(harness.logFolder() + "/ondtpc-devlog.txt");
        QVERIFY2(!dev.filter("Attempting to restore default printer to").isEmpty(),
                 qPrintable(dev.mid(dev.size() - 5).join('\n')));
        QVERIFY(!dev.filter("Exit: SharedPrinterMappings::disconnectFromSharedPrinters").isEmpty());
    }

    void closedLogFolderFallsBackToTheUsersOwn()
    {
        // The common folder's Brindlecore is a file here: no log folder can be made below it, as
        // when another user made the levels and only they may write there.
        ClientHarness harness("127.0.0.27");
        QVERIFY2(harness.start(), qPrintable(harness.errorText()));
        const QString blocked = harness.scratchPath("blocked");
        QVERIFY(QDir().mkpath(blocked) && writeFile(blocked + "/Brindlecore", {}));
        harness.setClientVariable("ONDTPC_COMMON_APPDATA", blocked);
        const QString own = harness.scratchPath("state");
        harness.setClientVariable("XDG_STATE_HOME", own);

        QProcess *client = startRegistered(harness);
        QVERIFY(client);
        QVERIFY(ClientHarness::stopsCleanly(client));

        const QString ownLogs = own + "/Brindlecore/ondrel/ondclient/ondtpc/logs";
        const QString notice = QString::fromLocal8Bit(client->readAllStandardError());
        QCOMPARE(notice.count("cannot be written; logging to " + ownLogs), 1);
        const QStringList user = linesOf(ownLogs + "/ondtpc-userlog.txt");
        QVERIFY(!user.isEmpty());
        QVERIFY(user.first().contains("cannot be written; logging to " + ownLogs));
        QVERIFY(user.last().endsWith("stopped (exit code 0)"));
        QCOMPARE(QFileInfo(ownLogs).permissions() & (QFile::ReadOther | QFile::WriteOther),
                 QFile::Permissions());
    }
};

QTEST_GUILESS_MAIN(TestClient)
#include "tst_client.moc"
