#include "JobDialogs.h"

#include "XServerWatch.h"

#include "ClientHarness.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace JobDialogs {

namespace {

constexpr int TimeoutMs = 20000;

// Reads one text into reply; false with error set.
bool readReply(const Link &link, const char *replyPrefix, QByteArray &reply, QString &error)
{
    char buffer[4096];
    const long length = nul_read(link.reader, buffer, sizeof buffer, TimeoutMs);
    if (length < 0) {
        error = QStringLiteral("no reply starting \"%1\": %2")
                    .arg(QLatin1String(replyPrefix), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    reply = QByteArray(buffer);
    if (!reply.startsWith(replyPrefix)) {
        error = QStringLiteral("the reply \"%1\" does not start \"%2\"")
                    .arg(QString::fromUtf8(reply), QLatin1String(replyPrefix));
        return false;
    }
    return true;
}

bool send(const Link &link, const char *text, QString &error)
{
    if (nul_send(link.fd, text, std::strlen(text)) == 0)
        return true;
    error = QStringLiteral("cannot send \"%1\"").arg(QLatin1String(text));
    return false;
}

} // namespace

QByteArray confirmationText(int jobNumber, bool showDialog)
{
    return "6|20250201090503|" + QByteArray(showDialog ? "1" : "0") + "|J" +
           QByteArray::number(jobNumber) + "|E2030-01-01T12:00:00|LFront Desk";
}

bool startXWorld(ClientHarness &harness, XServerWatch &watch, QString &error)
{
    if (!harness.start() || !harness.startXServer()) {
        error = harness.errorText();
        return false;
    }
    if (!watch.open(harness.clientEnvironment().value(QStringLiteral("DISPLAY")))) {
        error = watch.errorText();
        return false;
    }
    return true;
}

bool answerDialog(XServerWatch &watch, const Link &link, const char *text, const char *title,
                  const char *replyPrefix, Timing &timing, QString &error)
{
    watch.drain();
    const std::uint64_t sent = nul_now_ns();
    if (!send(link, text, error))
        return false;
    const XServerWatch::Mapped mapped = watch.waitForMap(title, TimeoutMs);
    if (mapped.window == 0) {
        error = QStringLiteral("no window \"%1\" was mapped").arg(QLatin1String(title));
        return false;
    }
    const std::uint64_t pressed = watch.pressReturn(mapped.window);
    QByteArray reply;
    if (!readReply(link, replyPrefix, reply, error))
        return false;
    const std::uint64_t answered = nul_now_ns();
    timing.toDialogMs = double(mapped.ns - sent) / 1e6;
    timing.answerMs = double(answered - pressed) / 1e6;
    return true;
}

bool exchange(const Link &link, const char *text, const char *replyPrefix, QString &error)
{
    QByteArray reply;
    return send(link, text, error) && readReply(link, replyPrefix, reply, error);
}

BareProgram::BareProgram()
    : m_reader(std::make_unique<nul_reader>())
{}

BareProgram::~BareProgram()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool BareProgram::start(const QString &address, const QProcessEnvironment &environment,
                        QString &error)
{
    const int listener = nul_listen(address.toLatin1().constData(), 0);
    if (listener < 0) {
        error = QStringLiteral("cannot listen for the bare dialog program");
        return false;
    }
    if (m_process.start(QStringLiteral(BENCH_BARE_JOB_DIALOG),
                        {address, QString::number(nul_local_port(listener))}, environment))
        m_fd = nul_accept(listener, TimeoutMs);
    ::close(listener);
    if (m_fd < 0) {
        error = QStringLiteral("the bare dialog program did not connect");
        return false;
    }
    nul_reader_init(m_reader.get(), m_fd);
    return true;
}

} // namespace JobDialogs
