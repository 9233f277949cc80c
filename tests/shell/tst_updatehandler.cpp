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

// Records each box as "<kind> <title>: <text>" and each started command; says Yes, and the
// start fails for the source "fail".
struct Fakes
    : MessageBoxInterface
    , ProcessManagerInterface
    , PrintClientPreferences
{
    Fakes()
        : PrintClientPreferences(nullptr)
    {}
    void critical(const QString &t, const QString &x) override { calls << box("critical", t, x); }
    void warning(const QString &, const QString &) override {}
    void information(const QString &, const QString &) override {}
    void show(const QString &, const QString &, const QPixmap &) override {}
    bool question(const QString &t, const QString &x) override
    {
        return !(calls << box("question", t, x)).isEmpty();
    }
    bool stopProcess(const QString &, int) override { return false; }
    bool startProcess(const QStringList &parts) override { return (started = parts)[1] != "fail"; }
    bool startProcess(const QString &) override { return false; }
    bool restartProcess(const QString &, int) override { return false; }
    bool isSessionPersistent() const override { return installed; }
    static QString box(const char *kind, const QString &title, const QString &text)
    {
        return QString("%1 %2: %3").arg(kind, title, text);
    }

    QStringList calls;
    QStringList started;
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
        const auto row = [](const char *a, const char *b, int order) {
            QTest::newRow(a) << QString(a) << QString(b) << order;
        };
        row("4.2", "4.2.0", 0);
        row("4.10", "4.9", 1);
        row("05.01.02.0037", "5.1.2.37", 0);
        row("", "1", -1);
        row("4.x", "4.0", 0);
        row("99999999999999999999999", "1", 1);
        row("1.99999999999999999999998", "1.99999999999999999999999", -1);
        row("1..2", "1.2", 0);
        row("+4. 3 .1", "0.3.1", 0); // a sign makes no number; blanks around one do not matter
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
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QStringList>("fields"); // the required version and the source
        QTest::newRow("A and B") << "64|ts|A5.1|Bh/a b" << true << ""
                                 << QStringList{"5.1", "h/a b"};
        QTest::newRow("C rejects all")
            << "64|ts|A5|Bt|Cx" << false << "64|ts|A4|Bs" << QStringList{"4", "s"};
        QTest::newRow("id 63") << "63|ts|A5" << false << "64|ts|A4" << QStringList{"4", ""};
        QTest::newRow("later text keeps B")
            << "64|ts|A6" << true << "64|ts|A4|Bs" << QStringList{"6", "s"};
    }
    void parse()
    {
        QFETCH(QString, before);
        QFETCH(QString, text);
        PrintClientUpdateMsg message;
        message.parse(before);
        QTEST(message.parse(text), "accepted");
        QTEST(QStringList({message.requiredVersion(), message.downloadSource()}), "fields");
    }

    // The client's version is 05.01.02.0037. It answers 80 when it shows nothing, else 86, and
    // only a client that is not installed ends.
    void outOfDateClient_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QStringList>("calls");
        const QString error = "critical Error: ";
        const QString question = Fakes::box("question", "Question", Handler::DownloadQuestionText);
        QTest::newRow("current") << false << "|A5.1.2.37|Bs" << QStringList();
        QTest::newRow("not installed")
            << false << "|A5.1.2.38|Bs" << QStringList{error + Handler::NotInstalledText};
        QTest::newRow("no source")
            << true << "|A6" << QStringList{error + Handler::UnableToPrintText};
        QTest::newRow("download") << true << "|A6|Bh://a \"b\\c" << QStringList{question};
        QTest::newRow("download fails")
            << true << "|A6|Bfail" << QStringList{question, error + Handler::DownloadFailedText};
    }
    void outOfDateClient()
    {
        QFETCH(bool, installed);
        QFETCH(QString, body);
        QFETCH(QStringList, calls);
        Fakes fakes;
        fakes.installed = installed;
        const FakeVersionInfo version;
        auto handler = std::make_unique<Handler>(&fakes, &fakes, nullptr, &fakes, &version);
        int quits = 0;
        handler->setQuit([&quits] { ++quits; });
        PrintClientUpdateMsg prototype(std::move(handler), nullptr);

        const QString reply = prototype.handle("ps", "64|20250201090503" + body);
        QCOMPARE(reply.section('|', 0, 0), calls.isEmpty() ? "80" : "86");
        QCOMPARE(fakes.calls, calls);
        // The reply is written when handle returns; the client may end only after that.
        QCOMPARE(quits, 0);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(quits, int(!installed && !calls.isEmpty()));
        if (!fakes.started.isEmpty()) {
            QCOMPARE(QProcess::splitCommand(fakes.started.value(0)),
                     QStringList{QCoreApplication::applicationDirPath() + "/ondClientDownloader"});
            QCOMPARE(fakes.started.mid(1),
                     QStringList({body.section("|B", 1), QDir::homePath() + "/clientLauncher"}));
        }
    }

    // The downloader's folder stays one word whatever it holds.
    void commandWord()
    {
        for (const QString path :
             {"/opt/a b/x", "/a\"b/x", "\"/a b\"/x\"", "/a\\ b/x", "/a\t\"\"b"})
            QCOMPARE(QProcess::splitCommand(Handler::commandWord(path)), QStringList{path});
    }
};

QTEST_GUILESS_MAIN(TestUpdateHandler)
#include "tst_updatehandler.moc"
