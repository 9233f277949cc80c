#include "FakeBooking.h"
#include "FixedTimeSource.h"
#include "ModalDialogDriver.h"
#include "RecordingMessageBox.h"
#include "core/AppContext.h"
#include "jobflow/AuthenticateReq.h"
#include "jobflow/AuthenticateReqHandler.h"
#include "jobflow/AuthenticateResultMsg.h"
#include "jobflow/AuthenticateResultMsgHandler.h"
#include "jobflow/UserCredentials.h"
#include "jobflow/UserIdDialogController.h"
#include "jobflow/UserIdDialogView.h"
#include "jobflow/UserSession.h"
#include "settings/HexCodec.h"
#include "settings/PrintClientPreferences.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

#include <sys/stat.h>

using namespace Brindlecore::Core;

namespace {

const QString Stamp = QStringLiteral("20250201090503");

// Records whether the dialog was run instead of showing it.
class RecordingView : public UserIdDialogView
{
public:
    using UserIdDialogView::UserIdDialogView;
    int execDialog() override
    {
        shownWith = userId();
        ran = true;
        return 0;
    }
    bool ran = false;
    QString shownWith;
};

QLineEdit *field(QWidget *dialog, const char *name)
{
    return dialog->findChild<QLineEdit *>(name);
}

} // namespace

class TestIdentification : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        AppContext::instance().addEntry(
            std::make_unique<FixedTimeSource>(QDateTime(QDate(2025, 2, 1), QTime(9, 5, 3))));
        QVERIFY(m_dir.isValid());
        QFile good(m_dir.filePath("id.txt"));
        QVERIFY(good.open(QIODevice::WriteOnly) && good.write("12345\nsecond\n") > 0);
        QFile broken(m_dir.filePath("pipe-char.txt"));
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("12|45\n") > 0);
        QCOMPARE(mkfifo(QFile::encodeName(m_dir.filePath("fifo")).constData(), 0600), 0);
    }

    // The sources in their order; what cannot answer the request falls through to the dialog.
    void controllerSources_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("inSession");
        QTest::addColumn<QString>("sessionUser");
        QTest::addColumn<QString>("sessionPin");
        QTest::addColumn<bool>("pinRequired");
        QTest::addColumn<QString>("identity"); // "user/pin", or "dialog:<preset>"
        const auto row = [](const char *name, const char *file, bool inSession, const char *user,
                            const char *pin, bool pinRequired, const char *identity) {
            QTest::newRow(name) << QString(file) << inSession << QString(user) << QString(pin)
                                << pinRequired << QString(identity);
        };
        row("file first", "id.txt", true, "BOOKED", "77", false, "12345/77");
        row("file without the needed PIN", "id.txt", false, "", "", true, "dialog:12345");
        row("file breaking the wire", "pipe-char.txt", true, "BOOKED", "77", false, "BOOKED/77");
        row("a pipe is not waited for", "fifo", false, "", "", false, "dialog:");
        row("missing file, booking session", "none.txt", true, "BOOKED", "", false, "BOOKED/");
        row("session without a user", "", true, "", "", false, "dialog:");
        row("no session", "", false, "BOOKED", "", false, "dialog:");
    }

    void controllerSources()
    {
        QFETCH(QString, file);
        PrintClientPreferences preferences(nullptr);
        preferences.setUserIdFile(file.isEmpty() ? QString() : m_dir.filePath(file));
        preferences.setTavrinIntegration(true);
        preferences.setUseSessionCredentials(true);
        QFETCH(bool, inSession);
        QFETCH(QString, sessionUser);
        QFETCH(QString, sessionPin);
        QFETCH(bool, pinRequired);
        FakeBooking booking;
        booking.inSession = inSession;
        booking.user = sessionUser;
        booking.pin = sessionPin;
        UserCredentials credentials;
        credentials.setPinRequired(pinRequired);
        UserIdDialogController controller(&credentials, &preferences, &booking);
        // The view is made when the dialog is needed, as the handler makes it.
        const bool automatic = controller.run();
        QString identity = credentials.userId() + '/' + credentials.pin();
        if (!automatic) {
            RecordingView view(nullptr, &controller);
            QVERIFY(!controller.run() && view.ran);
            identity = "dialog:" + view.shownWith;
        }
        QTEST(identity, "identity");
    }

    void dialogFields()
    {
        PrintClientPreferences preferences(nullptr);
        preferences.setUserIdFilter(true, "-_");
        UserCredentials credentials;
        credentials.setPinRequired(true);
        credentials.setGuestsAllowed(true);
        UserIdDialogController controller(&credentials, &preferences, nullptr);
        UserIdDialogView view(nullptr, &controller);
        view.show();
        QLineEdit *userId = field(&view, "userIdDialog_UserIdEntry");
        QLineEdit *pin = field(&view, "userIdDialog_PinEntry");
        auto *ok = view.findChild<QPushButton *>("userIdDialog_OkBtn");
        QVERIFY(userId && pin && ok && view.findChild<QWidget *>("userIdDialog_GuestLabel"));
        QCOMPARE(view.windowTitle(), "User Identification");
        QCOMPARE(userId->accessibleName(), "User ID");

        QTest::keyClicks(userId, "ab1");
        userId->setCursorPosition(1);
        QTest::keyClicks(userId, "c");
        QCOMPARE(userId->text(), "ACB1");
        QCOMPARE(userId->cursorPosition(), 2);
        // The filter's exceptions pass, other punctuation does not.
        QTest::keyClicks(userId, "-._");
        QCOMPARE(userId->text(), "AC-_B1");
        // A paste goes round the key filter; what would break the reply is refused.
        QGuiApplication::clipboard()->setText("X|Y");
        userId->paste();
        QCOMPARE(userId->text(), "AC-_B1");
        QVERIFY(!ok->isEnabled());
        QTest::keyClicks(pin, "   ");
        QVERIFY(!ok->isEnabled());
        // Return with blanks only does not accept either.
        userId->setText("   ");
        pin->setText("12");
        QTest::keyClick(pin, Qt::Key_Return);
        QVERIFY(view.isVisible() && !ok->isEnabled());
        userId->setText("jo");
        QVERIFY(ok->isEnabled());
        QTest::keyClick(pin, Qt::Key_Enter);
        QCOMPARE(view.result(), 1);
        QCOMPARE(credentials.userId(), "JO");
        QCOMPARE(credentials.pin(), "12");
    }

    // The session's identity answers at once when it can; otherwise the dialog asks.
    void request_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("sessionPin");
        QTest::addColumn<QString>("typed"); // into the dialog's PIN field; empty: no dialog
        QTest::addColumn<QString>("reply");
        const auto row = [](const char *name, const char *mode, const char *pin, const char *typed,
                            const QString &reply) {
            QTest::newRow(name) << "54|" + Stamp + '|' + mode << QString(pin) << QString(typed)
                                << reply;
        };
        const QString identified = "55|" + Stamp + "|0|JO|JO|";
        row("user ID only", "1", "", "", identified);
        row("PIN kept", "7", "12", "", identified + UtilsLib::hexEncode("12"));
        row("PIN missing, dialog asks", "2", "", "34", identified + UtilsLib::hexEncode("34"));
        row("cancelled", "2", "", "escape", "7|" + Stamp);
    }

    void request()
    {
        QFETCH(QString, sessionPin);
        QFETCH(QString, typed);
        PrintClientPreferences preferences(nullptr);
        UserSession session;
        session.setUserId("JO");
        session.setPin(sessionPin);
        AuthenticateReq prototype(
            std::make_unique<AuthenticateReqHandler>(&preferences, &session, nullptr, nullptr),
            nullptr);
        QString preset;
        ModalDialogDriver driver([&](QWidget *dialog) {
            preset = field(dialog, "userIdDialog_UserIdEntry")->text();
            if (typed == "escape") {
                QTest::keyClick(dialog, Qt::Key_Escape);
                return;
            }
            QTest::keyClicks(field(dialog, "userIdDialog_PinEntry"), typed);
            QTest::keyClick(field(dialog, "userIdDialog_PinEntry"), Qt::Key_Return);
        });
        QFETCH(QString, text);
        QTEST(prototype.handle("ps", text), "reply");
        QCOMPARE(driver.ran(), !typed.isEmpty());
        QVERIFY(!driver.forcedClose());
        if (driver.ran())
            QCOMPARE(preset, "JO");
        QCOMPARE(session.userId(), "JO");
    }

    void result_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("shown"); // "caption: text" of a refusal
        QTest::addColumn<QString>("userId");
        const auto row = [](const char *name, const char *fields, const QString &reply,
                            const char *shown, const char *userId) {
            QTest::newRow(name) << "56|" + Stamp + fields << reply << QString(shown)
                                << QString(userId);
        };
        row("accepted, acknowledged", "|3|G$5.00|H$20.00|K1|O1", "80|" + Stamp, "", "JO");
        row("accepted", "|3|G$5.00|H$20.00|K1|M9", "No Response", "", "JO");
        row("refused", "|2|XBad user|XUnknown <b>user</b> ID|X0", "86|" + Stamp,
            "Bad user: Unknown <b>user</b> ID", "");
        row("refused, acknowledged", "|2|XBad|XNo|X1", "80|" + Stamp, "Bad: No", "");
    }

    void result()
    {
        UserSession session;
        session.setUserId("JO");
        session.setLastJobPages(3);
        RecordingMessageBox box;
        AuthenticateResultMsg prototype(
            std::make_unique<AuthenticateResultMsgHandler>(&session, nullptr, &box), nullptr);
        QFETCH(QString, text);
        QTEST(prototype.handle("ps", text), "reply");
        QTextDocument shown;
        shown.setHtml(box.text);
        QTEST(box.calls.isEmpty() ? QString()
                                  : box.calls.first().section(' ', 1) + ": " + shown.toPlainText(),
              "shown");
        QTEST(session.userId(), "userId");
        QCOMPARE(session.lastJobPages(), 3);
        if (box.calls.isEmpty()) {
            QCOMPARE(session.depositBalance(), "$5.00");
            QVERIFY(session.depositExpired() && session.hasAccountInfo());
        }
    }
};

QTEST_MAIN(TestIdentification)
#include "tst_identification.moc"
