#include "printers/PrinterShare.h"
#include "printers/SharedPrinterMappings.h"

#include "FakePrinterConnector.h"
#include "RecordingObserver.h"

#include <QtTest>

// Share names as queues, and the mappings over a connector that records every call in order.
class TestSharedPrinterMappings : public QObject
{
    Q_OBJECT

private slots:
    void sharesMapToQueues_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("queue");
        QTest::addColumn<QString>("deviceUri");

        const QString plain = QStringLiteral("ipp://server/printers/share");
        QTest::newRow("backslashes") << "\\\\server\\share" << QString("server_share") << plain;
        QTest::newRow("forward slashes") << "//server/share" << QString("server_share") << plain;
        QTest::newRow("ipp address") << plain << "server_share" << plain;
        QTest::newRow("standard port is dropped")
            << "ipp://server:631/printers/share" << QString("server_share") << plain;
        // 631 is the standard port: naming it makes no second queue for the same printer.
        QTest::newRow("standard port of a share path is dropped")
            << "\\\\server:631\\share" << QString("server_share") << plain;
        QTest::newRow("port kept") << "\\\\127.0.0.1:8631\\shq" << QString("127.0.0.1:8631_shq")
                                   << "ipp://127.0.0.1:8631/printers/shq";
        QTest::newRow("ipps keeps its scheme")
            << "ipps://print.example.com/printers/color" << QString("print.example.com_color")
            << "ipps://print.example.com/printers/color";
        QTest::newRow("blank and at sign") << "\\\\srv\\Floor 2@east" << QString("srv_Floor_2_east")
                                           << "ipp://srv/printers/Floor%202%40east";
        QTest::newRow("ipv6 with port")
            << "\\\\[::1]:8631\\q" << QString("[::1]:8631_q") << "ipp://[::1]:8631/printers/q";
        QTest::newRow("ipv6 address") << "ipp://[::1]:8631/printers/q" << QString("[::1]:8631_q")
                                      << "ipp://[::1]:8631/printers/q";
        // Without brackets the device address would be no valid URL.
        QTest::newRow("bare ipv6 gets brackets")
            << "\\\\fe80::1\\q" << QString("[fe80::1]_q") << "ipp://[fe80::1]/printers/q";
    }
    void sharesMapToQueues()
    {
        QFETCH(QString, name);
        QFETCH(QString, queue);
        QFETCH(QString, deviceUri);
        const std::optional<PrinterShare> share = PrinterShare::parse(name);
        QVERIFY(share);
        QCOMPARE(share->queueName(), queue);
        QCOMPARE(share->deviceUri(), deviceUri);
        QCOMPARE(PrinterShare::queueNameFor(name), queue);
    }

    void otherNamesAreNoShares_data()
    {
        QTest::addColumn<QString>("name");

        QTest::newRow("empty") << "";
        QTest::newRow("local queue") << "Office_Laser";
        QTest::newRow("server only") << "\\\\server";
        QTest::newRow("empty share") << "\\\\server\\";
        QTest::newRow("empty server") << "\\\\\\share";
        QTest::newRow("nested path") << "\\\\server\\dir\\share";
        QTest::newRow("mixed separators") << "\\\\server/share";
        QTest::newRow("port out of range") << "\\\\server:70000\\share";
        QTest::newRow("other scheme") << "http://server/printers/share";
        QTest::newRow("ipp without queue") << "ipp://server/";
        QTest::newRow("ipp without host") << "ipp:///printers/share";
        // Found by fuzzing: a server that cannot be a host made a device address naming
        // another server (or none).
        QTest::newRow("blank in server") << "\\\\bad host\\share";
        QTest::newRow("slash in server") << "\\\\print/srv\\share";
        QTest::newRow("user in server") << "\\\\user@srv\\share";
        QTest::newRow("fragment in server") << "\\\\srv#x\\share";
        QTest::newRow("unmatched bracket") << "\\\\ct:e[::1]:8631\\q";
        QTest::newRow("port 0") << "ipp://printsrv:0/printers/lab";
        QTest::newRow("empty user before the server") << "//@its/q";
        QTest::newRow("blank before the server") << "\\\\ 127.0.0.1:8631\\shq";
        QTest::newRow("replacement characters") << QString::fromUtf8("\\\\\xef\xbf\xbd\\q");
    }
    void otherNamesAreNoShares()
    {
        QFETCH(QString, name);
        QVERIFY(!PrinterShare::parse(name));
        QCOMPARE(PrinterShare::queueNameFor(name), name); // they are queue names already
    }

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
