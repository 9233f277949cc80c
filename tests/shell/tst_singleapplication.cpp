#include <QtTest>

#include <csignal>

namespace {

// Runs the probe with the test's private runtime folder and the offscreen platform.
class Probe
{
public:
    Probe(const QString &runtimeFolder, const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", runtimeFolder);
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        m_process.setProcessEnvironment(environment);
        m_process.start(SINGLEINSTANCE_PROBE, arguments);
    }
    ~Probe()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    // The next line the probe prints, or an empty text after the timeout.
    QString nextLine(int timeoutMs = 30000)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!m_process.canReadLine()) {
            if (deadline.hasExpired() || !m_process.waitForReadyRead(int(deadline.remainingTime())))
                return QString();
        }
        return QString::fromUtf8(m_process.readLine()).chopped(1);
    }
    bool finished(int timeoutMs = 30000) { return m_process.waitForFinished(timeoutMs); }
    int exitCode() const { return m_process.exitCode(); }
    void crash() { ::kill(static_cast<pid_t>(m_process.processId()), SIGKILL); }

private:
    QProcess m_process;
};

QString runOnce(const QString &runtimeFolder, const QStringList &arguments)
{
    Probe probe(runtimeFolder, arguments);
    const QString line = probe.nextLine();
    probe.finished();
    return line;
}

} // namespace

class TestSingleApplication : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_runtime = std::make_unique<QTemporaryDir>();
        QVERIFY(m_runtime->isValid());
    }

    void secondCopyFindsTheFirstAndPassesTexts()
    {
        QCOMPARE(runOnce(m_runtime->path(), {"send", "anyone?"}), QString("failed"));
        Probe first(m_runtime->path(), {"hold"});
        QCOMPARE(first.nextLine(), QString("ready"));

        Probe second(m_runtime->path(), {"hold"});
        QCOMPARE(second.nextLine(), QString("running"));

        QCOMPARE(runOnce(m_runtime->path(), {"send", "hello"}), QString("sent"));
        QCOMPARE(first.nextLine(), QString("received:hello restored"));
        QCOMPARE(runOnce(m_runtime->path(), {"send", ""}), QString("sent"));
        QCOMPARE(first.nextLine(), QString("received: restored"));
        QCOMPARE(runOnce(m_runtime->path(), {"send", "Zoë € 😀"}), QString("sent"));
        QCOMPARE(first.nextLine(), QString("received:Zoë € 😀 restored"));

        QCOMPARE(runOnce(m_runtime->path(), {"send", "quit"}), QString("sent"));
        QVERIFY(first.finished());
        QCOMPARE(first.exitCode(), 0);
        // Once stopped, it no longer keeps the next copy from starting.
        Probe next(m_runtime->path(), {"hold"});
        QCOMPARE(next.nextLine(), QString("ready"));
    }

    void crashedCopyDoesNotBlockTheNext()
    {
        Probe crashing(m_runtime->path(), {"hold"});
        QCOMPARE(crashing.nextLine(), QString("ready"));
        crashing.crash();
        QVERIFY(crashing.finished());

        // The lock file and the socket file are still there, but their owner is dead.
        Probe next(m_runtime->path(), {"hold"});
        QCOMPARE(next.nextLine(), QString("ready"));
        QCOMPARE(runOnce(m_runtime->path(), {"send", "after crash"}), QString("sent"));
        QCOMPARE(next.nextLine(), QString("received:after crash restored"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_runtime;
};

QTEST_GUILESS_MAIN(TestSingleApplication)
#include "tst_singleapplication.moc"
