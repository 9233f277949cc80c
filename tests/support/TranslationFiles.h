#pragma once

#include "FileBytes.h"

#include <QProcess>
#include <QString>

#include <initializer_list>

// The contexts of the language list's texts and of a dialog's.
inline const char *const Tags = "Language Preferences";
inline const char *const Dialog = "PasswordDialog";

// Writes translation sources and compiles them with the real lrelease (its path comes from the
// build as ONDTPC_LRELEASE), so tests read the files the build itself would make.
struct TranslatedText
{
    const char *context;
    const char *source;
    QString translation;
};

inline bool writeTranslationFile(const QString &qmPath, std::initializer_list<TranslatedText> texts)
{
    const QString tsPath = qmPath + ".ts";
    QString ts =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n<TS version=\"2.1\">\n";
    for (const TranslatedText &text : texts)
        ts += QString("<context><name>%1</name><message><source>%2</source>"
                      "<translation>%3</translation></message></context>\n")
                  .arg(QString::fromUtf8(text.context).toHtmlEscaped(),
                       QString::fromUtf8(text.source).toHtmlEscaped(),
                       text.translation.toHtmlEscaped());
    const bool compiled =
        writeFile(tsPath, (ts + "</TS>\n").toUtf8()) &&
        QProcess::execute(ONDTPC_LRELEASE, {"-silent", tsPath, "-qm", qmPath}) == 0;
    QFile::remove(tsPath);
    return compiled;
}
