#include "FakePrinterConnector.h"
#include "FixedTimeSource.h"
#include "RecordingObserver.h"
#include "core/AppContext.h"
#include "i18n/PrintClientTranslatorInterface.h"
#include "protocol/RegistrationListenerInterface.h"
#include "settings/PrintClientPreferences.h"
#include "settings/TvrSessionInfo.h"
#include "shell/SettingsMsg.h"
#include "shell/SettingsMsgHandler.h"
#include "ui/LanguageChangerInterface.h"

#include <QtTest>

using Brindlecore::Core::SettingsMsg;

namespace {

// Every collaborator writes what it is asked into one list, so a test sees the order of calls
// across them.
struct Calls
{
    QStringList list;
    void add(const QString &call) { list.append(call); }
};

class FakeTranslator : public PrintClientTranslatorInterface
{
public:
    explicit FakeTranslator(Calls *calls)
        : m_calls(calls)
    {}
    void installDefaultTranslations() override {}
    void installOverrideTranslations(int) override {}
    QString getLocale() const override { return m_locale; }
    void setLocale(const QString &locale, int port) override
    {
        m_calls->add(QStringLiteral("setLocale %1 %2").arg(locale).arg(port));
        m_locale = locale;
    }
    void installSupportedLanguageDialects(const QString &dialects) override
    {
        m_calls->add(QStringLiteral("installSupportedLanguageDialects ") + dialects);
    }
    void removeOldTranslators() override {}

private:
    Calls *m_calls;
    QString m_locale = QStringLiteral("en_us");
};

class FakeCollaborators
    : public LanguageChangerInterface
    , public RegistrationListenerInterface
    , public TvrSessionInfo
{
public:
    FakeCollaborators(Calls *calls, PrintClientPreferences *preferences)
        : m_calls(calls)
        , m_preferences(preferences)
    {}
    // Records the code as the language in force, as the client's changer does.
    int changeLanguage(const QString &code) override
    {
        m_calls->add(QStringLiteral("changeLanguage ") + code);
        m_preferences->setCurrentLocale(code);
        return 4;
    }
    void registrationComplete() override { m_calls->add(QStringLiteral("registrationComplete")); }
    int pagesPrintedThisSession() override { return 0; }
    bool isInSession() override { return inSession; }
    QString currentUser() override { return QString(); }
    QString currentPin() override { return QString(); }
    QString computerDescription(bool) override { return QString(); }
    void addPagesPrinted(int) override {}
    QString getLanguage() override { return language; }
    bool encryptPin() override { return false; }

    bool inSession = true;
    QString language;

private:
    Calls *m_calls;
    PrintClientPreferences *m_preferences;
};

} // namespace

class TestSettingsHandler : public QObject
{
    Q_OBJECT

private:
    Calls m_calls;
    RecordingObserver m_log;
    std::unique_ptr<PrintClientPreferences> m_preferences;
    std::unique_ptr<FakeTranslator> m_translator;
    std::unique_ptr<FakeCollaborators> m_fakes;
    std::unique_ptr<FakePrinterConnector> m_connector;
    std::unique_ptr<SettingsMsg> m_prototype;

    // The dispatcher's way: the long-lived prototype parses the text and calls its handler.
    QString receive(const QString &body)
    {
        return m_prototype->handle(QStringLiteral("ps"),
                                   QStringLiteral("58|20250201090503") + body);
    }
    QStringList callsAndPrinter() const
    {
        QStringList all = m_calls.list;
        for (const QString &call : m_connector->calls())
            all.append(call);
        return all;
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
        m_calls.list.clear();
        m_log.clear();
        SettingsMsgHandler::setOverridesApplied(false);
        m_preferences = std::make_unique<PrintClientPreferences>(nullptr);
        m_preferences->setCurrentLocale(QStringLiteral("EN_US"));
        m_translator = std::make_unique<FakeTranslator>(&m_calls);
        m_fakes = std::make_unique<FakeCollaborators>(&m_calls, m_preferences.get());
        m_connector = std::make_unique<FakePrinterConnector>(QStringLiteral("127.0.0.1"));
        auto handler = std::make_unique<SettingsMsgHandler>(
            m_preferences.get(), m_fakes.get(), m_connector.get(), m_translator.get(), &m_log);
        handler->setLanguageChanger(m_fakes.get());
        handler->setRegistrationListener(m_fakes.get());
        m_prototype = std::make_unique<SettingsMsg>(std::move(handler), &m_log);
    }

    void callsFollowTheSettings_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QString>("reply");
        QTest::newRow("defaults") << QString()
                                  << QStringList{"changeLanguage EN_US", "setLocale en_us 0",
                                                 "registrationComplete", "setDefaultPrinter "}
                                  << "59|20250201090503|Aen_us";
        QTest::newRow("dynamic language")
            << "|O1|P fr_ca , en_us|Qfr_ca|L30044|Gcolour"
            << QStringList{"installSupportedLanguageDialects  fr_ca , en_us",
                           "changeLanguage FR_CA",
                           "changeLanguage EN_US",
                           "changeLanguage EN_US",
                           "setLocale fr_ca 30044",
                           "registrationComplete",
                           "setDefaultPrinter colour"}
            << "59|20250201090503|Afr_ca";
        QTest::newRow("booking language, any case")
            << "|B1|M1|Pen_us,fr_ca|Qfr_ca|L30044"
            << QStringList{"installSupportedLanguageDialects en_us,fr_ca",
                           "changeLanguage EN_US",
                           "changeLanguage FR_CA",
                           "changeLanguage EN_US",
                           "setLocale EN_US 30044",
                           "registrationComplete",
                           "setDefaultPrinter "}
            << "59|20250201090503|AEN_US";
    }
    void callsFollowTheSettings()
    {
        QFETCH(QString, body);
        QFETCH(QStringList, calls);
        QFETCH(QString, reply);
        m_fakes->language = QStringLiteral("EN_US");
        QCOMPARE(receive(body), reply);
        QCOMPARE(callsAndPrinter(), calls);
    }

    // Only the first settings of a run set the language; later ones store the new values.
    void laterSettingsKeepTheLocaleInForce()
    {
        QCOMPARE(receive(QStringLiteral("|Qfr_ca|C25|D1")), "59|20250201090503|Afr_ca");
        m_calls.list.clear();
        QCOMPARE(receive(QStringLiteral("|Qes_us")), "59|20250201090503|Afr_ca");
        QCOMPARE(m_calls.list, QStringList{"registrationComplete"});
        QCOMPARE(m_preferences->locale(), "es_us");
        QCOMPARE(m_preferences->currentLocale(), "fr_ca");
        // Fields a text does not carry repeat the previous text's values.
        QCOMPARE(m_preferences->maxSessionPages(), 25);
        QVERIFY(m_preferences->staffApprovesOverLimit());
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
        QCOMPARE(receive(QStringLiteral("|B1|M1|Pen_us,fr_ca")), "59|20250201090503|Aen_us");
        QVERIFY(m_calls.list.filter("setLocale").isEmpty());
        QVERIFY(m_log.contains(
            "Warning",
            QStringLiteral("Tavrin language (%1) is not supported by Ondrel").arg(language)));
        QCOMPARE(m_preferences->currentLocale(), "EN_US");
    }
};

QTEST_GUILESS_MAIN(TestSettingsHandler)
#include "tst_settingshandler.moc"
