#include "DialogFakes.h"
#include "ModalDialogDriver.h"
#include "settings/Registry.h"
#include "ui/AboutInfoDialog.h"
#include "ui/DialogSettings.h"
#include "ui/EmbeddedImages.h"
#include "ui/ImageButton.h"
#include "ui/ImageButtonPainter.h"
#include "ui/ImageFolder.h"
#include "ui/KeyPad.h"
#include "ui/KeypadDialog.h"
#include "ui/MessageDialog.h"
#include "ui/OpcPasswordDialog.h"
#include "ui/PrintClientDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QtTest>

using UtilsLib::RegistryRoot;

namespace {

std::unique_ptr<MessageDialog> threeButtons(int count = 3, const QString &picture3 = "")
{
    return std::make_unique<MessageDialog>("Caption", QStringList{"Text"}, QStringList(),
                                           QMessageBox::Question, nullptr, 0, count, "One", "",
                                           "Two", "", "Three", picture3);
}

// The text of the named label or button.
QString text(QWidget *dialog, const char *name)
{
    return dialog->findChild<QWidget *>(name)->property("text").toString();
}

// Clicks the named button, presses Return or Escape, or Tab from button 1 and then Space.
void answer(QWidget *dialog, const QString &how)
{
    if (how == "Return" || how == "Escape") {
        QTest::keyClick(dialog, how == "Return" ? Qt::Key_Return : Qt::Key_Escape);
    } else if (how == "Tab") {
        auto *first = dialog->findChild<QWidget *>("button1");
        first->setFocus();
        QTest::keyClick(first, Qt::Key_Tab);
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Space);
    } else if (!how.isEmpty()) {
        ModalDialogDriver::click(dialog, qPrintable(how));
    }
}

const QString ExplorerAdvanced = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const QColor Probe(200, 30, 40);   // a button picture's pixel (1, 1)
const QColor Body(40, 120, 220);   // every other pixel of that picture
const QColor Faded(230, 230, 230); // the disabled picture

// A picture exactly the button's size, so scaling leaves its pixels as they are.
QPixmap picture(const QColor &body, const QColor &probe)
{
    QImage image(100, 40, QImage::Format_RGB32);
    image.fill(body);
    image.setPixelColor(1, 1, probe);
    return QPixmap::fromImage(image);
}

class GreenPainter : public UtilsLib::ImageButtonPainter
{
public:
    using ImageButtonPainter::ImageButtonPainter;
    void paint(QPainter &painter) override { painter.fillRect(0, 0, 4, 4, Qt::green); }
};

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

// The message and password dialogs, the about box, the keypad and the pictures they show.
class TestDialogs : public QObject
{
    Q_OBJECT

    const FakeVersionInfo m_version;
    std::unique_ptr<FieldsDialog> m_dialog;

private slots:
    void init()
    {
        DialogSettings::shared().reset();
        DialogSettings::shared().setVersionInfo(&m_version);
        m_dialog = std::make_unique<FieldsDialog>(KeyPad::FullKeyboard);
    }

    void buttonsFollowTheCount_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<bool>("pictures");
        QTest::newRow("none") << 0 << 0 << true;
        QTest::newRow("one picture button") << 1 << 1 << true;
        QTest::newRow("more than three, own third picture") << 7 << 3 << true;
        QTest::newRow("plain, none") << 1000 << 0 << false;
        QTest::newRow("two plain buttons") << 1002 << 2 << false;
    }
    void buttonsFollowTheCount()
    {
        QFETCH(int, buttons);
        QFETCH(bool, pictures);
        QFETCH(int, count);
        const auto dialog = threeButtons(count, "button1_disable.jpg");
        // Picture buttons show button1.jpg, then button2.jpg, unless given their own.
        const char *files[] = {"button1.jpg", "button2.jpg", "button1_disable.jpg"};
        for (int number = 1; number <= 3; ++number) {
            auto *button = dialog->findChild<QPushButton *>(QString("button%1").arg(number));
            QCOMPARE(button != nullptr, number <= buttons);
            auto *pictured = qobject_cast<UtilsLib::ImageButton *>(button);
            QCOMPARE(pictured != nullptr, button && pictures);
            if (pictured)
                QCOMPARE(pictured->image().toImage(),
                         QImage(ImageFolder::filePath(files[number - 1])));
        }
    }

    void buttonResults_data()
    {
        QTest::addColumn<bool>("customResults");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("result");
        QTest::newRow("button 2") << false << "button2" << 0;
        QTest::newRow("custom button 3") << true << "button3" << 9;
        QTest::newRow("Return presses button 1") << true << "Return" << 7;
        QTest::newRow("Escape rejects") << true << "Escape" << 0;
        QTest::newRow("Tab and Space press button 2") << true << "Tab" << 8;
    }
    void buttonResults()
    {
        QFETCH(bool, customResults);
        QFETCH(QString, how);
        const auto dialog = threeButtons();
        if (customResults)
            dialog->setButtonResults(7, 8, 9);
        ModalDialogDriver driver([how](QWidget *shown) { answer(shown, how); });
        QTEST(dialog->exec(), "result");
        QVERIFY(driver.ran() && !driver.forcedClose());
    }

    // A message that arrives while the user works in another window comes to the front, also
    // when its dialog is still on screen from the message before.
    void messageComesToTheFront()
    {
        const auto dialog = threeButtons();
        dialog->show();
        QWidget elsewhere;
        elsewhere.show();
        QTRY_COMPARE(QApplication::activeWindow(), &elsewhere);
        dialog->setParagraph3({"Next"});
        dialog->show();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(dialog.get()));
    }

    void bodyJoinsTheParagraphs_data()
    {
        QTest::addColumn<QStringList>("paragraph2");
        QTest::addColumn<QStringList>("paragraph3");
        QTest::addColumn<QString>("body");
        QTest::newRow("one") << QStringList() << QStringList() << "Your job was sent.";
        QTest::newRow("second empty, third given")
            << QStringList() << QStringList{"Pick it up."} << "Your job was sent.\nPick it up.";
        QTest::newRow("three") << QStringList{"A"} << QStringList{"B", "C"}
                               << "Your job was sent.\nA\nB C";
    }
    void bodyJoinsTheParagraphs()
    {
        QFETCH(QStringList, paragraph2);
        QFETCH(QStringList, paragraph3);
        MessageDialog dialog("Caption", {"Your job", "was sent."}, paragraph2,
                             QMessageBox::Information);
        dialog.setParagraph3(paragraph3);
        QTEST(text(&dialog, "textLabel"), "body");
    }

    void textsAreTranslatedInTheirContexts()
    {
        TableTranslator translator;
        translator.add("CommonDialogMessages", "Print Job", "Travail d'impression");
        translator.add("CommonDialogMessages", "Job sent.", "Travail envoyé.");
        translator.add("MessageDialog", "Yes", "Oui");
        // The same key in another context must not be used.
        translator.add("MessageDialog", "Job sent.", "wrong");
        translator.add("CommonDialogMessages", "No", "wrong");
        QCoreApplication::installTranslator(&translator);
        MessageDialog dialog("Print Job", {"Job sent.", "Not a key."}, {}, QMessageBox::Information,
                             nullptr, 0, 1002, "Yes", "", "No");
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(dialog.windowTitle(), "Travail d'impression");
        QCOMPARE(text(&dialog, "textLabel"), "Travail envoyé. Not a key.");
        QCOMPARE(text(&dialog, "button1"), "Oui");
        QCOMPARE(text(&dialog, "button2"), "No");
        // An empty caption keeps the program's name, also after showing translates again.
        MessageDialog untitled("", {"Text"}, {}, QMessageBox::NoIcon);
        untitled.show();
        QCOMPARE(untitled.windowTitle(), "Example Client");
    }

    // The message boxes and the question; Escape and the time-out mean No.
    void messageBoxes_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("shown"); // button texts, then the picture's accessible name
        QTest::addColumn<bool>("result");
        auto row = [](const char *name, const char *kind, const char *how, const char *shown,
                      bool result) { QTest::newRow(name) << kind << how << shown << result; };
        row("critical", "critical", "button1", "OK|Error", false);
        row("warning", "warning", "button1", "OK|Warning", false);
        row("information", "information", "button1", "OK|Information", false);
        row("own picture", "show", "button1", "OK", false);
        row("warning closed by the time-out", "warning", "", "OK|Warning", false);
        row("question, Yes", "question", "button1", "Yes|No|Question", true);
        row("question, No", "question", "button2", "Yes|No|Question", false);
        row("question, time-out", "question", "", "Yes|No|Question", false);
    }
    void messageBoxes()
    {
        QFETCH(QString, kind);
        QFETCH(QString, how);
        DialogSettings::shared().setDefaultTimeoutMs(how.isEmpty() ? 150 : 60000);
        TableTranslator translator;
        translator.add("CommonDialogMessages", "Printing", "Impression");
        QCoreApplication::installTranslator(&translator);
        PrintClientDialog messages;
        QStringList seen;
        QSize iconSize;
        ModalDialogDriver driver([&](QWidget *shown) {
            seen << shown->windowTitle() << text(shown, "textLabel") << text(shown, "button1");
            if (shown->findChild<QWidget *>("button2"))
                seen << text(shown, "button2");
            const auto *icon = shown->findChild<QLabel *>("iconLabel");
            iconSize = icon->pixmap().size();
            if (kind != "show") // show() gives its own picture no name
                seen << icon->accessibleName();
            answer(shown, how);
        });
        const QString body = "Not a translation key: 100% done.";
        bool result = false;
        if (kind == "critical")
            messages.critical("Printing", body);
        else if (kind == "warning")
            messages.warning("Printing", body);
        else if (kind == "information")
            messages.information("Printing", body);
        else if (kind == "show")
            messages.show("Printing", body, QPixmap(20, 10));
        else
            result = messages.question("Printing", body);
        QCoreApplication::removeTranslator(&translator);
        QVERIFY(driver.ran() && !driver.forcedClose());
        QTEST(result, "result");
        QTEST(seen.mid(2).join('|'), "shown");
        QCOMPARE(seen.mid(0, 2), (QStringList{"Impression", body}));
        QVERIFY(kind == "show" ? iconSize == QSize(20, 10) : !iconSize.isEmpty());
    }

    void aboutNamesTheVersionAndComponents()
    {
        DialogSettings::shared().setDefaultTimeoutMs(50);
        AboutInfoDialog about;
        QString notice;
        ModalDialogDriver driver(
            [&](QWidget *shown) {
                if (shown->isVisible()) // never closed by the time-out
                    notice = text(shown, "mainLabel");
                QTest::keyClick(shown, Qt::Key_Return);
            },
            300);
        QCOMPARE(about.exec(), int(QDialog::Accepted));
        const QStringList lines = notice.split('\n');
        QCOMPARE(lines.value(0), "Example Client - Version 05.01.02.0037");
        QCOMPARE(lines.value(1), "Copyright © 2031, Example Works. All rights reserved.");
        for (const char *name :
             {"Qt 6", "LGPL-3.0", "log4cpp", "LGPL-2.1", "CUPS", "Apache License 2.0"})
            QVERIFY2(notice.contains(name), name);

        // The whole text is translated again on a language change.
        FakeLanguageChanger changer(4);
        DialogSettings::shared().setLanguageChanger(&changer);
        about.show();
        about.toggleExtension();
        about.languageChange("FR_CA");
        QCOMPARE(text(&about, "okButton"), "[FR_CA] OK");
        QVERIFY(text(&about, "mainLabel").startsWith("[FR_CA] Example Client - Version "));
    }

    // Every compiled-in picture loads; the tray pictures really use their alpha (their corners
    // are see-through), and any other name gives a null image.
    void embeddedPicturesLoad()
    {
        for (const QString &name : EmbeddedImages::names()) {
            const QImage image = EmbeddedImages::embeddedImage(name);
            QVERIFY2(!image.isNull(), qPrintable(name));
            if (name.startsWith("PrintClient"))
                QVERIFY2(image.pixelColor(0, 0).alpha() < 64, qPrintable(name));
        }
        for (const char *other : {"", "ondrel", "Ondrel.png"})
            QVERIFY(EmbeddedImages::embeddedImage(other).isNull());
        // Each dialog picture is a picture of its own.
        const QList<QPixmap> pixmaps{
            EmbeddedImages::allocationPixmap(), EmbeddedImages::depositPixmap(),
            EmbeddedImages::passwordPixmap(),   EmbeddedImages::wantToPrintPixmap(),
            EmbeddedImages::userIdPixmap(),     EmbeddedImages::printOkPixmap(),
            EmbeddedImages::logoPixmap(),       EmbeddedImages::disconnectedTrayPixmap()};
        for (qsizetype i = 0; i < pixmaps.size(); ++i) {
            QVERIFY(!pixmaps[i].isNull());
            for (qsizetype j = 0; j < i; ++j)
                QVERIFY(pixmaps[i].toImage() != pixmaps[j].toImage());
        }
        // The button backgrounds and the flags are read from the images folder.
        for (const char *file : {"button1.jpg", "button1_disable.jpg", "button2.jpg", "fr_ca.png"})
            QVERIFY2(!QPixmap(ImageFolder::filePath(file)).isNull(), file);
    }

    // "TaskbarSmallIcons" of the current user's hive, as the installer writes it.
    void trayPictureFollowsTheTaskbarSetting_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("machine");
        QTest::addColumn<RegistryRoot>("previous");
        QTest::addColumn<QString>("name");
        auto row = [](const char *name, const char *value, const char *machine,
                      RegistryRoot previous, const char *picture) {
            QTest::newRow(name) << value << machine << previous << picture;
        };
        const RegistryRoot none = RegistryRoot::None;
        row("absent", "", "", none, "PrintClient");
        row("large icons", "dword:0", "", RegistryRoot::Users, "PrintClientLarge");
        row("other number", "dword:5", "", none, "PrintClient");
        row("zero as text", "sz:0", "", none, "PrintClientLarge");
        row("not a number", "sz:big", "", RegistryRoot::Users, "PrintClient");
        row("no registry", "dword:0", "elsewhere", none, "PrintClient");
    }
    void trayPictureFollowsTheTaskbarSetting()
    {
        QFETCH(QString, value);
        QFETCH(QString, machine);
        QFETCH(RegistryRoot, previous);
        QTemporaryDir folder;
        qputenv("ONDTPC_REGISTRY_DIR", folder.path().toUtf8());
        UtilsLib::Registry installer;
        // Another hive holding the value must not be read.
        installer.connectRoot(RegistryRoot::LocalMachine);
        QVERIFY(installer.writeValue(ExplorerAdvanced, "TaskbarSmallIcons", "dword:0"));
        installer.connectRoot(RegistryRoot::CurrentUser);
        QVERIFY(value.isEmpty() || installer.writeValue(ExplorerAdvanced, "TaskbarSmallIcons",
                                                        value.section(' ', 0, 0)));
        UtilsLib::Registry registry(machine);
        registry.connectRoot(previous);
        QTEST(EmbeddedImages::registeredTrayPixmapName(registry), "name");
        QCOMPARE(registry.rootKey(), machine.isEmpty() ? previous : RegistryRoot::None);
        // The picture itself is chosen once, here by a registry that reads as small icons.
        UtilsLib::Registry elsewhere("elsewhere");
        QCOMPARE(EmbeddedImages::registeredTrayPixmap(elsewhere).size(), QSize(16, 16));
        QCOMPARE(EmbeddedImages::registeredTrayPixmap(registry).size(), QSize(16, 16));
        qunsetenv("ONDTPC_REGISTRY_DIR");
    }

    void buttonPaintsItsPicture()
    {
        UtilsLib::ImageButton button;
        QPushButton reference("OK");
        for (QPushButton *each : {static_cast<QPushButton *>(&button), &reference})
            each->setFixedSize(100, 40);
        // Without a picture it paints an ordinary push button, not a black box.
        button.setText("OK");
        QCOMPARE(button.grab().toImage(), reference.grab().toImage());
        button.setText(QString());
        button.setImage(picture(Body, Probe));
        const auto colours = [&button](const QList<QPoint> &points) {
            const QImage shot = button.grab().toImage();
            QList<QColor> found;
            for (const QPoint &point : points)
                found << shot.pixelColor(point);
            return found;
        };
        QCOMPARE(colours({{0, 0}, {1, 1}, {99, 39}}), QList<QColor>({Body, Probe, Body}));
        // Pressed, the picture moves one pixel down and right over the colour of pixel (1, 1).
        button.setDown(true);
        QCOMPARE(colours({{0, 0}, {50, 0}, {0, 20}, {1, 1}, {2, 2}}),
                 QList<QColor>({Probe, Probe, Probe, Body, Probe}));
        // Disabled, the disabled picture is shown when there is one.
        button.setDown(false);
        button.setEnabled(false);
        QCOMPARE(colours({{50, 5}}), QList<QColor>{Body});
        button.setDisabledImage(picture(Faded, Faded));
        QCOMPARE(colours({{50, 5}}), QList<QColor>{Faded});
        button.setEnabled(true);
        QCOMPARE(colours({{50, 5}}), QList<QColor>{Body});

        // The text is black when enabled, grey when disabled.
        QFont font = button.font();
        font.setPixelSize(30);
        font.setBold(true);
        button.setFont(font);
        button.setText("MW");
        for (bool enabled : {true, false}) {
            button.setEnabled(enabled);
            const QImage shot = button.grab().toImage();
            QSet<QRgb> found;
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    found.insert(shot.pixel(x, y));
            QCOMPARE(found.contains(QColor(Qt::black).rgb()), enabled);
            QCOMPARE(found.contains(QColor(Qt::gray).rgb()), !enabled);
        }

        // An installed painter paints instead.
        GreenPainter painter(&button);
        button.setPainter(&painter);
        QCOMPARE(button.grab().toImage().pixelColor(0, 0), QColor(Qt::green));
        button.setPainter(nullptr);
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

    // Each run starts empty. Typing starts in the staff ID; Tab leads through the others (the
    // reason box too) to OK, which Space presses. Return accepts only once every field is filled.
    void eachRunStartsEmptyAndReturnNeedsEveryField()
    {
        PasswordDialog dialog(staffInfo(true, true));
        QStringList seen;
        for (const char *text : {"one", "two"}) {
            ModalDialogDriver driver([&](QWidget *shown) {
                auto *password = child<QLineEdit>(shown, "passwordDlg_passwordEntry");
                seen << child<QLineEdit>(shown, "passwordDlg_staffIdEntry")->text()
                     << password->text()
                     << child<QPlainTextEdit>(shown, "passwordDlg_reasonEntry")->toPlainText();
                if (child(shown, "passwordDlg_OkBtn")->isEnabled())
                    seen << "OK enabled";
                for (int field = 0; field < 3; ++field) {
                    QTest::keyClicks(shown->focusWidget(), text);
                    if (field == 1) // the reason is still missing
                        QTest::keyClick(password, Qt::Key_Return);
                    QTest::keyClick(shown->focusWidget(), Qt::Key_Tab);
                }
                if (!shown->isVisible())
                    seen << "closed without a reason";
                QTest::keyClick(text[0] == 'o' ? shown->focusWidget() : password,
                                text[0] == 'o' ? Qt::Key_Space : Qt::Key_Enter);
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

    // Next Field moves as Tab does, from the last field on to the button; no key edits or moves
    // from a button, or edits a read-only field.
    void nextFieldTabsAndKeysNeedAnEditableField()
    {
        m_dialog->second->setText("second");
        m_dialog->first->setText("abcd");
        m_dialog->first->setFocus();
        m_dialog->press("nextfield");
        QCOMPARE(m_dialog->focusWidget(), m_dialog->second);
        QCOMPARE(m_dialog->second->selectedText(), "second");
        m_dialog->press("nextfield");
        QCOMPARE(m_dialog->focusWidget(), m_dialog->button);
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

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
