#include "DialogFakes.h"
#include "ModalDialogDriver.h"
#include "ui/DialogSettings.h"
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
    PasswordDlgInfo info("Staff Override", "OK", "Cancel", "", "Password");
    info.setShowStaffId(showStaffId);
    info.setShowReason(showReason);
    return info;
}

template <typename T = QWidget>
T *child(QWidget *dialog, const char *name)
{
    return dialog->findChild<T *>(name);
}

// The button's picture, or its disabled picture, and whether it is the given file's.
bool shows(QWidget *dialog, const char *button, const char *file, bool disabled = false)
{
    const auto *shown = child<UtilsLib::ImageButton>(dialog, button);
    const QPixmap picture = disabled ? shown->disabledImage() : shown->image();
    return picture.toImage() == QImage(ImageFolder::filePath(file));
}

} // namespace

class TestPasswordDialog : public QObject
{
    Q_OBJECT

private slots:
    void init() { DialogSettings::shared().reset(); }

    void okNeedsEveryShownField_data()
    {
        QTest::addColumn<bool>("showStaffId");
        QTest::addColumn<bool>("showReason");
        QTest::addColumn<QString>("staffId");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("enabled");
        auto row = [](const char *name, bool showStaffId, bool showReason, const char *staffId,
                      const char *password, const char *reason, bool enabled) {
            QTest::newRow(name) << showStaffId << showReason << staffId << password << reason
                                << enabled;
        };
        row("password", false, false, "", "pw", "", true);
        row("a blank is a password", false, false, "", " ", "", true);
        row("staff ID missing", true, false, "", "pw", "", false);
        row("password missing", true, false, "S1", "", "", false);
        row("staff ID and password", true, false, "S1", "pw", "", true);
        row("reason missing", false, true, "", "pw", "", false);
        row("all three", true, true, "S1", "pw", "Thesis", true);
    }
    void okNeedsEveryShownField()
    {
        QFETCH(bool, showStaffId);
        QFETCH(bool, showReason);
        QFETCH(QString, staffId);
        QFETCH(QString, password);
        QFETCH(QString, reason);
        PasswordDialog dialog(staffInfo(showStaffId, showReason));
        QVERIFY(!child(&dialog, "passwordDlg_OkBtn")->isEnabled());
        if (auto *staff = child<QLineEdit>(&dialog, "passwordDlg_staffIdEntry"))
            staff->setText(staffId);
        child<QLineEdit>(&dialog, "passwordDlg_passwordEntry")->setText(password);
        if (auto *box = child<QPlainTextEdit>(&dialog, "passwordDlg_reasonEntry"))
            box->setPlainText(reason);
        QTEST(child(&dialog, "passwordDlg_OkBtn")->isEnabled(), "enabled");
    }

    void returnAcceptsOnlyWhenComplete()
    {
        PasswordDialog dialog(staffInfo(true, false));
        bool openAfterFirstReturn = false;
        ModalDialogDriver driver([&](QWidget *shown) {
            QWidget *password = child(shown, "passwordDlg_passwordEntry");
            QTest::keyClicks(password, "secret");
            QTest::keyClick(password, Qt::Key_Return);
            openAfterFirstReturn = shown->isVisible();
            QTest::keyClicks(child(shown, "passwordDlg_staffIdEntry"), "S7");
            QTest::keyClick(password, Qt::Key_Enter);
        });
        QVERIFY(dialog.run());
        QVERIFY(openAfterFirstReturn);
        QCOMPARE(dialog.staffId() + dialog.password(), "S7secret");
    }

    void reasonIsCutTo253Characters()
    {
        PasswordDialog dialog(staffInfo(false, true));
        auto *box = child<QPlainTextEdit>(&dialog, "passwordDlg_reasonEntry");
        for (int length : {253, 254, 300}) {
            box->setPlainText(QString(length, 'r'));
            QCOMPARE(dialog.reason(), QString(253, 'r'));
        }
        QCOMPARE(box->textCursor().position(), 253);
    }

    void eachRunStartsEmpty()
    {
        PasswordDialog dialog(staffInfo(true, true));
        QStringList seen;
        for (const char *text : {"one", "two"}) {
            ModalDialogDriver driver([&](QWidget *shown) {
                seen << child<QLineEdit>(shown, "passwordDlg_staffIdEntry")->text()
                     << child<QLineEdit>(shown, "passwordDlg_passwordEntry")->text()
                     << child<QPlainTextEdit>(shown, "passwordDlg_reasonEntry")->toPlainText();
                if (child(shown, "passwordDlg_OkBtn")->isEnabled())
                    seen << "OK enabled";
                // Typing starts in the staff ID; Tab leads through the others (the reason box
                // too) to OK, which Space presses.
                for (int field = 0; field < 3; ++field) {
                    QTest::keyClicks(shown->focusWidget(), text);
                    QTest::keyClick(shown->focusWidget(), Qt::Key_Tab);
                }
                QTest::keyClick(shown->focusWidget(), Qt::Key_Space);
            });
            QVERIFY(dialog.run());
            QCOMPARE((QStringList{dialog.staffId(), dialog.password(), dialog.reason()}),
                     QStringList(3, text));
        }
        QCOMPARE(seen, QStringList(6, ""));
    }

    void presetPasswordStaysAndTimeoutCloses()
    {
        DialogSettings::shared().setDefaultTimeoutMs(150);
        PasswordDlgInfo info = staffInfo(false, false);
        info.setPresetPassword("fixed");
        info.setTimeout(0);
        OpcPasswordDialog dialog(info);
        QVERIFY(!child(&dialog, "passwordDlg_passwordEntry")->isEnabled());
        ModalDialogDriver watchdog(nullptr, 0, 3000);
        QVERIFY(!dialog.run());
        QVERIFY(watchdog.ran() && !watchdog.forcedClose());
        ModalDialogDriver driver(
            [](QWidget *shown) { ModalDialogDriver::click(shown, "passwordDlg_OkBtn"); });
        QVERIFY(dialog.run());
        QCOMPARE(dialog.password(), "fixed");
    }

    void textsUseTheGivenContexts_data()
    {
        QTest::addColumn<QString>("textContext");
        QTest::addColumn<QString>("buttonContext");
        QTest::addColumn<QString>("texts"); // caption, heading, prompt, OK, Cancel
        QTest::newRow("own context")
            << QString() << QString() << "PD Caption|PD Heading|PD Prompt|PD OK|PD Cancel";
        QTest::newRow("given contexts")
            << QString("Texts") << QString("Buttons") << "T Caption|T Heading|T Prompt|B OK|B Back";
    }
    void textsUseTheGivenContexts()
    {
        QFETCH(QString, textContext);
        QFETCH(QString, buttonContext);
        TableTranslator translator;
        for (const char *key : {"Caption", "Heading", "Prompt", "OK", "Cancel", "Back"}) {
            translator.add("PasswordDialog", key, QString("PD ") + key);
            translator.add("Texts", key, QString("T ") + key);
            translator.add("Buttons", key, QString("B ") + key);
        }
        QCoreApplication::installTranslator(&translator);
        PasswordDlgInfo info("Caption", "OK", "Back", "", "Prompt");
        info.setHeadingKey("Heading");
        info.setTextContext(textContext);
        info.setButtonContext(buttonContext);
        PasswordDialog dialog(info);
        QCoreApplication::removeTranslator(&translator);
        const QStringList shown{dialog.windowTitle(),
                                child<QLabel>(&dialog, "passwordDlg_Heading")->text(),
                                child(&dialog, "passwordDlg_passwordEntry")->accessibleName(),
                                child<QPushButton>(&dialog, "passwordDlg_OkBtn")->text(),
                                child<QPushButton>(&dialog, "passwordDlg_CancelBtn")->text()};
        QTEST(shown.join('|'), "texts");
    }

    void picturesAndKeypadComeFromTheInfo()
    {
        OpcPasswordDialog client(staffInfo(false, false));
        QCOMPARE(child<QLabel>(&client, "passwordDlg_Logo")->pixmap().size(), QSize(50, 50));
        QVERIFY(!client.keypad());
        QVERIFY(shows(&client, "passwordDlg_OkBtn", "button1.jpg"));
        QVERIFY(shows(&client, "passwordDlg_OkBtn", "button1_disable.jpg", true));
        QVERIFY(shows(&client, "passwordDlg_CancelBtn", "button2.jpg"));

        PasswordDlgInfo info("Caption", "OK", "No", ":/pictures/UserID.png", "PIN");
        info.setButton1ImagePath(ImageFolder::filePath("button2.jpg"));
        info.setKeypadType(KeyPad::FullKeyboard);
        PasswordDialog custom(info);
        QVERIFY(!child<QLabel>(&custom, "passwordDlg_Logo")->pixmap().isNull());
        QVERIFY(shows(&custom, "passwordDlg_OkBtn", "button2.jpg"));
        QCOMPARE(custom.keypad()->keypadType(), KeyPad::FullKeyboard);
    }
};

QTEST_MAIN(TestPasswordDialog)
#include "tst_passworddialog.moc"
