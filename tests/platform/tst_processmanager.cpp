#include "platform/LinuxProcessManager.h"

#include "FileBytes.h"

#include <QtTest>

#include <csignal>

namespace {

// Pids of the processes with this executable base name that belong to us and still run.
QList<qint64> runningPids(const QString &name)
{
    QList<qint64> pids;
    const QStringList entries = QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool isNumber = false;
        const qint64 pid = entry.toLongLong(&isNumber);
        if (!isNumber)
            continue;
        const QString exe = QFile::symLinkTarget(QString("/proc/%1/exe").arg(pid));
        // A zombie has ended, and a process without a stat has gone meanwhile.
        const QByteArray stat = readFile(QString("/proc/%1/stat").arg(pid));
        const bool running = !stat.isEmpty() && stat.mid(stat.lastIndexOf(") ") + 2, 1) != "Z";
        if (running && QFileInfo(exe).fileName() == name)
            pids.append(pid);
    }
    return pids;
}

} // namespace

class TestProcessManager : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_names.clear();
    }

    void cleanup()
    {
        for (const QString &name : std::as_const(m_names)) {
            for (qint64 pid : runningPids(name))
                ::kill(static_cast<pid_t>(pid), SIGKILL);
        }
        m_dir.reset();
    }

    void commandLineQuotesEveryFurtherPart_data()
    {
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QString>("commandLine");

        QTest::newRow("one part as is") << QStringList{"/opt/tool -x"} << "/opt/tool -x";
        QTest::newRow("further parts quoted")
            << QStringList{"/opt/tool", "a b", "", "c"} << "/opt/tool \"a b\" \"\" \"c\"";
        QTest::newRow("empty list") << QStringList{} << "";
    }
    void commandLineQuotesEveryFurtherPart()
    {
        QFETCH(QStringList, parts);
        QFETCH(QString, commandLine);
        QCOMPARE(LinuxProcessManager::commandLine(parts), commandLine);
    }

    void startPassesEachPartAsOneArgument()
    {
        const QString script = m_dir->filePath("args.sh");
        const QString output = m_dir->filePath("args.txt");
        QVERIFY(writeFile(script, "#!/bin/sh\nout=$1; shift\nfor a in \"$@\"; do printf '[%s]\\n' "
                                  "\"$a\"; done > \"$out.tmp\"\nmv \"$out.tmp\" \"$out\"\n"));
        QFile::setPermissions(script, QFileDevice::ReadOwner | QFileDevice::ExeOwner);

        LinuxProcessManager manager;
        QVERIFY(manager.startProcess(QStringList{script, output, "two words", "", "ünï"}));
        QVERIFY(QTest::qWaitFor([&] { return QFile::exists(output); }));
        QCOMPARE(QString::fromUtf8(readFile(output)), QString("[two words]\n[]\n[ünï]\n"));
    }

    void stopAsksPolitelyFirst_data()
    {
        QTest::addColumn<QString>("onTerm"); // the shell's trap for SIGTERM
        QTest::addColumn<int>("timeoutMs");
        QTest::addColumn<bool>("asked"); // the trap ran

        QTest::newRow("polite request heeded") << "touch %1; exit 0" << 30000 << true;
        QTest::newRow("polite request ignored, then killed") << "" << 200 << false;
        QTest::newRow("time-out 0 kills at once") << "touch %1; exit 0" << 0 << false;
    }
    void stopAsksPolitelyFirst()
    {
        QFETCH(QString, onTerm);
        QFETCH(int, timeoutMs);
        QFETCH(bool, asked);
        // A shell that writes a mark when asked to end shows the polite request arrived; it says
        // it is ready (with its pid) only once its trap is set, as a request before that would
        // end it unmarked.
        const QString shell = copyProgram("/bin/sh", "ondtpc-stop");
        const QString mark = m_dir->filePath("terminated");
        const QString ready = m_dir->filePath("ready");
        LinuxProcessManager manager;
        QVERIFY(manager.startProcess(
            QStringList{shell, "-c",
                        QString("trap '%1' TERM; echo $$ > %2; while :; do sleep 0.05; done")
                            .arg(onTerm.replace("%1", mark), ready)}));
        const QString name = QFileInfo(shell).fileName();
        QVERIFY(QTest::qWaitFor([&] { return readFile(ready).endsWith('\n'); }));
        const qint64 pid = readFile(ready).trimmed().toLongLong();

        QVERIFY(manager.stopProcess(name.toUpper(), timeoutMs));
        // The shell is gone; a child it forked to run sleep may carry its name until the exec.
        QVERIFY(!runningPids(name).contains(pid));
        QCOMPARE(QFile::exists(mark), asked);
    }

    void restartRunsTheSameExecutableAgain()
    {
        const QString probe = copyProgram(PROCESS_PROBE, "ondtpc probe");
        const QString name = QFileInfo(probe).fileName();
        const QString mark = m_dir->filePath("starts");
        qputenv("ONDTPC_PROBE_MARK", mark.toLocal8Bit());
        LinuxProcessManager manager;
        QList<QByteArray> lines;
        const auto startsNoted = [&](int count) {
            return QTest::qWaitFor([&] {
                lines = readFile(mark).trimmed().split('\n');
                return lines.size() == count && !lines.last().isEmpty();
            });
        };
        QVERIFY(manager.startProcess(QStringList{'"' + probe + '"', "30"}));
        // Running is not enough: a copy stopped before it noted its pid would leave one line only.
        QVERIFY(startsNoted(1));

        QVERIFY(manager.restartProcess(name, 2000));
        // The new copy notes its pid once it runs; the old one is gone by then.
        QVERIFY(startsNoted(2));
        QCOMPARE(runningPids(name), QList<qint64>{lines.last().toLongLong()});
        qunsetenv("ONDTPC_PROBE_MARK");
    }

    void unknownNamesAndEmptyCommandsFail()
    {
        LinuxProcessManager manager;
        QVERIFY(!manager.stopProcess("no-such-program-ondtpc-test", 0));
        QVERIFY(!manager.restartProcess("no-such-program-ondtpc-test", 0));
        QVERIFY(!manager.startProcess(QStringList{}));
        QVERIFY(!manager.startProcess(QString()));
        QVERIFY(!manager.startProcess(m_dir->filePath("missing-program")));
    }

private:
    // A private, executable copy of a program under a name no other process has.
    QString copyProgram(const QString &source, const QString &prefix)
    {
        const QString name = QString("%1-%2-%3")
                                 .arg(prefix)
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(m_names.size());
        const QString path = m_dir->filePath(name);
        if (!QFile::copy(source, path))
            return QString();
        m_names.append(name);
        return path;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_names;
};

QTEST_GUILESS_MAIN(TestProcessManager)
#include "tst_processmanager.moc"
