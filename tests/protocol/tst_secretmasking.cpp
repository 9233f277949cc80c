#include "protocol/SecretMasking.h"

#include <QtTest>

using Brindlecore::Core::maskSecretFields;

class TestSecretMasking : public QObject
{
    Q_OBJECT

private slots:
    void masking_data();
    void masking();
};

void TestSecretMasking::masking_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("logged");

    QTest::newRow("settings password") << "58|20250201090503|Asecret|C25|Qen_us"
                                       << "58|20250201090503|A****|C25|Qen_us";
    QTest::newRow("settings password last") << "58|20250201090503|C25|Asecret"
                                            << "58|20250201090503|C25|A****";
    QTest::newRow("settings password twice") << "58|ts|Aone|Atwo"
                                             << "58|ts|A****|A****";
    QTest::newRow("settings empty password") << "58|ts|A|Qen_us"
                                             << "58|ts|A****|Qen_us";
    QTest::newRow("settings lower-case tag is no password") << "58|ts|aplain"
                                                            << "58|ts|aplain";
    QTest::newRow("settings without password") << "58|ts|C25"
                                               << "58|ts|C25";
    QTest::newRow("settings with empty fields") << "58||ts||Asecret|"
                                                << "58||ts||A****|";
    QTest::newRow("settings echoed as not handled") << "Message Not Handled: 58|ts|Asecret"
                                                    << "Message Not Handled: 58|ts|A****";
    QTest::newRow("authentication pin") << "55|20250201090503|0|jo|jo|3132"
                                        << "55|20250201090503|0|jo|jo|****";
    QTest::newRow("authentication without pin") << "55|20250201090503|0|jo|jo|"
                                                << "55|20250201090503|0|jo|jo|";
    QTest::newRow("authentication user id with a bar") << "55|ts|0|j|o|j|o|3132"
                                                       << "55|ts|0|j|o|j|o|****";
    QTest::newRow("authentication id and timestamp only") << "55|20250201090503"
                                                          << "55|20250201090503";
    QTest::newRow("other id keeps A fields") << "5|20250201090503|Alab-07|Ben_us"
                                             << "5|20250201090503|Alab-07|Ben_us";
    QTest::newRow("id ending in 58 is another id") << "158|ts|Akept"
                                                   << "158|ts|Akept";
    QTest::newRow("registration") << "register:jo:LAB-PC-07"
                                  << "register:jo:LAB-PC-07";
    QTest::newRow("no response") << "No Response"
                                 << "No Response";
    QTest::newRow("empty") << ""
                           << "";
}

void TestSecretMasking::masking()
{
    QFETCH(QString, text);
    QFETCH(QString, logged);
    QCOMPARE(maskSecretFields(text), logged);
}

QTEST_GUILESS_MAIN(TestSecretMasking)
#include "tst_secretmasking.moc"
