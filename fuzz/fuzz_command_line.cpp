// The command line. The input is the argument list, NUL bytes separating the arguments (the
// first is the program path). The parsed options and plain arguments are what the rules of
// the command line give: plain arguments in order without quote characters; options split
// at the first "=" (else the first ":"), names compared upper-cased, the last one of a name
// winning. Each plain argument after the program path names a shared printer or a queue: a
// share gives a queue name without separators or blanks, and a device address that is a
// valid URL naming the same server, port and share.
#include "FuzzCheck.h"

#include "core/CommandLine.h"
#include "printers/PrinterShare.h"

#include <QMap>
#include <QUrl>

namespace {

bool isAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0x7F)
            return false;
    }
    return true;
}

void checkShare(const QString &argument)
{
    const std::optional<PrinterShare> share = PrinterShare::parse(argument);
    if (!share) {
        FUZZ_CHECK(PrinterShare::queueNameFor(argument) == argument, visible(argument));
        return;
    }
    const QString queue = share->queueName();
    FUZZ_CHECK(PrinterShare::queueNameFor(argument) == queue, visible(argument));
    FUZZ_CHECK(!queue.isEmpty(), visible(argument));
    for (const QChar c : queue)
        FUZZ_CHECK(c != u'\\' && c != u'/' && c != u'@' && !c.isSpace(),
                   visible(argument) + QStringLiteral(" -> ") + visible(queue));

    const QUrl uri(share->deviceUri(), QUrl::StrictMode);
    const auto where = [&] {
        return visible(argument) + QStringLiteral(" -> ") + visible(share->deviceUri());
    };
    FUZZ_CHECK(uri.isValid(), where() + QStringLiteral(": ") + uri.errorString());
    FUZZ_CHECK(uri.scheme() == QLatin1String("ipp") || uri.scheme() == QLatin1String("ipps"),
               where());
    FUZZ_CHECK(uri.userInfo().isEmpty() && !uri.hasQuery() && !uri.hasFragment(), where());
    // The server as the URL parser normalises it, on both sides.
    QString host = share->host();
    if (host.startsWith(u'[') && host.endsWith(u']'))
        host = host.mid(1, host.size() - 2);
    QUrl named;
    named.setHost(host, QUrl::StrictMode);
    FUZZ_CHECK(named.isValid() && !named.host().isEmpty(),
               where() + QStringLiteral(": ") + visible(host));
    FUZZ_CHECK(uri.host(QUrl::FullyEncoded) == named.host(QUrl::FullyEncoded), where());
    FUZZ_CHECK(uri.port() == share->port(), where());
    // Decoded byte by byte: the spooler reads the share's UTF-8 bytes from the address.
    FUZZ_CHECK(QByteArray::fromPercentEncoding(uri.path(QUrl::FullyEncoded).toLatin1()) ==
                   (QLatin1String("/printers/") + share->share()).toUtf8(),
               where());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QStringList arguments;
    for (const QByteArray &piece : bytes.split('\0'))
        arguments.append(QString::fromUtf8(piece));
    if (arguments.size() > 32)
        return 0;

    QStringList plain;
    QMap<QString, QString> options;
    QStringList optionNames;
    for (const QString &argument : std::as_const(arguments)) {
        if (!argument.startsWith(u'-')) {
            plain.append(QString(argument).remove(u'\'').remove(u'"'));
            continue;
        }
        const QString rest = argument.mid(1);
        qsizetype separator = rest.indexOf(u'=');
        if (separator < 0)
            separator = rest.indexOf(u':');
        const QString name = separator < 0 ? rest : rest.left(separator);
        options.insert(name.toUpper(), separator < 0 ? QString() : rest.mid(separator + 1));
        optionNames.append(name);
    }

    const CommandLine commandLine(arguments);
    FUZZ_CHECK(commandLine.plainArguments() == plain,
               visible(arguments) + QStringLiteral(" -> ") + visible(commandLine.plainArguments()));
    for (const QString &name : std::as_const(optionNames)) {
        FUZZ_CHECK(commandLine.hasOption(name),
                   visible(arguments) + QStringLiteral(": ") + visible(name));
        FUZZ_CHECK(commandLine.optionValue(name) == options.value(name.toUpper()),
                   visible(arguments) + QStringLiteral(": ") + visible(name) +
                       QStringLiteral(" = ") + visible(commandLine.optionValue(name)));
        if (isAscii(name))
            FUZZ_CHECK(commandLine.hasOption(name.toLower()), visible(arguments));
    }
    for (const char *known : {"locale", "dialect"}) {
        const QString name = QLatin1String(known);
        FUZZ_CHECK(commandLine.hasOption(name) == options.contains(name.toUpper()),
                   visible(arguments));
    }

    for (qsizetype i = 1; i < plain.size(); ++i)
        checkShare(plain.at(i));
    return 0;
}
