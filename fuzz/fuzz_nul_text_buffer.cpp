// The framing of incoming texts. The input drives a buffer with a small text limit: chunks of
// bytes are appended (their sizes taken from the input too), complete texts are taken after
// every chunk, and now and then the unterminated rest is taken as the quiet-peer rule does.
// A plain model of the stream (the bytes since the last text taken) says what each call
// must give: the texts in order, decoded as UTF-8, an overflow for a text over the limit,
// and the unterminated bytes exactly when there are some.
#include "FuzzCheck.h"

#include "protocol/NulTextBuffer.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

const char *resultName(NulTextBuffer::Result result)
{
    switch (result) {
    case NulTextBuffer::Result::Text:
        return "Text";
    case NulTextBuffer::Result::Incomplete:
        return "Incomplete";
    case NulTextBuffer::Result::Overflow:
        return "Overflow";
    }
    return "?";
}

// Takes every complete text and compares each answer with the model.
void drain(NulTextBuffer &buffer, QByteArray &pending)
{
    for (;;) {
        QString text;
        const NulTextBuffer::Result result = buffer.takeText(text);
        const qsizetype nul = pending.indexOf('\0');
        const qsizetype length = nul < 0 ? pending.size() : nul;
        NulTextBuffer::Result expected = NulTextBuffer::Result::Incomplete;
        if (length > buffer.maxTextBytes())
            expected = NulTextBuffer::Result::Overflow;
        else if (nul >= 0)
            expected = NulTextBuffer::Result::Text;
        FUZZ_CHECK(result == expected,
                   QStringLiteral("%1 instead of %2 with %3 bytes pending")
                       .arg(QLatin1String(resultName(result)), QLatin1String(resultName(expected)))
                       .arg(pending.size()));
        switch (result) {
        case NulTextBuffer::Result::Text: {
            const QString want = QString::fromUtf8(pending.first(nul));
            FUZZ_CHECK(text == want,
                       visible(text) + QStringLiteral(" instead of ") + visible(want));
            // What the buffer gives out goes back on the wire as the same text.
            FUZZ_CHECK(NulTextBuffer::decode(NulTextBuffer::encode(text)) == text, visible(text));
            pending.remove(0, nul + 1);
            break;
        }
        case NulTextBuffer::Result::Incomplete:
            FUZZ_CHECK(buffer.hasUnterminatedBytes() == !pending.isEmpty(),
                       QStringLiteral("%1 bytes pending").arg(pending.size()));
            return;
        case NulTextBuffer::Result::Overflow:
            // The connection drops the stream; so does the model.
            buffer.clear();
            pending.clear();
            FUZZ_CHECK(!buffer.hasUnterminatedBytes(), QString());
            return;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    NulTextBuffer buffer(provider.ConsumeIntegralInRange<qsizetype>(0, 40));
    QByteArray pending;
    while (provider.remaining_bytes() > 0) {
        const auto chunkSize = provider.ConsumeIntegralInRange<size_t>(0, 64);
        const std::string chunk = provider.ConsumeBytesAsString(chunkSize);
        buffer.append(QByteArrayView(chunk.data(), static_cast<qsizetype>(chunk.size())));
        pending.append(chunk.data(), static_cast<qsizetype>(chunk.size()));
        drain(buffer, pending);
        if (provider.ConsumeIntegralInRange<int>(0, 7) == 0 && buffer.hasUnterminatedBytes()) {
            const QString rest = buffer.takeUnterminated();
            FUZZ_CHECK(rest == QString::fromUtf8(pending), visible(rest));
            pending.clear();
            FUZZ_CHECK(!buffer.hasUnterminatedBytes(), visible(rest));
        }
    }
    return 0;
}
