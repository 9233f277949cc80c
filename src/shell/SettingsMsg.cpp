#include "shell/SettingsMsg.h"

#include "protocol/MessageHandler.h"
#include "protocol/MessageIds.h"
#include "settings/HexCodec.h"

#include <algorithm>
#include <climits>

namespace Brindlecore::Core {

namespace {

// A decimal integer; 0 when the text is none or lies beyond the int range, as the other
// messages read their numbers. Saturating would not help the translation port or N: no large
// value means anything to either, while 0 means "not given" (no port to download from).
int readInt(QStringView text)
{
    return text.toInt();
}

bool readSwitch(QStringView text)
{
    return readInt(text) != 0;
}

// The page limit. A count too large for an int saturates at INT_MAX: wrapped, it would turn
// negative, which the preferences store as 0, and 0 means no limit at all.
int readPageLimit(QStringView text)
{
    bool isNumber = false;
    const qulonglong value = text.toULongLong(&isNumber);
    if (isNumber)
        return static_cast<int>(std::min<qulonglong>(value, INT_MAX));
    // Past 64 bits the conversion fails, yet the text is still a count when it has the shape
    // the conversion accepts: digits after an optional plus sign, within ASCII blanks.
    const auto isBlank = [](QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    if (text.startsWith(u'+'))
        text = text.sliced(1);
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isDigit) ? INT_MAX : 0;
}

} // namespace

SettingsMsg::SettingsMsg(std::unique_ptr<MessageHandler> handler, UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{}

QString SettingsMsg::formatBody() const
{
    return QString();
}

bool SettingsMsg::parse(const QString &text)
{
    const QStringList fields = splitFields(text);
    bool isNumber = false;
    if (fields.isEmpty() ||
        fields.at(0).toUInt(&isNumber) != static_cast<uint>(MessageIds::SettingsMsg) || !isNumber)
        return false;

    // Field 1 is the timestamp, which the client does not use.
    for (qsizetype i = 2; i < fields.size(); ++i) {
        const QStringView value = QStringView(fields.at(i)).sliced(1);
        switch (fields.at(i).at(0).unicode()) {
        case u'A':
            m_staffPassword = UtilsLib::HexCodec().decode(value.toString());
            break;
        case u'B':
            m_tavrinIntegration = readSwitch(value);
            break;
        case u'C':
            m_maxSessionPages = readPageLimit(value);
            break;
        case u'D':
            m_staffApprovesOverLimit = readSwitch(value);
            break;
        case u'E':
            m_useSessionCredentials = readSwitch(value);
            break;
        case u'F':
            m_maskUserId = readSwitch(value);
            break;
        case u'G':
            m_defaultPrinter = value.toString();
            break;
        case u'H':
            m_useSessionPcDescription = readSwitch(value);
            break;
        case u'I':
            m_userIdFile = value.toString();
            break;
        case u'L':
            m_overrideTranslationPort = readInt(value);
            break;
        case u'M':
            m_useSessionLanguage = readSwitch(value);
            break;
        case u'N':
            m_numberN = readInt(value);
            break;
        case u'O':
            m_dynamicLanguageEnabled = readSwitch(value);
            break;
        case u'P':
            m_supportedDialects = value.toString();
            break;
        case u'Q':
            m_locale = value.toString();
            break;
        case u'R':
            m_userIdFilterEnabled = readSwitch(value);
            break;
        case u'S':
            m_userIdFilterExceptions = value.toString();
            break;
        case u'T':
            m_pinFilterEnabled = readSwitch(value);
            break;
        case u'U':
            m_pinFilterExceptions = value.toString();
            break;
        default:
            // Any other tag, a lower-case letter included, carries nothing the client keeps.
            break;
        }
    }
    return true;
}

int SettingsMsg::messageId() const
{
    return MessageIds::SettingsMsg;
}

} // namespace Brindlecore::Core
