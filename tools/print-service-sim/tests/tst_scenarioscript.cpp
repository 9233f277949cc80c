#include "ScenarioScript.h"
#include "TrafficLog.h"

#include <QBuffer>
#include <QtTest>

Q_DECLARE_METATYPE(ScenarioStep::Kind)

class TestScenarioScript : public QObject
{
    Q_OBJECT

private slots:
    void steps_data();
    void steps();
    void errors_data();
    void errors();
    void wholeScriptKeepsLineNumbers();
    void nowIsExpandedWhenSent();
    void logLinesAreOneLineEach_data();
    void logLinesAreOneLineEach();
};

void TestScenarioScript::steps_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<ScenarioStep::Kind>("kind");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<int>("milliseconds");

    using Kind = ScenarioStep::Kind;
    QTest::newRow("expect") << "expect register:.*" << Kind::Expect << "register:.*" << 0;
    QTest::newRow("send keeps blanks")
        << "send  two  blanks " << Kind::Send << " two  blanks " << 0;
    QTest::newRow("send with a tab") << "send\tx" << Kind::Send << "x" << 0;
    QTest::newRow("bare send is the empty text") << "send" << Kind::Send << "" << 0;
    QTest::newRow("indented") << "   wait 250" << Kind::Wait << "250" << 250;
    QTest::newRow("close") << "close" << Kind::Close << "" << 0;
    QTest::newRow("reopen, windows line end") << "reopen\r" << Kind::Reopen << "" << 0;
}

void TestScenarioScript::steps()
{
    QFETCH(QString, line);
    QFETCH(ScenarioStep::Kind, kind);
    QFETCH(QString, argument);
    QFETCH(int, milliseconds);

    QString error;
    const auto step = ScenarioScript::parseLine(line, 7, &error);
    QVERIFY2(step.has_value(), qPrintable(error));
    QCOMPARE(step->kind, kind);
    QCOMPARE(step->argument, argument);
    QCOMPARE(step->milliseconds, milliseconds);
    QCOMPARE(step->line, 7);
}

void TestScenarioScript::errors_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("error");

    QTest::newRow("unknown step") << "expct x"
                                  << "unknown step \"expct\" (expect, send, wait, close or reopen)";
    QTest::newRow("upper case") << "SEND x"
                                << "unknown step \"SEND\" (expect, send, wait, close or reopen)";
    QTest::newRow("expect without pattern") << "expect"
                                            << "expect needs a pattern (^$ matches the empty text)";
    QTest::newRow("invalid pattern") << "expect (a"
                                     << "invalid pattern \"(a\": missing closing parenthesis";
    QTest::newRow("wait without number") << "wait soon"
                                         << "wait needs a number of milliseconds, not \"soon\"";
    QTest::newRow("negative wait") << "wait -5"
                                   << "wait needs a number of milliseconds, not \"-5\"";
    QTest::newRow("close with argument") << "close now"
                                         << "close takes no argument";
}

void TestScenarioScript::errors()
{
    QFETCH(QString, line);
    QFETCH(QString, error);

    QString actual;
    QVERIFY(!ScenarioScript::parseLine(line, 1, &actual).has_value());
    QCOMPARE(actual, error);
}

void TestScenarioScript::wholeScriptKeepsLineNumbers()
{
    QList<ScenarioStep> steps;
    QString error;
    QVERIFY(ScenarioScript::parse(
        "# greeting\n\nexpect register:.*\n  # indented note\nsend 80|x\n", &steps, &error));
    QCOMPARE(steps.size(), 2);
    QCOMPARE(steps[0].line, 3);
    QCOMPARE(steps[1].line, 5);
    // The pattern must match the whole text.
    QVERIFY(steps[0].pattern.match("register:jo:PC").hasMatch());
    QVERIFY(!steps[0].pattern.match("xregister:jo:PC").hasMatch());

    QVERIFY(!ScenarioScript::parse("send a\nwait x\nsend b", &steps, &error));
    QCOMPARE(error, QString("line 2: wait needs a number of milliseconds, not \"x\""));
}

void TestScenarioScript::nowIsExpandedWhenSent()
{
    const QString text = ScenarioScript::expandSendText("58|${NOW}|Qen_us|${NOW}");
    QVERIFY2(QRegularExpression("^58\\|(\\d{14})\\|Qen_us\\|\\1$").match(text).hasMatch(),
             qPrintable(text));
    QCOMPARE(ScenarioScript::expandSendText("80|{NOW}"), QString("80|{NOW}"));
}

void TestScenarioScript::logLinesAreOneLineEach_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("logged");

    QTest::newRow("plain") << "register:jo:PC"
                           << "register:jo:PC";
    QTest::newRow("line breaks") << "a\nb\r\n"
                                 << "a\\nb\\r\\n";
    QTest::newRow("backslash stays readable") << "DOM\\:x"
                                              << "DOM\\\\:x";
    QTest::newRow("other control characters") << QString("a") + QChar(1) + "\t"
                                              << "a\\x01\\t";
    QTest::newRow("non-ascii kept")
        << QString::fromUtf8("caf\xc3\xa9") << QString::fromUtf8("caf\xc3\xa9");
}

void TestScenarioScript::logLinesAreOneLineEach()
{
    QFETCH(QString, text);
    QFETCH(QString, logged);

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TrafficLog log(&buffer);
    log.received(3, text);
    const QString line = QString::fromUtf8(buffer.data());
    QVERIFY2(QRegularExpression("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3} #3 < (.*)\\n$")
                     .match(line)
                     .captured(1) == logged,
             qPrintable(line));
}

QTEST_GUILESS_MAIN(TestScenarioScript)
#include "tst_scenarioscript.moc"
