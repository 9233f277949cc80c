#include "app/EnvironmentProvider.h"
#include "protocol/MessageClientInterface.h"
#include "protocol/OpcConnection.h"
#include "protocol/OpcMessageDispatcher.h"
#include "protocol/PrintClientMessager.h"
#include "protocol/PrintClientRegistration.h"

#include "FakePrinterConnector.h"
#include "LoopbackPrintService.h"

#include <QtTest>

// This program's own loopback address (the port is fixed; see CMakeLists.txt).
static const QString Address = QStringLiteral("127.0.0.4");

namespace {

class FixedEnvironment : public EnvironmentProvider
{
public:
    QString domainName() const override { return QString(); }
    QString userName() const override { return m_user; }
    QString computerName() const override { return m_computer; }
    bool isClientServiceInstalled() const override { return false; }

    QString m_user;
    QString m_computer;
};

class RecordingMessageClient : public MessageClientInterface
{
public:
    bool sendMessage(const QString &text) override
    {
        m_sent.append(text);
        return false; // a failed write changes nothing for the registration
    }
    QStringList m_sent;
};

} // namespace

class TestPrintClientRegistration : public QObject
{
    Q_OBJECT

private slots:
    void registrationText_data();
    void registrationText();
    void namesAreReadOnEveryConnection();
    void registrationIsFirstOnEveryConnection();
};

void TestPrintClientRegistration::registrationText_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("computer");
    QTest::addColumn<QString>("text");

    QTest::newRow("plain") << "jsmith"
                           << "LAB-PC-07"
                           << "register:jsmith:LAB-PC-07";
    QTest::newRow("colon in the user name") << "DOM:x"
                                            << "PC"
                                            << "register:DOM\\:x:PC";
    QTest::newRow("backslash in the computer name") << "jo"
                                                    << "LAB\\PC"
                                                    << "register:jo:LAB\\\\PC";
    QTest::newRow("names that cannot be read") << QString() << QString() << "register::";
}

void TestPrintClientRegistration::registrationText()
{
    QFETCH(QString, user);
    QFETCH(QString, computer);
    QFETCH(QString, text);

    FixedEnvironment environment;
    environment.m_user = user;
    environment.m_computer = computer;
    RecordingMessageClient client;
    PrintClientRegistration registration(&client, &environment);
    registration.connectionEstablished();
    registration.connectionLost();
    QCOMPARE(client.m_sent, QStringList{text});
}

void TestPrintClientRegistration::namesAreReadOnEveryConnection()
{
    FixedEnvironment environment;
    environment.m_user = "first";
    environment.m_computer = "PC";
    RecordingMessageClient client;
    PrintClientRegistration registration(&client, &environment);
    registration.connectionEstablished();
    environment.m_user = "second";
    registration.connectionEstablished();
    QCOMPARE(client.m_sent, (QStringList{"register:first:PC", "register:second:PC"}));
}

void TestPrintClientRegistration::registrationIsFirstOnEveryConnection()
{
    FixedEnvironment environment;
    environment.m_user = "jsmith";
    environment.m_computer = "LAB-PC-07";
    FakePrinterConnector connector(Address);
    OpcMessageDispatcher dispatcher(nullptr);
    PrintClientMessager messager(nullptr);
    PrintClientRegistration registration(&messager, &environment);
    OpcConnection reception(&dispatcher, &messager, nullptr);
    messager.setPrinterConnector(&connector);
    messager.addConnectionListener(&registration);
    messager.setMessageListener(&reception);

    LoopbackPrintService service(Address);
    // The Print Service speaks first on every connection; the client's registration must
    // still be the first thing written.
    connect(&service, &LoopbackPrintService::connectionAccepted, &service,
            [&](int connection) { service.sendText(connection, "80|20250201090503"); });
    QVERIFY(service.listen());
    messager.reconnect();

    const int connections = 3;
    for (int i = 0; i < connections; ++i) {
        QVERIFY(service.waitForConnections(i + 1, 5000));
        QVERIFY(service.waitForTexts(i, 2));
        QCOMPARE(service.texts(i), (QStringList{"register:jsmith:LAB-PC-07",
                                                "Message Not Handled: 80|20250201090503"}));
        if (i + 1 < connections)
            service.close(i);
    }
    QCOMPARE(service.connectionCount(), connections);
}

QTEST_GUILESS_MAIN(TestPrintClientRegistration)
#include "tst_printclientregistration.moc"
