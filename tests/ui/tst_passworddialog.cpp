#include "ModalDialogDriver.h"
#include "TableTranslator.h"
#include "ui/EmbeddedImages.h"
#include "ui/ImageButton.h"
#include "ui/ImageFolder.h"
#include "ui/KeyPad.h"
#include "ui/OpcPasswordDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

namespace {

PasswordDlgInfo staffInfo(bool showStaffId, bool showReason)
{
    PasswordDlgInfo info(QStringLiteral("Staff Override"), QStringLiteral("OK"),
                         QStringLiteral("Cancel"), QString(), QStringLiteral("Password"));
    info.setShowStaffId(showStaffId);
    info.setShowReason(showReason);
    return info;
}

QLineEdit *passwordEntry(QWidget *dialog)
{
    return dialog->findChild<QLineEdit *>(QStringLiteral("passwordDlg_passwordEntry"));
}

QWidget *okButton(QWidget *dialog)
{
    return dialog->findChild<QWidget *>(QStringLiteral("passwordDlg_OkBtn"));
}

} // namespace

class TestPasswordDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void okNeedsEveryShownField_data();
    void okNeedsEveryShownField();
    void returnAcceptsOnlyWhenComplete();
    void reasonIsCutTo253Characters();
    void eachRunStartsEmpty();
    void presetPasswordCannotBeEdited();
    void closesAfterItsTimeout();
    void textsUseTheGivenContexts_data();
    void textsUseTheGivenContexts();
    void picturesAndKeypadComeFromTheInfo();
};

void TestPasswordDialog::init()
{
    BcBaseDialog::setDefaultTimeout(-1);
    BcBaseDialog::setLanguageList(LanguageList());
}

void TestPasswordDialog::okNeedsEveryShownField_data()
{
    QTest::addColumn<bool>("showStaffId");
    QTest::addColumn<bool>("showReason");
    QTest::addColumn<QString>("staffId");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("nothing typed")
        << false << false << QString() << QString() << QString() << false;
    QTest::newRow("password") << false << false << QString() << QStringLiteral("pw") << QString()
                              << true;
    QTest::newRow("a blank is a password")
        << false << false << QString() << QStringLiteral(" ") << QString() << true;
    QTest::newRow("staff ID missing")
        << true << false << QString() << QStringLiteral("pw") << QString() << false;
    QTest::newRow("password missing")
        << true << false << QStringLiteral("S1") << QString() << QString() << false;
    QTest::newRow("staff ID and password")
        << true << false << QStringLiteral("S1") << QStringLiteral("pw") << QString() << true;
    QTest::newRow("reason missing")
        << false << true << QString() << QStringLiteral("pw") << QString() << false;
    QTest::newRow("all three") << true << true << QStringLiteral("S1") << QStringLiteral("pw")
                               << QStringLiteral("Thesis") << true;
    QTest::newRow("hidden fields do not count")
        << false << false << QStringLiteral("S1") << QStringLiteral("pw") << QString() << true;
}

void TestPasswordDialog::okNeedsEveryShownField()
{
    QFETCH(bool, showStaffId);
    QFETCH(bool, showReason);
    QFETCH(QString, staffId);
    QFETCH(QString, password);
    QFETCH(QString, reason);
    PasswordDialog dialog(staffInfo(showStaffId, showReason));
    QVERIFY(!okButton(&dialog)->isEnabled());
    if (auto *staff = dialog.findChild<QLineEdit *>(QStringLiteral("passwordDlg_staffIdEntry")))
        staff->setText(staffId);
    passwordEntry(&dialog)->setText(password);
    if (auto *box = dialog.findChild<QPlainTextEdit *>(QStringLiteral("passwordDlg_reasonEntry")))
        box->setPlainText(reason);
    QTEST(okButton(&dialog)->isEnabled(), "enabled");
    QCOMPARE(dialog.staffId(), showStaffId ? staffId : QString());
    QCOMPARE(dialog.reason(), showReason ? reason : QString());
    QCOMPARE(dialog.password(), password);
}

void TestPasswordDialog::returnAcceptsOnlyWhenComplete()
{
    PasswordDialog dialog(staffInfo(true, false));
    bool openAfterFirstReturn = false;
    ModalDialogDriver driver([&](QWidget *shown) {
        ModalDialogDriver::keyClicks(shown, QStringLiteral("passwordDlg_passwordEntry"),
                                     QStringLiteral("secret"));
        QTest::keyClick(passwordEntry(shown), Qt::Key_Return);
        openAfterFirstReturn = shown->isVisible();
        ModalDialogDriver::keyClicks(shown, QStringLiteral("passwordDlg_staffIdEntry"),
                                     QStringLiteral("S7"));
        QTest::keyClick(passwordEntry(shown), Qt::Key_Enter);
    });
    QVERIFY(dialog.run());
    QVERIFY(openAfterFirstReturn);
    QCOMPARE(dialog.password(), QStringLiteral("secret"));
    QCOMPARE(dialog.staffId(), QStringLiteral("S7"));
}

void TestPasswordDialog::reasonIsCutTo253Characters()
{
    PasswordDialog dialog(staffInfo(false, true));
    auto *box = dialog.findChild<QPlainTextEdit *>(QStringLiteral("passwordDlg_reasonEntry"));
    box->setPlainText(QString(300, QLatin1Char('r')));
    QCOMPARE(dialog.reason().size(), 253);
    QCOMPARE(box->textCursor().position(), 253);
    box->setPlainText(QString(253, QLatin1Char('s')));
    QCOMPARE(dialog.reason().size(), 253);
    box->setPlainText(QString(254, QLatin1Char('t')));
    QCOMPARE(dialog.reason(), QString(253, QLatin1Char('t')));
}

void TestPasswordDialog::eachRunStartsEmpty()
{
    PasswordDialog dialog(staffInfo(true, true));
    ModalDialogDriver first([](QWidget *shown) {
        ModalDialogDriver::keyClicks(shown, QStringLiteral("passwordDlg_staffIdEntry"),
                                     QStringLiteral("S1"));
        ModalDialogDriver::keyClicks(shown, QStringLiteral("passwordDlg_passwordEntry"),
                                     QStringLiteral("one"));
        ModalDialogDriver::keyClicks(shown, QStringLiteral("passwordDlg_reasonEntry"),
                                     QStringLiteral("why"));
        ModalDialogDriver::click(shown, QStringLiteral("passwordDlg_OkBtn"));
    });
    QVERIFY(dialog.run());
    QCOMPARE(dialog.password(), QStringLiteral("one"));

    QStringList seen;
    bool okEnabled = true;
    ModalDialogDriver second([&](QWidget *shown) {
        seen << passwordEntry(shown)->text()
             << shown->findChild<QLineEdit *>(QStringLiteral("passwordDlg_staffIdEntry"))->text()
             << shown->findChild<QPlainTextEdit *>()->toPlainText();
        okEnabled = okButton(shown)->isEnabled();
        ModalDialogDriver::click(shown, QStringLiteral("passwordDlg_CancelBtn"));
    });
    QVERIFY(!dialog.run());
    QCOMPARE(seen, (QStringList{QString(), QString(), QString()}));
    QVERIFY(!okEnabled);
}

void TestPasswordDialog::presetPasswordCannotBeEdited()
{
    PasswordDlgInfo info = staffInfo(false, false);
    info.setPresetPassword(QStringLiteral("fixed"));
    PasswordDialog dialog(info);
    QVERIFY(!passwordEntry(&dialog)->isEnabled());
    ModalDialogDriver driver([](QWidget *shown) {
        ModalDialogDriver::click(shown, QStringLiteral("passwordDlg_OkBtn"));
    });
    QVERIFY(dialog.run());
    QCOMPARE(dialog.password(), QStringLiteral("fixed"));
}

void TestPasswordDialog::closesAfterItsTimeout()
{
    BcBaseDialog::setDefaultTimeout(150);
    PasswordDlgInfo info = staffInfo(false, false);
    info.setTimeout(0);
    OpcPasswordDialog dialog(info);
    ModalDialogDriver watchdog(nullptr, 0, 3000);
    QVERIFY(!dialog.run());
    QVERIFY(watchdog.ran());
    QVERIFY(!watchdog.forcedClose());
}

void TestPasswordDialog::textsUseTheGivenContexts_data()
{
    QTest::addColumn<QString>("textContext");
    QTest::addColumn<QString>("buttonContext");
    QTest::addColumn<QStringList>("texts"); // caption, heading, prompt, OK, Cancel
    QTest::newRow("own context") << QString() << QString()
                                 << QStringList{
                                        QStringLiteral("PD caption"), QStringLiteral("PD heading"),
                                        QStringLiteral("PD prompt"), QStringLiteral("PD confirm"),
                                        QStringLiteral("PD cancel")};
    QTest::newRow("given contexts")
        << QStringLiteral("Texts") << QStringLiteral("Buttons")
        << QStringList{QStringLiteral("T caption"), QStringLiteral("T heading"),
                       QStringLiteral("T prompt"), QStringLiteral("B confirm"),
                       QStringLiteral("B back")};
}

void TestPasswordDialog::textsUseTheGivenContexts()
{
    QFETCH(QString, textContext);
    QFETCH(QString, buttonContext);
    QFETCH(QStringList, texts);
    TableTranslator translator;
    translator.add("PasswordDialog", QStringLiteral("Caption"), QStringLiteral("PD caption"));
    translator.add("PasswordDialog", QStringLiteral("Heading"), QStringLiteral("PD heading"));
    translator.add("PasswordDialog", QStringLiteral("Prompt"), QStringLiteral("PD prompt"));
    translator.add("PasswordDialog", QStringLiteral("Confirm"), QStringLiteral("PD confirm"));
    translator.add("PasswordDialog", QStringLiteral("Cancel"), QStringLiteral("PD cancel"));
    translator.add("PasswordDialog", QStringLiteral("Back"), QStringLiteral("wrong"));
    translator.add("Texts", QStringLiteral("Caption"), QStringLiteral("T caption"));
    translator.add("Texts", QStringLiteral("Heading"), QStringLiteral("T heading"));
    translator.add("Texts", QStringLiteral("Prompt"), QStringLiteral("T prompt"));
    translator.add("Buttons", QStringLiteral("Confirm"), QStringLiteral("B confirm"));
    translator.add("Buttons", QStringLiteral("Back"), QStringLiteral("B back"));
    QCoreApplication::installTranslator(&translator);

    PasswordDlgInfo info(QStringLiteral("Caption"), QStringLiteral("Confirm"),
                         QStringLiteral("Back"), QString(), QStringLiteral("Prompt"));
    info.setHeadingKey(QStringLiteral("Heading"));
    info.setTextContext(textContext);
    info.setButtonContext(buttonContext);
    info.setShowStaffId(true);
    PasswordDialog dialog(info);
    QCoreApplication::removeTranslator(&translator);

    QCOMPARE(dialog.windowTitle(), texts[0]);
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("passwordDlg_Heading"))->text(), texts[1]);
    QCOMPARE(passwordEntry(&dialog)->accessibleName(), texts[2]);
    QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("passwordDlg_OkBtn"))->text(),
             texts[3]);
    QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("passwordDlg_CancelBtn"))->text(),
             texts[4]);
    QCOMPARE(
        dialog.findChild<QLineEdit *>(QStringLiteral("passwordDlg_staffIdEntry"))->accessibleName(),
        QStringLiteral("Staff Id"));
}

void TestPasswordDialog::picturesAndKeypadComeFromTheInfo()
{
    OpcPasswordDialog client(staffInfo(false, false));
    const auto *logo = client.findChild<QLabel *>(QStringLiteral("passwordDlg_Logo"));
    QCOMPARE(logo->pixmap().size(), QSize(50, 50));
    QVERIFY(!client.keypad());
    const auto *ok = client.findChild<UtilsLib::ImageButton *>(QStringLiteral("passwordDlg_OkBtn"));
    QCOMPARE(ok->image().toImage(), QImage(ImageFolder::filePath(QStringLiteral("button1.jpg"))));
    QCOMPARE(ok->disabledImage().toImage(),
             QImage(ImageFolder::filePath(QStringLiteral("button1_disable.jpg"))));
    QCOMPARE(client.findChild<UtilsLib::ImageButton *>(QStringLiteral("passwordDlg_CancelBtn"))
                 ->image()
                 .toImage(),
             QImage(ImageFolder::filePath(QStringLiteral("button2.jpg"))));

    PasswordDlgInfo info(QStringLiteral("Caption"), QStringLiteral("OK"), QStringLiteral("No"),
                         ImageFolder::filePath(QStringLiteral("UserID.png")),
                         QStringLiteral("PIN"));
    info.setButton1ImagePath(ImageFolder::filePath(QStringLiteral("button2.jpg")));
    info.setKeypadType(KeyPad::FullKeyboard);
    PasswordDialog custom(info);
    QVERIFY(!custom.findChild<QLabel *>(QStringLiteral("passwordDlg_Logo"))->pixmap().isNull());
    QCOMPARE(custom.findChild<UtilsLib::ImageButton *>(QStringLiteral("passwordDlg_OkBtn"))
                 ->image()
                 .toImage(),
             QImage(ImageFolder::filePath(QStringLiteral("button2.jpg"))));
    QVERIFY(custom.keypad());
    QCOMPARE(custom.keypad()->keypadType(), KeyPad::FullKeyboard);
    QVERIFY(!custom.findChild<QLabel *>(QStringLiteral("passwordDlg_Heading")));
}

QTEST_MAIN(TestPasswordDialog)
#include "tst_passworddialog.moc"
