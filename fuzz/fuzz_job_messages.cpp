// The parses of the progress request (60) and the release report (62), and the report's text.
// The input is a wire text (a NUL splits off a text the same objects parsed before). 60 is
// accepted exactly when it has two non-empty fields. 62 is accepted exactly with at least eleven
// non-empty fields and the id 62; an accepted text reads the same whatever was parsed before,
// and again. Whatever the Print Service sent reaches the report only as text: with the
// client's own tags taken out, no "<" is left, and the plain text holds each field as sent.
#include "FuzzCheck.h"

#include "jobflow/AutoReleaseMsg.h"
#include "jobflow/AutoReleaseMsgHandler.h"
#include "jobflow/ShowSpoolingDialogMsg.h"

#include <QRegularExpression>
#include <QTextDocument>

using Brindlecore::Core::AutoReleaseMsg;
using Brindlecore::Core::ShowSpoolingDialogMsg;

namespace {

QStringList fields(const AutoReleaseMsg &m)
{
    return {QString::number(m.released()),
            QString::number(m.valueB()),
            m.printerFamily(),
            m.pickupLocation(),
            m.errorText(),
            m.paymentOrder(),
            m.allocationAmount(),
            m.depositAmount(),
            m.creditAmount(),
            m.refundId(),
            m.refundAmount()};
}

void checkOnlyOwnMarkup(const QString &html, const QString &detail)
{
    static const QRegularExpression ownTags(QStringLiteral("</?(qt|table|tr|td)>|<br>"));
    FUZZ_CHECK(!QString(html).remove(ownTags).contains(u'<'), detail + visible(html));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype nul = bytes.indexOf('\0');
    const QString text = QString::fromUtf8(nul < 0 ? bytes : bytes.first(nul));
    const QStringList split = text.split(u'|', Qt::SkipEmptyParts);

    FUZZ_CHECK(ShowSpoolingDialogMsg().parse(text) == (split.size() == 2), visible(text));

    AutoReleaseMsg fresh;
    bool isNumber = false;
    const bool shaped = split.size() >= 11 && split.at(0).toUInt(&isNumber) == 62 && isNumber;
    FUZZ_CHECK(fresh.parse(text) == shaped, visible(text));
    if (!shaped)
        return 0;
    FUZZ_CHECK(fresh.parse(text) && fields(fresh) == fields(AutoReleaseMsg(fresh)), visible(text));
    if (nul >= 0) {
        AutoReleaseMsg reused;
        reused.parse(QString::fromUtf8(bytes.sliced(nul + 1)));
        FUZZ_CHECK(reused.parse(text) && fields(reused) == fields(fresh), visible(text));
    }

    const QString released = AutoReleaseMsgHandler::releasedText(fresh);
    const QString error = AutoReleaseMsgHandler::errorText(fresh);
    checkOnlyOwnMarkup(released, visible(text));
    checkOnlyOwnMarkup(error, visible(text));
    QTextDocument document;
    document.setHtml(released);
    // Markup folds runs of blanks and line ends; a field keeps its other characters.
    const auto folded = [](QString value) { return value.replace(QChar::Nbsp, u' ').simplified(); };
    const QString shown = folded(document.toPlainText());
    FUZZ_CHECK(shown.contains(folded(fresh.printerFamily())) &&
                   shown.contains(folded(fresh.pickupLocation())),
               visible(text) + visible(shown));
    return 0;
}
