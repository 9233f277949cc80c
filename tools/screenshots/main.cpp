// Renders every dialog of the client with sample texts to PNG files, for review.
// Usage: ondtpc-screenshots DIR (run under QT_QPA_PLATFORM=offscreen; scripts/screenshots
// does both).
#include "platform/BuildVersionInfo.h"
#include "ui/AboutInfoDialog.h"
#include "ui/DialogSettings.h"
#include "ui/KeyPad.h"
#include "ui/MessageDialog.h"
#include "ui/OpcPasswordDialog.h"
#include "ui/PrintClientDialog.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QTextStream>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

constexpr int TitleHeight = 26;

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

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: ondtpc-screenshots DIR\n";
        return 2;
    }
    g_folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(g_folder)) {
        QTextStream(stderr) << "cannot create " << g_folder << "\n";
        return 1;
    }

    const BuildVersionInfo version;
    DialogSettings &settings = DialogSettings::shared();
    settings.setVersionInfo(&version);
    settings.setLanguageList(
        {{QStringLiteral("English"), QStringLiteral("Close Language Options")},
         {QStringLiteral("Français"), QStringLiteral("Fermer les options de langue")},
         {QStringLiteral("Español"), QStringLiteral("Cerrar opciones de idioma")}});
    settings.setLanguageMap({{QStringLiteral("EN_US"), QStringLiteral("English")},
                             {QStringLiteral("FR_CA"), QStringLiteral("Français")},
                             {QStringLiteral("ES_US"), QStringLiteral("Español")}});

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

    QTextStream out(stdout);
    for (const QString &path : std::as_const(g_written))
        out << path << "\n";
    return g_written.size() == 15 ? 0 : 1;
}
