#include "core/ObservableEvent.h"

namespace UtilsLib {

ObservableEvent::ObservableEvent()
    : m_msecsSinceEpoch(QDateTime::currentMSecsSinceEpoch())
{}

ObservableEvent::ObservableEvent(const QString &type, const QString &source, const QString &text,
                                 qint16 level, const QString &origin)
    : m_msecsSinceEpoch(QDateTime::currentMSecsSinceEpoch())
    , m_type(type)
    , m_source(source)
    , m_text(text)
    , m_level(level)
{
    const qsizetype separator = origin.lastIndexOf(QLatin1String("::"));
    if (separator >= 1) {
        m_className = origin.left(separator);
        m_methodName = origin.mid(separator + 2);
    } else {
        m_methodName = origin;
    }
}

} // namespace UtilsLib
