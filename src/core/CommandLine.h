#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// The client's parsed command line: "-name=value" or "-name:value" options (names compared
// upper-cased) and plain arguments (the first is the program path) with every quote removed.
class CommandLine
{
public:
    explicit CommandLine(const QStringList &arguments);

    bool hasOption(const QString &name) const;
    // The whole text after the first separator; empty when the option is absent.
    QString optionValue(const QString &name) const;
    const QStringList &plainArguments() const { return m_plainArguments; }

private:
    QStringList m_plainArguments;
    QMap<QString, QString> m_options;
};
