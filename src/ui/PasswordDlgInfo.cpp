#include "ui/PasswordDlgInfo.h"

PasswordDlgInfo::PasswordDlgInfo(const QString &captionKey, const QString &okTextKey,
                                 const QString &cancelTextKey, const QString &logoPath,
                                 const QString &promptKey)
    : CommonDlgInfo(okTextKey, cancelTextKey, logoPath, captionKey)
    , m_promptKey(promptKey)
{}
