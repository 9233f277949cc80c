#include "shell/PrintClientUpdateMsgHandler.h"

#include "core/LogSource.h"
#include "core/ProcessManagerInterface.h"
#include "core/VersionInfoInterface.h"
#include "jobflow/ClientProcessingDialog.h"
#include "jobflow/MessageBoxLease.h"
#include "protocol/EndOfSessionMsg.h"
#include "protocol/OpcAckMsg.h"
#include "settings/PrintClientPreferences.h"
#include "shell/PrintClientUpdateMsg.h"
#include "ui/MessageBoxInterface.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>

using Brindlecore::Core::Message;
using Brindlecore::Core::PrintClientUpdateMsg;
using UtilsLib::LogInfo;
using UtilsLib::LogWarning;

namespace {

const UtilsLib::LogSource Log(QStringLiteral("PrintClientUpdateMsgHandler"));

// The decimal digits of a version piece without leading zeros; empty (0) for a piece that is
// not a number.
QStringView digitsOf(QStringView piece)
{
    piece = piece.trimmed();
    if (!std::all_of(piece.begin(), piece.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return QStringView();
    while (piece.startsWith(u'0'))
        piece = piece.sliced(1);
    return piece;
}

} // namespace

// Keys of the message box, which translates them in "CommonDialogMessages".
const char *const PrintClientUpdateMsgHandler::ErrorCaption =
    QT_TRANSLATE_NOOP("CommonDialogMessages", "Error");
const char *const PrintClientUpdateMsgHandler::QuestionCaption =
    QT_TRANSLATE_NOOP("CommonDialogMessages", "Question");
const char *const PrintClientUpdateMsgHandler::NotInstalledText = QT_TRANSLATE_NOOP(
    "CommonDialogMessages", "This Print Client is out of date and needs to be upgraded.\n\nPlease "
                            "download the latest Print Client.");
const char *const PrintClientUpdateMsgHandler::UnableToPrintText = QT_TRANSLATE_NOOP(
    "CommonDialogMessages", "This Print Client is out of date. You will be unable to print "
                            "until it is updated.\n\nPlease contact staff for assistance.");
const char *const PrintClientUpdateMsgHandler::DownloadQuestionText = QT_TRANSLATE_NOOP(
    "CommonDialogMessages", "This Print Client is out of date and needs to be upgraded by a "
                            "staff member.\n\nWould you like to download and run a temporary "
                            "client?");
const char *const PrintClientUpdateMsgHandler::DownloadFailedText = QT_TRANSLATE_NOOP(
    "CommonDialogMessages", "Failed to download temporary client.\n\nPlease contact staff for "
                            "assistance.");

PrintClientUpdateMsgHandler::PrintClientUpdateMsgHandler(PrintClientPreferences *preferences,
                                                         MessageBoxInterface *messageBox,
                                                         ClientProcessingDialog *progress,
                                                         ProcessManagerInterface *processes,
                                                         const VersionInfoInterface *version,
                                                         UtilsLib::Observer *observer)
    : MessageHandler(observer)
    , m_preferences(preferences)
    , m_messageBox(messageBox)
    , m_progress(progress)
    , m_processes(processes)
    , m_version(version)
    , m_quit([] { QCoreApplication::quit(); })
{}

std::unique_ptr<Brindlecore::Core::MessageHandler> PrintClientUpdateMsgHandler::clone() const
{
    return std::make_unique<PrintClientUpdateMsgHandler>(*this);
}

int PrintClientUpdateMsgHandler::compareVersions(const QString &a, const QString &b)
{
    const QStringList left = a.split(u'.', Qt::SkipEmptyParts);
    const QStringList right = b.split(u'.', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < std::max(left.size(), right.size()); ++i) {
        // Compared as digit strings, a number too large for any integer type still compares.
        const QStringView x = digitsOf(i < left.size() ? QStringView(left.at(i)) : QStringView());
        const QStringView y = digitsOf(i < right.size() ? QStringView(right.at(i)) : QStringView());
        const int order = x.size() != y.size() ? (x.size() < y.size() ? -1 : 1) : x.compare(y);
        if (order != 0)
            return order < 0 ? -1 : 1;
    }
    return 0;
}

QString PrintClientUpdateMsgHandler::commandWord(const QString &path)
{
    // splitCommand takes three quotes in a row for a literal one and leaves backslashes alone.
    return u'"' + QString(path).replace(u'"', QLatin1String("\"\"\"")) + u'"';
}

QString PrintClientUpdateMsgHandler::handle(const QString &, Message *message)
{
    const UtilsLib::TraceScope trace = Log.trace(this, "handle");
    const auto *update = dynamic_cast<const PrintClientUpdateMsg *>(message);
    if (!update) {
        Log(this, "handle", LogWarning, QStringLiteral("Message is NULL"));
        return QString();
    }
    const QString version = m_version ? m_version->fileVersion() : QString();
    if (compareVersions(version, update->requiredVersion()) != -1) {
        Log(this, "handle", LogInfo,
            QStringLiteral("Version %1 meets the required version %2")
                .arg(version, update->requiredVersion()));
        return Brindlecore::Core::OpcAckMsg().toWireText();
    }
    Log(this, "handle", LogWarning,
        QStringLiteral("Version %1 is older than the required version %2")
            .arg(version, update->requiredVersion()));

    if (m_progress)
        m_progress->hide();
    const MessageBoxLease box(m_messageBox);
    const QString error = QString::fromUtf8(ErrorCaption);
    if (!m_preferences->isSessionPersistent()) {
        box->critical(error, QString::fromUtf8(NotInstalledText));
        // The Print Service must get the reply before the client ends: the connection writes
        // it when handle() returns, so the quit waits for the event loop.
        if (m_quitWhenNotInstalled && m_quit) {
            Log(this, "handle", LogInfo, QStringLiteral("Ending the client that is not installed"));
            QMetaObject::invokeMethod(QCoreApplication::instance(), m_quit, Qt::QueuedConnection);
        }
    } else if (update->downloadSource().isEmpty()) {
        box->critical(error, QString::fromUtf8(UnableToPrintText));
    } else if (box->question(QString::fromUtf8(QuestionCaption),
                             QString::fromUtf8(DownloadQuestionText))) {
        // The source is one argument as sent, never read by a shell.
        const QStringList command{commandWord(QCoreApplication::applicationDirPath() +
                                              QLatin1String("/ondClientDownloader")),
                                  update->downloadSource(),
                                  QDir::homePath() + QLatin1String("/clientLauncher")};
        Log(this, "handle", LogInfo,
            QStringLiteral("Starting the temporary client download from %1")
                .arg(update->downloadSource()));
        if (!m_processes || !m_processes->startProcess(command)) {
            Log(this, "handle", LogWarning,
                QStringLiteral("Could not start the temporary client download"));
            box->critical(error, QString::fromUtf8(DownloadFailedText));
        }
    }
    return Brindlecore::Core::EndOfSessionMsg().toWireText();
}
