#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <optional>

namespace UtilsLib {

// Replaces the file at `path` by `content` through a temporary file in the same folder and
// a rename, so that readers and a crash see either the old or the new content, whole. The
// temporary file gets `permissions` before any byte is written when they are given (else
// those of the file it replaces). False, with the old file untouched, when any byte fails.
bool replaceFileContent(const QString &path, const QByteArray &content,
                        std::optional<QFileDevice::Permissions> permissions = std::nullopt);

} // namespace UtilsLib
