#include "shell/Log4CppLogger.h"

#include "core/ObservableEvent.h"
#include "settings/XmlPreferences.h"
#include "shell/Log4CppLineLayout.h"

#include <QFile>
#include <QMutex>
#include <QStringBuilder>
#include <QTemporaryFile>

#include <log4cpp/Category.hh>
#include <log4cpp/Configurator.hh>
#include <log4cpp/LayoutAppender.hh>
#include <log4cpp/PropertyConfigurator.hh>

#include <iostream>

namespace {

QMutex &loggingMutex()
{
    static QMutex mutex;
    return mutex;
}

const char *const BaseConfiguration =
    "rootCategory=DEBUG, userlog, devlog\n"
    "log4j.appender.userlog=org.apache.log4j.RollingFileAppender\n"
    "log4j.appender.userlog.fileName=%%logdir%%/%%component%%-userlog.txt\n"
    "log4j.appender.userlog.maxFileSize=%%maxSize%%\n"
    "log4j.appender.userlog.maxBackupIndex=%%maxBackups%%\n"
    "log4j.appender.userlog.threshold=INFO\n"
    "log4j.appender.userlog.layout=org.apache.log4j.PatternLayout\n"
    "log4j.appender.userlog.layout.ConversionPattern=%d, %t, %-5p, %m%n\n";

const char *const VerboseConfiguration =
    "log4j.appender.devlog=org.apache.log4j.RollingFileAppender\n"
    "log4j.appender.devlog.fileName=%%logdir%%/%%component%%-devlog.txt\n"
    "log4j.appender.devlog.maxFileSize=%%maxSize%%\n"
    "log4j.appender.devlog.maxBackupIndex=%%maxBackups%%\n"
    "log4j.appender.devlog.layout=org.apache.log4j.PatternLayout\n"
    "log4j.appender.devlog.layout.ConversionPattern=%d, %t, %-5p, %m%n";

// log4cpp's PatternLayout builds three string streams for every line it writes; the line
// layout writes the same bytes directly. It replaces the configured layouts only when it
// formats sample events exactly as PatternLayout does.
void useLineLayout()
{
    if (!Log4CppLineLayout::matchesPatternLayout())
        return;
    for (log4cpp::Appender *appender : log4cpp::Category::getRoot().getAllAppenders()) {
        if (auto *layoutAppender = dynamic_cast<log4cpp::LayoutAppender *>(appender))
            layoutAppender->setLayout(new Log4CppLineLayout); // the appender owns its layout
    }
}

int setting(const UtilsLib::XmlPreferences &preferences, const char *key, int defaultValue)
{
    return preferences.getIntInUnits(QString::fromLatin1(key), defaultValue, QString());
}

} // namespace

Log4CppLogger::Log4CppLogger(const QString &componentName,
                             const UtilsLib::XmlPreferences &preferences,
                             const QString &logDirectory)
{
    const bool verbose = setting(preferences, "Logging: Verbose", 1) != 0;
    // A size below one megabyte or a negative count (a damaged preferences file) would roll
    // the files on every line or fail the configuration; the defaults apply instead.
    int maxSizeMb = setting(preferences, "Logging: Maximum File Size in MB", 10);
    if (maxSizeMb < 1 || maxSizeMb > 2047)
        maxSizeMb = 10;
    int maxBackups = setting(preferences, "Logging: Maximum Number of Backups", 3);
    if (maxBackups < 0 || maxBackups > 100)
        maxBackups = 3;
    const QString text =
        configurationText(componentName, logDirectory, maxSizeMb, maxBackups, verbose);

    {
        QMutexLocker locker(&loggingMutex());
        // log4cpp reads its properties from a file only; this one is private (0600) and
        // removed as soon as log4cpp has read it.
        QTemporaryFile file;
        try {
            if (!file.open() || file.write(text.toUtf8()) < 0 || !file.flush())
                throw log4cpp::ConfigureFailure("cannot write the configuration file");
            log4cpp::PropertyConfigurator::configure(
                QFile::encodeName(file.fileName()).toStdString());
            useLineLayout();
        } catch (const log4cpp::ConfigureFailure &failure) {
            std::cerr << "Log4cpp Configuriguration threw an exception:" << failure.what()
                      << std::endl;
        }
    }
    m_enabled = setting(preferences, "Logging: Enabled", 1) != 0;
}

Log4CppLogger::~Log4CppLogger() = default;

QString Log4CppLogger::configurationText(const QString &componentName, const QString &logDirectory,
                                         int maxSizeMb, int maxBackups, bool verbose)
{
    QString text = QString::fromLatin1(BaseConfiguration);
    if (verbose)
        text += QString::fromLatin1(VerboseConfiguration);
    text.replace(QLatin1String("%%maxBackups%%"), QString::number(maxBackups));
    text.replace(QLatin1String("%%component%%"), componentName);
    text.replace(QLatin1String("%%logdir%%"), logDirectory);
    text.replace(QLatin1String("%%maxSize%%"), QString::number(qint64(maxSizeMb) * 1048576));
    return text;
}

int Log4CppLogger::priorityForLevel(int level)
{
    switch (level) {
    case 0:
        return 0;
    case 1:
        return log4cpp::Priority::ERROR;
    case 2:
        return log4cpp::Priority::WARN;
    case 9:
        return log4cpp::Priority::DEBUG;
    default:
        return log4cpp::Priority::INFO;
    }
}

void Log4CppLogger::notify(const UtilsLib::ObservableEvent &event)
{
    QMutexLocker locker(&loggingMutex());
    if (!m_enabled)
        return;
    log4cpp::Category *&category = m_categories[event.type()];
    if (!category)
        category = &log4cpp::Category::getInstance(event.type().toStdString());
    // Joined in one allocation, converted to UTF-8 once.
    const QString message = event.source() % QLatin1String(", ") % event.methodName() %
                            QLatin1String(", ") % event.text();
    category->log(priorityForLevel(event.level()), message.toStdString());
}
