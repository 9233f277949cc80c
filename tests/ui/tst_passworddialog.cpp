#include "DialogFakes.h"
#include "ModalDialogDriver.h"
#include "ui/DialogSettings.h"
#include "ui/ImageButton.h"
#include "ui/ImageFolder.h"
#include "ui/KeyPad.h"
#include "ui/KeypadDialog.h"
#include "ui/OpcPasswordDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
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

// A keypad dialog with two fields and a button, as the password dialog has.
class FieldsDialog : public KeypadDialog
{
    Q_OBJECT

public:
    explicit FieldsDialog(int keypadType, int minimumHeight = 0)
        : KeypadDialog(keypadType, nullptr,
                       {.timeoutMs = DialogOptions::NoTimeout, .showLanguageButton = false})
    {
        auto *layout = new QVBoxLayout;
        for (QWidget *widget : std::initializer_list<QWidget *>{first, second, button})
            layout->addWidget(widget);
        addContentLayout(layout);
        setMinimumHeight(minimumHeight);
    }
    void retranslate() override {}

    // Clicks the keys named in a space-separated list.
    void press(const QString &names)
    {
        for (const QString &name : names.split(' '))
            key(name)->click();
    }
    QPushButton *key(const QString &name)
    {
        return keypad()->findChild<QPushButton *>("key_" + name);
    }

    QLineEdit *first = new QLineEdit(this);
    QLineEdit *second = new QLineEdit(this);
    QPushButton *button = new QPushButton("OK", this);
};

} // namespace

// The keypad and the password dialog built on it.
class TestPasswordDialog : public QObject
{
    Q_OBJECT

    std::unique_ptr<FieldsDialog> m_dialog;

private slots:
    void init()
    {
        DialogSettings::shared().reset();
        m_dialog = std::make_unique<FieldsDialog>(KeyPad::FullKeyboard);
    }

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

    void keysEditTheFocusedField_data()
    {
        QTest::addColumn<int>("cursor");
        QTest::addColumn<int>("selectionLength");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("cursorAfter");
        auto row = [](const char *name, int cursor, int selected, const char *keys,
                      const char *text, int cursorAfter) {
            QTest::newRow(name) << cursor << selected << keys << text << cursorAfter;
        };
        row("insert at the cursor", 2, 0, "x", "abxcd", 3);
        row("replace a selection", 1, 2, "x", "axd", 2);
        row("backspace a selection", 1, 2, "back", "ad", 1);
        row("backspace before the cursor", 2, 0, "back", "acd", 1);
        row("backspace at the start", 0, 0, "back", "abcd", 0);
        row("clear", 2, 0, "clear", "", 0);
        row("space bar", 4, 0, "space", "abcd ", 5);
        row("web key", 4, 0, "dotcom", "abcd.com", 8);
        row("digits and symbols", 0, 0, "1 0 minus atsign bslash", "10-@\\abcd", 5);
        row("shifted keys", 4, 0,
            "shift q tilde minus equal lbracket rbracket colons quotes comma period fslash 7 "
            "dotorg",
            "abcdQ~_+{}:\"<>?7.ORG", 20);
    }
    void keysEditTheFocusedField()
    {
        QFETCH(int, cursor);
        QFETCH(int, selectionLength);
        QFETCH(QString, keys);
        QLineEdit *field = m_dialog->first;
        field->setText("abcd");
        field->setFocus();
        field->setSelection(cursor, selectionLength);
        m_dialog->press(keys);
        QTEST(field->text(), "text");
        QTEST(field->cursorPosition(), "cursorAfter");
        QVERIFY(!field->hasSelectedText());
    }

    void keysNeedAnEditableFocusedField()
    {
        m_dialog->first->setText("abcd");
        m_dialog->button->setFocus();
        m_dialog->press("x back clear nextfield");
        QCOMPARE(m_dialog->focusWidget(), m_dialog->button);
        m_dialog->first->setReadOnly(true);
        m_dialog->first->setFocus();
        m_dialog->press("x back clear");
        QCOMPARE(m_dialog->first->text(), "abcd");
        KeyPad orphan(nullptr, KeyPad::FullKeyboard); // without an owner its keys do nothing
        for (const char *name : {"key_x", "key_back", "key_nextfield"})
            orphan.findChild<QPushButton *>(name)->click();
    }

    void nextFieldMovesAsTabDoes()
    {
        m_dialog->second->setText("second");
        m_dialog->first->setFocus();
        m_dialog->press("nextfield");
        QCOMPARE(m_dialog->focusWidget(), m_dialog->second);
        QCOMPARE(m_dialog->second->selectedText(), "second");
        // From the last field the focus goes on as Tab takes it, here to the button.
        m_dialog->press("nextfield");
        QCOMPARE(m_dialog->focusWidget(), m_dialog->button);
    }

    void everyKeyTypesItsLabel_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("keys");
        QTest::newRow("full keyboard") << int(KeyPad::FullKeyboard) << 26 + 10 + 12 + 4 + 5;
        QTest::newRow("numeric pad") << 2 << 14;
    }
    // Shifted too: Shift stays down, and relabels the keys, until it is pressed again.
    void everyKeyTypesItsLabel()
    {
        QFETCH(int, type);
        FieldsDialog dialog(type);
        const QStringList commands{"key_nextfield", "key_back", "key_clear", "key_shift",
                                   "key_space"};
        dialog.first->setFocus();
        for (bool shifted : {false, true}) {
            if (shifted && type == KeyPad::FullKeyboard)
                dialog.press("shift");
            int keys = 0;
            for (QPushButton *button : dialog.keypad()->findChildren<QPushButton *>()) {
                if (!button->objectName().startsWith("key_"))
                    continue;
                ++keys;
                QCOMPARE(button->focusPolicy(), Qt::NoFocus);
                if (commands.contains(button->objectName()))
                    continue;
                dialog.first->clear();
                button->click();
                QCOMPARE(dialog.first->text(), button->text());
            }
            QTEST(keys, "keys");
        }
        if (type == KeyPad::FullKeyboard) {
            QVERIFY(dialog.key("shift")->isChecked());
            dialog.first->clear();
            dialog.press("shift a");
            QCOMPARE(dialog.first->text() + dialog.key("tilde")->text(), "a`");
        }
    }

    // The keypad shows and hides with its dialog; Escape in the keypad closes the keypad only.
    // Its web keys come and go, and Shift and Space Bar make room for them.
    void keypadFollowsItsDialog()
    {
        KeyPad *keypad = m_dialog->keypad();
        m_dialog->show();
        QTest::keyClick(keypad, Qt::Key_Escape);
        QVERIFY(!keypad->isVisible() && m_dialog->isVisible());
        for (bool shown : {true, false}) {
            m_dialog->setWebKeysVisible(shown);
            m_dialog->hide();
            QVERIFY(!keypad->isVisible());
            m_dialog->show();
            QVERIFY(keypad->isVisible());
            for (const char *name : {"dotcom", "dotnet", "dotorg", "dotgov"}) {
                QCOMPARE(m_dialog->key(name)->isVisible(), shown);
                for (const char *moved : {"shift", "space"})
                    QVERIFY(!shown || !m_dialog->key(name)->geometry().intersects(
                                          m_dialog->key(moved)->geometry()));
            }
        }
        m_dialog->close();
        QVERIFY(!keypad->isVisible());
    }

    void dialogIsPlacedAboveTheKeypad_data()
    {
        QTest::addColumn<int>("keypadType");
        QTest::addColumn<int>("minimumHeight");
        QTest::addColumn<bool>("centredOnScreen"); // else centred in the space above the keypad
        QTest::newRow("short dialog, numeric pad") << 2 << 0 << true;
        QTest::newRow("tall dialog, numeric pad") << 2 << 400 << false;
        QTest::newRow("tall dialog, full keyboard") << 1 << 250 << false;
    }
    void dialogIsPlacedAboveTheKeypad()
    {
        QFETCH(int, keypadType);
        QFETCH(int, minimumHeight);
        FieldsDialog dialog(keypadType, minimumHeight);
        dialog.show();
        const KeyPad *keypad = dialog.keypad();
        const QRect desktop = dialog.screen()->availableGeometry();
        QCOMPARE(keypad->frameGeometry().bottom(), desktop.bottom());
        QCOMPARE(keypad->x(), desktop.x() + (desktop.width() - keypad->width()) / 2);
        QCOMPARE(dialog.x(), desktop.x() + (desktop.width() - dialog.width()) / 2);
        QVERIFY(dialog.frameGeometry().bottom() < keypad->frameGeometry().top());
        QFETCH(bool, centredOnScreen);
        const int space = centredOnScreen ? desktop.height() : keypad->y() - desktop.y();
        QCOMPARE(dialog.y() - desktop.y(), (space - dialog.frameGeometry().height()) / 2);
    }
};

QTEST_MAIN(TestPasswordDialog)
#include "tst_passworddialog.moc"
