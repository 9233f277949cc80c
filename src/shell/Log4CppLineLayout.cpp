#include "shell/Log4CppLineLayout.h"

#include <log4cpp/LoggingEvent.hh>
#include <log4cpp/NDC.hh>
#include <log4cpp/PatternLayout.hh>
#include <log4cpp/Priority.hh>
#include <log4cpp/TimeStamp.hh>

std::string Log4CppLineLayout::format(const log4cpp::LoggingEvent &event)
{
    const std::time_t second = event.timeStamp.getSeconds();
    if (second != m_second) {
        std::tm local{};
        localtime_r(&second, &local);
        char text[64];
        const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S,", &local);
        m_secondText.assign(text, length);
        m_second = second;
    }
    const int millis = event.timeStamp.getMilliSeconds();
    const std::string &priority = log4cpp::Priority::getPriorityName(event.priority);

    std::string line;
    line.reserve(m_secondText.size() + event.threadName.size() + event.message.size() + 24);
    line += m_secondText;
    line += char('0' + millis / 100 % 10);
    line += char('0' + millis / 10 % 10);
    line += char('0' + millis % 10);
    line += ", ";
    line += event.threadName;
    line += ", ";
    line += priority;
    if (priority.size() < 5)
        line.append(5 - priority.size(), ' ');
    line += ", ";
    line += event.message;
    line += '\n';
    return line;
}

bool Log4CppLineLayout::matchesPatternLayout()
{
    log4cpp::PatternLayout reference;
    try {
        reference.setConversionPattern(Pattern);
    } catch (const log4cpp::ConfigureFailure &) {
        return false;
    }
    Log4CppLineLayout layout;
    const char *const messages[] = {"", "TpcApplication, main, starting",
                                    "OpcConnection, messageReceived, Recevied: 99|2026\xc3\xa9|%d"};
    // Now, and moments on either side of a second, a day and a year boundary.
    const log4cpp::TimeStamp moments[] = {
        log4cpp::TimeStamp(), log4cpp::TimeStamp(0, 0), log4cpp::TimeStamp(1767225599, 999999),
        log4cpp::TimeStamp(1767225600, 5000), log4cpp::TimeStamp(2000000000, 42000)};
    for (const log4cpp::TimeStamp &moment : moments) {
        for (int priority = 0; priority <= 900; priority += 100) {
            for (const char *message : messages) {
                log4cpp::LoggingEvent event("Info", message, log4cpp::NDC::get(), priority);
                event.timeStamp = moment;
                if (layout.format(event) != reference.format(event))
                    return false;
            }
        }
    }
    return true;
}
