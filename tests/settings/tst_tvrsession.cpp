#include "core/BcHttp.h"
#include "settings/HexCodec.h"
#include "settings/Registry.h"
#include "settings/TvrSessionRegistry.h"

#include "FileBytes.h"
#include "HttpPeer.h"
#include "LogLines.h"

#include <QtTest>

using UtilsLib::hexEncode;
using Values = QMap<QString, QString>;

namespace {

// The workstation the web service is told of; an empty name cannot be read.
struct Workstation : PcInfoProviderInterface
{
    QString name;
    bool isRemoteSession() const override { return false; }
    QString machineName() const override { return name.isEmpty() ? throw std::exception() : name; }
    QString machineAddress() const override { return {}; }
};

const QString Pin = "7q3z";
const QString Machine = "lab pc+1&x=y#z%41/é";

} // namespace

// The booking session from version 4's web service over real HTTP, or older versions' settings.
class TestTvrSession : public QObject
{
    Q_OBJECT

    // version: the uninstall entry's DisplayVersion, "wow " first for the 32-bit key.
    std::unique_ptr<TvrSessionRegistry> session(const QString &version, const Values &settings = {},
                                                const QString &pc = Machine)
    {
        Values values{{"In Session", "1"},
                      {"Current User", "ann"},
                      {"Access Key", "5555"},
                      {"PC Description", "Desk 3"},
                      {"Language", "de_de"}};
        values.insert(settings);
        m_store->clear();
        for (auto it = values.begin(); it != values.end(); ++it)
            m_store->setValue(it.key(), it.value());
        m_store->sync();
        UtilsLib::Registry registry;
        const bool wow = version.startsWith("wow ");
        if (registry.setRoot("HKLM") && !version.isEmpty())
            registry.writeValue(wow ? TvrSessionRegistry::Wow64UninstallKey
                                    : TvrSessionRegistry::UninstallKey,
                                "DisplayVersion", "sz:" + version.mid(wow ? 4 : 0));
        auto workstation = std::make_unique<Workstation>();
        workstation->name = pc;
        return std::make_unique<TvrSessionRegistry>(&m_http, &m_log, m_port, std::move(workstation),
                                                    &registry);
    }

private slots:
    void initTestCase()
    {
        // Before any QSettings exists: the booking product's values live under this home.
        qputenv("XDG_CONFIG_HOME", m_home.filePath("config").toUtf8());
        qputenv("ONDTPC_REGISTRY_DIR", m_home.path().toUtf8());
        m_store = std::make_unique<QSettings>(m_settingsFile, QSettings::IniFormat);
    }
    void init()
    {
        m_log.clear();
        QFile::remove(m_home.filePath("HKEY_LOCAL_MACHINE.ini"));
        // A key the test leaves out is answered with 500.
        m_peer = std::make_unique<HttpPeer>([this](QTcpSocket *socket, const QByteArray &path) {
            const QString key = QString::fromUtf8(path.split('?').first().mid(1));
            httpReply(socket, m_web.contains(key) ? httpResponse("200 OK", m_web[key].toUtf8())
                                                  : httpResponse("500 Oops", ""));
        });
        QVERIFY(m_peer->server.listen(QHostAddress::LocalHost));
        m_port = m_peer->server.serverPort();
    }

    void sessionValues_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<Values>("web");
        QTest::addColumn<Values>("settings"); // besides those of every row
        QTest::addColumn<QString>("values");  // in session|user|PIN|description|language
        QTest::addColumn<int>("requests");    // -1: the port refuses, 10 attempts
        const Values all{{"patron_id", hexEncode("bob")},
                         {"patron_pin", hexEncode(Pin)},
                         {"computer_description", "Lab 1"},
                         {"current_language_code", "es_mx"}};
        const Values empty{{"patron_id", ""}, {"patron_pin", ""}, {"computer_description", ""}};
        const Values encrypted{{"Access Key", hexEncode("5555")}, {"Encrypt PIN", "true"}};
        const auto lang = [](const char *code) { return Values{{"current_language_code", code}}; };
        const QString web = "1|bob|7q3z|Lab 1|es_us", settings = "1|ann|5555|Desk 3|de_de";
        const QString noWeb = "0|ann|5555|Desk 3|";
        QTest::newRow("none") << "" << all << Values() << settings << 0;
        QTest::newRow("none, encrypted") << "" << all << encrypted << settings << 0;
        QTest::newRow("3.9") << "3.9.2" << all << Values() << settings << 0;
        QTest::newRow("4") << "4.1.0" << all << Values() << web << 5;
        QTest::newRow("4, 32-bit key") << "wow 4.0" << all << Values() << web << 5;
        QTest::newRow("4, empty") << "4.1" << empty << Values() << noWeb + "de_de" << 6;
        QTest::newRow("4, 500") << "4.1" << Values() << Values() << noWeb + "de_de" << 10;
        QTest::newRow("4, refused") << "4.1" << all << Values() << noWeb + "de_de" << -1;
        QTest::newRow("4, encrypted") << "4.1" << Values{{"patron_pin", hexEncode(hexEncode(Pin))}}
                                      << encrypted << "0|ann|7q3z|Desk 3|de_de" << 9;
        QTest::newRow("en_gb") << "4.1" << lang("en_gb") << Values() << noWeb + "en_us" << 9;
        QTest::newRow("fr_ca") << "4.1" << lang("fr_ca") << Values() << noWeb + "fr" << 9;
        QTest::newRow("EN") << "4.1" << lang("EN") << Values() << noWeb + "EN" << 9;
    }
    void sessionValues()
    {
        QFETCH(QString, version);
        QFETCH(Values, web);
        QFETCH(Values, settings);
        QFETCH(int, requests);
        m_web = web;
        if (requests < 0)
            m_peer->server.close();
        const auto tvr = session(version, settings);
        const QStringList values{tvr->isInSession() ? "1" : "0", tvr->currentUser(),
                                 tvr->currentPin(), tvr->computerDescription(true),
                                 tvr->getLanguage()};
        QTEST(values.join('|'), "values");
        QCOMPARE(m_peer->requests.size(), qMax(requests, 0));
        QCOMPARE(m_log.texts().filter("request string: ").size(), requests < 0 ? 10 : requests);
        QCOMPARE(m_log.count("skipping TVR4 integration"), requests == 0 ? 5 : 0);
        for (const QByteArray &line : m_peer->requests)
            QVERIFY(
                line.endsWith("?computer_name=" + QUrl::toPercentEncoding(Machine) + " HTTP/1.1"));
        QVERIFY(m_log.texts().filter(QRegularExpression(Pin + '|' + hexEncode(Pin))).isEmpty());
    }

    // One attempt when answered, PIN masked, two when not; no machine name is warned of and empty.
    void logsEachAttempt()
    {
        m_web = {{"patron_pin", hexEncode(Pin)}};
        const auto tvr = session("4.2", {}, "");
        tvr->currentPin();
        tvr->isInSession();
        const LogLines line{"TvrSessionRegistry"};
        QStringList expected{line("Warning", 2, "TvrSessionRegistry",
                                  "Could not read the machine name (std::exception); the "
                                  "booking session is asked for without it")};
        const QString request = "request string: http://127.0.0.1:%1/%2?computer_name=";
        for (const QString &text :
             {request.arg(m_port).arg("patron_pin"), QString("response string: ****"),
              request.arg(m_port).arg("patron_id"), QString("request failed: response string: "),
              request.arg(m_port).arg("patron_id")})
            expected << line("Verbose", 9, "userInputFromTavrinWebService", text);
        QCOMPARE(LogLines::of(m_log), expected);
        QCOMPARE(m_peer->requests.value(0), "GET /patron_pin?computer_name= HTTP/1.1");
    }

    // The count is read from and written to the file the booking product shares.
    void addPagesPrinted()
    {
        const auto tvr = session("");
        QVERIFY(writeFile(m_settingsFile, "[General]\nPages%20Printed%20This%20Session=10\n"));
        tvr->addPagesPrinted(3);
        QVERIFY(readFile(m_settingsFile).contains("Pages%20Printed%20This%20Session=13"));
        // A negative count never lowers it, and the sum stops at the largest count.
        tvr->addPagesPrinted(-5);
        QCOMPARE(tvr->pagesPrintedThisSession(), 13);
        tvr->addPagesPrinted(2147483647);
        QCOMPARE(tvr->pagesPrintedThisSession(), 2147483647);
    }

private:
    QTemporaryDir m_home;
    const QString m_settingsFile = m_home.filePath("config/Tavrin/Interface Software.conf");
    std::unique_ptr<QSettings> m_store; // the same file
    BcHttp m_http;
    RecordingObserver m_log;
    Values m_web; // the web service's body per key
    std::unique_ptr<HttpPeer> m_peer;
    int m_port = 0;
};

QTEST_GUILESS_MAIN(TestTvrSession)
#include "tst_tvrsession.moc"
