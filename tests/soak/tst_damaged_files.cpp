#include "ClientHarness.h"
#include "FileBytes.h"
#include "LoopbackPrintService.h"

#include "settings/HexCodec.h"

#include <QtTest>

#include <unistd.h>

// This program's loopback address (the port is fixed; see CMakeLists.txt).
static const QString Address = QStringLiteral("127.0.0.34");

namespace {

enum class Damage { Garbage, Truncated, FolderInItsPlace, NoPermissions };

struct StoredFile
{
    QString path;
    QByteArray intact;
    // The start-up's line about a damaged file; empty where the client has nothing to say
    // because no step of the start-up, registration or stop reads the file.
    QString warning;
};

QByteArray sessionFile(const QString &staffPassword)
{
    QByteArray content;
    QDataStream out(&content, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << UtilsLib::hexEncode(staffPassword);
    return content;
}

StoredFile storedFile(const QString &kind, const ClientHarness &harness)
{
    if (kind == "preferences file")
        return {harness.configFolder() + "/ondtpc.xml",
                "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<Settings>\r\n"
                "<entry name='Logging: Maximum Number of Backups'>3</entry>\r\n"
                "<entry name='Logging: Verbose'>1</entry>\r\n</Settings>\r\n",
                "WARN , TpcApplication, main, Could not read the preferences file " +
                    harness.configFolder() +
                    "/ondtpc.xml; the defaults apply to what it did "
                    "not set"};
    if (kind == "session file")
        return {harness.homeFolder() + "/.ondTpc/session.dat", sessionFile("staff-approves"),
                "WARN , TpcApplication, main, Could not read the session file " +
                    harness.homeFolder() +
                    "/.ondTpc/session.dat; the default staff password "
                    "applies"};
    if (kind == "machine hive")
        return {harness.registryFolder() + "/HKEY_LOCAL_MACHINE.ini",
                "[SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ondclient]\n"
                "InstallLocation=sz:/usr/lib/ondtpc\n",
                QString()};
    return {harness.registryFolder() + "/HKEY_CURRENT_USER.ini",
            "[SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced]\n"
            "TaskbarSmallIcons=dword:00000000\n",
            QString()};
}

bool damage(const StoredFile &file, Damage how)
{
    switch (how) {
    case Damage::Garbage:
        return writeFile(file.path, randomBytes(512));
    case Damage::Truncated:
        return writeFile(file.path, file.intact.left(file.intact.size() / 2));
    case Damage::FolderInItsPlace:
        return QFile::remove(file.path) && QDir().mkdir(file.path);
    case Damage::NoPermissions:
        return QFile::setPermissions(file.path, {});
    }
    return false;
}

} // namespace

Q_DECLARE_METATYPE(Damage)

// The files the client reads at start replaced by garbage, cut short or made unreadable
// between two runs: the client still starts, registers and stops in order, and says what it
// could not read.
class TestDamagedFiles : public QObject
{
    Q_OBJECT

private slots:
    void damagedBetweenRuns_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<Damage>("how");

        for (const char *kind : {"preferences file", "session file", "machine hive", "user hive"}) {
            QTest::addRow("%s, garbage", kind) << QString::fromLatin1(kind) << Damage::Garbage;
            QTest::addRow("%s, truncated", kind) << QString::fromLatin1(kind) << Damage::Truncated;
            QTest::addRow("%s, a folder in its place", kind)
                << QString::fromLatin1(kind) << Damage::FolderInItsPlace;
            QTest::addRow("%s, mode 000", kind)
                << QString::fromLatin1(kind) << Damage::NoPermissions;
        }
    }
    void damagedBetweenRuns()
    {
        QFETCH(QString, kind);
        QFETCH(Damage, how);
        if (how == Damage::NoPermissions && geteuid() == 0)
            QSKIP("Root reads a file of mode 000; the row with a folder in its place covers root.");

        ClientHarness harness(Address);
        QVERIFY2(harness.start(), qPrintable(harness.errorText()));
        const StoredFile file = storedFile(kind, harness);
        QVERIFY(QDir().mkpath(QFileInfo(file.path).path()) && writeFile(file.path, file.intact));
        LoopbackPrintService service(Address);
        QVERIFY(service.listen());
        const QString userLog = harness.logFolder() + "/ondtpc-userlog.txt";

        for (const bool damaged : {false, true}) {
            const QByteArray run = damaged ? "damaged" : "intact";
            if (damaged)
                QVERIFY(damage(file, how));
            QFile::remove(userLog);
            const int connection = service.connectionCount();
            QProcess *client = harness.startClient();
            QVERIFY2(service.waitForTexts(connection, 1, 30000), run.constData());
            QCOMPARE(service.texts(connection).first(), harness.expectedRegistration());
            QVERIFY2(ClientHarness::stopsCleanly(client), run.constData());

            const QStringList user = linesOf(userLog);
            QVERIFY2(!user.isEmpty() && user.last().endsWith("stopped (exit code 0)"),
                     run.constData());
            const QStringList damageLines = user.filter("Could not read the");
            QVERIFY2(damageLines.size() == (damaged && !file.warning.isEmpty() ? 1 : 0),
                     qPrintable(damageLines.join('\n')));
            for (const QString &line : damageLines)
                QVERIFY2(line.endsWith(file.warning), qPrintable(line));
        }
    }
};

QTEST_GUILESS_MAIN(TestDamagedFiles)
#include "tst_damaged_files.moc"
