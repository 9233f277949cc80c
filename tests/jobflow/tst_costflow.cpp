#include "FakeBooking.h"
#include "FixedTimeSource.h"
#include "InstalledPreferences.h"
#include "ModalDialogDriver.h"
#include "RecordingMessageBox.h"
#include "core/AppContext.h"
#include "core/EnvironmentProvider.h"
#include "jobflow/ClientProcessingDialog.h"
#include "jobflow/JobConfirmationDialogController.h"
#include "jobflow/JobReceivedMsg.h"
#include "jobflow/JobReceivedMsgHandler.h"
#include "jobflow/OpcPageCountValidator.h"
#include "jobflow/OpcPasswordValidator.h"
#include "jobflow/PageCountDialogView.h"
#include "jobflow/PrintJobConfirmationMsg.h"
#include "jobflow/PrintJobConfirmationMsgHandler.h"
#include "jobflow/UserSession.h"
#include "ui/PasswordDialogInterface.h"

#include <QLabel>
#include <QTextDocument>
#include <QTreeWidget>
#include <QtTest>

using namespace Brindlecore::Core;

namespace {

const QString Stamp = QStringLiteral("20250201090503");

struct Environment : EnvironmentProvider
{
    QString domainName() const override { return {}; }
    QString userName() const override { return "jo"; }
    QString computerName() const override { return "LAB-PC-07"; }
    bool isClientServiceInstalled() const override { return false; }
};

// The password dialog confirms what the test typed, noted among the message boxes' calls.
struct Boxes
    : RecordingMessageBox
    , PasswordDialogInterface
{
    QString password() const override { return typed; }
    bool run() override { return !(calls << "password").isEmpty(); }
    QString typed;
};

QString shownTable(const QString &fields)
{
    JobReceivedMsg job;
    job.parse("4|" + Stamp + fields);
    QTextDocument document;
    document.setHtml(PageCountDialogView::costTable(job, 250));
    return document.toPlainText().simplified();
}

} // namespace

class TestCostFlow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        AppContext::instance().addEntry(
            std::make_unique<FixedTimeSource>(QDateTime(QDate(2025, 2, 1), QTime(9, 5, 3))));
    }

    void costTable_data()
    {
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("shown");
        QTest::newRow("free") << "|A3|G1"
                              << "There is no charge to print this job. Total Pages: 3";
        QTest::newRow("paid") << "|A12|B$0.10|E$1.20"
                              << "Total Pages: 12 x Price Per Page: $0.10 Total Cost: $1.20";
        QTest::newRow("duplex, one free sheet")
            << "|A4|H2|C1|B$0.10|E$0.10"
            << "Total Pages: 4 Duplex Mode: Enabled Total Sheets: 2 - Free Sheet: 1 x Price Per "
               "Sheet: $0.10 Total Cost: $0.10";
        QTest::newRow("free pages, markup as text")
            << "|A5|C2|B<b>$0.10</b>|E<html>&#36;</html>0.30"
            << "Total Pages: 5 - Free Pages: 2 x Price Per Page: <b>$0.10</b> Total Cost: $0.30";
    }

    void costTable()
    {
        QFETCH(QString, fields);
        QTEST(shownTable(fields), "shown");
    }

    // The page limit of a booking session, and the staff member's approval.
    void pageLimit_data()
    {
        QTest::addColumn<int>("maximum");
        QTest::addColumn<bool>("approves");
        QTest::addColumn<QString>("staffPassword");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("pages");
        QTest::addColumn<bool>("allowed");
        QTest::addColumn<QStringList>("calls");
        const auto row = [](const char *name, int maximum, bool approves, const char *staff,
                            const char *typed, int pages, bool allowed, const QStringList &calls) {
            QTest::newRow(name) << maximum << approves << QString(staff) << QString(typed) << pages
                                << allowed << calls;
        };
        row("no limit", 0, false, "", "", 500, true, {});
        row("up to the limit", 10, false, "", "", 2, true, {});
        const QString warned = "warning Warning";
        row("over, no approval", 10, false, "", "", 3, false, {"critical Error"});
        row("over, right password", 10, true, "s3cret", "s3cret", 3, true, {warned, "password"});
        row("over, wrong password", 10, true, "s3cret", "S3cret", 3, false,
            {warned, "password", "critical Error"});
        row("over, no staff password set", 10, true, "", "", 3, true, {warned});
        row("negative count", 10, false, "", "", -50, true, {});
    }

    void pageLimit()
    {
        QFETCH(int, maximum);
        QFETCH(bool, approves);
        QFETCH(QString, staffPassword);
        PrintClientPreferences preferences(nullptr);
        preferences.setTavrinIntegration(true);
        preferences.setMaxSessionPages(maximum);
        preferences.setStaffApprovesOverLimit(approves);
        preferences.setStaffPassword(staffPassword);
        FakeBooking booking;
        booking.printed = 8;
        Boxes boxes;
        QFETCH(QString, typed);
        boxes.typed = typed;
        OpcPasswordValidator password(&boxes);
        OpcPageCountValidator validator(&preferences, &booking, &password, &boxes);
        QFETCH(int, pages);
        QTEST(validator.check(pages), "allowed");
        QTEST(boxes.calls, "calls");
    }

    // The job through its dialogs: OK sends it on with the workstation and the language and
    // shows the progress window; Escape cancels it and shows nothing.
    void jobReceived_data()
    {
        QTest::addColumn<QString>("fields");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("lastJobPages");
        QTest::addColumn<bool>("installed");
        QTest::newRow("accepted") << "|A12|B$0.10|C0|D0|E$1.20|G0|H0" << int(Qt::Key_Return)
                                  << "5|" + Stamp + "|ALAB-PC-07|Ben_us" << 12 << false;
        QTest::newRow("escape") << "|A12|B$0.10|C0|D0|E$1.20|G0|H0" << int(Qt::Key_Escape)
                                << "7|" + Stamp << 5 << false;
        QTest::newRow("identity from the session")
            << "|A2|D1|G1" << int(Qt::Key_Return) << "5|" + Stamp + "|ALAB-PC-07|Ben_us" << 2
            << false;
        // A kiosk forgets the last user, but not the pages its confirmation has yet to count.
        QTest::newRow("installed, escape")
            << "|A12|G1" << int(Qt::Key_Escape) << "7|" + Stamp << 5 << true;
    }

    void jobReceived()
    {
        QFETCH(bool, installed);
        InstalledPreferences preferences(installed);
        preferences.setCurrentLocale("en_us");
        UserSession session;
        session.setUserId("JO");
        session.setLastJobPages(5);
        FakeBooking booking;
        Environment environment;
        ClientProcessingDialog progress;
        JobReceivedMsg prototype(std::make_unique<JobReceivedMsgHandler>(45, &preferences, &session,
                                                                         &booking, &progress,
                                                                         nullptr, &environment),
                                 nullptr);
        QFETCH(int, key);
        ModalDialogDriver driver([&](QWidget *dialog) {
            QCOMPARE(dialog->windowTitle(), "Print this job?");
            QTest::keyClick(dialog, Qt::Key(key));
        });
        QFETCH(QString, fields);
        QTEST(prototype.handle("ps", "4|" + Stamp + fields), "reply");
        QVERIFY(driver.ran() && !driver.forcedClose());
        QCOMPARE(progress.isVisible(), key == Qt::Key_Return);
        QCOMPARE(progress.text(), key == Qt::Key_Return
                                      ? QString(ClientProcessingDialog::SubmittingText)
                                      : QString(ClientProcessingDialog::DefaultText));
        QTEST(session.lastJobPages(), "lastJobPages");
        QCOMPARE(session.userId().isEmpty(), installed);
    }

    // The confirmation counts the job's pages once, and shows where to pick it up.
    void confirmation()
    {
        PrintClientPreferences preferences(nullptr);
        preferences.setTavrinIntegration(true);
        UserSession session;
        session.setLastJobPages(12);
        FakeBooking booking;
        ClientProcessingDialog progress;
        progress.show();
        PrintJobConfirmationMsg prototype(std::make_unique<PrintJobConfirmationMsgHandler>(
                                              &preferences, &session, &booking, &progress),
                                          nullptr);
        QStringList rows;
        QString expire;
        ModalDialogDriver driver([&](QWidget *dialog) {
            auto *list = dialog->findChild<QTreeWidget *>("PickupListView");
            for (int i = 0; list && i < list->topLevelItemCount(); ++i)
                rows << list->topLevelItem(i)->text(0) + '/' + list->topLevelItem(i)->text(1);
            expire = dialog->findChild<QLabel *>("ExpireTimeLabel")->text();
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        QCOMPARE(prototype.handle("ps", "6|" + Stamp +
                                            "|1|J42|E2025-02-01T09:05:03|LTerm A#^#"
                                            "Front desk#^#Term B"),
                 "86|" + Stamp);
        QVERIFY(driver.ran() && !driver.forcedClose());
        QCOMPARE(rows, QStringList({"Term A/Front desk", "Term B/"}));
        QCOMPARE(expire, "Expire Time: " + QLocale::system().toString(
                                               QDateTime(QDate(2025, 2, 1), QTime(9, 5, 3)),
                                               QLocale::ShortFormat));
        QVERIFY(!progress.isVisible());
        QCOMPARE(JobConfirmationDialogController::expireTimeText("next Tuesday"), "next Tuesday");
        // A second confirmation of the same job, without a dialog, counts nothing more.
        QCOMPARE(prototype.handle("ps", "6|" + Stamp + "|0|J42|E|L"), "86|" + Stamp);
        QCOMPARE(booking.added, QList<int>({12, 0}));
    }
};

QTEST_MAIN(TestCostFlow)
#include "tst_costflow.moc"
