#pragma once

#include <QString>

namespace Brindlecore::Core {

// A whole reply by itself (no id, no timestamp): the incoming message needs no answer, yet
// the text is still written so that every message gets exactly one reply.
inline const QString NO_RESPONSE = QStringLiteral("No Response");

} // namespace Brindlecore::Core
