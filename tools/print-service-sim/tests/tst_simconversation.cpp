#include "protocol/OpcConnection.h"
#include "protocol/OpcMessageDispatcher.h"
#include "protocol/PrintClientMessager.h"
#include "protocol/PrintClientRegistration.h"

#include "FakePrinterConnector.h"
#include "RecordingObserver.h"
#include "SimProcess.h"
#include "TestPrototype.h"

#include <QTemporaryDir>
#include <QtTest>

#include "app/EnvironmentProvider.h"

// This program's own loopback address (the Print Service port is fixed).
static const QString Address = QStringLiteral("127.0.0.7");

namespace {

class FixedEnvironment : public EnvironmentProvider
{
public:
    QString domainName() const override { return QString(); }
    QString userName() const override { return QStringLiteral("jsmith"); }
    QString computerName() const override { return QStringLiteral("LAB-PC-07"); }
    bool isClientServiceInstalled() const override { return false; }
};

} // namespace

// The client's connection, reception and registration hold a scripted conversation with
// the simulator over loopback, across a restart of the Print Service.
class TestSimConversation : public QObject
{
    Q_OBJECT

private slots:
    void conversationAcrossARestart();
};

void TestSimConversation::conversationAcrossARestart()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile script(dir.filePath("conversation.txt"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("expect register:jsmith:LAB-PC-07\n"
                 "send 58|${NOW}|Asecret|Qen_us\n"
                 "expect 59\\|20250201090503\\|Aen_us\n"
                 "send 80|${NOW}\n"
                 "expect Message Not Handled: 80\\|\\d{14}\n"
                 "send No Response\n"
                 "expect No Response\n"
                 "close\n"
                 "wait 1500\n"
                 "reopen\n"
                 "expect register:jsmith:LAB-PC-07\n"
                 "send 58|${NOW}|Qfr_ca\n"
                 "expect 59\\|20250201090503\\|Aen_us\n");
    script.close();

    SimProcess sim;
    QVERIFY(sim.start({"--listen", Address, "--script", script.fileName(), "--timeout", "5000"}));

    RecordingObserver observer;
    FixedEnvironment environment;
    FakePrinterConnector connector(Address);
    QStringList handled;
    TestPrototype settings(58, "59|20250201090503|Aen_us", &handled, &observer);
    OpcMessageDispatcher dispatcher(&observer);
    dispatcher.registerMessage(58, &settings);
    PrintClientMessager messager(&observer);
    PrintClientRegistration registration(&messager, &environment);
    OpcConnection reception(&dispatcher, &messager, &observer);
    messager.setPrinterConnector(&connector);
    messager.addConnectionListener(&registration);
    messager.setMessageListener(&reception);
    messager.reconnect();

    QVERIFY(sim.finish(30000));
    QVERIFY2(sim.exitCode() == 0, qPrintable(sim.errors() + sim.output()));
    QCOMPARE(handled, (QStringList{"Print Service: 58", "Print Service: 58"}));
    QCOMPARE(observer.count("Enter: PrintClientMessager::connectionEstablished"), 2);
    QVERIFY(observer.texts("Info").filter("secret").isEmpty());
    QVERIFY(sim.output().contains("#2 < register:jsmith:LAB-PC-07"));
}

QTEST_GUILESS_MAIN(TestSimConversation)
#include "tst_simconversation.moc"
