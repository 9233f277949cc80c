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

namespace {
const char *const Tags = "Language Preferences";
const char *const Dialog = "PasswordDialog";
} // namespace

// The languages folder as the build and the Print Service leave it: default files, a site's
// override, a dialect with only an override, one without its name, one that is not a file at all.
class TranslationFilesTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_app;
    QString m_folder;
    RecordingObserver m_log;

    QString path(const QString &name) const { return m_folder + u'/' + name; }

private slots:
    void initTestCase()
    {
        QVERIFY(m_app.isValid());
        m_folder = m_app.path() + QStringLiteral("/languages");
        QVERIFY(QDir().mkpath(m_folder));
        QVERIFY(writeTranslationFile(path(QStringLiteral("en_us.qm")),
                                     {{Tags, "<<Language Name>>", QStringLiteral("English")},
                                      {Tags, "Change Language", QStringLiteral("Change Language")},
                                      {Tags, "Close Language Options", QStringLiteral("Close")},
                                      {Dialog, "Cancel", QStringLiteral("Cancel")},
                                      {Dialog, "Staff Id", QStringLiteral("Staff Id")}}));
        QVERIFY(
            writeTranslationFile(path(QStringLiteral("EN_US_OVERRIDE.qm")),
                                 {{Tags, "<<Language Name>>", QStringLiteral("Library English")},
                                  {Dialog, "Staff Id", QStringLiteral("Librarian")},
                                  {Dialog, "Only here", QStringLiteral("Site text")}}));
        QVERIFY(writeTranslationFile(path(QStringLiteral("fr_ca.qm")),
                                     {{Tags, "<<Language Name>>", QStringLiteral("Français")},
                                      {Tags, "Close Language Options", QStringLiteral("Fermer")}}));
        QVERIFY(writeTranslationFile(path(QStringLiteral("es_us_OVERRIDE.qm")),
                                     {{Tags, "<<Language Name>>", QStringLiteral("Español")}}));
        QVERIFY(writeTranslationFile(path(QStringLiteral("de_de.qm")),
                                     {{Dialog, "Cancel", QStringLiteral("Abbrechen")}}));
        QFile damaged(path(QStringLiteral("xx_yy.qm")));
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("not a translation file") > 0);
    }

    void init() { m_log.clear(); }

    void languageMapListsDefaultFilesWithTheOverridesTags()
    {
        TranslationFileManager manager(m_app.path());
        manager.addObserver(&m_log);
        const DynamicLanguageMap &map = manager.getLanguageMap();
        QCOMPARE(map.keys(), (QStringList{QStringLiteral("DE_DE"), QStringLiteral("EN_US"),
                                          QStringLiteral("FR_CA")}));
        // The override renames the language; the texts it leaves out come from the default.
        QCOMPARE(map[QStringLiteral("EN_US")].languageName, QStringLiteral("Library English"));
        QCOMPARE(map[QStringLiteral("EN_US")].changeLanguageText,
                 QStringLiteral("Change Language"));
        QCOMPARE(map[QStringLiteral("FR_CA")].closeLanguageOptionsText, QStringLiteral("Fermer"));
        QVERIFY(map[QStringLiteral("DE_DE")].languageName.isEmpty());
        QVERIFY(m_log.contains(
            QStringLiteral("Info"),
            QStringLiteral(
                "Inserting language entry in dynamic langauge map: EN_US, Library English")));
        QVERIFY(m_log.contains(QStringLiteral("Warning"),
                               QStringLiteral("Failed to open override translation file.  Check to "
                                              "ensure the file exists (%1)")
                                   .arg(path(QStringLiteral("fr_ca_OVERRIDE.qm")))));
        QVERIFY(m_log.contains(QStringLiteral("Error"),
                               QStringLiteral("Failed to load language tags for xx_yy")));
    }

    void masterContainerPairsDefaultAndOverrideTexts()
    {
        TranslationFileManager manager(m_app.path());
        manager.addObserver(&m_log);
        QVERIFY(manager.loadTranslationFiles(QStringLiteral("en_us"),
                                             QStringLiteral("EN_US_OVERRIDE.qm")));
        const MasterTranslationContainer texts = manager.getMasterTranslationContainer();
        QCOMPARE(texts.value({Dialog, "Staff Id"}),
                 TranslationPair(QStringLiteral("Staff Id"), QStringLiteral("Librarian")));
        QCOMPARE(texts.value({Dialog, "Cancel"}),
                 TranslationPair(QStringLiteral("Cancel"), QString()));
        QCOMPARE(texts.value({Dialog, "Only here"}),
                 TranslationPair(QString(), QStringLiteral("Site text")));

        // Each load starts afresh; a missing override leaves the default texts alone.
        QVERIFY(manager.loadTranslationFiles(QStringLiteral("fr_ca.qm"),
                                             QStringLiteral("FR_CA_OVERRIDE.qm")));
        QCOMPARE(manager.getMasterTranslationContainer().size(), 2);

        QVERIFY(!manager.loadTranslationFiles(QStringLiteral("it_it"), QString()));
        QVERIFY(m_log.contains(QStringLiteral("Warning"),
                               QStringLiteral("Failed to open default transaltion file (%1)")
                                   .arg(path(QStringLiteral("it_it.qm")))));
        QVERIFY(!manager.loadTranslationFiles(QStringLiteral("xx_yy"), QString()));
        QVERIFY(m_log.contains(QStringLiteral("Warning"),
                               QStringLiteral("Failed to load default translator")));
        QVERIFY(manager.getMasterTranslationContainer().isEmpty());

        manager.setLangSubfolder(QStringLiteral("missing"));
        QVERIFY(!manager.loadTranslationFiles(QStringLiteral("en_us"), QString()));
    }

    void savedOverridesLoadInTheToolkit()
    {
        TranslationFileManager manager(m_app.path());
        MasterTranslationContainer texts;
        texts[{Dialog, "Cancel"}] = {QStringLiteral("Cancel"), QStringLiteral("Stop")};
        texts[{Dialog, "Staff Id"}] = {QStringLiteral("Staff Id"), QString()};
        QVERIFY(manager.saveTranslationFile(QStringLiteral("saved.qm"), texts));
        QTranslator translator;
        QVERIFY(translator.load(path(QStringLiteral("saved.qm"))));
        QCOMPARE(translator.translate(Dialog, "Cancel"), QStringLiteral("Stop"));
        QVERIFY(translator.translate(Dialog, "Staff Id").isEmpty());

        texts[{Dialog, "Cancel"}].second.clear();
        QVERIFY(manager.saveTranslationFile(QStringLiteral("empty.qm"), texts));
        QFile empty(path(QStringLiteral("empty.qm")));
        QVERIFY(empty.open(QIODevice::ReadOnly));
        QCOMPARE(QmFile::read(empty.readAll()).value_or(QList<QmMessage>{{}}).size(), 0);

        QVERIFY(!manager.saveTranslationFile(QStringLiteral("../escaped.qm"), texts));
        QVERIFY(!QFile::exists(m_app.path() + QStringLiteral("/escaped.qm")));
    }

    void supportedDialectsReachTheDialogsInTheirOrder_data()
    {
        QTest::addColumn<QString>("dialects");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("codes");
        // Blanks, a trailing comma, lower case, a repeat; German lacks its name, Spanish its
        // default file, and a code that is not plain never reaches a path.
        QTest::newRow("site list")
            << QStringLiteral(" fr_ca, en_us,de_de,es_us,FR_CA,../en_us,")
            << QStringList{QStringLiteral("Français"), QStringLiteral("Library English")}
            << QStringList{QStringLiteral("EN_US"), QStringLiteral("FR_CA")};
        QTest::newRow("none usable")
            << QStringLiteral("de_de,it_it") << QStringList() << QStringList();
    }
    void supportedDialectsReachTheDialogsInTheirOrder()
    {
        QFETCH(QString, dialects);
        QFETCH(QStringList, names);
        QFETCH(QStringList, codes);
        DialogSettings &settings = DialogSettings::shared();
        settings.reset();
        SupportedLanguageDialects installation(&m_log, m_app.path());
        installation.install(dialects);
        QStringList shown;
        for (const LanguageEntry &entry : installation.languageList())
            shown.append(entry.first);
        QCOMPARE(shown, names);
        QCOMPARE(installation.languageMap().keys(), codes);
        QCOMPARE(settings.languageList(), installation.languageList());
        QCOMPARE(settings.languageMap(), installation.languageMap());
        settings.reset();
    }
};

QTEST_GUILESS_MAIN(TranslationFilesTest)
#include "tst_translationfiles.moc"
