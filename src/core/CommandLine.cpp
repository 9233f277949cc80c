#include "core/CommandLine.h"

CommandLine::CommandLine(const QStringList &arguments)
{
    for (const QString &argument : arguments) {
        if (!argument.startsWith(QLatin1Char('-'))) {
            QString plain = argument;
            plain.remove(QLatin1Char('\''));
            plain.remove(QLatin1Char('"'));
            m_plainArguments.append(plain);
            continue;
        }
        const QString option = argument.mid(1);
        qsizetype separator = option.indexOf(QLatin1Char('='));
        if (separator < 0)
            separator = option.indexOf(QLatin1Char(':'));
        if (separator < 0)
            m_options.insert(option.toUpper(), QString());
        else
            m_options.insert(option.left(separator).toUpper(), option.mid(separator + 1));
    }
}

bool CommandLine::hasOption(const QString &name) const
{
    return m_options.contains(name.toUpper());
}

QString CommandLine::optionValue(const QString &name) const
{
    return m_options.value(name.toUpper());
}
