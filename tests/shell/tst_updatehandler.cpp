#include "../ui/DialogFakes.h"
#include "core/ProcessManagerInterface.h"
#include "settings/PrintClientPreferences.h"
#include "shell/PrintClientUpdateMsg.h"
#include "shell/PrintClientUpdateMsgHandler.h"
#include "ui/MessageBoxInterface.h"

#include <QtTest>

using Brindlecore::Core::PrintClientUpdateMsg;
using Handler = PrintClientUpdateMsgHandler;

namespace {

// Each box as "<kind> <title>: <first line of its text>"; questions get the given answer.
struct Fakes
    : MessageBoxInterface
    , ProcessManagerInterface
    , PrintClientPreferences
{
    Fakes()
        : PrintClientPreferences(nullptr)
    {}
    void critical(const QString &title, const QString &text) override
    {
        box("critical", title, text);
    }
    void warning(const QString &title, const QString &text) override
    {
        box("warning", title, text);
    }
    void information(const QString &title, const QString &text) override
    {
        box("info", title, text);
    }
    void show(const QString &title, const QString &text, const QPixmap &) override
    {
        box("show", title, text);
    }
    bool question(const QString &title, const QString &text) override
    {
        box("question", title, text);
        return answer;
    }
    void box(const char *kind, const QString &title, const QString &text)
    {
        calls << QString("%1 %2: %3").arg(kind, title, text.section('\n', 0, 0));
    }
    bool stopProcess(const QString &, int) override { return false; }
    bool startProcess(const QStringList &parts) override
    {
        started = parts;
        return starts;
    }
    bool startProcess(const QString &) override { return false; }
    bool restartProcess(const QString &, int) override { return false; }
    bool isSessionPersistent() const override { return installed; }

    QStringList calls;
    QStringList started;
    bool answer = true;
    bool starts = true;
    bool installed = true;
};

} // namespace

// How the required version is read and compared, and what an out-of-date client does.
class TestUpdateHandler : public QObject
{
    Q_OBJECT

private slots:
    void compareVersions_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("order");
        QTest::newRow("missing piece is 0") << "4.2"
                                            << "4.2.0" << 0;
        QTest::newRow("numbers, not text") << "4.10"
                                           << "4.9" << 1;
        QTest::newRow("leading zeros") << "05.01.02.0037"
                                       << "5.1.2.37" << 0;
        QTest::newRow("empty") << ""
                               << "1" << -1;
        QTest::newRow("not a number reads 0") << "4.x"
                                              << "4.0" << 0;
        QTest::newRow("beyond 64 bits") << "99999999999999999999999"
                                        << "1" << 1;
        QTest::newRow("beyond 64 bits, same length") << "1.99999999999999999999998"
                                                     << "1.99999999999999999999999" << -1;
        QTest::newRow("empty pieces dropped") << "1..2"
                                              << "1.2" << 0;
        QTest::newRow("sign or blanks inside") << "+4. 3 .1"
                                               << "0.3.1" << 0;
    }
    void compareVersions()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, order);
        QCOMPARE(Handler::compareVersions(a, b), order);
        QCOMPARE(Handler::compareVersions(b, a), -order);
    }

    void parse_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("fields"); // required version, then "|", then the source
        QTest::newRow("A and B") << ""
                                 << "64|ts|A5.1|Bhttp://h/a b" << true << "5.1|http://h/a b";
        QTest::newRow("other tag rejects all") << "64|ts|A4|Bs"
                                               << "64|ts|A5|Bt|Cx" << false << "4|s";
        QTest::newRow("id 63") << "64|ts|A4"
                               << "63|ts|A5" << false << "4|";
        QTest::newRow("later text keeps B") << "64|ts|A4|Bs"
                                            << "64|ts|A6" << true << "6|s";
    }
    void parse()
    {
        QFETCH(QString, before);
        QFETCH(QString, text);
        PrintClientUpdateMsg message;
        message.parse(before);
        QTEST(message.parse(text), "accepted");
        QTEST(message.requiredVersion() + '|' + message.downloadSource(), "fields");
    }

    void outOfDateClient_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("body");
        QTest::addColumn<bool>("starts");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<int>("quits");
        const QString question = "question Question: This Print Client is out of date and needs "
                                 "to be upgraded by a staff member.";
        QTest::newRow("current") << false << "|A5.1.2.37|Bs" << true << "80" << QStringList() << 0;
        QTest::newRow("not installed") << false << "|A5.1.2.38|Bs" << true << "86"
                                       << QStringList{"critical Error: This Print Client is out of "
                                                      "date and needs to be upgraded."}
                                       << 1;
        QTest::newRow("no source") << true << "|A6" << true << "86"
                                   << QStringList{"critical Error: This Print Client is out of "
                                                  "date. You will be unable to print until it is "
                                                  "updated."}
                                   << 0;
        QTest::newRow("download") << true << "|A6|Bhttp://h/a \"b\\c" << true << "86"
                                  << QStringList{question} << 0;
        QTest::newRow("download fails")
            << true << "|A6|Bs" << false << "86"
            << QStringList{question, "critical Error: Failed to download temporary client."} << 0;
    }
    void outOfDateClient()
    {
        QFETCH(QString, body);
        Fakes fakes;
        QFETCH(bool, installed);
        QFETCH(bool, starts);
        fakes.installed = installed;
        fakes.starts = starts;
        const FakeVersionInfo version;
        auto handler = std::make_unique<Handler>(&fakes, &fakes, nullptr, &fakes, &version);
        int quits = 0;
        handler->setQuit([&quits] { ++quits; });
        PrintClientUpdateMsg prototype(std::move(handler), nullptr);

        QTEST(prototype.handle("ps", "64|20250201090503" + body).section('|', 0, 0), "reply");
        // The reply is written when handle returns; the client may end only after that.
        QCOMPARE(quits, 0);
        QCoreApplication::sendPostedEvents();
        QTEST(quits, "quits");
        QTEST(fakes.calls, "calls");
        if (fakes.calls.value(0).startsWith("question")) {
            const QString source = body.section("|B", 1);
            QCOMPARE(fakes.started.size(), 3);
            QCOMPARE(QProcess::splitCommand(fakes.started.at(0)),
                     QStringList{QCoreApplication::applicationDirPath() + "/ondClientDownloader"});
            QCOMPARE(fakes.started.mid(1),
                     QStringList({source, QDir::homePath() + "/clientLauncher"}));
        }
    }

    // The downloader's folder stays one word whatever it holds.
    void commandWord_data()
    {
        QTest::addColumn<QString>("path");
        for (const char *path : {"/opt/a b/x", "/a\"b/x", "\"/a b\"/x\"", "/a\\ b/x", "/a\t\"\"b"})
            QTest::newRow(path) << QString(path);
    }
    void commandWord()
    {
        QFETCH(QString, path);
        QCOMPARE(QProcess::splitCommand(Handler::commandWord(path)), QStringList{path});
    }
};

QTEST_GUILESS_MAIN(TestUpdateHandler)
#include "tst_updatehandler.moc"
