#include "core/CommandLine.h"

#include <QtTest>

using OptionMap = QMap<QString, QString>;

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parses_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("plain");
        QTest::addColumn<OptionMap>("options");

        QTest::newRow("program only")
            << QStringList{"/usr/bin/ondtpc"} << QStringList{"/usr/bin/ondtpc"} << OptionMap{};
        QTest::newRow("value keeps later separators")
            << QStringList{"ondtpc", "-locale=a=b", "-x:y=z"} << QStringList{"ondtpc"}
            << OptionMap{{"LOCALE", "a=b"}, {"X:Y", "z"}};
        QTest::newRow("colon separator, any case")
            << QStringList{"ondtpc", "-Locale:xx", "-dialect:fr:ca"} << QStringList{"ondtpc"}
            << OptionMap{{"LOCALE", "xx"}, {"DIALECT", "fr:ca"}};
        QTest::newRow("option without value")
            << QStringList{"ondtpc", "-verbose", "-e="} << QStringList{"ondtpc"}
            << OptionMap{{"VERBOSE", ""}, {"E", ""}};
        QTest::newRow("quotes stripped from plain arguments")
            << QStringList{"ondtpc", "'\\\\srv\\q1'", "\"\\\\srv\\q 2\"", "in'si\"de"}
            << QStringList{"ondtpc", "\\\\srv\\q1", "\\\\srv\\q 2", "inside"} << OptionMap{};
        QTest::newRow("quotes kept in option values")
            << QStringList{"ondtpc", "-locale=\"fr_ca\""} << QStringList{"ondtpc"}
            << OptionMap{{"LOCALE", "\"fr_ca\""}};
        QTest::newRow("last repetition wins")
            << QStringList{"ondtpc", "-locale=de_de", "-LOCALE=fr_fr"} << QStringList{"ondtpc"}
            << OptionMap{{"LOCALE", "fr_fr"}};
        QTest::newRow("empty argument is plain")
            << QStringList{"ondtpc", ""} << QStringList{"ondtpc", ""} << OptionMap{};
    }
    void parses()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, plain);
        QFETCH(OptionMap, options);

        const CommandLine commandLine(arguments);
        QCOMPARE(commandLine.plainArguments(), plain);
        for (auto it = options.cbegin(); it != options.cend(); ++it) {
            QVERIFY2(commandLine.hasOption(it.key()), qPrintable(it.key()));
            QVERIFY(commandLine.hasOption(it.key().toLower()));
            QCOMPARE(commandLine.optionValue(it.key().toLower()), it.value());
        }
        QVERIFY(!commandLine.hasOption("absent"));
        QCOMPARE(commandLine.optionValue("absent"), QString());
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
