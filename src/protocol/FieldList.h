#pragma once

#include <QString>
#include <QStringList>

#include <exception>

namespace Brindlecore::Core {

// Thrown by decodeFieldList on a backslash that is not followed by a backslash or a colon.
class MessageFormatException : public std::exception
{
public:
    const char *what() const noexcept override { return "malformed escaped field list"; }
};

// Joins the fields with ":" after doubling every backslash and escaping every colon.
QString encodeFieldList(const QStringList &fields);
// The inverse of encodeFieldList; an empty text is the empty list.
QStringList decodeFieldList(const QString &text);

} // namespace Brindlecore::Core
