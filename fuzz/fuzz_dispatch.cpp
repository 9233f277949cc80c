// The dispatcher on the client's table of incoming ids (stand-in prototypes that accept a
// text whose first field is their id and which has a body field). The input is one or more
// texts separated by NUL bytes, dispatched in order like texts arriving on one connection.
// Every text gets exactly the reply the dispatch rules give (the prototype's parse decides
// between the handler's reply and the empty text), the handler runs once exactly when its
// reply is returned, every "Enter" has its "Exit", and no log line of a settings text shows
// its staff password.
#include "FuzzCheck.h"
#include "RecordingObserver.h"
#include "TestPrototype.h"

#include "protocol/NoResponse.h"
#include "protocol/OpcMessageDispatcher.h"

#include <map>
#include <memory>

using Brindlecore::Core::NO_RESPONSE;

namespace {

const QString Source = QStringLiteral("Print Service");
constexpr int SettingsId = 58;

struct Table
{
    RecordingObserver observer;
    QStringList handled;
    OpcMessageDispatcher dispatcher{&observer};
    std::map<int, std::unique_ptr<TestPrototype>> prototypes;

    Table()
    {
        for (const int id : {4, 6, 51, 54, 56, 52, 58, 60, 62, 64}) {
            auto prototype = std::make_unique<TestPrototype>(id, reply(id), &handled, &observer);
            dispatcher.registerMessage(id, prototype.get());
            prototypes.emplace(id, std::move(prototype));
        }
    }

    static QString reply(int id) { return QStringLiteral("reply to %1").arg(id); }
};

Table &table()
{
    static Table instance;
    return instance;
}

// The body pieces of a settings text that carry the staff password ("A" and its value).
QStringList passwordPieces(const QString &text)
{
    QStringList pieces = text.split(u'|');
    pieces.removeFirst();
    pieces.removeIf([](const QString &piece) {
        return !piece.startsWith(u'A') || piece == QLatin1String("A****");
    });
    return pieces;
}

void checkDispatch(Table &t, const QString &text)
{
    t.observer.clear();
    t.handled.clear();
    const QString reply = t.dispatcher.dispatch(Source, text);
    const QString notHandled = QStringLiteral("Message Not Handled: ") + text;

    const qsizetype separator = text.indexOf(u'|');
    const int id = separator < 0 ? 0 : QStringView(text).first(separator).toInt();
    if (text == NO_RESPONSE) {
        FUZZ_CHECK(reply == NO_RESPONSE, visible(reply));
    } else if (separator < 0 || !t.prototypes.count(id)) {
        FUZZ_CHECK(reply == notHandled, visible(text) + QStringLiteral(" -> ") + visible(reply));
    } else {
        TestPrototype judge(id, QString(), nullptr, nullptr);
        const bool accepted = judge.parse(text);
        FUZZ_CHECK(reply == (accepted ? Table::reply(id) : QString()),
                   visible(text) + QStringLiteral(" -> ") + visible(reply));
        const QStringList expected =
            accepted ? QStringList{Source + QStringLiteral(": ") + QString::number(id)}
                     : QStringList();
        FUZZ_CHECK(t.handled == expected,
                   visible(text) + QStringLiteral(" handled ") + visible(t.handled));
    }
    if (text == NO_RESPONSE || separator < 0 || !t.prototypes.count(id))
        FUZZ_CHECK(t.handled.isEmpty(),
                   visible(text) + QStringLiteral(" handled ") + visible(t.handled));

    const QStringList traces = t.observer.texts(QStringLiteral("Trace"));
    const QStringList enters = traces.filter(QStringLiteral("Enter: "));
    FUZZ_CHECK(enters.size() * 2 == traces.size(), visible(traces));

    if (separator >= 0 && id == SettingsId) {
        const QStringList secrets = passwordPieces(text);
        for (const QString &line : t.observer.texts()) {
            const QStringList pieces = line.split(u'|');
            for (const QString &secret : secrets)
                FUZZ_CHECK(!pieces.contains(secret),
                           visible(text) + QStringLiteral(" logged ") + visible(line));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Every log event takes the local time; with TZ unset the C library looks at the zone
    // file again on each call, which would dominate the run.
    qputenv("TZ", "UTC");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Table &t = table();
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    for (const QByteArray &piece : bytes.split('\0'))
        checkDispatch(t, QString::fromUtf8(piece));
    return 0;
}
