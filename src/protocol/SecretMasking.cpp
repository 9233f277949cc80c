#include "protocol/SecretMasking.h"

#include "protocol/MessageIds.h"

#include <QStringList>

#include <optional>

namespace Brindlecore::Core {

namespace {

// The id a piece stands for. A piece that reads as a number (not below 0) the way the
// dispatcher reads an id (blanks and NULs around the digits allowed) is that number, so every
// text the dispatcher hands to the settings message is masked; any other piece stands for the
// number it ends in, blanks after it aside ("Message Not Handled: 58").
std::optional<int> pieceId(const QString &piece)
{
    bool ok = false;
    const int number = piece.toInt(&ok);
    if (ok && number >= 0)
        return number;
    qsizetype end = piece.size();
    while (end > 0 && piece.at(end - 1).isSpace())
        --end;
    qsizetype start = end;
    while (start > 0 && piece.at(start - 1).isDigit() && piece.at(start - 1).unicode() < 128)
        --start;
    if (start == end)
        return std::nullopt;
    const int trailing = QStringView(piece).sliced(start, end - start).toInt(&ok);
    return ok ? std::optional<int>(trailing) : std::nullopt;
}

} // namespace

QString maskSecretFields(const QString &wireText)
{
    if (!wireText.contains(QLatin1Char('|')))
        return wireText;

    QStringList pieces = wireText.split(QLatin1Char('|'));
    qsizetype idIndex = 0;
    std::optional<int> id;
    for (; idIndex < pieces.size(); ++idIndex) {
        id = pieceId(pieces.at(idIndex));
        if (id)
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
