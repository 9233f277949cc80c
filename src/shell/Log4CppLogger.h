#pragma once

#include "core/Observer.h"

#include <QHash>
#include <QString>

namespace log4cpp {
class Category;
}

namespace UtilsLib {
class XmlPreferences;
}

// Writes every event through log4cpp to the rolling user log (Info and above) and, when
// verbose, the developer log (everything), as "source, method, text". All configuration and
// every write hold one process-wide mutex, so events may come from any thread.
class Log4CppLogger : public UtilsLib::Observer
{
public:
    Log4CppLogger(const QString &componentName, const UtilsLib::XmlPreferences &preferences,
                  const QString &logDirectory);
    ~Log4CppLogger() override;

    void notify(const UtilsLib::ObservableEvent &event) override;

    // The log4cpp property text for these settings, exactly as it is configured.
    static QString configurationText(const QString &componentName, const QString &logDirectory,
                                     int maxSizeMb, int maxBackups, bool verbose);
    // Level 0 -> 0, 1 -> ERROR (300), 2 -> WARN (400), 9 -> DEBUG (700), else INFO (600).
    static int priorityForLevel(int level);

private:
    bool m_enabled = true;
    // Categories live as long as log4cpp's hierarchy; looking each up once saves a map search
    // and a string conversion per event.
    QHash<QString, log4cpp::Category *> m_categories;
};
