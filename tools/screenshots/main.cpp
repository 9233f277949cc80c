// Renders every dialog of the client with sample texts to PNG files, for review, once in each
// language the client ships: DIR/<code>/<dialog>.png.
// Usage: ondtpc-screenshots DIR (run under QT_QPA_PLATFORM=offscreen; scripts/screenshots
// does both).
#include "i18n/LanguageTags.h"
#include "jobflow/AccountInfoDialogController.h"
#include "jobflow/AccountInfoDialogView.h"
#include "jobflow/AutoReleaseMsg.h"
#include "jobflow/AutoReleaseMsgHandler.h"
#include "jobflow/ClientProcessingDialog.h"
#include "jobflow/GuestJobReq.h"
#include "jobflow/GuestJobReqHandler.h"
#include "jobflow/JobConfirmationDialogController.h"
#include "jobflow/JobConfirmationDialogView.h"
#include "jobflow/JobDeletedMsg.h"
#include "jobflow/JobDeletedMsgHandler.h"
#include "jobflow/JobReceivedMsg.h"
#include "jobflow/OpcPageCountValidator.h"
#include "jobflow/PageCountDialogView.h"
#include "jobflow/UserCredentials.h"
#include "jobflow/UserIdDialogController.h"
#include "jobflow/UserIdDialogView.h"
#include "jobflow/UserSession.h"
#include "platform/BuildVersionInfo.h"
#include "settings/PrintClientPreferences.h"
#include "settings/Registry.h"
#include "shell/OpcMainWindow.h"
#include "shell/PrintClientUpdateMsg.h"
#include "shell/PrintClientUpdateMsgHandler.h"
#include "shell/TpcTrayIcon.h"
#include "ui/AboutInfoDialog.h"
#include "ui/DialogSettings.h"
#include "ui/KeyPad.h"
#include "ui/MessageDialog.h"
#include "ui/OpcPasswordDialog.h"
#include "ui/PrintClientDialog.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTextStream>
#include <QTimer>
#include <QTranslator>

#include <functional>
#include <iterator>
#include <memory>

namespace {

constexpr int TitleHeight = 26;
constexpr int DialogCount = 38;

// The languages of languages/<code>.qm beside the program, in the order of the sample texts'
// columns below.
const char *const Languages[] = {"en_us", "fr_ca", "es_us"};

// The sample texts reach the dialogs as message keys, which the print service's own translation
// files translate in the client; these stand in for them so that every picture is in one
// language. The texts of the client itself come from its .qm files.
struct SampleText
{
    const char *context;
    const char *texts[3];
};

const SampleText SampleTexts[] = {
    {"CommonDialogMessages",
     {"Print Job Sent", "Travail d'impression envoyé", "Trabajo de impresión enviado"}},
    {"CommonDialogMessages",
     {"Your print job \"Thesis chapter 3.pdf\" (24 pages) was sent",
      "Votre travail d'impression « Thesis chapter 3.pdf » (24 pages) a été envoyé",
      "Su trabajo de impresión \"Thesis chapter 3.pdf\" (24 páginas) se envió"}},
    {"CommonDialogMessages",
     {"to the Print Service.", "au service d'impression.", "al servicio de impresión."}},
    {"CommonDialogMessages",
     {"Collect it at any release station before 18:30 today.",
      "Récupérez-le à n'importe quelle borne d'impression avant 18 h 30 aujourd'hui.",
      "Recójalo en cualquier estación de impresión antes de las 18:30 de hoy."}},
    {"CommonDialogMessages",
     {"Confirm Print Job", "Confirmer le travail d'impression", "Confirmar trabajo de impresión"}},
    {"CommonDialogMessages",
     {"This job costs $2.40 and will be charged to your account.",
      "Ce travail coûte 2,40 $ et sera porté à votre compte.",
      "Este trabajo cuesta $2.40 y se cargará a su cuenta."}},
    {"CommonDialogMessages",
     {"Do you want to print it?", "Voulez-vous l'imprimer?", "¿Desea imprimirlo?"}},
    {"CommonDialogMessages",
     {"Page Limit Reached", "Limite de pages atteinte", "Límite de páginas alcanzado"}},
    {"CommonDialogMessages",
     {"You have printed 100 pages in this session, the limit set by your",
      "Vous avez imprimé 100 pages pendant cette session, soit la limite fixée par votre",
      "Ha impreso 100 páginas en esta sesión, el límite establecido por su"}},
    {"CommonDialogMessages", {"library.", "bibliothèque.", "biblioteca."}},
    {"CommonDialogMessages",
     {"A staff member can approve this job, or you can print it later.",
      "Un membre du personnel peut approuver ce travail, ou vous pouvez l'imprimer plus tard.",
      "Un miembro del personal puede aprobar este trabajo, o puede imprimirlo más tarde."}},
    {"CommonDialogMessages",
     {"Jobs not printed are deleted after 24 hours.",
      "Les travaux non imprimés sont supprimés après 24 heures.",
      "Los trabajos no impresos se eliminan después de 24 horas."}},
    {"CommonDialogMessages", {"Print Job", "Travail d'impression", "Trabajo de impresión"}},
    {"CommonDialogMessages",
     {"Your job is waiting for release.", "Votre travail attend d'être libéré.",
      "Su trabajo está en espera de liberación."}},
    {"CommonDialogMessages",
     {"Fatal Application Error #911 Generated.\nPlease report this error to Brindlecore "
      "Technical Support.",
      "Erreur fatale de l'application nº 911.\nVeuillez signaler cette erreur au soutien "
      "technique de Brindlecore.",
      "Error fatal de la aplicación n.º 911.\nInforme este error al soporte técnico de "
      "Brindlecore."}},
    {"CommonDialogMessages", {"Print Service", "Service d'impression", "Servicio de impresión"}},
    {"CommonDialogMessages",
     {"The Print Service cannot be reached. The client keeps trying to connect.",
      "Le service d'impression est injoignable. Le client continue d'essayer de s'y "
      "connecter.",
      "No se puede contactar el servicio de impresión. El cliente sigue intentando "
      "conectarse."}},
    {"CommonDialogMessages", {"Account", "Compte", "Cuenta"}},
    {"CommonDialogMessages",
     {"Your balance is $12.60.", "Votre solde est de 12,60 $.", "Su saldo es de $12.60."}},
    {"CommonDialogMessages", {"Guest Job", "Travail d'invité", "Trabajo de invitado"}},
    {"CommonDialogMessages",
     {"Your user ID was not found. Do you want to send this job as a guest job?",
      "Votre identifiant d'utilisateur est introuvable. Voulez-vous envoyer ce travail en "
      "tant qu'invité?",
      "No se encontró su ID de usuario. ¿Desea enviar este trabajo como trabajo de "
      "invitado?"}},
    {"MessageDialog", {"OK", "OK", "Aceptar"}},
    {"MessageDialog", {"Print", "Imprimer", "Imprimir"}},
    {"MessageDialog", {"Cancel", "Annuler", "Cancelar"}},
    {"MessageDialog", {"Staff", "Personnel", "Personal"}},
    {"MessageDialog", {"Later", "Plus tard", "Más tarde"}},
    {"MessageDialog", {"Yes", "Oui", "Sí"}},
    {"MessageDialog", {"No", "Non", "No"}},
    {"PasswordDialog", {"Staff Password", "Mot de passe du personnel", "Contraseña del personal"}},
    {"PasswordDialog", {"Staff password", "Mot de passe du personnel", "Contraseña del personal"}},
    {"PasswordDialog",
     {"Please enter the staff password to stop the client.",
      "Veuillez entrer le mot de passe du personnel pour arrêter le client.",
      "Ingrese la contraseña del personal para detener el cliente."}},
    {"PasswordDialog",
     {"This job is over the page limit and needs a staff member's approval.",
      "Ce travail dépasse la limite de pages et doit être approuvé par un membre du personnel.",
      "Este trabajo supera el límite de páginas y requiere la aprobación de un miembro del "
      "personal."}},
};

class SampleTranslator : public QTranslator
{
public:
    explicit SampleTranslator(int language)
        : m_language(language)
    {}
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        for (const SampleText &sample : SampleTexts) {
            if (qstrcmp(sample.context, context) == 0 && qstrcmp(sample.texts[0], sourceText) == 0)
                return QString::fromUtf8(sample.texts[m_language]);
        }
        return QString();
    }

private:
    int m_language;
};

QString g_folder;
QStringList g_written;

// The dialog as a window manager would frame it: a title bar with the caption above the
// client area, so captions can be reviewed too.
QImage framed(QWidget *window)
{
    const QImage content = window->grab().toImage();
    const bool titled = window->windowFlags() & Qt::WindowTitleHint;
    const int top = titled ? TitleHeight : 1;
    QImage image(content.width() + 2, content.height() + top + 1, QImage::Format_RGB32);
    image.fill(QColor(0x3c, 0x46, 0x50));
    QPainter painter(&image);
    if (titled) {
        QFont font = QApplication::font();
        font.setPointSize(10);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QRect(10, 0, image.width() - 20, TitleHeight),
                         Qt::AlignVCenter | Qt::AlignLeft, window->windowTitle());
    }
    painter.drawImage(1, top, content);
    return image;
}

void save(const QString &name, const QImage &image)
{
    const QString path = QDir(g_folder).filePath(name + QStringLiteral(".png"));
    if (image.save(path))
        g_written.append(path);
    else
        QTextStream(stderr) << "could not write " << path << "\n";
}

// The whole screen: desktop grey with each window at its place, as a user would see it.
QImage screenWith(const QList<QWidget *> &windows)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QImage image(screen.size(), QImage::Format_RGB32);
    image.fill(QColor(0x9a, 0xa5, 0xb1));
    QPainter painter(&image);
    for (QWidget *window : windows) {
        const QPoint at = window->geometry().topLeft() - screen.topLeft();
        const int titleOffset = (window->windowFlags() & Qt::WindowTitleHint) ? TitleHeight : 1;
        painter.drawImage(at - QPoint(1, titleOffset), framed(window));
    }
    return image;
}

void shoot(const QString &name, QWidget *dialog)
{
    dialog->show();
    QCoreApplication::processEvents();
    save(name, framed(dialog));
    dialog->hide();
}

// Grabs the modal dialog that the call opens, then closes it.
void shootModal(const QString &name, const std::function<void()> &run)
{
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll.stop();
        save(name, framed(dialog));
        dialog->reject();
    });
    poll.start();
    run();
}

PasswordDlgInfo staffPasswordInfo()
{
    // What the client asks before it stops on an installed workstation.
    PasswordDlgInfo info(QStringLiteral("Staff Password"), QStringLiteral("OK"),
                         QStringLiteral("Cancel"), QString(), QStringLiteral("Staff password"));
    info.setHeadingKey(QStringLiteral("Please enter the staff password to stop the client."));
    return info;
}

void renderDialogs()
{
    {
        MessageDialog dialog(
            QStringLiteral("Print Job Sent"),
            {QStringLiteral("Your print job \"Thesis chapter 3.pdf\" (24 pages) was sent"),
             QStringLiteral("to the Print Service.")},
            {QStringLiteral("Collect it at any release station before 18:30 today.")},
            QMessageBox::Information, nullptr, 0, 1, QStringLiteral("OK"));
        shoot(QStringLiteral("message-information-one-button"), &dialog);
    }
    {
        MessageDialog dialog(
            QStringLiteral("Confirm Print Job"),
            {QStringLiteral("This job costs $2.40 and will be charged to your account.")},
            {QStringLiteral("Do you want to print it?")}, QMessageBox::Question, nullptr, 0, 2,
            QStringLiteral("Print"), QString(), QStringLiteral("Cancel"));
        shoot(QStringLiteral("message-question-two-buttons"), &dialog);
    }
    {
        MessageDialog dialog(
            QStringLiteral("Page Limit Reached"),
            {QStringLiteral("You have printed 100 pages in this session, the limit set by your"),
             QStringLiteral("library.")},
            {QStringLiteral("A staff member can approve this job, or you can print it later.")},
            QMessageBox::Warning, nullptr, 0, 3, QStringLiteral("Staff"), QString(),
            QStringLiteral("Later"), QString(), QStringLiteral("Cancel"));
        dialog.setParagraph3({QStringLiteral("Jobs not printed are deleted after 24 hours.")});
        shoot(QStringLiteral("message-warning-three-buttons"), &dialog);
    }
    {
        MessageDialog dialog(QStringLiteral("Print Job"),
                             {QStringLiteral("Your job is waiting for release.")}, {},
                             QMessageBox::Information, nullptr, 0, 1, QStringLiteral("OK"));
        dialog.show();
        dialog.toggleExtension();
        QCoreApplication::processEvents();
        save(QStringLiteral("message-with-language-list"), framed(&dialog));
    }
    {
        PrintClientDialog messages;
        shootModal(QStringLiteral("messagebox-critical"), [&] {
            messages.critical(QStringLiteral("Brindlecore® Ondrel™ Print Client"),
                              QStringLiteral("Fatal Application Error #911 Generated.\nPlease "
                                             "report this error to Brindlecore Technical "
                                             "Support."));
        });
        shootModal(QStringLiteral("messagebox-warning"), [&] {
            messages.warning(QStringLiteral("Print Service"),
                             QStringLiteral("The Print Service cannot be reached. The client "
                                            "keeps trying to connect."));
        });
        shootModal(QStringLiteral("messagebox-information"), [&] {
            messages.information(QStringLiteral("Account"),
                                 QStringLiteral("Your balance is $12.60."));
        });
        shootModal(QStringLiteral("messagebox-question"), [&] {
            messages.question(QStringLiteral("Guest Job"),
                              QStringLiteral("Your user ID was not found. Do you want to send "
                                             "this job as a guest job?"));
        });
    }
    {
        OpcPasswordDialog dialog(staffPasswordInfo());
        shootModal(QStringLiteral("password"), [&] { dialog.run(); });
    }
    {
        PasswordDlgInfo info = staffPasswordInfo();
        info.setHeadingKey(QStringLiteral("This job is over the page limit and needs a staff "
                                          "member's approval."));
        info.setShowStaffId(true);
        info.setShowReason(true);
        OpcPasswordDialog dialog(info);
        dialog.show();
        dialog.findChild<QLineEdit *>(QStringLiteral("passwordDlg_staffIdEntry"))
            ->setText(QStringLiteral("LIB042"));
        dialog.findChild<QLineEdit *>(QStringLiteral("passwordDlg_passwordEntry"))
            ->setText(QStringLiteral("secret"));
        QCoreApplication::processEvents();
        save(QStringLiteral("password-staff-and-reason"), framed(&dialog));
    }
    for (const int type : {KeyPad::FullKeyboard, 2}) {
        PasswordDlgInfo info = staffPasswordInfo();
        info.setKeypadType(type);
        info.setShowStaffId(true);
        OpcPasswordDialog dialog(info);
        dialog.setWebKeysVisible(type == KeyPad::FullKeyboard);
        dialog.show();
        QCoreApplication::processEvents();
        const QString name = type == KeyPad::FullKeyboard ? QStringLiteral("keypad-full-keyboard")
                                                          : QStringLiteral("keypad-numeric-pad");
        save(name, screenWith({&dialog, dialog.keypad()}));
        save(name + QStringLiteral("-keys"), framed(dialog.keypad()));
        dialog.hide();
    }
    {
        AboutInfoDialog about;
        shoot(QStringLiteral("about"), &about);
    }
}

// The job flow's windows as its handlers show them.
void renderJobFlow()
{
    using namespace Brindlecore::Core;
    {
        ClientProcessingDialog progress;
        progress.setText(QString::fromLatin1(ClientProcessingDialog::ProcessingText));
        shoot(QStringLiteral("progress-processing-job"), &progress);
    }
    shootModal(QStringLiteral("guest-job-question"), [] {
        GuestJobReq(std::make_unique<GuestJobReqHandler>(nullptr, nullptr, nullptr, nullptr),
                    nullptr)
            .handle(QString(), QStringLiteral("52|20250201090503"));
    });
    shootModal(QStringLiteral("job-deleted"), [] {
        JobDeletedMsg(std::make_unique<JobDeletedMsgHandler>(nullptr, nullptr), nullptr)
            .handle(QString(), QStringLiteral("51|20250201090503"));
    });
    // The identification dialog as each request mode shows it, the user ID typed.
    struct Identification
    {
        const char *name;
        bool pinRequired;
        bool guestsAllowed;
        bool masked;
    };
    for (const Identification &shape : {Identification{"user-id", false, false, false},
                                        Identification{"user-id-pin-guests", true, true, false},
                                        Identification{"user-id-masked-pin", true, false, true}}) {
        PrintClientPreferences preferences(nullptr);
        preferences.setMaskUserId(shape.masked);
        UserCredentials credentials;
        credentials.setPinRequired(shape.pinRequired);
        credentials.setGuestsAllowed(shape.guestsAllowed);
        UserIdDialogController controller(&credentials, &preferences, nullptr);
        UserIdDialogView view(nullptr, &controller);
        view.setUserId(QStringLiteral("JSMITH42"));
        view.setPin(QStringLiteral("2468"));
        shoot(QString::fromLatin1(shape.name), &view);
    }
    // The cost dialog for the kinds of job the Print Service announces.
    struct Job
    {
        const char *name;
        const char *fields;
        bool accounts;
    };
    for (const Job &job : {Job{"cost-free", "|A3|G1", false},
                           Job{"cost-duplex-free-sheet", "|A8|H4|C1|B$0.20|E$0.60", false},
                           Job{"cost-paid", "|A12|B$0.10|C0|E$1.20", false},
                           Job{"cost-paid-with-accounts", "|A12|B$0.10|C2|E$1.00", true}}) {
        UserSession session;
        if (job.accounts)
            session.setMaxDepositBalance(QStringLiteral("$50.00"));
        JobReceivedMsg model;
        model.parse(QStringLiteral("4|20250201090503") + QLatin1String(job.fields));
        PageCountDialogView view(nullptr, {&session, 0}, &model);
        shoot(QString::fromLatin1(job.name), &view);
    }
    {
        PrintClientDialog messages;
        shootModal(QStringLiteral("page-limit-warning"), [&] {
            messages.warning(QString::fromUtf8(OpcPageCountValidator::WarningTitle),
                             QString::fromUtf8(OpcPageCountValidator::ApprovalText));
        });
        shootModal(QStringLiteral("page-limit-error"), [&] {
            messages.critical(QString::fromUtf8(OpcPageCountValidator::ErrorTitle),
                              QString::fromUtf8(OpcPageCountValidator::RefusedText));
        });
    }
    {
        JobConfirmationDialogView view;
        JobConfirmationDialogController controller(
            &view, {42,
                    QStringLiteral("2025-02-02T18:30:00"),
                    {{QStringLiteral("Front Desk"), QStringLiteral("Main floor")},
                     {QStringLiteral("Lab 2"), QStringLiteral("Room 204")},
                     {QStringLiteral("Library"), QStringLiteral("Level 3")}}});
        view.setController(&controller);
        shoot(QStringLiteral("print-complete"), &view);
    }
    {
        // The cost dialog with its account information open above it.
        UserSession session;
        session.setMaxDepositBalance(QStringLiteral("$50.00"));
        session.setDepositBalance(QStringLiteral("$12.60"));
        JobReceivedMsg model;
        model.parse(QStringLiteral("4|20250201090503|A12|B$0.10|E$1.20"));
        PageCountDialogView view(nullptr, {&session, 0}, &model);
        view.show();
        shootModal(QStringLiteral("cost-with-account-info"), [&] { view.showAccountInfo(); });
        view.hide();
    }
    // What the Print Service sends is shown as it comes, untranslated.
    const auto release = [](const QString &fields) {
        AutoReleaseMsg(std::make_unique<AutoReleaseMsgHandler>(nullptr, nullptr), nullptr)
            .handle(QString(), QStringLiteral("62|20250201090503") + fields);
    };
    shootModal(QStringLiteral("release-done"), [&] {
        release(QStringLiteral("|A1|B0|CColour Laser|DMain Library, 2nd floor|E|FDA|G$0.20"
                               "|H$0.40|I"));
    });
    shootModal(QStringLiteral("release-failed-with-refund"), [&] {
        release(QStringLiteral("|A0|B0|C|D|EThe printer is out of paper.|F|G|H|I|ZR17|Y250"));
    });
    // Every account block, then the same accounts with deposit and credit expired.
    for (const bool expired : {false, true}) {
        UserSession session;
        session.setDepositBalance(QStringLiteral("<html>&#36;</html>12.60"));
        session.setMaxDepositBalance(QStringLiteral("$50.00"));
        session.setCreditBalance(QStringLiteral("$3.00"));
        session.setMaxCreditBalance(QStringLiteral("$20.00"));
        session.setAllocationMarker(QStringLiteral("1"));
        session.setAllocationBalance(QStringLiteral("$4.00"));
        session.setLibraryDepositBalance(QStringLiteral("$1.50"));
        session.setLibraryDepositShown(true);
        session.setDepositExpired(expired);
        session.setCreditExpired(expired);
        AccountInfoDialogController controller(&session);
        AccountInfoDialogView view(nullptr, &controller);
        shoot(expired ? QStringLiteral("account-info-expired") : QStringLiteral("account-info-all"),
              &view);
    }
}

// The main window and the tray icon's menu, as a user who is not at a kiosk sees them.
void renderShell()
{
    UtilsLib::Registry registry;
    OpcMainWindow window(false);
    shoot(QStringLiteral("main-window"), &window);
    auto *tray = new TpcTrayIcon(&window, QStringLiteral("Ondrel Laptop Print Client"), &registry);
    QMenu *menu = tray->popup();
    menu->adjustSize();
    shoot(QStringLiteral("tray-menu"), menu);
}

// The notices of an out-of-date client as its handler shows them; the question is declined.
void renderUpdateNotices()
{
    struct Preferences : PrintClientPreferences
    {
        explicit Preferences(bool installed)
            : PrintClientPreferences(nullptr)
            , installed(installed)
        {}
        bool isSessionPersistent() const override { return installed; }
        bool installed;
    };
    const BuildVersionInfo version;
    const auto notice = [&](const char *name, bool installed, const char *fields) {
        Preferences preferences(installed);
        auto handler = std::make_unique<PrintClientUpdateMsgHandler>(&preferences, nullptr, nullptr,
                                                                     nullptr, &version);
        handler->setQuitWhenNotInstalled(false);
        Brindlecore::Core::PrintClientUpdateMsg message(std::move(handler), nullptr);
        shootModal(QString::fromLatin1(name), [&] {
            message.handle(QString(), QStringLiteral("64|20250201090503") + QLatin1String(fields));
        });
    };
    notice("update-not-installed", false, "|A99.0");
    notice("update-unable-to-print", true, "|A99.0");
    notice("update-download-question", true, "|A99.0|Bhttps://print.example/client");
}

QString languageFile(const char *code)
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/languages/") +
           QLatin1String(code) + QStringLiteral(".qm");
}

// Each language's file names the language in its own words, as the client's selector shows it.
bool listLanguages(DialogSettings &settings)
{
    LanguageList list;
    LanguageMap map;
    for (const char *code : Languages) {
        QTranslator file;
        if (!file.load(languageFile(code))) {
            QTextStream(stderr) << "cannot load " << languageFile(code) << "\n";
            return false;
        }
        const QString name = file.translate(LanguageTags::Context, LanguageTags::LanguageName);
        list.append(
            {name, file.translate(LanguageTags::Context, LanguageTags::CloseLanguageOptions)});
        map.insert(QString::fromLatin1(code).toUpper(), name);
    }
    settings.setLanguageList(list);
    settings.setLanguageMap(map);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: ondtpc-screenshots DIR\n";
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);

    const BuildVersionInfo version;
    DialogSettings &settings = DialogSettings::shared();
    settings.setVersionInfo(&version);
    if (!listLanguages(settings))
        return 1;

    for (int language = 0; language < int(std::size(Languages)); ++language) {
        g_folder = QDir(folder).filePath(QLatin1String(Languages[language]));
        if (!QDir().mkpath(g_folder)) {
            QTextStream(stderr) << "cannot create " << g_folder << "\n";
            return 1;
        }
        // Installed before the dialogs are built, as the client does when it starts.
        QTranslator file;
        SampleTranslator samples(language);
        if (!file.load(languageFile(Languages[language])))
            return 1;
        QCoreApplication::installTranslator(&file);
        QCoreApplication::installTranslator(&samples);
        // The client's language change sets the locale of the amounts it writes.
        QLocale::setDefault(QLocale(QString::fromLatin1(Languages[language])));
        renderDialogs();
        renderJobFlow();
        renderShell();
        renderUpdateNotices();
        QCoreApplication::removeTranslator(&samples);
        QCoreApplication::removeTranslator(&file);
    }

    QTextStream out(stdout);
    for (const QString &path : std::as_const(g_written))
        out << path << "\n";
    return g_written.size() == int(std::size(Languages)) * DialogCount ? 0 : 1;
}
