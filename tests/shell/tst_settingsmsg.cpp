#include "shell/SettingsMsg.h"

#include <QtTest>

using Brindlecore::Core::SettingsMsg;

namespace {

const QString Tags = QStringLiteral("ABCDEFGHILMNOPQRSTU");
const QStringList Defaults =
    QStringLiteral("A|B0|C0|D0|E0|F0|G|H0|I|L0|M0|N0|O0|P|Qen_us|R0|S|T0|U").split(u'|');

// Every field as its tag and value, in tag order; switches as 1 or 0.
QStringList fields(const SettingsMsg &m)
{
    const auto n = [](int value) { return QString::number(value); };
    return QStringList() << "A" + m.staffPassword() << "B" + n(m.tavrinIntegration())
                         << "C" + n(m.maxSessionPages()) << "D" + n(m.staffApprovesOverLimit())
                         << "E" + n(m.useSessionCredentials()) << "F" + n(m.maskUserId())
                         << "G" + m.defaultPrinter() << "H" + n(m.useSessionPcDescription())
                         << "I" + m.userIdFile() << "L" + n(m.overrideTranslationPort())
                         << "M" + n(m.useSessionLanguage()) << "N" + n(m.numberN())
                         << "O" + n(m.dynamicLanguageEnabled()) << "P" + m.supportedDialects()
                         << "Q" + m.locale() << "R" + n(m.userIdFilterEnabled())
                         << "S" + m.userIdFilterExceptions() << "T" + n(m.pinFilterEnabled())
                         << "U" + m.pinFilterExceptions();
}

// "changed" lists, separated by "|", the fields that end up differing from the defaults.
void row(const char *name, const char *before, const char *text, const char *changed,
         bool accepted = true)
{
    QTest::newRow(name) << QString(before) << QString(text) << accepted
                        << QString(changed).split(u'|', Qt::SkipEmptyParts);
}

} // namespace

class TestSettingsMsg : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QStringList>("changed");

        // The password is "Pw#1" hex-encoded.
        row("every tag", "",
            "58|ts|A64b20a26|B1|C25|D1|E1|F1|Glab|H1|Iids|L30044|M1|N-7|O1|Pfr_ca,en_us|Qfr_ca|R1|"
            "Sx|T1|U0",
            "APw#1|B1|C25|D1|E1|F1|Glab|H1|Iids|L30044|M1|N-7|O1|Pfr_ca,en_us|Qfr_ca|R1|Sx|T1|U0");
        row("only id and timestamp", "", "58|20250201090503", "");
        row("later text keeps values", "58|ts|B1|C25|Qfr_ca", "58|ts||", "B1|C25|Qfr_ca");
        row("later tag wins, others ignored", "", "58|ts|C5|Qfr_ca|C7|Q|c5|qde|J1|9", "C7|Q");
        row("wrong id", "58|ts|C25", "59|ts|C3", "C25", false);
        row("beyond the int range", "58|ts|B1|N5|L6",
            "58|ts|C2147483648|N2147483648|L-2147483649|B4294967296", "C2147483647");
        row("C beyond 64 bits", "", "58|ts|C +123456789012345678901234567890\t", "C2147483647");
        row("non-numbers give 0", "58|ts|B1|C5|N5|L6", "58|ts|Byes|C-5|N|L8x", "");
    }

    void parse()
    {
        QFETCH(QString, before);
        QFETCH(QString, text);
        QFETCH(QStringList, changed);

        SettingsMsg message;
        message.parse(before);
        QTEST(message.parse(text), "accepted");
        QStringList expected = Defaults;
        for (const QString &field : changed)
            expected[Tags.indexOf(field.at(0))] = field;
        QCOMPARE(fields(message), expected);
        QCOMPARE(fields(static_cast<SettingsMsg &>(*message.clone())), expected);
    }
};

QTEST_GUILESS_MAIN(TestSettingsMsg)
#include "tst_settingsmsg.moc"
