#include "settings/PrintClientPreferences.h"

#include "settings/AtomicFile.h"
#include "settings/HexCodec.h"
#include "settings/RegistryInterface.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The string layout (32-bit big-endian byte count, UTF-16) is the same in every version;
// pinning one keeps it so.
constexpr QDataStream::Version SessionStreamVersion = QDataStream::Qt_6_0;

// The folder and the file hold the staff password: the owner alone may read them.
constexpr QFileDevice::Permissions FolderPermissions =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
constexpr QFileDevice::Permissions FilePermissions =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner;

} // namespace

PrintClientPreferences::PrintClientPreferences(UtilsLib::RegistryInterface *registry)
    : m_registry(registry)
{
    if (m_registry)
        m_registry->setRoot(QStringLiteral("HKEY_LOCAL_MACHINE"));
}

PrintClientPreferences::~PrintClientPreferences() = default;

bool PrintClientPreferences::isInstalled() const
{
    return m_registry &&
           m_registry->readValue(UninstallKey, InstallLocationValue, InstallLocationMaxBytes)
               .isValid();
}

void PrintClientPreferences::saveSession()
{
    if (!isInstalled())
        return;
    const QString folder = sessionFolder();
    if (!QFileInfo(folder).isDir() && !QDir().mkdir(folder, FolderPermissions))
        return;

    QByteArray content;
    QDataStream out(&content, QIODevice::WriteOnly);
    out.setVersion(SessionStreamVersion);
    out << UtilsLib::hexEncode(m_staffPassword);

    UtilsLib::replaceFileContent(sessionFilePath(), content, FilePermissions);
}

bool PrintClientPreferences::isSessionPersistent() const
{
    return isInstalled();
}

bool PrintClientPreferences::loadSession()
{
    if (!QFileInfo(sessionFolder()).isDir())
        return false;
    QFile file(sessionFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray content = file.read(MaximumSessionFileSize + 1);
    if (file.error() != QFileDevice::NoError || content.size() > MaximumSessionFileSize)
        return false;

    QDataStream in(content);
    in.setVersion(SessionStreamVersion);
    QString encoded;
    in >> encoded;
    // A truncated or damaged file must not turn into an empty staff password.
    if (in.status() != QDataStream::Ok)
        return false;
    m_staffPassword = UtilsLib::hexDecode(encoded);
    return true;
}

QString PrintClientPreferences::sessionFolder()
{
    return QDir::homePath() + QLatin1String("/.ondTpc");
}

QString PrintClientPreferences::sessionFilePath()
{
    return sessionFolder() + QLatin1String("/session.dat");
}

QString PrintClientPreferences::staffPassword() const
{
    return m_staffPassword;
}

void PrintClientPreferences::setStaffPassword(const QString &password)
{
    m_staffPassword = password;
}

bool PrintClientPreferences::tavrinIntegration() const
{
    return m_tavrinIntegration;
}

void PrintClientPreferences::setTavrinIntegration(bool enabled)
{
    m_tavrinIntegration = enabled;
}

int PrintClientPreferences::maxSessionPages() const
{
    return m_maxSessionPages;
}

void PrintClientPreferences::setMaxSessionPages(int pages)
{
    m_maxSessionPages = pages < 0 ? 0 : pages;
}

bool PrintClientPreferences::staffApprovesOverLimit() const
{
    return m_staffApprovesOverLimit;
}

void PrintClientPreferences::setStaffApprovesOverLimit(bool approves)
{
    m_staffApprovesOverLimit = approves;
}

bool PrintClientPreferences::useSessionCredentials() const
{
    return m_useSessionCredentials;
}

void PrintClientPreferences::setUseSessionCredentials(bool use)
{
    m_useSessionCredentials = use;
}

bool PrintClientPreferences::maskUserId() const
{
    return m_maskUserId;
}

void PrintClientPreferences::setMaskUserId(bool mask)
{
    m_maskUserId = mask;
}

bool PrintClientPreferences::useSessionPcDescription() const
{
    return m_useSessionPcDescription;
}

void PrintClientPreferences::setUseSessionPcDescription(bool use)
{
    m_useSessionPcDescription = use;
}

QString PrintClientPreferences::userIdFile() const
{
    return m_userIdFile;
}

void PrintClientPreferences::setUserIdFile(const QString &path)
{
    m_userIdFile = path;
}

bool PrintClientPreferences::useSessionLanguage() const
{
    return m_useSessionLanguage;
}

void PrintClientPreferences::setUseSessionLanguage(bool use)
{
    m_useSessionLanguage = use;
}

int PrintClientPreferences::numberN() const
{
    return m_numberN;
}

void PrintClientPreferences::setNumberN(int number)
{
    m_numberN = number;
}
