// The masking of secrets in log lines. The first byte picks the mode. Text mode: the rest is
// any text. Masking keeps every "|" piece except the secrets, which it replaces; it is
// idempotent; and when the dispatcher would take the text for a settings message (the piece
// before the first "|" reads as 58), no piece of the masked text shows the staff password.
// Reply mode: the rest gives the user id and PIN of an authentication reply built by the
// client; its masked wire text never shows the PIN.
#include "FixedTimeSource.h"
#include "FuzzCheck.h"

#include "core/AppContext.h"
#include "protocol/AuthenticateMsg.h"
#include "protocol/MessageIds.h"
#include "protocol/SecretMasking.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace Brindlecore::Core;

namespace {

const QString MaskedPassword = QLatin1Char('A') + MaskedSecret;

void textMode(const QString &text)
{
    const QString masked = maskSecretFields(text);
    FUZZ_CHECK(maskSecretFields(masked) == masked,
               visible(text) + QStringLiteral(" -> ") + visible(masked));

    const QStringList pieces = text.split(u'|');
    const QStringList maskedPieces = masked.split(u'|');
    FUZZ_CHECK(maskedPieces.size() == pieces.size(),
               visible(text) + QStringLiteral(" -> ") + visible(masked));
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const QString &piece = maskedPieces.at(i);
        FUZZ_CHECK(piece == pieces.at(i) || piece == MaskedPassword || piece == MaskedSecret,
                   visible(text) + QStringLiteral(" -> ") + visible(masked));
    }

    // The dispatcher's reading of the id: the piece before the first "|" as a number.
    const qsizetype separator = text.indexOf(u'|');
    if (separator < 0 || QStringView(text).first(separator).toInt() != MessageIds::SettingsMsg)
        return;
    for (qsizetype i = 1; i < maskedPieces.size(); ++i) {
        const QString &piece = maskedPieces.at(i);
        FUZZ_CHECK(!piece.startsWith(u'A') || piece == MaskedPassword,
                   visible(text) + QStringLiteral(" -> ") + visible(masked));
    }
}

void replyMode(const QByteArray &bytes)
{
    FuzzedDataProvider provider(reinterpret_cast<const uint8_t *>(bytes.constData()),
                                static_cast<size_t>(bytes.size()));
    AuthenticateMsg reply;
    reply.setUserId(QString::fromStdString(provider.ConsumeRandomLengthString(40)));
    reply.setPin(QString::fromStdString(provider.ConsumeRemainingBytesAsString()));
    // A separator in a value breaks the text itself (nothing guards against it); the client
    // sends PINs in their hexadecimal form, which never holds one.
    if (reply.userId().contains(u'|') || reply.pin().contains(u'|'))
        return;
    const QString wire = reply.toWireText();
    const QString masked = maskSecretFields(wire);
    const QStringList pieces = masked.split(u'|');
    FUZZ_CHECK(pieces.last() == (reply.pin().isEmpty() ? QString() : MaskedSecret),
               visible(wire) + QStringLiteral(" -> ") + visible(masked));
    FUZZ_CHECK(maskSecretFields(QStringLiteral("Message Not Handled: ") + wire) ==
                   QStringLiteral("Message Not Handled: ") + masked,
               visible(wire));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    AppContext::instance().addEntry(
        std::make_unique<FixedTimeSource>(QDateTime(QDate(2025, 2, 1), QTime(9, 5, 3))));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return runMode(
        data, size, [](const QByteArray &bytes) { textMode(QString::fromUtf8(bytes)); }, replyMode);
}
