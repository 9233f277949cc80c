// The parse of the required version (64) and the comparison of versions. The input is a wire
// text, a NUL and a text the same object parsed before. A text is accepted exactly when it has a
// field, the first is 64 as an unsigned number and every field from the third on starts with A
// or B; a rejected text changes no field. The two texts, taken as versions, compare the other
// way round when swapped, each equals itself and itself with a ".0" added, and nothing crashes.
#include "FuzzCheck.h"

#include "shell/PrintClientUpdateMsg.h"
#include "shell/PrintClientUpdateMsgHandler.h"

#include <algorithm>

using Brindlecore::Core::PrintClientUpdateMsg;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype nul = bytes.indexOf('\0');
    const QString text = QString::fromUtf8(nul < 0 ? bytes : bytes.first(nul));
    const QString before = nul < 0 ? QString() : QString::fromUtf8(bytes.sliced(nul + 1));

    const QStringList split = text.split(u'|', Qt::SkipEmptyParts);
    bool isNumber = false;
    const bool shaped = !split.isEmpty() && split.at(0).toUInt(&isNumber) == 64 && isNumber &&
                        std::all_of(split.begin() + std::min<qsizetype>(split.size(), 2),
                                    split.end(), [](const QString &field) {
                                        return field.startsWith(u'A') || field.startsWith(u'B');
                                    });
    PrintClientUpdateMsg message;
    message.parse(before);
    const QStringList earlier{message.requiredVersion(), message.downloadSource()};
    FUZZ_CHECK(message.parse(text) == shaped, visible(text));
    if (!shaped)
        FUZZ_CHECK((QStringList{message.requiredVersion(), message.downloadSource()} == earlier),
                   visible(text) + visible(before));

    const auto compare = &PrintClientUpdateMsgHandler::compareVersions;
    FUZZ_CHECK(compare(text, before) == -compare(before, text), visible(text) + visible(before));
    FUZZ_CHECK(compare(text, text) == 0 && compare(text, text + QStringLiteral(".0")) == 0,
               visible(text));
    return 0;
}
