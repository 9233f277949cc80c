#include "settings/TvrSessionRegistry.h"

#include "core/BcHttpInterface.h"
#include "core/LogSource.h"
#include "core/SystemNetInfo.h"
#include "settings/HexCodec.h"
#include "settings/RegistryInterface.h"

#include <QBuffer>
#include <QUrl>

#include <algorithm>
#include <exception>
#include <limits>

using UtilsLib::LogVerbose;
using UtilsLib::TraceScope;

namespace {

const UtilsLib::LogSource Log(QStringLiteral("TvrSessionRegistry"));

// The web service runs on this machine. The literal address needs no name lookup, and
// "localhost" may resolve to ::1 first, where the service need not listen.
const QString LoopbackHost = QStringLiteral("127.0.0.1");

const QString PatronIdKey = QStringLiteral("patron_id");
const QString PatronPinKey = QStringLiteral("patron_pin");

// A version text is short; a longer value is not one.
constexpr int DisplayVersionMaxBytes = 256;

// The mask the protocol library puts on secrets in the log; this library may not include that
// one, so the same text is repeated here.
const QString MaskedPin = QStringLiteral("****");

QString displayVersion(UtilsLib::RegistryInterface &registry, const QString &key)
{
    return registry.readValue(key, QStringLiteral("DisplayVersion"), DisplayVersionMaxBytes)
        .toString();
}

} // namespace

TvrSessionRegistry::TvrSessionRegistry(BcHttpInterface *http, UtilsLib::Observer *observer,
                                       int port,
                                       std::unique_ptr<PcInfoProviderInterface> workstation,
                                       UtilsLib::RegistryInterface *machineRegistry,
                                       std::unique_ptr<QSettings> store)
    : m_store(std::move(store))
    , m_http(http)
    , m_port(port)
{
    addObserver(observer);
    const TraceScope trace = Log.trace(this, "TvrSessionRegistry");
    if (!m_store) {
        m_store = std::make_unique<QSettings>(QSettings::UserScope, QStringLiteral("Tavrin"),
                                              QStringLiteral("Interface Software"));
        // Only the booking product's own per-user values count, not system-wide defaults.
        m_store->setFallbacksEnabled(false);
    }
    if (m_http)
        m_http->setTimeout(WebServiceTimeoutMs);
    if (machineRegistry && machineRegistry->setRoot(QStringLiteral("HKEY_LOCAL_MACHINE"))) {
        QString version = displayVersion(*machineRegistry, UninstallKey);
        if (version.isEmpty())
            version = displayVersion(*machineRegistry, Wow64UninstallKey);
        m_legacyMode = !version.startsWith(QLatin1String("4."));
    }
    // Only the web service is asked about the machine; a remote session's name may cost a
    // name lookup, which older versions need not wait for.
    if (m_legacyMode)
        return;
    try {
        m_workstation = std::make_unique<SystemNetInfo>(std::move(workstation), nullptr);
    } catch (const std::exception &error) {
        Log(this, "TvrSessionRegistry", UtilsLib::LogWarning,
            QStringLiteral("Could not read the machine name (%1); the booking session is "
                           "asked for without it")
                .arg(QString::fromLocal8Bit(error.what())));
    }
}

TvrSessionRegistry::~TvrSessionRegistry() = default;

int TvrSessionRegistry::pagesPrintedThisSession()
{
    return setting(QStringLiteral("Pages Printed This Session")).toInt();
}

bool TvrSessionRegistry::isInSession()
{
    if (!userInputFromTavrinWebService(PatronIdKey, true).isEmpty())
        return true;
    // With version 4 installed its web service alone tells of a session; a leftover value of
    // an older version does not.
    return setting(QStringLiteral("In Session")).toInt() != 0 && m_legacyMode;
}

QString TvrSessionRegistry::currentUser()
{
    const QString user = UtilsLib::hexDecode(userInputFromTavrinWebService(PatronIdKey, true));
    return user.isEmpty() ? setting(QStringLiteral("Current User")).toString() : user;
}

QString TvrSessionRegistry::currentPin()
{
    QString pin = UtilsLib::hexDecode(userInputFromTavrinWebService(PatronPinKey, true));
    if (pin.isEmpty())
        pin = setting(QStringLiteral("Access Key")).toString();
    return encryptPin() ? UtilsLib::hexDecode(pin) : pin;
}

QString TvrSessionRegistry::computerDescription(bool use)
{
    if (!use)
        return QString();
    const QString description =
        userInputFromTavrinWebService(QStringLiteral("computer_description"), true);
    return description.isEmpty() ? setting(QStringLiteral("PC Description")).toString()
                                 : description;
}

void TvrSessionRegistry::addPagesPrinted(int pages)
{
    // The count comes from the wire: a negative one must not lower the pages printed, and a
    // sum beyond the int range must not wrap round.
    const qint64 sum = qint64(std::max(pagesPrintedThisSession(), 0)) + std::max(pages, 0);
    m_store->setValue(QStringLiteral("Pages Printed This Session"),
                      int(std::min<qint64>(sum, std::numeric_limits<int>::max())));
    // Written through at once: the booking product reads the count from the file.
    m_store->sync();
}

QString TvrSessionRegistry::getLanguage()
{
    const TraceScope trace = Log.trace(this, "getLanguage");
    QString language = userInputFromTavrinWebService(QStringLiteral("current_language_code"), true);
    if (language.isEmpty())
        language = setting(QStringLiteral("Language")).toString();
    if (language.startsWith(QLatin1String("es")))
        return QStringLiteral("es_us");
    if (language.startsWith(QLatin1String("en")))
        return QStringLiteral("en_us");
    if (language.startsWith(QLatin1String("fr")))
        return QStringLiteral("fr");
    return language;
}

bool TvrSessionRegistry::encryptPin()
{
    return setting(QStringLiteral("Encrypt PIN")).toBool();
}

QString TvrSessionRegistry::userInputFromTavrinWebService(const QString &key, bool retry)
{
    const char *const operation = "userInputFromTavrinWebService";
    const TraceScope trace = Log.trace(this, operation);
    if (m_legacyMode) {
        Log(this, operation, LogVerbose, QStringLiteral("skipping TVR4 integration"));
        return QString();
    }
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(LoopbackHost);
    url.setPort(m_port);
    url.setPath(QLatin1Char('/') + key);
    // Encoded in full, so that "+", "&" or "%" in a name arrive as they are, and set as one
    // encoded text, so that an empty name still gives "computer_name=".
    const QString machineName = m_workstation ? m_workstation->name() : QString();
    url.setQuery(QStringLiteral("computer_name=") +
                     QString::fromLatin1(QUrl::toPercentEncoding(machineName)),
                 QUrl::StrictMode);
    const QString address = url.toString(QUrl::FullyEncoded);
    Log(this, operation, LogVerbose, QStringLiteral("request string: %1").arg(address));

    QBuffer buffer;
    const bool succeeded = m_http && m_http->get(address, &buffer);
    // The PIN stays out of the log, also in the part of a body a failure may leave.
    const auto loggable = [&] {
        const bool secret = key == PatronPinKey && !buffer.data().isEmpty();
        return secret ? MaskedPin : QString::fromUtf8(buffer.data());
    };
    if (succeeded) {
        Log(this, operation, LogVerbose,
            [&] { return QStringLiteral("response string: %1").arg(loggable()); });
        return QString::fromUtf8(buffer.data());
    }
    if (!retry)
        return QString();
    Log(this, operation, LogVerbose,
        [&] { return QStringLiteral("request failed: response string: %1").arg(loggable()); });
    return userInputFromTavrinWebService(key, false);
}

QVariant TvrSessionRegistry::setting(const QString &name) const
{
    // The booking product changes its values while the client runs.
    m_store->sync();
    return m_store->value(name);
}
