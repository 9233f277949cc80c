#include "printers/SharedPrinterMappings.h"

#include "FakePrinterConnector.h"
#include "RecordingObserver.h"

#include <QtTest>

// The mappings over an in-memory connector that records every call in order.
class TestSharedPrinterMappings : public QObject
{
    Q_OBJECT

private slots:
    void connectsAndPicksTheFirstConnected_data()
    {
        QTest::addColumn<QStringList>("printers");
        QTest::addColumn<QStringList>("refused");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QStringList>("calls");

        const QString a = QStringLiteral("\\\\srv\\a");
        const QString b = QStringLiteral("\\\\srv\\b");
        const QStringList tries{"addConnection " + a, "addConnection " + b};
        QTest::newRow("no arguments") << QStringList{} << QStringList{} << true << QStringList{};
        // A first name that fails: shutdownRestoresTheDefaultBeforeRemoving.
        QTest::newRow("both connect") << QStringList{a, b} << QStringList{} << true
                                      << tries + QStringList{"setDefaultPrinter " + a};
        QTest::newRow("all fail") << QStringList{a, b} << QStringList{a, b} << false << tries;
    }
    void connectsAndPicksTheFirstConnected()
    {
        QFETCH(QStringList, printers);
        QFETCH(QStringList, refused);
        QFETCH(bool, result);
        QFETCH(QStringList, calls);
        FakePrinterConnector connector(QStringLiteral("127.0.0.1"));
        for (const QString &name : refused)
            connector.refuseConnection(name);
        RecordingObserver log;
        SharedPrinterMappings mappings(&connector, &log);
        QCOMPARE(mappings.connectToSharedPrinters(printers), result);
        QCOMPARE(connector.calls(), calls);
        QCOMPARE(log.contains("Info", "No printers to connect"), printers.isEmpty());
    }

    void shortNamesSelectAConnectedShare_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("passedOn");

        QTest::newRow("last element of a share") << "color" << QString("\\\\srv\\color");
        QTest::newRow("first match wins") << "mono" << QString("\\\\srv\\mono");
        QTest::newRow("slash form") << "plotter" << QString("//big/plotter");
        QTest::newRow("ipp form") << "label" << QString("ipp://srv:8631/printers/label");
        QTest::newRow("full path") << "\\\\srv\\color" << QString("\\\\srv\\color");
        QTest::newRow("case matters") << "Color" << QString("Color");
        QTest::newRow("only whole elements") << "olor" << QString("olor");
        QTest::newRow("unknown") << "Lobby" << QString("Lobby");
    }
    void shortNamesSelectAConnectedShare()
    {
        QFETCH(QString, name);
        QFETCH(QString, passedOn);
        FakePrinterConnector connector(QStringLiteral("127.0.0.1"));
        SharedPrinterMappings mappings(&connector, nullptr);
        QVERIFY(
            mappings.connectToSharedPrinters({"\\\\srv\\color", "\\\\srv\\mono", "\\\\other\\mono",
                                              "//big/plotter", "ipp://srv:8631/printers/label"}));
        const qsizetype before = connector.calls().size();
        mappings.setDefaultPrinter(name);
        QCOMPARE(connector.calls().mid(before), QStringList{"setDefaultPrinter " + passedOn});
    }

    void shutdownRestoresTheDefaultBeforeRemoving()
    {
        FakePrinterConnector connector(QStringLiteral("127.0.0.1"));
        connector.setCurrentDefaultPrinter(QStringLiteral("Office"));
        connector.refuseConnection(QStringLiteral("\\\\srv\\a"));
        RecordingObserver log;
        SharedPrinterMappings mappings(&connector, &log);
        QVERIFY(mappings.connectToSharedPrinters({"\\\\srv\\a", "\\\\srv\\b", "\\\\srv\\c"}));
        // The default printer found at construction comes back, whatever it is by then.
        connector.setCurrentDefaultPrinter(QStringLiteral("Changed later"));
        mappings.restoreDefaultPrinter();
        mappings.disconnectFromSharedPrinters();

        QCOMPARE(connector.calls().mid(3),
                 (QStringList{"setDefaultPrinter \\\\srv\\b", "setDefaultPrinter Office",
                              "removeConnection \\\\srv\\b", "removeConnection \\\\srv\\c"}));
        // The user log shows each attempt and the one that failed.
        QCOMPARE(log.texts("Info"), (QStringList{"Attempting to connect to \\\\srv\\a",
                                                 "Attempting to connect to \\\\srv\\b",
                                                 "Attempting to connect to \\\\srv\\c"}));
        QCOMPARE(log.texts("Warning"), QStringList{"Failed to connect to \\\\srv\\a"});
    }
};

QTEST_GUILESS_MAIN(TestSharedPrinterMappings)
#include "tst_sharedprintermappings.moc"
