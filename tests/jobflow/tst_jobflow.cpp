#include "FixedTimeSource.h"
#include "InstalledPreferences.h"
#include "ModalDialogDriver.h"
#include "RecordingMessageBox.h"
#include "core/AppContext.h"
#include "jobflow/AuthenticateReq.h"
#include "jobflow/AuthenticateResultMsg.h"
#include "jobflow/AutoReleaseMsg.h"
#include "jobflow/AutoReleaseMsgHandler.h"
#include "jobflow/ClientProcessingDialog.h"
#include "jobflow/ConnectionDialogGuard.h"
#include "jobflow/GuestJobReq.h"
#include "jobflow/GuestJobReqHandler.h"
#include "jobflow/JobDeletedMsg.h"
#include "jobflow/JobDeletedMsgHandler.h"
#include "jobflow/JobReceivedMsg.h"
#include "jobflow/PrintJobConfirmationMsg.h"
#include "jobflow/ServiceText.h"
#include "jobflow/ShowSpoolingDialogMsg.h"
#include "jobflow/ShowSpoolingDialogMsgHandler.h"
#include "jobflow/UserSession.h"
#include "ui/DialogSettings.h"
#include "ui/PrintClientDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QTextDocument>
#include <QtTest>

using namespace Brindlecore::Core;

namespace {

const QString Stamp = QStringLiteral("20250201090503");

// What a label shows for a rich text.
QString shownText(const QString &html)
{
    QTextDocument document;
    document.setHtml(html);
    return document.toPlainText();
}

void textRow(const char *name, const QString &text, const QString &expected)
{
    QTest::newRow(name) << text << expected;
}

QString autoRelease(const QString &fields)
{
    return "62|" + Stamp + fields;
}

// A progress window on screen and a message box that notes whether it still was at the call.
struct ShownProgress
{
    ShownProgress()
    {
        progress.show();
        box.onCall = [this] { shownAtCall = progress.isVisible(); };
    }
    ClientProcessingDialog progress;
    RecordingMessageBox box;
    bool shownAtCall = false;
};

} // namespace

class TestJobFlow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        AppContext::instance().addEntry(
            std::make_unique<FixedTimeSource>(QDateTime(QDate(2025, 2, 1), QTime(9, 5, 3))));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void userSessionResetAndClear()
    {
        UserSession session;
        QCOMPARE(session.allocationBalance(), "<html>&#36;</html>0.00");
        QVERIFY(!session.hasAccountInfo());
        session.setUserId("jdoe");
        session.setPin("1234");
        session.setMaxCreditBalance("$5.00");
        session.setDepositBalance("$1.00");
        session.setCreditExpired(true);
        session.setLastJobPages(7);
        QVERIFY(session.hasAccountInfo());

        session.clearIdentity();
        QVERIFY(session.userId().isEmpty() && session.pin().isEmpty());
        QCOMPARE(session.maxCreditBalance(), "$5.00");
        QCOMPARE(session.lastJobPages(), 7);

        session.reset();
        QVERIFY(session.allocationBalance().isEmpty());
        QCOMPARE(session.depositBalance(), "<html>&#36;</html>0.00");
        QCOMPARE(session.creditBalance(), "<html>&#36;</html>0.00");
        QVERIFY(!session.hasAccountInfo() && !session.creditExpired());
        QCOMPARE(session.lastJobPages(), 0);
    }

    void parse_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        const QString ten = "|A1|B2|C|D|E|F|G|H|I";
        QTest::newRow("60 id and time") << 60 << "60|" + Stamp << true;
        QTest::newRow("60 with a field") << 60 << "60|" + Stamp + "|x" << false;
        QTest::newRow("60 alone") << 60 << "60" << false;
        QTest::newRow("52 anything") << 52 << "52" << true;
        QTest::newRow("51 anything") << 51 << "51|x|y|z" << true;
        QTest::newRow("62 eleven fields") << 62 << autoRelease(ten) << true;
        QTest::newRow("62 ten fields") << 62 << autoRelease("|A1|B2|C|D|E|F|G|H") << false;
        QTest::newRow("62 empty fields do not count")
            << 62 << autoRelease("|A1||B2|C|D|E|F|G|H") << false;
        QTest::newRow("62 another id") << 62 << "63|" + Stamp + ten << false;
        QTest::newRow("54 no mode") << 54 << "54|ts" << false;
        QTest::newRow("54 extra field") << 54 << "54|ts|1|2" << false;
        QTest::newRow("56 five fields") << 56 << "56|ts|2||XBad user|XUnknown" << false;
        QTest::newRow("56 another id") << 56 << "55|ts|2|XBad user|XUnknown|X0" << false;
        QTest::newRow("4 id alone") << 4 << "4" << true;
        QTest::newRow("4 padded id") << 4 << " +04|x|A1" << true;
        QTest::newRow("4 another id") << 4 << "5|x|A12" << false;
        QTest::newRow("4 empty id") << 4 << "|4|A12" << false;
        QTest::newRow("6 empty field") << 6 << "6|ts|1|J42||LTerm A" << false;
        QTest::newRow("6 seven fields") << 6 << "6|ts|1|J42|E|L|x" << false;
    }

    void parse()
    {
        QFETCH(int, id);
        QFETCH(QString, text);
        ShowSpoolingDialogMsg spooling;
        GuestJobReq guest;
        JobDeletedMsg deleted;
        AuthenticateReq authenticate;
        AuthenticateResultMsg result;
        JobReceivedMsg received;
        PrintJobConfirmationMsg confirmation;
        AutoReleaseMsg release;
        const QList<Message *> all{&spooling, &authenticate, &guest,        &deleted,
                                   &result,   &received,     &confirmation, &release};
        const auto message =
            std::find_if(all.begin(), all.end(), [id](Message *m) { return m->messageId() == id; });
        QVERIFY(message != all.end());
        QTEST((*message)->parse(text), "accepted");
    }

    void autoReleaseFieldsStandAlone()
    {
        AutoReleaseMsg message;
        QVERIFY(message.parse(autoRelease("|A0|B-3|CLaser|DDesk 2|ENo paper|FDA|G$0.20|H$0.40|I"
                                          "|ZR17|Y250|Qunknown")));
        QVERIFY(!message.released());
        QCOMPARE(message.valueB(), -3);
        QCOMPARE(message.printerFamily(), "Laser");
        QCOMPARE(message.creditAmount(), "");
        QCOMPARE(message.refundId(), "R17");
        // A later text without refund fields must not carry the earlier refund.
        QVERIFY(message.parse(autoRelease("|A1|B0|C|D|E|F|G|H|I")));
        QVERIFY(message.released());
        QVERIFY(message.refundId().isEmpty() && message.refundAmount().isEmpty());
        QVERIFY(message.depositAmount().isEmpty());
    }

    void authenticateModes()
    {
        AuthenticateReq request;
        QCOMPARE(request.mode(), 1);
        QVERIFY(request.parse("54|ts|7"));
        QCOMPARE(request.mode(), 7);
        QVERIFY(request.parse("54|ts|x"));
        QCOMPARE(request.mode(), 0);
        // Mode -> PIN asked for, guests allowed; an unknown mode must ask for the PIN.
        const QList<std::tuple<qint32, bool, bool>> table = {{1, false, false},
                                                             {5, false, true},
                                                             {7, true, true},
                                                             {0, true, false},
                                                             {6, true, false}};
        for (const auto &[mode, pin, guests] : table) {
            QCOMPARE(AuthenticateReq::requiresPin(mode), pin);
            QCOMPARE(AuthenticateReq::guestsAllowed(mode), guests);
        }
    }

    // Code; caption; text; balances F N G H I J P; flags K L O Q as digits.
    void authenticateResultFields_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        textRow("accepted", "56|ts|3|G$5.00|H$20.00|K1|O1|Mx|Zy", "3|||||$5.00|$20.00||||1010");
        textRow("all tags, repeat overwrites", "56|ts|3|F1|N2|G3|H4|I5|J6|P7|K0|L2|Q1|G|F8",
                "3|||8|2||4|5|6|7|0101");
        textRow("refused", "56|ts|2|XBad user|XUnknown user ID|X0|O1",
                "2|Bad user|Unknown user ID||||||||0000");
        textRow("refused, acknowledged", "56|ts|x|A|B|C1", "0||||||||||0010");
    }

    void authenticateResultFields()
    {
        QFETCH(QString, text);
        AuthenticateResultMsg message;
        // An earlier answer with every field set must leave nothing behind.
        QVERIFY(message.parse("56|ts|3|F1|N1|G1|H1|I1|J1|P1|K1|L1|O1|Q1"));
        QVERIFY(message.parse(text));
        const auto digit = [](bool flag) { return QString::number(flag); };
        const QStringList actual = {
            QString::number(message.resultCode()),
            message.errorCaption(),
            message.errorText(),
            message.allocationBalance(),
            message.allocationMarker(),
            message.depositBalance(),
            message.maxDepositBalance(),
            message.creditBalance(),
            message.maxCreditBalance(),
            message.libraryDepositBalance(),
            digit(message.depositExpired()) + digit(message.creditExpired()) +
                digit(message.acknowledgementWanted()) + digit(message.libraryDepositShown())};
        QTEST(actual.join('|'), "expected");
    }

    // Pages A, free C, sheets H; price B, cost E, account F; flags D G I as digits.
    void jobReceivedFields_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        textRow("cost", "4|x|A12|B$0.10|C0|D0|E$1.20|G0|H0", "12|0|0|$0.10|$1.20||000");
        textRow("unknown tag, empty field, repeat", "4||A3||Z9|FStudent|D1|I1|H2|A5",
                "5|0|2|||Student|101");
        textRow("negative or no number", "4|x|A-5|C-1|H-2147483648|Dx|G2", "0|0|0||||010");
    }

    void jobReceivedFields()
    {
        QFETCH(QString, text);
        JobReceivedMsg message;
        // An earlier job with every field set must leave nothing behind.
        QVERIFY(message.parse("4|x|A9|B$9|C9|D1|E$9|F9|G1|H9|I1"));
        QVERIFY(message.parse(text));
        const PageCountDialogModel &model = message;
        const auto digit = [](bool flag) { return QString::number(flag); };
        const QStringList actual = {QString::number(model.getTotalPages()),
                                    QString::number(model.getFreeCount()),
                                    QString::number(model.getTotalSheets()),
                                    model.getPrice(),
                                    model.getTotalCost(),
                                    model.getAccountText(),
                                    digit(model.isUserIdRequired()) + digit(model.isFree()) +
                                        digit(model.getFlagI())};
        QTEST(actual.join('|'), "expected");
    }

    // Dialog, job number, expire time, then "terminal/location" per row.
    void jobConfirmationFields_data()
    {
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("expected");
        textRow("two rows", "1|J42|E2025-02-01T09:05:03|LTerm A#^#Front desk#^#Term B#^#Lab",
                "1|42|2025-02-01T09:05:03|Term A/Front desk|Term B/Lab");
        textRow("last location missing", "0|J7|Enoon|LTerm A#^#Front desk#^#Term B",
                "0|7|noon|Term A/Front desk|Term B/");
        textRow("no terminals", "x|Jx|E|L", "0|0|");
        textRow("empty pair dropped", "2|J1|E|L#^##^#Term C", "1|1||Term C/");
    }

    void jobConfirmationFields()
    {
        QFETCH(QString, fields);
        PrintJobConfirmationMsg message;
        QVERIFY(message.parse("6|ts|1|J1|E1|LOld#^#Room"));
        QVERIFY(message.parse("6|ts|" + fields));
        QStringList actual = {QString::number(message.showDialog()),
                              QString::number(message.jobNumber()), message.expireTime()};
        for (const auto &[terminal, location] : message.pickupList())
            actual << terminal + '/' + location;
        QTEST(actual.join('|'), "expected");
        // A rejected text shows nothing of the accepted one.
        QVERIFY(!message.parse("6|ts|1"));
        QVERIFY(message.pickupList().isEmpty() && message.jobNumber() == -1);
    }

    void autoReleaseTexts_data()
    {
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char *name, const char *fields, const QString &shown) {
            QTest::newRow(name) << QString(fields)
                                << (fields[2] == '1' ? "show Job Released" : "critical Error")
                                << shown;
        };
        const QString released = "Your job has been released.\n\nPrinter Family: Laser\n\n"
                                 "Pickup Location: Desk 2";
        const QString paid = released + "\n\nPayment Details:\n";
        row("deposit before allocation", "|A1|B0|CLaser|DDesk 2|E|FDA|G$0.20|H$0.40|I",
            paid + "Paid From Deposit Account\n$0.40\nPaid From Allocation Account\n$0.20");
        row("no deposit amount", "|A1|B0|CLaser|DDesk 2|E|FAD|G$0.20|H|I",
            paid + "Paid From Allocation Account\n$0.20");
        row("nothing paid", "|A1|B0|CLaser|DDesk 2|E|FAD|G|H|I", released);
        row("markup shown as text", "|A1|B0|C<b>Laser</b>|DDesk 2|E|FC|G|H|I<i>$1</i>",
            QString(paid).replace("Laser", "<b>Laser</b>") + "Paid From Credit Account\n<i>$1</i>");
        row("refund due", "|A0|B0|C|D|ENo paper|F|G|H|I|ZR17|Y250",
            "No paper\n\nYou are due a refund of $2.50. The Refund Id is R17. Please see staff "
            "for additional assistance.");
        row("no refund", "|A0|B0|C|D|ENo <br>paper|F|G|H|I|ZR17|Y0", "No <br>paper");
        row("refund not a number", "|A0|B0|C|D|ENo paper|F|G|H|I|ZR17|Ylots", "No paper");
    }

    void autoReleaseTexts()
    {
        QFETCH(QString, fields);
        ShownProgress ui;
        AutoReleaseMsg prototype(std::make_unique<AutoReleaseMsgHandler>(&ui.box, &ui.progress),
                                 nullptr);

        QCOMPARE(prototype.handle("ps", autoRelease(fields)), "86|" + Stamp);
        QCOMPARE(ui.box.calls.size(), 1);
        QTEST(ui.box.calls.value(0), "caption");
        QTEST(shownText(ui.box.text).trimmed(), "shown");
        QVERIFY(!ui.shownAtCall);
        if (ui.box.calls.value(0).startsWith("show"))
            QCOMPARE(ui.box.iconSize, QSize(50, 50));
    }

    // Only the currency sign in its html wrapper is undone; other markup stays text.
    void amountsAsText()
    {
        QCOMPARE(ServiceText::plainAmount("<html>&#36;</html>0.00"), "$0.00");
        for (const char *kept : {"$1.25", "<b>&#36;</b>1", "<html>&#10;</html>1"})
            QCOMPARE(ServiceText::plainAmount(kept), kept);
        // An endless amount is cut, never in the middle of a character.
        const QString long40 = QString(39, u'9') + u'\u2026';
        QCOMPARE(ServiceText::plainAmount(QString(1024 * 1024, u'9')), long40);
        QCOMPARE(ServiceText::plainAmount(QString(38, u'9') + QString::fromUtf8("😀😀")),
                 QString(38, u'9') + u'\u2026');
        QCOMPARE(ServiceText::plainAmount(QString(40, u'9')), QString(40, u'9'));
    }

    void progressWindow()
    {
        ClientProcessingDialog progress;
        ShowSpoolingDialogMsg prototype(std::make_unique<ShowSpoolingDialogMsgHandler>(&progress),
                                        nullptr);
        auto *label = progress.findChild<QLabel *>("clientProcessingTextLabel");
        auto *bar = progress.findChild<QProgressBar *>("clientProcessingProgressBar");
        QVERIFY(label && bar);
        QCOMPARE(label->text(), "Please Wait...");

        QCOMPARE(prototype.handle("ps", "60|" + Stamp), "80|" + Stamp);
        QVERIFY(progress.isVisible());
        QCOMPARE(label->text(), "Please Wait... Processing Job");
        QCOMPARE(bar->accessibleName(), label->text());
        // A busy bar: the style animates it, nothing of the client's ticks.
        QCOMPARE(bar->maximum(), 0);
        QCOMPARE(prototype.handle("ps", "60|" + Stamp), "80|" + Stamp);
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(),
                               [](QWidget *w) { return w->isVisible(); }),
                 1);

        QTest::keyClick(&progress, Qt::Key_Escape);
        QVERIFY(!progress.isVisible());
        QCOMPARE(progress.text(), "Please Wait...");
        QCOMPARE(label->text(), "Please Wait...");
        // A text the handler cannot take is answered empty by the message, not acknowledged.
        QCOMPARE(prototype.handle("ps", "60|" + Stamp + "|x"), "");
        QVERIFY(!progress.isVisible());
    }

    // Yes keeps the user; No forgets the user only on an installed client.
    void guestQuestion_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("sessionKept");
        QTest::newRow("yes, installed") << true << true << "53|" + Stamp + "|1" << true;
        QTest::newRow("no, installed") << false << true << "53|" + Stamp + "|0" << false;
        QTest::newRow("no, not installed") << false << false << "53|" + Stamp + "|0" << true;
    }

    void guestQuestion()
    {
        QFETCH(bool, yes);
        QFETCH(bool, installed);
        InstalledPreferences preferences(installed);
        UserSession session;
        session.setUserId("jdoe");
        ShownProgress ui;
        ui.box.answer = yes;
        GuestJobReq prototype(
            std::make_unique<GuestJobReqHandler>(&preferences, &session, &ui.box, &ui.progress),
            nullptr);

        QTEST(prototype.handle("ps", "52|" + Stamp), "reply");
        QCOMPARE(ui.box.calls, QStringList{"question Job Status Change"});
        QVERIFY(ui.box.text.startsWith("Your Identification Information shows you are either"));
        QVERIFY(!ui.shownAtCall);
        QTEST(session.userId() == "jdoe", "sessionKept");
    }

    // The question in its own dialog: Return takes the default Yes; Escape and the time-out
    // are No.
    void guestQuestionDialog_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("reply");
        QTest::newRow("Return") << int(Qt::Key_Return) << "53|" + Stamp + "|1";
        QTest::newRow("Escape") << int(Qt::Key_Escape) << "53|" + Stamp + "|0";
        QTest::newRow("time-out") << 0 << "53|" + Stamp + "|0";
    }

    void guestQuestionDialog()
    {
        QFETCH(int, key);
        InstalledPreferences preferences(false);
        DialogSettings::shared().setDefaultTimeoutMs(key ? 60000 : 50);
        GuestJobReq prototype(
            std::make_unique<GuestJobReqHandler>(&preferences, nullptr, nullptr, nullptr), nullptr);
        QString caption;
        ModalDialogDriver driver([&](QWidget *dialog) {
            caption = dialog->windowTitle();
            if (key)
                QTest::keyClick(dialog, Qt::Key(key));
        });
        QTEST(prototype.handle("ps", "52|" + Stamp), "reply");
        QVERIFY(driver.ran() && !driver.forcedClose());
        QCOMPARE(caption, "Job Status Change");
        DialogSettings::shared().setDefaultTimeoutMs(45000);
    }

    void jobDeleted()
    {
        ShownProgress ui;
        JobDeletedMsg prototype(std::make_unique<JobDeletedMsgHandler>(&ui.box, &ui.progress),
                                nullptr);
        QCOMPARE(prototype.handle("ps", "51|" + Stamp + "|anything"), "86|" + Stamp);
        QCOMPARE(ui.box.calls, QStringList{"information Job Canceled"});
        QCOMPARE(ui.box.text, "The document will be canceled");
        QVERIFY(!ui.shownAtCall && !ui.progress.isVisible());
    }

    // A lost connection closes the dialogs opened for its texts, at once and for good, and the
    // progress window; a dialog opened for nothing the connection sent stays.
    void lostConnectionClosesItsDialogs()
    {
        ClientProcessingDialog progress;
        struct Receiver : MessageListenerInterface
        {
            std::function<void()> onText;
            void messageReceived(const QString &) override { onText(); }
        } receiver;
        ConnectionDialogGuard guard(&receiver, &progress);
        // Bounds a dialog left open by a fault.
        DialogSettings::shared().setDefaultTimeoutMs(20000);
        QStringList results;
        receiver.onText = [&] {
            progress.show();
            ModalDialogDriver driver([&](QWidget *) { guard.connectionLost(); });
            PrintClientDialog box;
            results << QString::number(box.question("Q", "First?"));
            // What the handler asks next on the lost connection does not show at all.
            results << QString::number(box.question("Q", "Second?"));
            results << QString::number(driver.ran() && !driver.forcedClose());
        };
        // The text arrives while a dialog of the user's own is open.
        PrintClientDialog unrelated;
        bool unrelatedStayed = false;
        QTimer::singleShot(0, &unrelated, [&] {
            guard.messageReceived("52|" + Stamp);
            unrelatedStayed = unrelated.isVisible();
            unrelated.reject();
        });
        unrelated.information("Other", "Stays");
        QCOMPARE(results, QStringList({"0", "0", "1"}));
        QVERIFY(unrelatedStayed);
        QVERIFY(!progress.isVisible());

        // The next connection's texts open their dialogs again.
        receiver.onText = [&] {
            ModalDialogDriver driver(
                [](QWidget *dialog) { QTest::keyClick(dialog, Qt::Key_Return); });
            results << QString::number(PrintClientDialog().question("Q", "Third?"));
        };
        guard.messageReceived("52|" + Stamp);
        QCOMPARE(results.last(), "1");
        DialogSettings::shared().setDefaultTimeoutMs(45000);
    }
};

QTEST_MAIN(TestJobFlow)
#include "tst_jobflow.moc"
