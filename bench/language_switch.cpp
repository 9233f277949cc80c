// ondtpc-bench-language ADDRESS SWITCHES
//
// The time from a language chosen in an open "User Identification" dialog to its new texts on
// screen, alternating between French and Spanish so that every switch does real work. The
// client's changer reads the dialect's file and downloads the site's override file from the
// Print Service simulator's HTTP server (on ADDRESS, port 30044, in a thread of its own); the
// floor installs a bare QTranslator pair loaded from the same two files. Both end in the same
// retranslation of the dialog, with the hidden dialogs the client builds at start-up beside it.
// Prints "<client us> <floor us>": the mean time of one switch.
#include "SimulatorHttpServer.h"
#include "TrafficLog.h"

#include "core/BcHttpFactory.h"
#include "i18n/LanguageTags.h"
#include "i18n/PrintClientLanguageChanger.h"
#include "i18n/QmFile.h"
#include "jobflow/ClientProcessingDialog.h"
#include "jobflow/UserCredentials.h"
#include "jobflow/UserIdDialogController.h"
#include "jobflow/UserIdDialogView.h"
#include "settings/OpcPreferences.h"
#include "settings/PrintClientPreferences.h"
#include "ui/DialogSettings.h"
#include "ui/OpcPasswordDialog.h"
#include "ui/PasswordDlgInfo.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>
#include <QTranslator>

#include <algorithm>
#include <cstdio>
#include <future>
#include <memory>
#include <vector>

namespace {

constexpr quint16 LanguagePort = 30044;

struct Dialect
{
    QString code;      // as the language list hands it to the changer
    QString fileName;  // the shipped file
    QString siteTitle; // the override file's title of the dialog
    QString siteName;  // and its name of the language
};

const Dialect Dialects[2] = {
    {QStringLiteral("FR_CA"), QStringLiteral("fr_ca.qm"), QStringLiteral("Identification (site)"),
     QStringLiteral("Français (site)")},
    {QStringLiteral("ES_US"), QStringLiteral("es_us.qm"), QStringLiteral("Identificación (sitio)"),
     QStringLiteral("Español (sitio)")}};

// The simulator's HTTP server with its own event loop, as the Print Service is a process of
// its own: its work never runs inside the client's waits.
class HttpPeerThread
{
public:
    HttpPeerThread(const QString &root, const QString &address)
    {
        std::promise<QEventLoop *> started;
        m_thread.reset(QThread::create([&started, root, address] {
            QFile discard(QStringLiteral("/dev/null"));
            discard.open(QIODevice::WriteOnly);
            TrafficLog log(&discard);
            SimulatorHttpServer server(&log, root);
            QEventLoop loop;
            if (!server.listen(QHostAddress(address), LanguagePort)) {
                started.set_value(nullptr);
                return;
            }
            started.set_value(&loop);
            loop.exec();
        }));
        m_thread->start();
        m_loop = started.get_future().get();
    }
    ~HttpPeerThread()
    {
        if (m_loop)
            QMetaObject::invokeMethod(m_loop, &QEventLoop::quit, Qt::QueuedConnection);
        m_thread->wait();
    }
    bool listening() const { return m_loop != nullptr; }

private:
    std::unique_ptr<QThread> m_thread;
    QEventLoop *m_loop = nullptr;
};

// The floor: the same two files straight into a pair of translators, nothing checked, logged
// or downloaded.
class BareChanger : public LanguageChangerInterface
{
public:
    BareChanger(const QString &languages, const QString &overrides)
        : m_languages(languages)
        , m_overrides(overrides)
    {}

    int changeLanguage(const QString &languageCode) override
    {
        m_translators.clear();
        for (const QString &path :
             {m_languages + u'/' + languageCode.toLower() + QStringLiteral(".qm"),
              m_overrides + u'/' + languageCode + QStringLiteral("_OVERRIDE.qm")}) {
            auto translator = std::make_unique<QTranslator>();
            if (!translator->load(path))
                return 0;
            QCoreApplication::installTranslator(translator.get());
            m_translators.push_back(std::move(translator));
        }
        return 4;
    }

private:
    QString m_languages;
    QString m_overrides;
    std::vector<std::unique_ptr<QTranslator>> m_translators;
};

bool writeFiles(const QString &app, const QString &overrides)
{
    if (!QDir().mkpath(app + QStringLiteral("/languages")) || !QDir().mkpath(overrides))
        return false;
    for (const Dialect &dialect : Dialects) {
        const QString shipped = QStringLiteral(BENCH_LANGUAGES "/") + dialect.fileName;
        const QByteArray site = QmFile::write(
            {{"UserIdDialogView", "User Identification", {}, {dialect.siteTitle}},
             {LanguageTags::Context, LanguageTags::LanguageName, {}, {dialect.siteName}}});
        QFile out(overrides + u'/' + dialect.code + QStringLiteral("_OVERRIDE.qm"));
        if (!QFile::copy(shipped, app + QStringLiteral("/languages/") + dialect.fileName) ||
            !out.open(QIODevice::WriteOnly) || out.write(site) != site.size())
            return false;
    }
    return true;
}

// Mean microseconds of one switch from the click on a language to the dialog painted with its
// texts; -1 when a switch did not show the site's title. Two untimed switches come first.
double timeSwitches(LanguageChangerInterface &changer, UserIdDialogView &dialog, int switches)
{
    DialogSettings::shared().setLanguageChanger(&changer);
    // The changer ends with the caller's scope: the dialogs must not keep it.
    const auto forget = qScopeGuard([] { DialogSettings::shared().setLanguageChanger(nullptr); });
    qint64 totalNs = 0;
    for (int i = -2; i < switches; ++i) {
        const Dialect &dialect = Dialects[(i + 2) % 2];
        // The user opens the list, which is painted before the click on a language.
        dialog.toggleExtension();
        QCoreApplication::sendPostedEvents();
        QElapsedTimer timer;
        timer.start();
        dialog.languageChange(dialect.code);
        // What the event loop does next: the language change reaches every window, and the
        // open one is painted.
        QCoreApplication::sendPostedEvents();
        if (i >= 0)
            totalNs += timer.nsecsElapsed();
        if (dialog.windowTitle() != dialect.siteTitle)
            return -1;
    }
    return double(totalNs) / 1000 / switches;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int switches = arguments.value(2).toInt();
    QTemporaryDir folder;
    const QString app = folder.path() + QStringLiteral("/app");
    const QString overrides = folder.path() + QStringLiteral("/site/languages");
    if (arguments.size() != 3 || switches < 1) {
        std::fprintf(stderr, "usage: ondtpc-bench-language ADDRESS SWITCHES\n");
        return 2;
    }
    if (!folder.isValid() || !writeFiles(app, overrides)) {
        std::fprintf(stderr, "ondtpc-bench-language: cannot write the translation files\n");
        return 1;
    }
    const HttpPeerThread peer(folder.path() + QStringLiteral("/site"), arguments[1]);
    if (!peer.listening()) {
        std::fprintf(stderr, "ondtpc-bench-language: cannot listen on %s:%d\n",
                     qPrintable(arguments[1]), LanguagePort);
        return 1;
    }

    DialogSettings &settings = DialogSettings::shared();
    settings.setLanguageList(
        {{QStringLiteral("Français"), QString()}, {QStringLiteral("Español"), QString()}});
    settings.setLanguageMap({{Dialects[0].code, QStringLiteral("Français")},
                             {Dialects[1].code, QStringLiteral("Español")}});
    // Built and hidden at start-up in the client, so every language change reaches them too.
    const ClientProcessingDialog progressWindow;
    const OpcPasswordDialog passwordDialog(
        PasswordDlgInfo(QStringLiteral("Staff Password"), QStringLiteral("OK"),
                        QStringLiteral("Cancel"), QString(), QStringLiteral("Password")));
    UserCredentials credentials;
    PrintClientPreferences preferences(nullptr);
    UserIdDialogController controller(&credentials, &preferences, nullptr);
    UserIdDialogView dialog(nullptr, &controller);
    dialog.show();
    QCoreApplication::processEvents();

    const QString address =
        QStringLiteral("http://%1:%2/languages").arg(arguments[1]).arg(LanguagePort);
    const auto clientHalf = [&](int count) {
        OpcPreferences clientPreferences;
        PrintClientLanguageChanger client(&clientPreferences, BcHttpFactory().create(), address,
                                          nullptr, app);
        return timeSwitches(client, dialog, count);
    };
    const auto floorHalf = [&](int count) {
        BareChanger bare(app + QStringLiteral("/languages"), overrides);
        return timeSwitches(bare, dialog, count);
    };
    // Client, floor, floor, client: a busy stretch of the machine falls on both alike.
    const int half = std::max(1, switches / 2);
    const double clientFirst = clientHalf(half);
    const double floorFirst = floorHalf(half);
    const double floorSecond = floorHalf(half);
    const double clientSecond = clientHalf(half);
    if (std::min({clientFirst, floorFirst, floorSecond, clientSecond}) < 0) {
        std::fprintf(stderr, "ondtpc-bench-language: a switch did not show the site's texts\n");
        return 1;
    }
    const double clientUs = (clientFirst + clientSecond) / 2;
    const double floorUs = (floorFirst + floorSecond) / 2;
    std::printf("%.1f %.1f\n", clientUs, floorUs);
    return 0;
}
