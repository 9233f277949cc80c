#include "settings/Registry.h"

#include <QtTest>

#include <memory>
#include <vector>

using UtilsLib::Registry;
using UtilsLib::RegistryRoot;

Q_DECLARE_METATYPE(UtilsLib::RegistryRoot)

namespace {

const QString TestKey = QStringLiteral("Software\\Ondrel\\Test");
const char *const WriterOption = "--write-values";

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

// The child process of concurrentWritersLoseNothing: writes `count` numbers named
// "<id>-<n>" into HKCU of the hive folder given in the environment.
int writeValues(const QString &id, int count)
{
    Registry registry;
    if (!registry.setRoot(QStringLiteral("HKCU")))
        return 2;
    for (int n = 0; n < count; ++n) {
        if (!registry.writeDword(TestKey, QStringLiteral("%1-%2").arg(id).arg(n), n))
            return 1;
    }
    return 0;
}

} // namespace

class TestRegistry : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void setRootTakesExactNames_data();
    void setRootTakesExactNames();
    void remoteMachinesDoNotConnect();
    void writeValueReadsTheNotation_data();
    void writeValueReadsTheNotation();
    void writesTheHiveFormat();
    void readsAnInstallerWrittenHive();
    void missingKeysAndValuesAreInvalid();
    void maxBytesLimitsTheRead_data();
    void maxBytesLimitsTheRead();
    void keysAndNamesIgnoreCase();
    void openAndCreateKeys();
    void deleteKeysAndTrees();
    void deleteValue();
    void refusesWhatTheHiveCannotHold();
    void unreadableHiveFails();
    void hivesLiveInTheirFolders();
    void otherProcessesSeeWritesAtOnce();
    void concurrentWritersLoseNothing();

private:
    QString hive(const QString &name = QStringLiteral("HKEY_CURRENT_USER")) const
    {
        return m_dir->filePath(name + QLatin1String(".ini"));
    }
    std::unique_ptr<Registry> connected(const QString &root = QStringLiteral("HKCU")) const
    {
        auto registry = std::make_unique<Registry>();
        registry->setRoot(root);
        return registry;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestRegistry::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("ONDTPC_REGISTRY_DIR", m_dir->path().toUtf8());
}

void TestRegistry::setRootTakesExactNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<RegistryRoot>("root");

    QTest::newRow("HKEY_LOCAL_MACHINE") << "HKEY_LOCAL_MACHINE" << RegistryRoot::LocalMachine;
    QTest::newRow("HKLM") << "HKLM" << RegistryRoot::LocalMachine;
    QTest::newRow("HKEY_CURRENT_USER") << "HKEY_CURRENT_USER" << RegistryRoot::CurrentUser;
    QTest::newRow("HKCU") << "HKCU" << RegistryRoot::CurrentUser;
    QTest::newRow("HKEY_CLASSES_ROOT") << "HKEY_CLASSES_ROOT" << RegistryRoot::ClassesRoot;
    QTest::newRow("HKCR") << "HKCR" << RegistryRoot::ClassesRoot;
    QTest::newRow("HKEY_USERS") << "HKEY_USERS" << RegistryRoot::Users;
    QTest::newRow("HKU") << "HKU" << RegistryRoot::Users;
    QTest::newRow("lower case") << "hklm" << RegistryRoot::None;
    QTest::newRow("mixed case") << "HKEY_Local_Machine" << RegistryRoot::None;
    QTest::newRow("other root") << "HKEY_CURRENT_CONFIG" << RegistryRoot::None;
    QTest::newRow("empty") << "" << RegistryRoot::None;
}

void TestRegistry::setRootTakesExactNames()
{
    QFETCH(QString, name);
    QFETCH(RegistryRoot, root);

    Registry registry;
    QVERIFY(registry.setRoot(QStringLiteral("HKU")));
    QCOMPARE(registry.setRoot(name), root != RegistryRoot::None);
    QCOMPARE(registry.rootKey(), root);
    QCOMPARE(registry.openKey(QString()), root != RegistryRoot::None);
}

void TestRegistry::remoteMachinesDoNotConnect()
{
    Registry remote(QStringLiteral("pc7"));
    QCOMPARE(remote.machineName(), QStringLiteral("\\\\pc7"));
    QVERIFY(!remote.setRoot(QStringLiteral("HKLM")));
    QCOMPARE(remote.rootKey(), RegistryRoot::None);
    QCOMPARE(Registry(QStringLiteral("\\\\pc8")).machineName(), QStringLiteral("\\\\pc8"));
    QVERIFY(Registry().machineName().isEmpty());
}

void TestRegistry::writeValueReadsTheNotation_data()
{
    QTest::addColumn<QString>("typedText");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QByteArray>("stored");

    QTest::newRow("dword") << "dword:0000001f" << QVariant(31u) << QByteArray("dword:0000001f");
    QTest::newRow("dword in capitals")
        << "DWORD:2A" << QVariant(42u) << QByteArray("dword:0000002a");
    QTest::newRow("starts with dword")
        << "dwordx:10" << QVariant(16u) << QByteArray("dword:00000010");
    QTest::newRow("largest dword")
        << "dword:ffffffff" << QVariant(0xffffffffu) << QByteArray("dword:ffffffff");
    QTest::newRow("no hexadecimal number")
        << "dword:zz" << QVariant(0u) << QByteArray("dword:00000000");
    QTest::newRow("more than 32 bits")
        << "dword:123456789" << QVariant(0u) << QByteArray("dword:00000000");
    QTest::newRow("quoted path") << "\"C:\\Program Files\\ondtpc\""
                                 << QVariant(QStringLiteral("C:\\Program Files\\ondtpc"))
                                 << QByteArray("sz:C:\\\\Program Files\\\\ondtpc");
    QTest::newRow("quote wins over dword")
        << "dword:\"1\"" << QVariant(QStringLiteral("dword:1")) << QByteArray("sz:dword:1");
    QTest::newRow("sz") << "sz:abc" << QVariant(QStringLiteral("abc")) << QByteArray("sz:abc");
    QTest::newRow("other type") << "expand_sz:%HOME%/x" << QVariant(QStringLiteral("%HOME%/x"))
                                << QByteArray("sz:%HOME%/x");
    QTest::newRow("only the first colon")
        << "a:b:c" << QVariant(QStringLiteral("b:c")) << QByteArray("sz:b:c");
    QTest::newRow("colon first") << ":abc" << QVariant(QStringLiteral(":abc"))
                                 << QByteArray("sz::abc");
    QTest::newRow("no colon") << "dword" << QVariant(QStringLiteral("dword"))
                              << QByteArray("sz:dword");
    QTest::newRow("empty") << "" << QVariant(QStringLiteral("")) << QByteArray("sz:");
}

void TestRegistry::writeValueReadsTheNotation()
{
    QFETCH(QString, typedText);
    QFETCH(QVariant, value);
    QFETCH(QByteArray, stored);

    QVERIFY(connected()->writeValue(TestKey, QStringLiteral("Value"), typedText));
    QCOMPARE(readFile(hive()), "[Software/Ondrel/Test]\nValue=" + stored + "\n");

    const QVariant read = connected()->readValue(TestKey, QStringLiteral("Value"), 256);
    QCOMPARE(read.typeId(), value.typeId());
    QCOMPARE(read, value);
}

void TestRegistry::writesTheHiveFormat()
{
    auto registry = connected();
    QVERIFY(registry->writeDword(TestKey, QStringLiteral("Count"), 42));
    QVERIFY(registry->writeValue(TestKey, QStringLiteral("a=b"), QStringLiteral("sz:x=y")));
    QVERIFY(registry->writeValue(TestKey, QStringLiteral(" padded "), QStringLiteral("sz: z ")));
    QVERIFY(registry->writeValue(TestKey, QStringLiteral("[not a key"),
                                 QStringLiteral("sz:1\n2\r\\3")));
    QVERIFY(registry->writeValue(QStringLiteral("Software/Other/"), QStringLiteral(""),
                                 QStringLiteral("sz:default")));

    QCOMPARE(readFile(hive()), QByteArray("[Software/Ondrel/Test]\n"
                                          "Count=dword:0000002a\n"
                                          "a\\=b=sz:x=y\n"
                                          "\\spadded\\s=sz: z \n"
                                          "\\[not a key=sz:1\\n2\\r\\\\3\n"
                                          "\n"
                                          "[Software/Other]\n"
                                          "=sz:default\n"));

    auto reader = connected();
    QCOMPARE(reader->readValue(TestKey, QStringLiteral("count"), 4), QVariant(42u));
    QCOMPARE(reader->readValue(TestKey, QStringLiteral("a=b"), 256), QVariant("x=y"));
    QCOMPARE(reader->readValue(TestKey, QStringLiteral(" padded "), 256), QVariant(" z "));
    QCOMPARE(reader->readValue(TestKey, QStringLiteral("[not a key"), 256), QVariant("1\n2\r\\3"));
    QCOMPARE(reader->readValue(QStringLiteral("Software\\Other"), QString(), 256),
             QVariant("default"));
}

void TestRegistry::readsAnInstallerWrittenHive()
{
    writeFile(hive(QStringLiteral("HKEY_LOCAL_MACHINE")),
              "; written by the installer\r\n"
              "# another comment\r\n"
              "\r\n"
              "Ignored=sz:before any key\r\n"
              "  [SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ondclient]  \r\n"
              "InstallLocation = sz:/usr/lib/ondtpc\r\n"
              "Untagged=/opt/ondtpc \r\n"
              "Version=DWORD:0000000A\r\n"
              "Broken=dword:xyz\r\n"
              "not a value line\r\n"
              "[software/microsoft/windows/currentversion/uninstall/ONDCLIENT]\r\n"
              "Publisher=SZ:Ondrel\r\n");
    auto registry = connected(QStringLiteral("HKLM"));
    const QString key =
        QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ondclient");
    QCOMPARE(registry->readValue(key, QStringLiteral("InstallLocation"), 256),
             QVariant("/usr/lib/ondtpc"));
    QCOMPARE(registry->readValue(key, QStringLiteral("Untagged"), 256), QVariant("/opt/ondtpc "));
    QCOMPARE(registry->readValue(key, QStringLiteral("Version"), 256), QVariant(10u));
    QCOMPARE(registry->readValue(key, QStringLiteral("Publisher"), 256), QVariant("Ondrel"));
    QVERIFY(!registry->readValue(key, QStringLiteral("Broken"), 256).isValid());
    QVERIFY(!registry->readValue(QString(), QStringLiteral("Ignored"), 256).isValid());
}

void TestRegistry::missingKeysAndValuesAreInvalid()
{
    Registry unconnected;
    QVERIFY(!unconnected.readValue(TestKey, QStringLiteral("Value"), 256).isValid());
    QVERIFY(!unconnected.writeDword(TestKey, QStringLiteral("Value"), 1));

    auto registry = connected();
    QVERIFY(!registry->readValue(TestKey, QStringLiteral("Value"), 256).isValid());
    QCOMPARE(registry->readStringOr(TestKey, QStringLiteral("Value"), QStringLiteral("dflt"), 256),
             QVariant("dflt"));
    QCOMPARE(registry->readIntOr(TestKey, QStringLiteral("Value"), -3, 256), QVariant(-3));

    QVERIFY(registry->writeValue(TestKey, QStringLiteral("Text"), QStringLiteral("sz:7")));
    QVERIFY(!registry->readValue(TestKey, QStringLiteral("Value"), 256).isValid());
    QVERIFY(!registry->readValue(TestKey + QLatin1String("\\Sub"), QStringLiteral("Text"), 256)
                 .isValid());
    // The value's own type is kept: a text stays a text.
    QCOMPARE(registry->readIntOr(TestKey, QStringLiteral("Text"), -3, 256), QVariant("7"));
}

void TestRegistry::maxBytesLimitsTheRead_data()
{
    QTest::addColumn<QString>("typedText");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<bool>("readable");

    QTest::newRow("text and its zero byte fit") << "sz:abc" << 4 << true;
    QTest::newRow("text one byte too long") << "sz:abc" << 3 << false;
    QTest::newRow("empty text needs its zero byte") << "sz:" << 1 << true;
    QTest::newRow("nothing fits in no bytes") << "sz:" << 0 << false;
    QTest::newRow("UTF-8 bytes count") << QString::fromUtf8("sz:\u00e9") << 3 << true;
    QTest::newRow("UTF-8 bytes too many") << QString::fromUtf8("sz:\u00e9") << 2 << false;
    QTest::newRow("dword fits") << "dword:2a" << 4 << true;
    QTest::newRow("dword needs four bytes") << "dword:2a" << 3 << false;
}

void TestRegistry::maxBytesLimitsTheRead()
{
    QFETCH(QString, typedText);
    QFETCH(int, maxBytes);
    QFETCH(bool, readable);

    auto registry = connected();
    QVERIFY(registry->writeValue(TestKey, QStringLiteral("V"), typedText));
    QCOMPARE(registry->readValue(TestKey, QStringLiteral("V"), maxBytes).isValid(), readable);
    QCOMPARE(registry->readStringOr(TestKey, QStringLiteral("V"), QStringLiteral("d"), maxBytes) ==
                 QVariant("d"),
             !readable);
}

void TestRegistry::keysAndNamesIgnoreCase()
{
    auto registry = connected();
    QVERIFY(registry->writeValue(QStringLiteral("Software\\Ondrel"), QStringLiteral("Name"),
                                 QStringLiteral("sz:x")));
    QCOMPARE(registry->readValue(QStringLiteral("/SOFTWARE//ondrel/"), QStringLiteral("NAME"), 256),
             QVariant("x"));
    QVERIFY(registry->writeValue(QStringLiteral("software/ONDREL"), QStringLiteral("name"),
                                 QStringLiteral("sz:y")));
    QCOMPARE(readFile(hive()), QByteArray("[Software/Ondrel]\nName=sz:y\n"));
}

void TestRegistry::openAndCreateKeys()
{
    auto registry = connected();
    QVERIFY(registry->openKey(QString()));
    QVERIFY(!registry->openKey(QStringLiteral("A\\B")));
    QVERIFY(registry->createKey(QStringLiteral("A\\B")));
    QCOMPARE(readFile(hive()), QByteArray("[A/B]\n"));
    QVERIFY(registry->createKey(QStringLiteral("a/b")));
    QCOMPARE(readFile(hive()), QByteArray("[A/B]\n"));
    QVERIFY(registry->openKey(QStringLiteral("a\\b")));
    QVERIFY(registry->openKey(QStringLiteral("A")));
    QVERIFY(!registry->openKey(QStringLiteral("A/B/C")));
    QVERIFY(!registry->openKey(QStringLiteral("A/Bx")));

    registry->closeRoot();
    QCOMPARE(registry->rootKey(), RegistryRoot::None);
    QVERIFY(!registry->openKey(QStringLiteral("A")));
    QVERIFY(!registry->createKey(QStringLiteral("C")));
    QVERIFY(registry->connectRoot(RegistryRoot::CurrentUser));
    QVERIFY(registry->openKey(QStringLiteral("A")));
    QVERIFY(!registry->connectRoot(RegistryRoot::None));
}

void TestRegistry::deleteKeysAndTrees()
{
    auto registry = connected();
    QVERIFY(registry->writeDword(QStringLiteral("A\\B\\C"), QStringLiteral("v"), 1));
    QVERIFY(registry->writeDword(QStringLiteral("A\\B\\D"), QStringLiteral("v"), 2));
    QVERIFY(registry->writeDword(QStringLiteral("A\\BB"), QStringLiteral("v"), 3));

    QVERIFY(!registry->deleteKey(QStringLiteral("A\\B")));
    QVERIFY(!registry->deleteKey(QStringLiteral("A\\B\\missing")));
    QVERIFY(registry->deleteKey(QStringLiteral("a/b/c")));
    QVERIFY(!registry->openKey(QStringLiteral("A\\B\\C")));
    QVERIFY(registry->deleteKey(QStringLiteral("A\\B\\D")));
    // The parent was only implied by its subkeys; it outlives them.
    QVERIFY(registry->openKey(QStringLiteral("A\\B")));
    QCOMPARE(readFile(hive()), QByteArray("[A/BB]\nv=dword:00000003\n\n[A/B]\n"));

    QVERIFY(registry->writeDword(QStringLiteral("A\\B\\E\\F"), QStringLiteral("v"), 4));
    QVERIFY(registry->deleteTree(QStringLiteral("A\\B")));
    QVERIFY(!registry->openKey(QStringLiteral("A\\B")));
    QCOMPARE(registry->readValue(QStringLiteral("A\\BB"), QStringLiteral("v"), 4), QVariant(3u));
    QVERIFY(registry->deleteTree(QStringLiteral("A")));
    QVERIFY(!registry->openKey(QStringLiteral("A")));
    QVERIFY(!registry->deleteTree(QStringLiteral("A")));
    QVERIFY(!registry->deleteTree(QString()));
    QVERIFY(!registry->deleteKey(QStringLiteral("\\")));
}

void TestRegistry::deleteValue()
{
    auto registry = connected();
    QVERIFY(registry->writeDword(TestKey, QStringLiteral("One"), 1));
    QVERIFY(registry->writeDword(TestKey, QStringLiteral("Two"), 2));
    QVERIFY(registry->deleteValue(TestKey, QStringLiteral("ONE")));
    QVERIFY(!registry->readValue(TestKey, QStringLiteral("One"), 4).isValid());
    QVERIFY(!registry->deleteValue(TestKey, QStringLiteral("One")));
    QVERIFY(!registry->deleteValue(QStringLiteral("Missing"), QStringLiteral("Two")));
    QCOMPARE(readFile(hive()), QByteArray("[Software/Ondrel/Test]\nTwo=dword:00000002\n"));
}

void TestRegistry::refusesWhatTheHiveCannotHold()
{
    auto registry = connected();
    QVERIFY(!registry->createKey(QStringLiteral("a\nb")));
    QVERIFY(
        !registry->writeValue(QStringLiteral("a\rb"), QStringLiteral("v"), QStringLiteral("x")));
    QVERIFY(!registry->writeDword(QString(), QStringLiteral("OnTheRoot"), 1));
    QVERIFY(!QFileInfo::exists(hive()));
}

void TestRegistry::unreadableHiveFails()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("HKEY_CURRENT_USER.ini")));
    auto registry = connected();
    QVERIFY(!registry->openKey(QString()));
    QVERIFY(!registry->readValue(TestKey, QStringLiteral("v"), 4).isValid());
    QVERIFY(!registry->writeDword(TestKey, QStringLiteral("v"), 1));
}

void TestRegistry::hivesLiveInTheirFolders()
{
    QCOMPARE(Registry::hiveFilePath(RegistryRoot::Users), hive(QStringLiteral("HKEY_USERS")));
    QCOMPARE(Registry::hiveFilePath(RegistryRoot::CurrentUser), hive());
    QVERIFY(Registry::hiveFilePath(RegistryRoot::None).isEmpty());

    qunsetenv("ONDTPC_REGISTRY_DIR");
    const QByteArray home = qgetenv("HOME");
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", "/home/somebody");
    qputenv("XDG_CONFIG_HOME", "/cfg");
    const QString userWithXdg = Registry::hiveFilePath(RegistryRoot::CurrentUser);
    qunsetenv("XDG_CONFIG_HOME");
    const QString userWithoutXdg = Registry::hiveFilePath(RegistryRoot::CurrentUser);
    qputenv("HOME", home);
    if (!configHome.isNull())
        qputenv("XDG_CONFIG_HOME", configHome);

    QCOMPARE(userWithXdg, QStringLiteral("/cfg/ondtpc/registry/HKEY_CURRENT_USER.ini"));
    QCOMPARE(userWithoutXdg,
             QStringLiteral("/home/somebody/.config/ondtpc/registry/HKEY_CURRENT_USER.ini"));
    QCOMPARE(Registry::hiveFilePath(RegistryRoot::LocalMachine),
             QStringLiteral("/etc/ondtpc/registry/HKEY_LOCAL_MACHINE.ini"));
    QCOMPARE(Registry::hiveFilePath(RegistryRoot::ClassesRoot),
             QStringLiteral("/etc/ondtpc/registry/HKEY_CLASSES_ROOT.ini"));
}

void TestRegistry::otherProcessesSeeWritesAtOnce()
{
    auto reader = connected();
    QVERIFY(!reader->readValue(TestKey, QStringLiteral("0-0"), 4).isValid());
    QVERIFY(connected()->writeDword(TestKey, QStringLiteral("here"), 5));
    QCOMPARE(reader->readValue(TestKey, QStringLiteral("here"), 4), QVariant(5u));

    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QString::fromLatin1(WriterOption), QStringLiteral("0"), QStringLiteral("1")});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(reader->readValue(TestKey, QStringLiteral("0-0"), 4), QVariant(0u));
}

void TestRegistry::concurrentWritersLoseNothing()
{
    const int writers = 3;
    const int valuesEach = 25;
    QVERIFY(connected()->writeValue(TestKey, QStringLiteral("Sentinel"), QStringLiteral("sz:ok")));

    std::vector<std::unique_ptr<QProcess>> children;
    for (int id = 0; id < writers; ++id) {
        children.push_back(std::make_unique<QProcess>());
        children.back()->start(
            QCoreApplication::applicationFilePath(),
            {QString::fromLatin1(WriterOption), QString::number(id), QString::number(valuesEach)});
        QVERIFY(children.back()->waitForStarted(30000));
    }
    // While the files are replaced, a reader sees one whole version or the next, never a
    // torn file without the sentinel.
    auto reader = connected();
    int reads = 0;
    const auto running = [&children] {
        for (const auto &child : children) {
            if (child->state() != QProcess::NotRunning && !child->waitForFinished(0))
                return true;
        }
        return false;
    };
    while (running() && reads < 100000) {
        QCOMPARE(reader->readValue(TestKey, QStringLiteral("Sentinel"), 16), QVariant("ok"));
        ++reads;
    }
    for (const auto &child : children) {
        if (child->state() != QProcess::NotRunning)
            QVERIFY(child->waitForFinished(60000));
        QCOMPARE(child->exitStatus(), QProcess::NormalExit);
        QCOMPARE(child->exitCode(), 0);
    }
    for (int id = 0; id < writers; ++id) {
        for (int n = 0; n < valuesEach; ++n) {
            QCOMPARE(reader->readValue(TestKey, QStringLiteral("%1-%2").arg(id).arg(n), 4),
                     QVariant(uint(n)));
        }
    }
    QVERIFY(!QFileInfo::exists(hive() + QLatin1String(".lock")));
}

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], WriterOption) == 0)
        return writeValues(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt());
    QCoreApplication app(argc, argv);
    TestRegistry test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_registry.moc"
