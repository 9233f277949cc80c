#include "FakePrinterConnector.h"
#include "RecordingObserver.h"
#include "TranslationFiles.h"
#include "core/BcHttpFactory.h"
#include "core/BcHttpInterface.h"
#include "i18n/PrintClientLanguageChanger.h"
#include "i18n/PrintClientTranslator.h"
#include "settings/OpcPreferences.h"
#include "ui/AboutInfoDialog.h"
#include "ui/ChangeLanguageButton.h"
#include "ui/DialogSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QMap>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

const char *const Tags = "Language Preferences";
const char *const Dialog = "PasswordDialog";
const QString Base = QStringLiteral("http://127.0.0.9:30044/languages");

// Serves the bytes a test puts at an address and records every request; an address without
// bytes fails like a 404. A test may act from inside a download, as a dialog could.
struct FakeServer
{
    QMap<QString, QByteArray> files;
    QStringList requests;
    std::function<void()> duringGet;
};

class FakeHttp : public BcHttpInterface
{
public:
    explicit FakeHttp(FakeServer *server)
        : m_server(server)
    {}
    bool get(const QString &address, QIODevice *target) override
    {
        m_server->requests.append(address);
        if (m_server->duringGet)
            std::exchange(m_server->duringGet, nullptr)();
        if (!m_server->files.contains(address))
            return false;
        target->write(m_server->files.value(address));
        target->close();
        return true;
    }

private:
    FakeServer *m_server;
};

class FakeHttpFactory : public BcHttpFactory
{
public:
    std::unique_ptr<BcHttpInterface> create() const override
    {
        return std::make_unique<FakeHttp>(&server);
    }
    mutable FakeServer server;
};

QByteArray compiled(const QString &folder, std::initializer_list<TranslatedText> texts)
{
    const QString path = folder + QStringLiteral("/scratch.qm");
    if (!writeTranslationFile(path, texts))
        return QByteArray();
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString cancelText()
{
    return QCoreApplication::translate(Dialog, "Cancel");
}

} // namespace

// Both translators of the client against a languages folder of French and Spanish and a fake
// Print Service: what the dialogs read afterwards, and what was fetched.
class LanguageChangerTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_app;
    FakeHttpFactory m_http;
    RecordingObserver m_log;
    OpcPreferences m_preferences;
    std::unique_ptr<PrintClientLanguageChanger> m_changer;

    void serve(const QString &file, std::initializer_list<TranslatedText> texts)
    {
        m_http.server.files.insert(Base + u'/' + file, compiled(m_app.path(), texts));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_app.isValid());
        const QString folder = m_app.path() + QStringLiteral("/languages");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeTranslationFile(folder + QStringLiteral("/fr_ca.qm"),
                                     {{Dialog, "Cancel", QStringLiteral("Annuler")},
                                      {"AboutInfoDialog", "OK", QStringLiteral("D'accord")},
                                      {Tags, "<<Language Name>>", QStringLiteral("Français")}}));
        QVERIFY(writeTranslationFile(folder + QStringLiteral("/es_us.qm"),
                                     {{Dialog, "Cancel", QStringLiteral("Cancelar")}}));
        QFile damaged(folder + QStringLiteral("/xx_yy.qm"));
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("damaged") > 0);
        serve(QStringLiteral("FR_CA_OVERRIDE.qm"),
              {{Dialog, "Cancel", QStringLiteral("Abandonner")},
               {Tags, "<<Language Name>>", QStringLiteral("Français (site)")}});
        m_http.server.files.insert(Base + QStringLiteral("/XX_ZZ_OVERRIDE.qm"), "damaged");
    }

    void init()
    {
        m_log.clear();
        m_http.server.requests.clear();
        DialogSettings::shared().reset();
        DialogSettings::shared().setLanguageList({{QStringLiteral("Français"), QString()}});
        DialogSettings::shared().setLanguageMap(
            {{QStringLiteral("FR_CA"), QStringLiteral("Français")}});
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
        QTest::newRow("default and override")
            << QStringLiteral("FR_CA") << 4 << QStringLiteral("Abandonner")
            << QStringList{Base + QStringLiteral("/FR_CA_OVERRIDE.qm")};
        QTest::newRow("no override on the server")
            << QStringLiteral("es_us") << 2 << QStringLiteral("Cancelar")
            << QStringList{Base + QStringLiteral("/es_us_OVERRIDE.qm")};
        QTest::newRow("no such file")
            << QStringLiteral("de_de") << 1 << QStringLiteral("Cancel") << QStringList();
        QTest::newRow("damaged file")
            << QStringLiteral("xx_yy") << 1 << QStringLiteral("Cancel") << QStringList();
        QTest::newRow("not a plain code") << QStringLiteral("../languages/fr_ca") << 1
                                          << QStringLiteral("Cancel") << QStringList();
    }
    void changesReportWhatWasInstalled()
    {
        QFETCH(QString, code);
        QFETCH(int, result);
        QFETCH(QString, cancel);
        QFETCH(QStringList, requests);
        QCOMPARE(m_changer->changeLanguage(code), result);
        QCOMPARE(cancelText(), cancel);
        QCOMPARE(m_http.server.requests, requests);
        // The Print Service is told the language asked for, even one that could not be applied.
        QCOMPARE(m_preferences.currentLocale(), code);
    }

    void openDialogSwitchesAtOnceAndLaterOnesShowTheSitesName()
    {
        DialogSettings &settings = DialogSettings::shared();
        settings.setLanguageList(
            {{QStringLiteral("Français"), QString()}, {QStringLiteral("English"), QString()}});
        settings.setLanguageMap({{QStringLiteral("EN_US"), QStringLiteral("English")},
                                 {QStringLiteral("FR_CA"), QStringLiteral("Français")}});
        settings.setLanguageChanger(m_changer.get());
        AboutInfoDialog open;
        open.show();
        open.toggleExtension();
        open.languageChange(QStringLiteral("FR_CA"));
        QCOMPARE(open.findChild<QPushButton *>(QStringLiteral("okButton"))->text(),
                 QStringLiteral("D'accord"));
        const AboutInfoDialog next;
        QCOMPARE(next.findChild<ChangeLanguageButton *>()->text(),
                 QStringLiteral("Français (site)"));
    }

    void aChangeDuringAChangeIsRefused()
    {
        int nested = 0;
        LanguageChanger *changer = nullptr;
        m_http.server.duringGet = [&] {
            nested = changer->changeLanguage(QStringLiteral("ES_US"));
        };
        LanguageChanger reentered(m_http.create(), Base, &m_log, m_app.path());
        changer = &reentered;
        QCOMPARE(reentered.changeLanguage(QStringLiteral("FR_CA")), 4);
        QCOMPARE(nested, 1);
        QCOMPARE(cancelText(), QStringLiteral("Abandonner"));
        QVERIFY(m_log.contains(
            QStringLiteral("Warning"),
            QStringLiteral("Refused to change the language to ES_US while another change runs")));
    }

    void configuredLocaleTranslatesAndFetchesItsOverride()
    {
        m_changer.reset();
        FakePrinterConnector connector(QStringLiteral("127.0.0.9"));
        PrintClientTranslator translator(QStringLiteral("fr_ca"), &m_log, m_app.path(), &m_http);
        translator.installDefaultTranslations();
        QCOMPARE(cancelText(), QStringLiteral("Annuler"));

        translator.setLocale(QStringLiteral("fr_ca"), 30044);
        QVERIFY(m_http.server.requests.isEmpty());
        // Without a Print Service address only the default file applies.
        translator.setLocale(QStringLiteral("es_us"), 30044);
        QCOMPARE(cancelText(), QStringLiteral("Cancelar"));
        QVERIFY(m_log.contains(QStringLiteral("Warning"),
                               QStringLiteral("Either printServiceAddress or locale is empty")));

        translator.setPrinterConnector(&connector);
        translator.setLocale(QStringLiteral("fr_ca"), 0);
        QVERIFY(m_http.server.requests.isEmpty());
        QCOMPARE(cancelText(), QStringLiteral("Annuler"));
        translator.setLocale(QStringLiteral("es_us"), 30044);
        translator.setLocale(QStringLiteral("fr_ca"), 30044);
        QCOMPARE(m_http.server.requests,
                 (QStringList{Base + QStringLiteral("/ES_US_OVERRIDE.qm"),
                              Base + QStringLiteral("/FR_CA_OVERRIDE.qm")}));
        QCOMPARE(cancelText(), QStringLiteral("Abandonner"));
        translator.removeOldTranslators();
        QCOMPARE(cancelText(), QStringLiteral("Cancel"));
    }
};

QTEST_MAIN(LanguageChangerTest)
#include "tst_languagechanger.moc"
