// The parses of the received job (4) and the job confirmation (6). The input is a wire text (a
// NUL splits off a text the same objects parsed before). 4 is accepted exactly when the text up
// to the first "|" is the number 4 in decimal, with at most a "+", leading zeros and ASCII
// blanks around it; its page counts are never negative. 6 is accepted exactly with six non-empty
// fields, and a rejected 6 holds the defaults. An accepted text reads the same whatever was
// parsed before, and again, and a copy holds the same fields. The confirmation has at most one
// row per two terminal items, and no row with neither terminal nor location.
#include "FuzzCheck.h"

#include "jobflow/JobReceivedMsg.h"
#include "jobflow/PrintJobConfirmationMsg.h"

#include <QRegularExpression>

using Brindlecore::Core::JobReceivedMsg;
using Brindlecore::Core::PrintJobConfirmationMsg;

namespace {

QStringList fields(const JobReceivedMsg &m)
{
    return {m.getPrice(),
            QString::number(m.getFreeCount()),
            QString::number(m.getTotalPages()),
            m.getTotalCost(),
            QString::number(m.isUserIdRequired()),
            m.getAccountText(),
            QString::number(m.isFree()),
            QString::number(m.getTotalSheets()),
            QString::number(m.getFlagI())};
}

QStringList fields(const PrintJobConfirmationMsg &m)
{
    QStringList out = {QString::number(m.showDialog()), QString::number(m.jobNumber()),
                       m.expireTime()};
    for (const auto &[terminal, location] : m.pickupList())
        out << terminal << location;
    return out;
}

template <typename Msg>
void checkRereads(const Msg &fresh, const QString &text, const QString &earlier, bool hasEarlier)
{
    Msg again(fresh);
    FUZZ_CHECK(fields(again) == fields(fresh), visible(text));
    FUZZ_CHECK(again.parse(text) && fields(again) == fields(fresh), visible(text));
    if (hasEarlier) {
        Msg reused;
        reused.parse(earlier);
        FUZZ_CHECK(reused.parse(text) && fields(reused) == fields(fresh),
                   visible(text) + visible(earlier));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype nul = bytes.indexOf('\0');
    const QString text = QString::fromUtf8(nul < 0 ? bytes : bytes.first(nul));
    const QString earlier = nul < 0 ? QString() : QString::fromUtf8(bytes.sliced(nul + 1));

    static const QRegularExpression idFour(
        QStringLiteral("^[ \\t\\n\\v\\f\\r]*\\+?0*4[ \\t\\n\\v\\f\\r]*$"));
    JobReceivedMsg received;
    const bool receivedShaped = idFour.match(text.section(u'|', 0, 0)).hasMatch();
    FUZZ_CHECK(received.parse(text) == receivedShaped, visible(text));
    FUZZ_CHECK(received.getTotalPages() >= 0 && received.getFreeCount() >= 0 &&
                   received.getTotalSheets() >= 0,
               visible(text));
    if (receivedShaped)
        checkRereads(received, text, earlier, nul >= 0);

    const QStringList split = text.split(u'|', Qt::SkipEmptyParts);
    PrintJobConfirmationMsg confirmation;
    confirmation.parse(earlier);
    const bool confirmationShaped = split.size() == 6;
    FUZZ_CHECK(confirmation.parse(text) == confirmationShaped, visible(text));
    if (!confirmationShaped) {
        FUZZ_CHECK(fields(confirmation) == fields(PrintJobConfirmationMsg()), visible(text));
        return 0;
    }
    const qsizetype items = split.at(5).mid(1).split(QStringLiteral("#^#")).size();
    FUZZ_CHECK(confirmation.pickupList().size() <= (items + 1) / 2, visible(text));
    for (const auto &[terminal, location] : confirmation.pickupList())
        FUZZ_CHECK(!terminal.isEmpty() || !location.isEmpty(), visible(text));
    PrintJobConfirmationMsg fresh;
    fresh.parse(text);
    checkRereads(fresh, text, earlier, nul >= 0);
    return 0;
}
