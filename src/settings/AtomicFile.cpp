#include "settings/AtomicFile.h"

#include <QSaveFile>

namespace UtilsLib {

bool replaceFileContent(const QString &path, const QByteArray &content,
                        std::optional<QFileDevice::Permissions> permissions)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (permissions && !file.setPermissions(*permissions)) {
        file.cancelWriting();
        return false;
    }
    // commit() renames even when the flush inside it fails (a full disk would leave a cut
    // file in place of the old one), so the data is flushed and checked first.
    if (file.write(content) != content.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace UtilsLib
