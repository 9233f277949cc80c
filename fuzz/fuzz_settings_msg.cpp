// The parse of the settings message. The input is a wire text (a NUL splits off a text the same
// object parsed before). A rejected text changes no field. An accepted one keeps the page limit
// at 0 or above, its last C field read as it would be with a short row of digits, but saturated
// at INT_MAX; reading it again changes nothing; the fields written back as a settings text parse to
// the same fields, also in a clone; and a prototype that parsed another text before ends as a fresh
// object that reads the earlier fields followed by the text's own.
#include "FuzzCheck.h"

#include "settings/HexCodec.h"
#include "shell/SettingsMsg.h"

#include <algorithm>
#include <climits>
#include <memory>

using Brindlecore::Core::SettingsMsg;

namespace {

// The body fields of a settings text that sets every field to the value the message holds.
QStringList taggedFields(const SettingsMsg &m)
{
    const auto n = [](int value) { return QString::number(value); };
    return {u'A' + UtilsLib::hexEncode(m.staffPassword()),
            u'B' + n(m.tavrinIntegration()),
            u'C' + n(m.maxSessionPages()),
            u'D' + n(m.staffApprovesOverLimit()),
            u'E' + n(m.useSessionCredentials()),
            u'F' + n(m.maskUserId()),
            u'G' + m.defaultPrinter(),
            u'H' + n(m.useSessionPcDescription()),
            u'I' + m.userIdFile(),
            u'L' + n(m.overrideTranslationPort()),
            u'M' + n(m.useSessionLanguage()),
            u'N' + n(m.numberN()),
            u'O' + n(m.dynamicLanguageEnabled()),
            u'P' + m.supportedDialects(),
            u'Q' + m.locale(),
            u'R' + n(m.userIdFilterEnabled()),
            u'S' + m.userIdFilterExceptions(),
            u'T' + n(m.pinFilterEnabled()),
            u'U' + m.pinFilterExceptions()};
}

QString settingsText(const QStringList &body)
{
    return QStringLiteral("58|20250201090503|") + body.join(u'|');
}

int pageLimit(QStringView value)
{
    SettingsMsg message;
    message.parse(QStringLiteral("58|ts|C") + value.toString());
    return message.maxSessionPages();
}

// A C value gives the limit that its first row of digits, saturated at INT_MAX, gives in place
// of a "1" (so 0 when such a value is no number): long rows of digits read like short ones.
void checkPageLimit(QStringView value, int limit)
{
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    const auto first = std::find_if(value.begin(), value.end(), isDigit);
    const auto end = std::find_if_not(first, value.end(), isDigit);
    QStringView digits(first, end);
    while (digits.startsWith(u'0'))
        digits = digits.sliced(1);
    const int saturated = digits.size() > 10
                              ? INT_MAX
                              : static_cast<int>(std::min<qlonglong>(digits.toLongLong(), INT_MAX));
    const bool isNumber =
        first != end && pageLimit(QStringView(value.begin(), first).toString() + u'1' +
                                  QStringView(end, value.end()).toString()) == 1;
    FUZZ_CHECK(limit == (isNumber ? saturated : 0),
               visible(value.toString()) + QStringLiteral(" -> ") + QString::number(limit));
}

void checkSameFields(const SettingsMsg &message, const QString &text, const QString &detail)
{
    SettingsMsg again;
    FUZZ_CHECK(again.parse(text), detail + QStringLiteral(" -> ") + visible(text));
    FUZZ_CHECK(taggedFields(again) == taggedFields(message),
               detail + QStringLiteral(" -> ") + visible(taggedFields(again)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype nul = bytes.indexOf('\0');
    const QString text = QString::fromUtf8(nul < 0 ? bytes : bytes.first(nul));
    const QStringList body = text.split(u'|', Qt::SkipEmptyParts).mid(2);

    SettingsMsg fresh;
    const bool accepted = fresh.parse(text);
    const QStringList parsed = taggedFields(fresh);
    if (!accepted) {
        FUZZ_CHECK(parsed == taggedFields(SettingsMsg()), visible(text));
    } else {
        FUZZ_CHECK(fresh.maxSessionPages() >= 0, visible(text));
        for (qsizetype i = body.size() - 1; i >= 0; --i) {
            if (body.at(i).startsWith(u'C')) {
                checkPageLimit(QStringView(body.at(i)).sliced(1), fresh.maxSessionPages());
                break;
            }
        }
        FUZZ_CHECK(fresh.parse(text) && taggedFields(fresh) == parsed, visible(text));
        checkSameFields(fresh, settingsText(parsed), visible(text));
        std::unique_ptr<Brindlecore::Core::Message> clone = fresh.clone();
        FUZZ_CHECK(taggedFields(static_cast<const SettingsMsg &>(*clone)) == parsed, visible(text));
    }

    if (nul >= 0) {
        SettingsMsg reused;
        reused.parse(QString::fromUtf8(bytes.sliced(nul + 1)));
        const QStringList earlier = taggedFields(reused);
        FUZZ_CHECK(reused.parse(text) == accepted, visible(text));
        if (accepted)
            checkSameFields(reused, settingsText(earlier + body), visible(text));
        else
            FUZZ_CHECK(taggedFields(reused) == earlier, visible(text));
    }
    return 0;
}
