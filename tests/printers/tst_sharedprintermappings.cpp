#include "app/ObservableEvent.h"
#include "printers/PrinterConnectorInterface.h"
#include "printers/SharedPrinterMappings.h"

#include "RecordingObserver.h"

#include <QtTest>

namespace {

// A spooler in memory: connections are a list, the default printer a name, and every call is
// written down in order.
class MemoryPrinterConnector : public PrinterConnectorInterface
{
public:
    bool addConnection(const QString &printerName) override
    {
        calls << QStringLiteral("add %1").arg(printerName);
        if (refused.contains(printerName))
            return false;
        connections << printerName;
        return true;
    }
    bool removeConnection(const QString &printerName) override
    {
        calls << QStringLiteral("remove %1").arg(printerName);
        return connections.removeOne(printerName);
    }
    void setDefaultPrinter(const QString &printerName) override
    {
        calls << QStringLiteral("default %1").arg(printerName);
        if (!printerName.isEmpty())
            defaultPrinter = printerName;
    }
    QString getDefaultPrinter() override { return defaultPrinter; }
    QString getPrintServiceForOndrelPrinter() override { return QStringLiteral("127.0.0.1"); }
    void onTerminate() override {}
    bool initialize() override { return true; }

    QStringList refused;
    QStringList connections;
    QString defaultPrinter = QStringLiteral("Office");
    QStringList calls;
};

} // namespace

class TestSharedPrinterMappings : public QObject
{
    Q_OBJECT

private slots:
    void connectsAndPicksTheFirstConnected_data();
    void connectsAndPicksTheFirstConnected();
    void shortNamesSelectAConnectedShare_data();
    void shortNamesSelectAConnectedShare();
    void shutdownRestoresTheDefaultBeforeRemoving();
    void logLinesCarryTheirLevels();
};

void TestSharedPrinterMappings::connectsAndPicksTheFirstConnected_data()
{
    QTest::addColumn<QStringList>("printers");
    QTest::addColumn<QStringList>("refused");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("connected");
    QTest::addColumn<QString>("defaultPrinter");

    QTest::newRow("no arguments") << QStringList{} << QStringList{} << true << QStringList{}
                                  << "Office";
    QTest::newRow("first of two fails")
        << QStringList{"\\\\srv\\a", "\\\\srv\\b"} << QStringList{"\\\\srv\\a"} << true
        << QStringList{"\\\\srv\\b"} << "\\\\srv\\b";
    QTest::newRow("both connect") << QStringList{"\\\\srv\\a", "\\\\srv\\b"} << QStringList{}
                                  << true << QStringList{"\\\\srv\\a", "\\\\srv\\b"}
                                  << "\\\\srv\\a";
    QTest::newRow("all fail") << QStringList{"\\\\srv\\a", "\\\\srv\\b"}
                              << QStringList{"\\\\srv\\a", "\\\\srv\\b"} << false << QStringList{}
                              << "Office";
}

void TestSharedPrinterMappings::connectsAndPicksTheFirstConnected()
{
    QFETCH(QStringList, printers);
    QFETCH(QStringList, refused);
    QFETCH(bool, result);
    QFETCH(QStringList, connected);
    QFETCH(QString, defaultPrinter);

    MemoryPrinterConnector connector;
    connector.refused = refused;
    RecordingObserver log;
    SharedPrinterMappings mappings(&connector, &log);

    QCOMPARE(mappings.connectToSharedPrinters(printers), result);
    QCOMPARE(connector.connections, connected);
    QCOMPARE(connector.defaultPrinter, defaultPrinter);
    // Every name is tried once, in order, even after a failure.
    QStringList adds;
    for (const QString &name : printers)
        adds << QStringLiteral("add %1").arg(name);
    QCOMPARE(connector.calls.filter(QStringLiteral("add ")), adds);
    if (printers.isEmpty()) {
        QVERIFY(log.contains("Info", "No printers to connect"));
        QVERIFY(connector.calls.isEmpty());
    }
}

void TestSharedPrinterMappings::shortNamesSelectAConnectedShare_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("passedOn");

    QTest::newRow("last element of a share") << "color"
                                             << "\\\\srv\\color";
    QTest::newRow("first match wins") << "mono"
                                      << "\\\\srv\\mono";
    QTest::newRow("slash form") << "plotter"
                                << "//big/plotter";
    QTest::newRow("ipp form") << "label"
                              << "ipp://srv:8631/printers/label";
    QTest::newRow("full path") << "\\\\srv\\color"
                               << "\\\\srv\\color";
    QTest::newRow("case matters") << "Color"
                                  << "Color";
    QTest::newRow("only whole elements") << "olor"
                                         << "olor";
    QTest::newRow("unknown") << "Lobby"
                             << "Lobby";
}

void TestSharedPrinterMappings::shortNamesSelectAConnectedShare()
{
    QFETCH(QString, name);
    QFETCH(QString, passedOn);

    MemoryPrinterConnector connector;
    SharedPrinterMappings mappings(&connector, nullptr);
    QVERIFY(mappings.connectToSharedPrinters({"\\\\srv\\color", "\\\\srv\\mono", "\\\\other\\mono",
                                              "//big/plotter", "ipp://srv:8631/printers/label"}));
    connector.calls.clear();

    mappings.setDefaultPrinter(name);
    QCOMPARE(connector.calls, QStringList{QStringLiteral("default %1").arg(passedOn)});
}

void TestSharedPrinterMappings::shutdownRestoresTheDefaultBeforeRemoving()
{
    MemoryPrinterConnector connector;
    connector.refused = {"\\\\srv\\gone"};
    SharedPrinterMappings mappings(&connector, nullptr);
    QVERIFY(mappings.connectToSharedPrinters({"\\\\srv\\gone", "\\\\srv\\a", "\\\\srv\\b"}));
    // The default changes after construction; the one found at construction comes back.
    connector.defaultPrinter = QStringLiteral("Changed later");
    connector.calls.clear();

    mappings.restoreDefaultPrinter();
    mappings.disconnectFromSharedPrinters();

    QCOMPARE(connector.calls,
             (QStringList{"default Office", "remove \\\\srv\\a", "remove \\\\srv\\b"}));
    QVERIFY(connector.connections.isEmpty());
    QCOMPARE(connector.defaultPrinter, QStringLiteral("Office"));
}

void TestSharedPrinterMappings::logLinesCarryTheirLevels()
{
    MemoryPrinterConnector connector;
    connector.refused = {"\\\\srv\\a"};
    RecordingObserver log;
    SharedPrinterMappings mappings(&connector, &log);
    mappings.connectToSharedPrinters({"\\\\srv\\a", "\\\\srv\\b"});
    mappings.restoreDefaultPrinter();
    mappings.disconnectFromSharedPrinters();

    const QString origin = QStringLiteral("SharedPrinterMappings");
    struct Line
    {
        const char *type;
        int level;
        const char *method;
        QString text;
    };
    const QList<Line> expected{
        {"Trace", 9, "connectToSharedPrinters",
         "Enter: SharedPrinterMappings::connectToSharedPrinters"},
        {"Info", 6, "connectToSharedPrinters", "Attempting to connect to \\\\srv\\a"},
        {"Warning", 2, "connectToSharedPrinters", "Failed to connect to \\\\srv\\a"},
        {"Info", 6, "connectToSharedPrinters", "Attempting to connect to \\\\srv\\b"},
        {"Verbose", 9, "connectToSharedPrinters", "Successfully connected to \\\\srv\\b"},
        {"Verbose", 9, "connectToSharedPrinters",
         "Attempting to set default printer to \\\\srv\\b"},
        {"Trace", 9, "setDefaultPrinter", "Enter: SharedPrinterMappings::setDefaultPrinter"},
        {"Verbose", 9, "setDefaultPrinter", "Attempting to set default printer to \\\\srv\\b"},
        {"Trace", 9, "setDefaultPrinter", "Exit: SharedPrinterMappings::setDefaultPrinter"},
        {"Trace", 9, "connectToSharedPrinters",
         "Exit: SharedPrinterMappings::connectToSharedPrinters"},
        {"Trace", 9, "restoreDefaultPrinter",
         "Enter: SharedPrinterMappings::restoreDefaultPrinter"},
        {"Verbose", 9, "restoreDefaultPrinter", "Attempting to restore default printer to Office"},
        {"Trace", 9, "restoreDefaultPrinter", "Exit: SharedPrinterMappings::restoreDefaultPrinter"},
        {"Trace", 9, "disconnectFromSharedPrinters",
         "Enter: SharedPrinterMappings::disconnectFromSharedPrinters"},
        {"Verbose", 9, "disconnectFromSharedPrinters",
         "Attempting to remove connection to \\\\srv\\b"},
        {"Trace", 9, "disconnectFromSharedPrinters",
         "Exit: SharedPrinterMappings::disconnectFromSharedPrinters"},
    };
    const QList<UtilsLib::ObservableEvent> events = log.events();
    QCOMPARE(events.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QCOMPARE(events[i].text(), expected[i].text);
        QCOMPARE(events[i].type(), QString::fromLatin1(expected[i].type));
        QCOMPARE(int(events[i].level()), expected[i].level);
        QCOMPARE(events[i].source(), origin);
        QCOMPARE(events[i].className(), origin);
        QCOMPARE(events[i].methodName(), QString::fromLatin1(expected[i].method));
    }
}

QTEST_GUILESS_MAIN(TestSharedPrinterMappings)
#include "tst_sharedprintermappings.moc"
