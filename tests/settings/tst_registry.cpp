#include "settings/Registry.h"

#include <QtTest>

#include <memory>
#include <vector>

using UtilsLib::Registry;
using UtilsLib::RegistryRoot;

namespace {

const QString TestKey = QStringLiteral("Software\\Ondrel\\Test");
const char *const WriterOption = "--write-values";

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::unique_ptr<Registry> connected(const QString &root = QStringLiteral("HKCU"))
{
    auto registry = std::make_unique<Registry>();
    registry->setRoot(root);
    return registry;
}

// The child process of concurrentWritersLoseNothing: writes `count` numbers named
// "<id>-<n>" into HKCU of the hive folder it inherits.
int writeValues(const QString &id, int count)
{
    auto registry = connected();
    for (int n = 0; n < count; ++n) {
        if (!registry->writeDword(TestKey, QStringLiteral("%1-%2").arg(id).arg(n), n))
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
    void writeValueReadsTheNotation_data();
    void writeValueReadsTheNotation();
    void writesTheHiveFormat();
    void readsAnInstallerWrittenHive();
    void missingKeysAndValuesAreInvalid();
    void maxBytesLimitsTheRead_data();
    void maxBytesLimitsTheRead();
    void createsAndDeletesKeys();
    void refusesWhatTheHiveCannotHold();
    void concurrentWritersLoseNothing();

private:
    QString hive(const QString &name = QStringLiteral("HKEY_CURRENT_USER")) const
    {
        return m_dir->filePath(name + QLatin1String(".ini"));
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
    QTest::addColumn<int>("root");

    QTest::newRow("HKEY_LOCAL_MACHINE") << "HKEY_LOCAL_MACHINE" << int(RegistryRoot::LocalMachine);
    QTest::newRow("HKCU") << "HKCU" << int(RegistryRoot::CurrentUser);
    QTest::newRow("HKCR") << "HKCR" << int(RegistryRoot::ClassesRoot);
    QTest::newRow("HKEY_USERS") << "HKEY_USERS" << int(RegistryRoot::Users);
    QTest::newRow("lower case") << "hklm" << int(RegistryRoot::None);
    QTest::newRow("other root") << "HKEY_CURRENT_CONFIG" << int(RegistryRoot::None);
}

void TestRegistry::setRootTakesExactNames()
{
    QFETCH(QString, name);
    QFETCH(int, root);

    Registry registry;
    QVERIFY(registry.setRoot(QStringLiteral("HKU")));
    QCOMPARE(registry.setRoot(name), root != int(RegistryRoot::None));
    QCOMPARE(int(registry.rootKey()), root);
    QCOMPARE(registry.openKey(QString()), root != int(RegistryRoot::None));

    Registry remote(QStringLiteral("pc7"));
    QCOMPARE(remote.machineName(), QStringLiteral("\\\\pc7"));
    QVERIFY(!remote.setRoot(name));
}

void TestRegistry::writeValueReadsTheNotation_data()
{
    QTest::addColumn<QString>("typedText");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QByteArray>("stored");

    QTest::newRow("dword") << "dword:0000001f" << QVariant(31u) << QByteArray("dword:0000001f");
    QTest::newRow("any case, short")
        << "DWORDx:2A" << QVariant(42u) << QByteArray("dword:0000002a");
    QTest::newRow("no hexadecimal number")
        << "dword:zz" << QVariant(0u) << QByteArray("dword:00000000");
    QTest::newRow("quoted path") << "\"C:\\Program Files\\ondtpc\""
                                 << QVariant(QStringLiteral("C:\\Program Files\\ondtpc"))
                                 << QByteArray("sz:C:\\\\Program Files\\\\ondtpc");
    QTest::newRow("a quote makes it a string")
        << "dword:\"1\"" << QVariant(QStringLiteral("dword:1")) << QByteArray("sz:dword:1");
    QTest::newRow("sz") << "sz:abc" << QVariant(QStringLiteral("abc")) << QByteArray("sz:abc");
    QTest::newRow("other type, first colon")
        << "expand_sz:a:b" << QVariant(QStringLiteral("a:b")) << QByteArray("sz:a:b");
    QTest::newRow("colon first") << ":abc" << QVariant(QStringLiteral(":abc"))
                                 << QByteArray("sz::abc");
    QTest::newRow("no colon") << "dword" << QVariant(QStringLiteral("dword"))
                              << QByteArray("sz:dword");
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
    QVERIFY(registry->writeValue(TestKey, QStringLiteral("[x"), QStringLiteral("sz:1\n2\r\\3")));
    QVERIFY(registry->writeValue(QStringLiteral("software/ONDREL//test/"), QStringLiteral("COUNT"),
                                 QStringLiteral("dword:7")));
    QVERIFY(registry->writeValue(QStringLiteral("Software/Other"), QString(), QStringLiteral("d")));

    QCOMPARE(readFile(hive()), QByteArray("[Software/Ondrel/Test]\n"
                                          "Count=dword:00000007\n"
                                          "a\\=b=sz:x=y\n"
                                          "\\spadded\\s=sz: z \n"
                                          "\\[x=sz:1\\n2\\r\\\\3\n"
                                          "\n"
                                          "[Software/Other]\n"
                                          "=sz:d\n"));
    auto reader = connected();
    QCOMPARE(
        reader->readValue(QStringLiteral("SOFTWARE\\ondrel\\TEST"), QStringLiteral("count"), 4),
        QVariant(7u));
    QCOMPARE(reader->readValue(TestKey, QStringLiteral("a=b"), 256), QVariant("x=y"));
    QCOMPARE(reader->readValue(TestKey, QStringLiteral(" padded "), 256), QVariant(" z "));
    QCOMPARE(reader->readValue(TestKey, QStringLiteral("[x"), 256), QVariant("1\n2\r\\3"));
    QCOMPARE(reader->readValue(QStringLiteral("Software\\Other"), QString(), 256), QVariant("d"));
}

void TestRegistry::readsAnInstallerWrittenHive()
{
    QFile file(hive(QStringLiteral("HKEY_LOCAL_MACHINE")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\xef\xbb\xbf[Software\\First]\r\n" // a byte-order mark some editors put first
               "First=sz:1\r\n"
               "; written by the installer\r\n\r\n"
               "  [SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ondclient]  \r\n"
               "InstallLocation = sz:/usr/lib/ondtpc\r\n"
               "Untagged=/opt/ondtpc \r\n"
               "Broken=dword:xyz\r\n"
               "not a value line\r\n"
               "[software/microsoft/windows/currentversion/uninstall/ONDCLIENT]\r\n"
               "Version=DWORD:0000000A\r\n");
    file.close();
    auto registry = connected(QStringLiteral("HKLM"));
    const QString key =
        QStringLiteral("SOFTWARE/Microsoft/Windows/CurrentVersion/Uninstall/ondclient");
    QCOMPARE(registry->readValue(key, QStringLiteral("InstallLocation"), 256),
             QVariant("/usr/lib/ondtpc"));
    QCOMPARE(registry->readValue(key, QStringLiteral("Untagged"), 256), QVariant("/opt/ondtpc "));
    QCOMPARE(registry->readValue(key, QStringLiteral("Version"), 256), QVariant(10u));
    QVERIFY(!registry->readValue(key, QStringLiteral("Broken"), 256).isValid());
    QCOMPARE(registry->readValue(QStringLiteral("software/first"), QStringLiteral("first"), 4),
             QVariant("1"));
}

void TestRegistry::missingKeysAndValuesAreInvalid()
{
    QVERIFY(!Registry().readValue(TestKey, QStringLiteral("Value"), 256).isValid());
    auto registry = connected();
    QVERIFY(!registry->readValue(TestKey, QStringLiteral("Value"), 256).isValid());
    QCOMPARE(registry->readStringOr(TestKey, QStringLiteral("Value"), QStringLiteral("dflt"), 256),
             QVariant("dflt"));
    QCOMPARE(registry->readIntOr(TestKey, QStringLiteral("Value"), -3, 256), QVariant(-3));

    QVERIFY(registry->writeValue(TestKey, QStringLiteral("Text"), QStringLiteral("sz:7")));
    QVERIFY(!registry->readValue(TestKey, QStringLiteral("Value"), 256).isValid());
    QVERIFY(!registry->readValue(TestKey + "\\Sub", QStringLiteral("Text"), 256).isValid());
    // A value keeps its own type: a text stays a text.
    QCOMPARE(registry->readIntOr(TestKey, QStringLiteral("Text"), -3, 256), QVariant("7"));
}

void TestRegistry::maxBytesLimitsTheRead_data()
{
    QTest::addColumn<QString>("typedText");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<bool>("readable");

    QTest::newRow("text and its zero byte fit") << "sz:abc" << 4 << true;
    QTest::newRow("text one byte too long") << "sz:abc" << 3 << false;
    QTest::newRow("empty text needs its zero byte") << "sz:" << 0 << false;
    QTest::newRow("UTF-8 bytes count") << QString::fromUtf8("sz:\u00e9") << 2 << false;
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
    QCOMPARE(registry->readStringOr(TestKey, QStringLiteral("V"), "d", maxBytes) == QVariant("d"),
             !readable);
}

void TestRegistry::createsAndDeletesKeys()
{
    auto registry = connected();
    QVERIFY(!registry->openKey(QStringLiteral("A\\B")));
    QVERIFY(registry->createKey(QStringLiteral("A\\B")));
    QVERIFY(registry->createKey(QStringLiteral("a/b")));
    QCOMPARE(readFile(hive()), QByteArray("[A/B]\n"));
    QVERIFY(registry->openKey(QStringLiteral("A")));
    QVERIFY(!registry->openKey(QStringLiteral("A/Bx")));

    QVERIFY(registry->writeDword(QStringLiteral("A\\B\\C"), QStringLiteral("v"), 1));
    QVERIFY(registry->writeDword(QStringLiteral("A\\BB"), QStringLiteral("v"), 2));
    QVERIFY(!registry->deleteKey(QStringLiteral("A\\B")));
    QVERIFY(registry->deleteValue(QStringLiteral("a\\b\\c"), QStringLiteral("V")));
    QVERIFY(!registry->deleteValue(QStringLiteral("A\\B\\C"), QStringLiteral("v")));
    QVERIFY(registry->deleteKey(QStringLiteral("a/b/c")));
    QVERIFY(!registry->deleteKey(QStringLiteral("A\\B\\C")));
    QVERIFY(registry->deleteKey(QStringLiteral("A\\B")));
    // A key that only its subkey implied outlives it.
    QVERIFY(registry->openKey(QStringLiteral("A")));
    QVERIFY(registry->writeDword(QStringLiteral("A\\B\\E\\F"), QStringLiteral("v"), 4));
    QVERIFY(registry->deleteTree(QStringLiteral("A\\B")));
    QCOMPARE(readFile(hive()), QByteArray("[A/BB]\nv=dword:00000002\n"));
    QVERIFY(registry->deleteTree(QStringLiteral("A")));
    QVERIFY(!registry->openKey(QStringLiteral("A")));
    QVERIFY(!registry->deleteTree(QString()));
}

void TestRegistry::refusesWhatTheHiveCannotHold()
{
    auto registry = connected();
    QVERIFY(!registry->createKey(QStringLiteral("a\nb")));
    QVERIFY(!registry->writeDword(QString(), QStringLiteral("OnTheRoot"), 1));
    QVERIFY(!QFileInfo::exists(hive()));

    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("HKEY_CURRENT_USER.ini")));
    QVERIFY(!registry->openKey(QString()));
    QVERIFY(!registry->writeDword(TestKey, QStringLiteral("v"), 1));
}

void TestRegistry::concurrentWritersLoseNothing()
{
    const int writers = 3;
    const int valuesEach = 25;
    QVERIFY(connected()->writeValue(TestKey, QStringLiteral("Sentinel"), QStringLiteral("sz:ok")));

    std::vector<std::unique_ptr<QProcess>> children;
    for (int id = 0; id < writers; ++id) {
        children.push_back(std::make_unique<QProcess>());
        children.back()->start(QCoreApplication::applicationFilePath(),
                               {WriterOption, QString::number(id), QString::number(valuesEach)});
        QVERIFY(children.back()->waitForStarted(30000));
    }
    // While the file is replaced over and over, a reader sees one whole version or the
    // next, never a torn file without the sentinel.
    auto reader = connected();
    const auto running = [&children] {
        return std::any_of(children.begin(), children.end(), [](const auto &child) {
            return child->state() != QProcess::NotRunning && !child->waitForFinished(0);
        });
    };
    for (int reads = 0; running() && reads < 100000; ++reads)
        QCOMPARE(reader->readValue(TestKey, QStringLiteral("Sentinel"), 16), QVariant("ok"));
    for (const auto &child : children) {
        if (child->state() != QProcess::NotRunning)
            QVERIFY(child->waitForFinished(60000));
        QCOMPARE(child->exitCode(), 0);
    }
    // Every value of every process arrived: the lock kept writers from overwriting each other.
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
