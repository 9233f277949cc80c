#include "FileBytes.h"
#include "RecordingObserver.h"
#include "TranslationFiles.h"
#include "i18n/QmFile.h"
#include "i18n/SupportedLanguageDialects.h"
#include "i18n/TranslationFileManager.h"
#include "ui/DialogSettings.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

// The languages folder as the build and the Print Service leave it: default files, a site's
// override, a dialect with only an override, one without its name, one that is not a file at all.
class TranslationFilesTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_app;
    QString m_folder;
    RecordingObserver m_log;

    QString path(const QString &name) const { return m_folder + u'/' + name; }

private slots:
    void initTestCase()
    {
        m_folder = m_app.path() + "/languages";
        QVERIFY(m_app.isValid() && QDir().mkpath(m_folder));
        QVERIFY(
            writeTranslationFile(path("en_us.qm"), {{Tags, "<<Language Name>>", "English"},
                                                    {Tags, "Change Language", "Change Language"},
                                                    {Tags, "Close Language Options", "Close"},
                                                    {Dialog, "Cancel", "Cancel"},
                                                    {Dialog, "Staff Id", "Staff Id"}}));
        QVERIFY(writeTranslationFile(path("EN_US_OVERRIDE.qm"),
                                     {{Tags, "<<Language Name>>", "Library English"},
                                      {Dialog, "Staff Id", "Librarian"},
                                      {Dialog, "Only here", "Site text"}}));
        QVERIFY(
            writeTranslationFile(path("fr_ca.qm"), {{Tags, "<<Language Name>>", "Français"},
                                                    {Tags, "Close Language Options", "Fermer"}}));
        QVERIFY(writeTranslationFile(path("es_us_OVERRIDE.qm"),
                                     {{Tags, "<<Language Name>>", "Español"}}));
        QVERIFY(writeTranslationFile(path("de_de.qm"), {{Dialog, "Cancel", "Abbrechen"}}));
        QVERIFY(writeFile(path("xx_yy.qm"), "not a translation file"));
    }

    void init() { m_log.clear(); }

    void languageMapListsDefaultFilesWithTheOverridesTags()
    {
        TranslationFileManager manager(m_app.path());
        manager.addObserver(&m_log);
        const DynamicLanguageMap &map = manager.getLanguageMap();
        QCOMPARE(map.keys(), (QStringList{"DE_DE", "EN_US", "FR_CA"}));
        // The override renames the language; the texts it leaves out come from the default.
        QCOMPARE(map["EN_US"].languageName, "Library English");
        QCOMPARE(map["EN_US"].changeLanguageText, "Change Language");
        QCOMPARE(map["FR_CA"].closeLanguageOptionsText, "Fermer");
        QVERIFY(map["DE_DE"].languageName.isEmpty());
        QVERIFY(m_log.contains(
            "Info", "Inserting language entry in dynamic langauge map: EN_US, Library English"));
        QVERIFY(m_log.contains("Warning", "Failed to open override translation file.  Check to "
                                          "ensure the file exists (" +
                                              path("fr_ca_OVERRIDE.qm") + ")"));
        QVERIFY(m_log.contains("Error", "Failed to load language tags for xx_yy"));
    }

    void masterContainerPairsDefaultAndOverrideTexts()
    {
        TranslationFileManager manager(m_app.path());
        manager.addObserver(&m_log);
        QVERIFY(manager.loadTranslationFiles("en_us", "EN_US_OVERRIDE.qm"));
        const MasterTranslationContainer texts = manager.getMasterTranslationContainer();
        QCOMPARE(texts.value({Dialog, "Staff Id"}), TranslationPair("Staff Id", "Librarian"));
        QCOMPARE(texts.value({Dialog, "Cancel"}), TranslationPair("Cancel", QString()));
        QCOMPARE(texts.value({Dialog, "Only here"}), TranslationPair(QString(), "Site text"));

        // Each load starts afresh; a missing override leaves the default texts alone.
        QVERIFY(manager.loadTranslationFiles("fr_ca.qm", "FR_CA_OVERRIDE.qm"));
        QCOMPARE(manager.getMasterTranslationContainer().size(), 2);

        QVERIFY(!manager.loadTranslationFiles("it_it", QString()));
        QVERIFY(m_log.contains("Warning", "Failed to open default transaltion file (" +
                                              path("it_it.qm") + ")"));
        QVERIFY(!manager.loadTranslationFiles("xx_yy", QString()));
        QVERIFY(m_log.contains("Warning", "Failed to load default translator"));
        QVERIFY(manager.getMasterTranslationContainer().isEmpty());

        manager.setLangSubfolder("missing");
        QVERIFY(!manager.loadTranslationFiles("en_us", QString()));
    }

    void savedOverridesLoadInTheToolkit()
    {
        TranslationFileManager manager(m_app.path());
        MasterTranslationContainer texts;
        texts[{Dialog, "Cancel"}] = {"Cancel", "Stop"};
        texts[{Dialog, "Staff Id"}] = {"Staff Id", QString()};
        QVERIFY(manager.saveTranslationFile("saved.qm", texts));
        QTranslator translator;
        QVERIFY(translator.load(path("saved.qm")));
        QCOMPARE(translator.translate(Dialog, "Cancel"), "Stop");
        QVERIFY(translator.translate(Dialog, "Staff Id").isEmpty());

        texts[{Dialog, "Cancel"}].second.clear();
        QVERIFY(manager.saveTranslationFile("empty.qm", texts));
        QCOMPARE(QmFile::read(readFile(path("empty.qm"))).value_or(QList<QmMessage>{{}}).size(), 0);

        QVERIFY(!manager.saveTranslationFile("../escaped.qm", texts));
        QVERIFY(!QFile::exists(m_app.path() + "/escaped.qm"));
    }

    void supportedDialectsReachTheDialogsInTheirOrder_data()
    {
        QTest::addColumn<QString>("dialects");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("codes");
        // Blanks, a trailing comma, lower case, a repeat; German lacks its name, Spanish its
        // default file, and a code that is not plain never reaches a path.
        QTest::newRow("site list")
            << " fr_ca, en_us,de_de,es_us,FR_CA,../en_us,"
            << QStringList{"Français", "Library English"} << QStringList{"EN_US", "FR_CA"};
        QTest::newRow("none usable") << "de_de,it_it" << QStringList() << QStringList();
    }
    void supportedDialectsReachTheDialogsInTheirOrder()
    {
        QFETCH(QString, dialects);
        DialogSettings &settings = DialogSettings::shared();
        settings.reset();
        SupportedLanguageDialects installation(&m_log, m_app.path());
        installation.install(dialects);
        QStringList shown;
        for (const LanguageEntry &entry : installation.languageList())
            shown.append(entry.first);
        QTEST(shown, "names");
        QTEST(installation.languageMap().keys(), "codes");
        QCOMPARE(settings.languageList(), installation.languageList());
        QCOMPARE(settings.languageMap(), installation.languageMap());
        settings.reset();
    }
};

QTEST_GUILESS_MAIN(TranslationFilesTest)
#include "tst_translationfiles.moc"
