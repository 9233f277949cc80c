#pragma once

#include <QString>

namespace Brindlecore::Core {

// What a secret field value is replaced with in log lines.
inline const QString MaskedSecret = QStringLiteral("****");

// Returns a wire text fit for the log files: in a settings message (id 58) every field
// tagged A (the staff password) becomes "A****", and in an authentication reply (id 55) the
// last field (the encoded PIN) becomes "****". Every other text, and every other field, is
// returned unchanged. The id is the first "|"-separated piece that reads as a number as the
// dispatcher reads ids ("58 " included) or ends in digits, so texts with a prefix such as
// "Message Not Handled: " are masked as well.
QString maskSecretFields(const QString &wireText);

} // namespace Brindlecore::Core
