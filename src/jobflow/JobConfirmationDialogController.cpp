#include "jobflow/JobConfirmationDialogController.h"

#include "jobflow/JobConfirmationDialogView.h"
#include "jobflow/ServiceText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>

namespace {
// Far beyond a real date, terminal or location name; see ServiceText::shortened.
constexpr qsizetype MaxShownLength = 100;
} // namespace

JobConfirmationDialogController::JobConfirmationDialogController(JobConfirmationDialogView *view,
                                                                 JobConfirmationData data)
    : m_view(view)
    , m_data(std::move(data))
{}

QString JobConfirmationDialogController::expireTimeText(const QString &isoTime)
{
    const QDateTime time = QDateTime::fromString(isoTime, Qt::ISODate);
    return time.isValid() ? QLocale::system().toString(time.toLocalTime(), QLocale::ShortFormat)
                          : ServiceText::shortened(isoTime, MaxShownLength);
}

void JobConfirmationDialogController::fillView()
{
    if (!m_view)
        return;
    m_view->setCaption(tr("Print Complete"));
    m_view->setMessage(tr("Your job has been received."));
    m_view->setColumnTitles(
        QCoreApplication::translate("JobConfirmationDialogView", "Release Terminal"),
        QCoreApplication::translate("JobConfirmationDialogView", "Location"));
    m_view->setJobNumberText(QStringLiteral("%1 %2").arg(tr("Job Number:")).arg(m_data.jobNumber));
    m_view->setExpireTimeVisible(!m_data.expireTime.isEmpty());
    if (!m_data.expireTime.isEmpty())
        m_view->setExpireTimeText(
            QStringLiteral("%1 %2").arg(tr("Expire Time:"), expireTimeText(m_data.expireTime)));
    m_view->clearList();
    for (const auto &[terminal, location] : std::as_const(m_data.pickupList))
        m_view->addRow(ServiceText::shortened(terminal, MaxShownLength),
                       ServiceText::shortened(location, MaxShownLength));
    m_view->setOkText(tr("OK"));
}

int JobConfirmationDialogController::execDialog()
{
    if (!m_view)
        return 0;
    m_view->setController(this);
    return m_view->exec();
}
