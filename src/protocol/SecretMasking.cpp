#include "protocol/SecretMasking.h"

#include "protocol/MessageIds.h"

#include <QStringList>

namespace Brindlecore::Core {

namespace {

// The number a piece ends in, or -1; "Message Not Handled: 58" gives 58.
int trailingNumber(const QString &piece)
{
    qsizetype start = piece.size();
    while (start > 0 && piece.at(start - 1).isDigit() && piece.at(start - 1).unicode() < 128)
        --start;
    if (start == piece.size())
        return -1;
    bool ok = false;
    const int number = QStringView(piece).mid(start).toInt(&ok);
    return ok ? number : -1;
}

} // namespace

QString maskSecretFields(const QString &wireText)
{
    if (!wireText.contains(QLatin1Char('|')))
        return wireText;

    QStringList pieces = wireText.split(QLatin1Char('|'));
    qsizetype idIndex = 0;
    int id = -1;
    for (; idIndex < pieces.size(); ++idIndex) {
        id = trailingNumber(pieces.at(idIndex));
        if (id >= 0)
            break;
    }

    bool masked = false;
    if (id == MessageIds::SettingsMsg) {
        for (qsizetype i = idIndex + 1; i < pieces.size(); ++i) {
            if (pieces.at(i).startsWith(QLatin1Char('A'))) {
                pieces[i] = QLatin1Char('A') + MaskedSecret;
                masked = true;
            }
        }
    } else if (id == MessageIds::AuthenticateMsg) {
        // Past the id and the timestamp; an empty PIN field has nothing to hide.
        const qsizetype last = pieces.size() - 1;
        if (last > idIndex + 1 && !pieces.at(last).isEmpty()) {
            pieces[last] = MaskedSecret;
            masked = true;
        }
    }
    return masked ? pieces.join(QLatin1Char('|')) : wireText;
}

} // namespace Brindlecore::Core
