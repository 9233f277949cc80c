// The parse of every outgoing message class. The first byte picks the class and the mode.
// Parse mode: the rest is a wire text (a NUL splits off a text the same object parsed
// before). An accepted text gives a message whose own wire text parses again to the same
// fields, whether the object is fresh, reused or cloned. Build mode: the rest gives field
// values; the wire text of a message built from them parses back to the same values unless
// a value contains the field separator or leaves a required field empty.
#include "FixedTimeSource.h"
#include "FuzzCheck.h"

#include "core/AppContext.h"
#include "protocol/AuthenticateMsg.h"
#include "protocol/CancelJobReq.h"
#include "protocol/EndOfSessionMsg.h"
#include "protocol/GuestJobMsg.h"
#include "protocol/OpcAckMsg.h"
#include "protocol/PrintJobReq.h"
#include "protocol/SettingsResponseMsg.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <memory>

using namespace Brindlecore::Core;

namespace {

enum Kind {
    PrintJob,
    CancelJob,
    GuestJob,
    Authenticate,
    SettingsResponse,
    Acknowledgement,
    EndOfSession,
    KindCount
};

const QString Timestamp = QStringLiteral("20250201090503");
const QString Locale = QStringLiteral("en_us");

std::unique_ptr<Message> makeMessage(int kind, const QString &value = Locale)
{
    switch (kind) {
    case PrintJob:
        return std::make_unique<PrintJobReq>(value);
    case CancelJob:
        return std::make_unique<CancelJobReq>();
    case GuestJob:
        return std::make_unique<GuestJobMsg>();
    case Authenticate:
        return std::make_unique<AuthenticateMsg>();
    case SettingsResponse:
        return std::make_unique<SettingsResponseMsg>(value);
    case Acknowledgement:
        return std::make_unique<OpcAckMsg>();
    default:
        return std::make_unique<EndOfSessionMsg>();
    }
}

// With the fixed clock the wire text holds every field a parse sets, so equal wire texts
// mean equal fields.
void checkReparses(const Message &message, int kind, const QString &origin)
{
    const QString wire = message.toWireText();
    FUZZ_CHECK(wire.startsWith(QString::number(message.messageId()) + u'|' + Timestamp),
               visible(wire));
    std::unique_ptr<Message> again = makeMessage(kind);
    FUZZ_CHECK(again->parse(wire), visible(origin) + QStringLiteral(" -> ") + visible(wire));
    FUZZ_CHECK(again->toWireText() == wire,
               visible(wire) + QStringLiteral(" -> ") + visible(again->toWireText()));
    FUZZ_CHECK(message.clone()->toWireText() == wire, visible(wire));
}

void parseMode(int kind, const QByteArray &bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    const QString text = QString::fromUtf8(nul < 0 ? bytes : bytes.first(nul));
    std::unique_ptr<Message> fresh = makeMessage(kind);
    const bool accepted = fresh->parse(text);
    // The reply to the settings message is never read back.
    FUZZ_CHECK(kind != SettingsResponse || !accepted, visible(text));

    if (nul >= 0) {
        // A prototype that parsed another text before reads this one as a fresh object does.
        std::unique_ptr<Message> reused = makeMessage(kind);
        reused->parse(QString::fromUtf8(bytes.sliced(nul + 1)));
        FUZZ_CHECK(reused->parse(text) == accepted, visible(text));
        if (accepted)
            FUZZ_CHECK(reused->toWireText() == fresh->toWireText(), visible(text));
    }
    if (accepted)
        checkReparses(*fresh, kind, text);
}

void buildMode(int kind, const QByteArray &bytes)
{
    FuzzedDataProvider provider(reinterpret_cast<const uint8_t *>(bytes.constData()),
                                static_cast<size_t>(bytes.size()));
    const bool flag = provider.ConsumeBool();
    const QString first = QString::fromStdString(provider.ConsumeRandomLengthString(256));
    const QString second = QString::fromStdString(provider.ConsumeRemainingBytesAsString());
    const bool separatorFree = !first.contains(u'|') && !second.contains(u'|');
    const auto values = [&] { return visible(QStringList{first, second}); };

    std::unique_ptr<Message> built = makeMessage(kind, second);
    std::unique_ptr<Message> parsed = makeMessage(kind, second);
    switch (kind) {
    case PrintJob: {
        static_cast<PrintJobReq *>(built.get())->setWorkstationDescription(first);
        const bool accepted = parsed->parse(built->toWireText());
        FUZZ_CHECK(accepted, values());
        if (!first.contains(u'|'))
            FUZZ_CHECK(static_cast<PrintJobReq *>(parsed.get())->workstationDescription() == first,
                       values());
        break;
    }
    case GuestJob:
        static_cast<GuestJobMsg *>(built.get())->setAnswer(flag);
        FUZZ_CHECK(parsed->parse(built->toWireText()), values());
        FUZZ_CHECK(static_cast<GuestJobMsg *>(parsed.get())->answer() == flag, values());
        break;
    case Authenticate: {
        auto *message = static_cast<AuthenticateMsg *>(built.get());
        message->setFlag(flag);
        message->setUserId(first);
        message->setPin(second);
        const bool accepted = parsed->parse(built->toWireText());
        if (!separatorFree)
            break;
        // An empty user id or PIN is a dropped field, which the parse counts as missing.
        FUZZ_CHECK(accepted == (!first.isEmpty() && !second.isEmpty()), values());
        if (accepted) {
            const auto *back = static_cast<AuthenticateMsg *>(parsed.get());
            FUZZ_CHECK(back->flag() == flag && back->userId() == first && back->pin() == second,
                       values());
        }
        break;
    }
    case SettingsResponse:
        FUZZ_CHECK(!parsed->parse(built->toWireText()), values());
        return;
    default:
        FUZZ_CHECK(parsed->parse(built->toWireText()), values());
        break;
    }
    FUZZ_CHECK(built->clone()->toWireText() == built->toWireText(), values());
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
    if (size == 0)
        return 0;
    const int kind = data[0] % KindCount;
    const bool build = (data[0] / KindCount) % 2 == 1;
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1,
                           static_cast<qsizetype>(size - 1));
    if (build)
        buildMode(kind, bytes);
    else
        parseMode(kind, bytes);
    return 0;
}
