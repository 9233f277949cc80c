#include "FakeBooking.h"
#include "FakePrinterConnector.h"
#include "FixedTimeSource.h"
#include "RecordingObserver.h"
#include "core/AppContext.h"
#include "i18n/PrintClientTranslatorInterface.h"
#include "protocol/RegistrationListenerInterface.h"
#include "settings/PrintClientPreferences.h"
#include "shell/SettingsMsg.h"
#include "shell/SettingsMsgHandler.h"
#include "ui/LanguageChangerInterface.h"

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

// The handler's collaborators but the printer, recording their calls in one list, in order.
struct Fakes
    : PrintClientTranslatorInterface
    , LanguageChangerInterface
    , RegistrationListenerInterface
    , FakeBooking
{
    void installDefaultTranslations() override {}
    void installOverrideTranslations(int) override {}
    QString getLocale() const override { return locale; }
    void setLocale(const QString &code, int port) override
    {
        calls << QStringLiteral("setLocale %1 %2").arg(code).arg(port);
        locale = code;
    }
    void installSupportedLanguageDialects(const QString &dialects) override
    {
        calls << "installSupportedLanguageDialects " + dialects;
    }
    void removeOldTranslators() override {}
    // Records the code as the language in force, as the client's changer does.
    int changeLanguage(const QString &code) override
    {
        calls << "changeLanguage " + code;
        preferences.setCurrentLocale(code);
        return 4;
    }
    void registrationComplete() override { calls << "registrationComplete"; }

    QStringList calls;
    QString locale = "en_us";
    PrintClientPreferences preferences{nullptr};
    FakePrinterConnector printer{"127.0.0.1"};
};

} // namespace

// How the settings text is read, and what its handler does with it.
class TestSettingsHandler : public QObject
{
    Q_OBJECT

    RecordingObserver m_log;
    std::unique_ptr<Fakes> m_fakes;
    std::unique_ptr<SettingsMsg> m_prototype;

    // The dispatcher's way: the long-lived prototype parses the text and calls its handler.
    QString receive(const QString &body)
    {
        return m_prototype->handle("ps", "58|20250201090503" + body);
    }

private slots:
    void initTestCase()
    {
        // The reply carries the time it was made: the clock answers the received text's time.
        Brindlecore::Core::AppContext::instance().addEntry(
            std::make_unique<FixedTimeSource>(QDateTime(QDate(2025, 2, 1), QTime(9, 5, 3))));
    }

    void init()
    {
        m_log.clear();
        SettingsMsgHandler::setOverridesApplied(false);
        m_fakes = std::make_unique<Fakes>();
        Fakes *f = m_fakes.get();
        f->preferences.setCurrentLocale("EN_US");
        auto handler =
            std::make_unique<SettingsMsgHandler>(&f->preferences, f, &f->printer, f, &m_log);
        handler->setLanguageChanger(f);
        handler->setRegistrationListener(f);
        m_prototype = std::make_unique<SettingsMsg>(std::move(handler), &m_log);
    }

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

    void callsFollowTheSettings_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("calls"); // separated by "; "
        QTest::addColumn<QString>("reply");
        QTest::newRow("defaults") << ""
                                  << "changeLanguage EN_US; setLocale en_us 0; "
                                     "registrationComplete; setDefaultPrinter "
                                  << "59|20250201090503|Aen_us";
        QTest::newRow("dynamic language")
            << "|O1|P fr_ca , en_us|Qfr_ca|L30044|Gcolour"
            << "installSupportedLanguageDialects  fr_ca , en_us; changeLanguage FR_CA; "
               "changeLanguage EN_US; changeLanguage EN_US; setLocale fr_ca 30044; "
               "registrationComplete; setDefaultPrinter colour"
            << "59|20250201090503|Afr_ca";
        QTest::newRow("booking language, any case")
            << "|B1|M1|Pen_us,fr_ca|Qfr_ca|L30044"
            << "installSupportedLanguageDialects en_us,fr_ca; changeLanguage EN_US; "
               "changeLanguage FR_CA; changeLanguage EN_US; setLocale EN_US 30044; "
               "registrationComplete; setDefaultPrinter "
            << "59|20250201090503|AEN_US";
    }
    void callsFollowTheSettings()
    {
        QFETCH(QString, body);
        m_fakes->language = "EN_US";
        QTEST(receive(body), "reply");
        QTEST((m_fakes->calls + m_fakes->printer.calls()).join("; "), "calls");
    }

    // Only the first settings of a run set the language; later ones store the new values.
    void laterSettingsKeepTheLocaleInForce()
    {
        QCOMPARE(receive("|Qfr_ca|C25|D1"), "59|20250201090503|Afr_ca");
        m_fakes->calls.clear();
        QCOMPARE(receive("|Qes_us"), "59|20250201090503|Afr_ca");
        QCOMPARE(m_fakes->calls, QStringList{"registrationComplete"});
        QCOMPARE(m_fakes->preferences.locale(), "es_us");
        QCOMPARE(m_fakes->preferences.currentLocale(), "fr_ca");
        QCOMPARE(m_fakes->preferences.maxSessionPages(), 25);
        QVERIFY(m_fakes->preferences.staffApprovesOverLimit());
    }

    void unsupportedBookingLanguageLeavesTheLocale_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("not offered") << "de";
        // An empty text is part of every list and would drop every translation.
        QTest::newRow("empty") << "";
    }
    void unsupportedBookingLanguageLeavesTheLocale()
    {
        QFETCH(QString, language);
        m_fakes->language = language;
        QCOMPARE(receive("|B1|M1|Pen_us,fr_ca"), "59|20250201090503|Aen_us");
        QVERIFY(m_fakes->calls.filter("setLocale").isEmpty());
        QVERIFY(m_log.contains(
            "Warning", QString("Tavrin language (%1) is not supported by Ondrel").arg(language)));
        QCOMPARE(m_fakes->preferences.currentLocale(), "EN_US");
    }
};

QTEST_GUILESS_MAIN(TestSettingsHandler)
#include "tst_settingshandler.moc"
