#pragma once

#include <log4cpp/Layout.hh>

#include <ctime>
#include <string>

// Writes a log4cpp event as the client's pattern "%d, %t, %-5p, %m%n" does, byte for byte,
// without the three string streams log4cpp's PatternLayout builds for every line. The logger
// installs it only after checking that both layouts give the same bytes. Not thread-safe by
// itself: log4cpp calls it under the logger's mutex.
class Log4CppLineLayout : public log4cpp::Layout
{
public:
    // The conversion pattern this layout reproduces.
    static constexpr const char *Pattern = "%d, %t, %-5p, %m%n";

    std::string format(const log4cpp::LoggingEvent &event) override;

    // True when this layout and a log4cpp PatternLayout with Pattern format a set of sample
    // events (every priority, several texts) identically.
    static bool matchesPatternLayout();

private:
    // The local date and time of the last second formatted, up to and with the comma before
    // the milliseconds; many lines share a second.
    std::time_t m_second = -1;
    std::string m_secondText;
};
