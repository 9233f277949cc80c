// The parses of the authentication request (54) and its answer (56). The input is a wire text
// (a NUL splits off a text the same objects parsed before). 54 is accepted exactly with three
// non-empty fields, and its mode is then the third one as a number. 56 is accepted exactly with
// at least six non-empty fields and the id 56; an accepted answer reads the same whatever was
// parsed before, and again, and a copy holds the same fields. A refusal carries no balances.
#include "FuzzCheck.h"

#include "jobflow/AuthenticateReq.h"
#include "jobflow/AuthenticateResultMsg.h"

using Brindlecore::Core::AuthenticateReq;
using Brindlecore::Core::AuthenticateResultMsg;

namespace {

QStringList fields(const AuthenticateResultMsg &m)
{
    return {QString::number(m.resultCode()),
            m.errorCaption(),
            m.errorText(),
            m.allocationBalance(),
            m.allocationMarker(),
            m.depositBalance(),
            m.maxDepositBalance(),
            m.creditBalance(),
            m.maxCreditBalance(),
            m.libraryDepositBalance(),
            QString::number(m.depositExpired()),
            QString::number(m.creditExpired()),
            QString::number(m.acknowledgementWanted()),
            QString::number(m.libraryDepositShown())};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype nul = bytes.indexOf('\0');
    const QString text = QString::fromUtf8(nul < 0 ? bytes : bytes.first(nul));
    const QString earlier = nul < 0 ? QString() : QString::fromUtf8(bytes.sliced(nul + 1));
    const QStringList split = text.split(u'|', Qt::SkipEmptyParts);

    AuthenticateReq request;
    request.parse(earlier);
    const bool requestShaped = split.size() == 3;
    FUZZ_CHECK(request.parse(text) == requestShaped, visible(text));
    if (requestShaped)
        FUZZ_CHECK(request.mode() == split.at(2).toInt(), visible(text));

    AuthenticateResultMsg fresh;
    bool isNumber = false;
    const bool shaped = split.size() >= 6 && split.at(0).toUInt(&isNumber) == 56 && isNumber;
    FUZZ_CHECK(fresh.parse(text) == shaped, visible(text));
    if (!shaped)
        return 0;
    FUZZ_CHECK(fresh.resultCode() == split.at(2).toInt(), visible(text));
    if (fresh.resultCode() != AuthenticateResultMsg::Accepted)
        FUZZ_CHECK(fields(fresh).mid(3, 7).join(QString()).isEmpty(), visible(text));
    FUZZ_CHECK(fresh.parse(text) && fields(fresh) == fields(AuthenticateResultMsg(fresh)),
               visible(text));
    if (nul >= 0) {
        AuthenticateResultMsg reused;
        reused.parse(earlier);
        FUZZ_CHECK(reused.parse(text) && fields(reused) == fields(fresh), visible(text));
    }
    return 0;
}
