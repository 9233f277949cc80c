#include "ui/CommonDlgInfo.h"

namespace Brindlecore::Qt {

CommonDlgInfo::CommonDlgInfo(const QString &button1TextKey, const QString &button2TextKey,
                             const QString &logoPath, const QString &captionKey)
    : m_captionKey(captionKey)
    , m_button1TextKey(button1TextKey)
    , m_button2TextKey(button2TextKey)
    , m_logoPath(logoPath)
    , m_timeout(DefaultTimeoutSeconds)
{}

} // namespace Brindlecore::Qt
