#pragma once

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <initializer_list>

// Writes translation sources and compiles them with the real lrelease (its path comes from the
// build as ONDTPC_LRELEASE), so tests read the files the build itself would make.
// The contexts of the language list's texts and of a dialog's.
inline const char *const Tags = "Language Preferences";
inline const char *const Dialog = "PasswordDialog";

struct TranslatedText
{
    const char *context;
    const char *source;
    QString translation;
};

inline bool writeTranslationFile(const QString &qmPath, std::initializer_list<TranslatedText> texts)
{
    const QString tsPath = qmPath + QStringLiteral(".ts");
    QString ts = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
                                "<TS version=\"2.1\">\n");
    for (const TranslatedText &text : texts)
        ts += QStringLiteral("<context><name>%1</name><message><source>%2</source>"
                             "<translation>%3</translation></message></context>\n")
                  .arg(QString::fromUtf8(text.context).toHtmlEscaped(),
                       QString::fromUtf8(text.source).toHtmlEscaped(),
                       text.translation.toHtmlEscaped());
    ts += QStringLiteral("</TS>\n");
    QFile file(tsPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(ts.toUtf8()) < 0)
        return false;
    file.close();
    QProcess lrelease;
    lrelease.start(QStringLiteral(ONDTPC_LRELEASE),
                   {QStringLiteral("-silent"), tsPath, QStringLiteral("-qm"), qmPath});
    const bool compiled = lrelease.waitForFinished(60000) &&
                          lrelease.exitStatus() == QProcess::NormalExit && lrelease.exitCode() == 0;
    QFile::remove(tsPath);
    return compiled;
}
