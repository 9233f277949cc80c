#include "FakePrinterConnector.h"
#include "FileBytes.h"
#include "RecordingObserver.h"
#include "TranslationFiles.h"
#include "core/BcHttpFactory.h"
#include "i18n/PrintClientLanguageChanger.h"
#include "i18n/PrintClientTranslator.h"
#include "settings/OpcPreferences.h"
#include "ui/AboutInfoDialog.h"
#include "ui/ChangeLanguageButton.h"
#include "ui/DialogSettings.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

const QString Base = "http://127.0.0.9:30044/languages";

// Serves the bytes a test puts at an address and records every request; an address without
// bytes fails like a 404. A test may act from inside a download, as a dialog could.
struct FakeServer : BcHttpFactory
{
    struct Http : BcHttpInterface
    {
        const FakeServer *server = nullptr;
        bool get(const QString &address, QIODevice *target) override
        {
            server->requests.append(address);
            if (server->duringGet)
                std::exchange(server->duringGet, nullptr)();
            target->write(server->files.value(address));
            target->close();
            return server->files.contains(address);
        }
    };
    std::unique_ptr<BcHttpInterface> create() const override
    {
        auto http = std::make_unique<Http>();
        http->server = this;
        return http;
    }
    QMap<QString, QByteArray> files;
    mutable QStringList requests;
    mutable std::function<void()> duringGet;
};

QString cancelText()
{
    return QCoreApplication::translate(Dialog, "Cancel");
}

} // namespace

// Both translators against French and Spanish files and a fake Print Service.
class LanguageChangerTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_app;
    FakeServer m_http;
    RecordingObserver m_log;
    OpcPreferences m_preferences;
    std::unique_ptr<PrintClientLanguageChanger> m_changer;

private slots:
    void initTestCase()
    {
        const QString folder = m_app.path() + "/languages/";
        QVERIFY(m_app.isValid() && QDir().mkpath(folder));
        QVERIFY(
            writeTranslationFile(folder + "fr_ca.qm", {{Dialog, "Cancel", "Annuler"},
                                                       {"AboutInfoDialog", "OK", "D'accord"},
                                                       {Tags, "<<Language Name>>", "Français"}}));
        QVERIFY(writeTranslationFile(folder + "es_us.qm", {{Dialog, "Cancel", "Cancelar"}}));
        QVERIFY(writeFile(folder + "xx_yy.qm", "damaged"));
        QVERIFY(writeTranslationFile(
            m_app.filePath("site.qm"),
            {{Dialog, "Cancel", "Abandonner"}, {Tags, "<<Language Name>>", "Français (site)"}}));
        m_http.files.insert(Base + "/FR_CA_OVERRIDE.qm", readFile(m_app.filePath("site.qm")));
        m_http.files.insert(Base + "/XX_ZZ_OVERRIDE.qm", "damaged");
    }

    void init()
    {
        m_log.clear();
        m_http.requests.clear();
        DialogSettings::shared().reset();
        DialogSettings::shared().setLanguageList({{"Français", QString()}});
        DialogSettings::shared().setLanguageMap({{"FR_CA", "Français"}});
        m_changer = std::make_unique<PrintClientLanguageChanger>(&m_preferences, m_http.create(),
                                                                 Base, &m_log, m_app.path());
    }
    void cleanup()
    {
        m_changer.reset();
        DialogSettings::shared().reset();
    }

    void changesReportWhatWasInstalled_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("cancel");
        QTest::addColumn<QStringList>("requests");
        QTest::addColumn<QString>("amount"); // how the client then writes 2.50 dollars
        QTest::newRow("default and override")
            << "FR_CA" << 4 << "Abandonner" << QStringList{Base + "/FR_CA_OVERRIDE.qm"}
            << "2,50\u00a0$";
        QTest::newRow("no override on the server")
            << "es_us" << 2 << "Cancelar" << QStringList{Base + "/es_us_OVERRIDE.qm"} << "$2.50";
        QTest::newRow("no such file") << "de_de" << 1 << "Cancel" << QStringList() << "$2.50";
        QTest::newRow("damaged file") << "xx_yy" << 1 << "Cancel" << QStringList() << "$2.50";
        QTest::newRow("not a plain code")
            << "../languages/fr_ca" << 1 << "Cancel" << QStringList() << "$2.50";
    }
    void changesReportWhatWasInstalled()
    {
        QFETCH(QString, code);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QTEST(m_changer->changeLanguage(code), "result");
        QTEST(QLocale().toCurrencyString(2.5, "$", 2), "amount");
        QTEST(cancelText(), "cancel");
        QTEST(m_http.requests, "requests");
        // The Print Service is told the language asked for, even one that could not be applied.
        QCOMPARE(m_preferences.currentLocale(), code);
    }

    void openDialogSwitchesAtOnceAndLaterOnesShowTheSitesName()
    {
        DialogSettings &settings = DialogSettings::shared();
        settings.setLanguageList({{"Français", QString()}, {"English", QString()}});
        settings.setLanguageMap({{"EN_US", "English"}, {"FR_CA", "Français"}});
        settings.setLanguageChanger(m_changer.get());
        AboutInfoDialog open;
        open.show();
        open.toggleExtension();
        open.languageChange("FR_CA");
        QCOMPARE(open.findChild<QPushButton *>("okButton")->text(), "D'accord");
        const AboutInfoDialog next;
        QCOMPARE(next.findChild<ChangeLanguageButton *>()->text(), "Français (site)");
    }

    void aChangeDuringAChangeIsRefused()
    {
        int nested = 0;
        LanguageChanger changer(m_http.create(), Base, &m_log, m_app.path());
        m_http.duringGet = [&] { nested = changer.changeLanguage("ES_US"); };
        QCOMPARE(changer.changeLanguage("FR_CA"), 4);
        QCOMPARE(nested, 1);
        QCOMPARE(cancelText(), "Abandonner");
        QVERIFY(m_log.contains(
            "Warning", "Refused to change the language to ES_US while another change runs"));
    }

    void configuredLocaleTranslatesAndFetchesItsOverride()
    {
        m_changer.reset();
        FakePrinterConnector connector("127.0.0.9");
        PrintClientTranslator translator("fr_ca", &m_log, &m_http, m_app.path());
        translator.installDefaultTranslations();
        QCOMPARE(cancelText(), "Annuler");

        translator.setLocale("fr_ca", 30044);
        QVERIFY(m_http.requests.isEmpty());
        // Without a Print Service address only the default file applies.
        translator.setLocale("es_us", 30044);
        QCOMPARE(cancelText(), "Cancelar");
        QVERIFY(m_log.contains("Warning", "Either printServiceAddress or locale is empty"));

        translator.setPrinterConnector(&connector);
        translator.setLocale("fr_ca", 0);
        QVERIFY(m_http.requests.isEmpty());
        QCOMPARE(cancelText(), "Annuler");
        translator.setLocale("es_us", 30044);
        translator.setLocale("fr_ca", 30044);
        QCOMPARE(m_http.requests,
                 (QStringList{Base + "/ES_US_OVERRIDE.qm", Base + "/FR_CA_OVERRIDE.qm"}));
        QCOMPARE(cancelText(), "Abandonner");
        translator.removeOldTranslators();
        QCOMPARE(cancelText(), "Cancel");
    }
};

QTEST_MAIN(LanguageChangerTest)
#include "tst_languagechanger.moc"
