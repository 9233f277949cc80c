#include "DialogFakes.h"
#include "ModalDialogDriver.h"
#include "ui/AboutInfoDialog.h"
#include "ui/AlphanumericKeyboardInputFilter.h"
#include "ui/BcBaseDialog.h"
#include "ui/ChangeLanguageButton.h"
#include "ui/CopyrightLabel.h"
#include "ui/DialogSettings.h"
#include "ui/KeyPad.h"
#include "ui/LanguageSelectorExtension.h"
#include "ui/LanguageSelectorExtensionItem.h"
#include "ui/MessageDialog.h"
#include "ui/OpcPasswordDialog.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// A dialog with one label and one field whose label text is translated in "TestDialog".
class TestDialog : public BcBaseDialog
{
    Q_OBJECT

public:
    explicit TestDialog(QWidget *parent = nullptr, const DialogOptions &options = {})
        : BcBaseDialog(parent, options)
    {
        auto *layout = new QVBoxLayout;
        layout->addWidget(label);
        layout->addWidget(field);
        addContentLayout(layout);
        retranslate();
    }
    void retranslate() override
    {
        ++retranslations;
        label->setText(tr("Hello"));
    }

    QLabel *label = new QLabel(this);
    QLineEdit *field = new QLineEdit(this);
    int retranslations = 0;
};

// Refuses every key and counts its own destruction.
struct CountingFilter : KeyboardInputFilter
{
    explicit CountingFilter(int *destroyed)
        : destroyed(destroyed)
    {}
    ~CountingFilter() override { ++*destroyed; }
    bool accepts(quint16) const override { return false; }
    int *destroyed;
};

// Timers the widget and the objects it owns have running; hidden widgets must have none.
qsizetype runningTimers(QObject *object)
{
    qsizetype count = QAbstractEventDispatcher::instance()->registeredTimers(object).size();
    for (QObject *each : object->findChildren<QObject *>())
        count += QAbstractEventDispatcher::instance()->registeredTimers(each).size();
    return count;
}

// Milliseconds left on the dialog's time-out, -1 when none runs.
int remainingTimeout(BcBaseDialog *dialog)
{
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    for (const auto &timer : dispatcher->registeredTimers(dialog)) {
        if (timer.interval == dialog->timeout())
            return dispatcher->remainingTime(timer.timerId);
    }
    return -1;
}

const LanguageList ThreeLanguages{{"English", "Close Language Options"},
                                  {"Français", "Fermer les options de langue"},
                                  {"Español", "Cerrar opciones de idioma"}};

using Factory = std::function<BcBaseDialog *()>;

BcBaseDialog *passwordDialog(int keypadType)
{
    PasswordDlgInfo info("Staff Override", "OK", "Cancel", QString(), "Password");
    info.setHeadingKey("This job needs a staff member's approval.");
    info.setShowStaffId(true);
    info.setShowReason(true);
    info.setKeypadType(keypadType);
    return new OpcPasswordDialog(info);
}

bool needsName(QWidget *widget)
{
    if (qobject_cast<QAbstractButton *>(widget) || qobject_cast<QLineEdit *>(widget) ||
        qobject_cast<QPlainTextEdit *>(widget) || qobject_cast<QListWidget *>(widget))
        return true;
    const auto *label = qobject_cast<QLabel *>(widget);
    return label && !label->pixmap().isNull();
}

} // namespace

Q_DECLARE_METATYPE(Factory)

class TestBcBaseDialog : public QObject
{
    Q_OBJECT

    DialogSettings &settings = DialogSettings::shared();

private slots:
    void init()
    {
        settings.reset();
        settings.setLanguageList(ThreeLanguages);
        settings.setLanguageMap(
            {{"EN_US", "English"}, {"ES_US", "Español"}, {"FR_CA", "Français"}});
        settings.setCurrentLanguage("EN_US");
    }

    // How a modal run ends: the time-out closes an idle dialog as rejected and activity
    // restarts it, a dialog without one waits for Escape, the reject event closes only dialogs
    // with a time-out.
    void modalRunEnds_data()
    {
        QTest::addColumn<int>("timeoutMs");
        QTest::addColumn<int>("sharedMs");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("minimumMs");
        QTest::addColumn<int>("result");
        auto row = [](const char *name, int timeoutMs, int sharedMs, const char *action,
                      int minimumMs, int result = QDialog::Rejected) {
            QTest::newRow(name) << timeoutMs << sharedMs << action << minimumMs << result;
        };
        // The dialog's own time-out wins over the shared one; a negative one means none.
        row("idle", 0, 150, "", 140); // a coarse timer may fire up to 5 % early
        for (const char *activity : {"key", "field key", "press", "move"})
            row(activity, 5000, 150, activity, 0);
        row("Escape without a time-out", -3000, 50, "escape", 300);
        row("reject event", 60000, -1, "reject", 0);
        row("reject event without a time-out", -1, -1, "reject", 0, QDialog::Accepted);
    }
    void modalRunEnds()
    {
        QFETCH(int, timeoutMs);
        QFETCH(int, sharedMs);
        QFETCH(QString, action);
        QFETCH(int, minimumMs);
        settings.setDefaultTimeoutMs(sharedMs);
        TestDialog dialog(nullptr, {.timeoutMs = timeoutMs});
        const bool activity = QStringList{"key", "field key", "press", "move"}.contains(action);
        // The time-out left after the event, and the time from just before the event to then.
        qint64 after = -1, between = -1;
        ModalDialogDriver driver(
            [&](QWidget *) {
                dialog.field->setFocus();
                if (action == "escape")
                    QTest::keyClick(dialog.field, Qt::Key_Escape);
                if (action == "reject") {
                    QCoreApplication::postEvent(&dialog, new QEvent(BcBaseDialog::RejectEvent));
                    QTimer::singleShot(100, &dialog, &QDialog::accept);
                }
                // Read from the timer itself, so no clock on a busy machine decides.
                const auto runDown = [&] {
                    const int left = remainingTimeout(&dialog);
                    return left >= 0 && left <= 4500;
                };
                if (!activity || !QTest::qWaitFor(runDown))
                    return;
                QElapsedTimer clock;
                clock.start();
                const auto button = action == "press" ? Qt::LeftButton : Qt::NoButton;
                QMouseEvent mouse(action == "press" ? QEvent::MouseButtonPress : QEvent::MouseMove,
                                  QPointF(5, 5), dialog.mapToGlobal(QPointF(5, 5)), button, button,
                                  {});
                if (action.endsWith("key"))
                    QTest::keyClick(action == "key" ? &dialog : dialog.focusWidget(), 'a');
                else
                    QCoreApplication::sendEvent(&dialog, &mouse);
                after = remainingTimeout(&dialog);
                between = clock.elapsed();
                dialog.reject();
            },
            action == "escape" ? 300 : 0, 3000);
        QElapsedTimer clock;
        clock.start();
        QTEST(dialog.exec(), "result");
        QVERIFY(driver.ran() && !driver.forcedClose());
        QVERIFY2(clock.elapsed() >= minimumMs, qPrintable(QString::number(clock.elapsed())));
        // Restarted, a whole time-out (give or take the 5 % a coarse timer is moved) lies
        // ahead from the event on; left running, at most 4500 ms less the time between.
        QVERIFY2(!activity || after + between >= 4740,
                 qPrintable(QString("%1 ms left %2 ms after the event").arg(after).arg(between)));
    }

    void languageButtonNeedsTwoLanguages_data()
    {
        QTest::addColumn<int>("languages");
        QTest::addColumn<bool>("wanted");
        QTest::addColumn<bool>("shown");
        QTest::newRow("none") << 0 << true << false;
        QTest::newRow("one") << 1 << true << false;
        QTest::newRow("two but not wanted") << 2 << false << false;
        QTest::newRow("two") << 2 << true << true;
    }
    void languageButtonNeedsTwoLanguages()
    {
        QFETCH(int, languages);
        QFETCH(bool, wanted);
        settings.setLanguageList(ThreeLanguages.mid(0, languages));
        TestDialog dialog(nullptr, {.showLanguageButton = wanted});
        dialog.show();
        QTEST(dialog.findChild<ChangeLanguageButton *>()->isVisible(), "shown");
    }

    // The notice line and the language button turn their texts, but only while shown: the
    // client keeps dialogs built and hidden for days, and nothing in them may tick.
    void rotatingTexts()
    {
        const FakeVersionInfo version;
        CopyrightLabel notice(nullptr, version, 40);
        ChangeLanguageButton button(nullptr, ThreeLanguages, 30);
        notice.show();
        button.show();
        const QStringList texts{"Example Product", "Copyright © 2031, Example Works",
                                "All rights reserved.", "Version 05.01.02.0037"};
        for (int step = 0; step <= 4; ++step) // a full round and back to the first
            QTRY_COMPARE(notice.text(), texts[step % 4]);
        for (int step = 0; step <= 3; ++step)
            QTRY_COMPARE(button.text(), ThreeLanguages[step % 3].first);
        // Wide enough for the widest text, open or closed; the focus stays in the dialog.
        QVERIFY(button.minimumWidth() >
                button.fontMetrics().horizontalAdvance(ThreeLanguages[1].second));
        QCOMPARE(button.focusPolicy(), Qt::NoFocus);

        TestDialog dialog;
        QCOMPARE(runningTimers(&dialog), 0);
        for (int round = 0; round < 2; ++round) {
            dialog.show();
            QCOMPARE(runningTimers(dialog.findChild<CopyrightLabel *>()), 1);
            QCOMPARE(runningTimers(dialog.findChild<ChangeLanguageButton *>()), 1);
            dialog.hide();
            QCOMPARE(runningTimers(&dialog), 0);
        }
        ChangeLanguageButton empty(nullptr, LanguageList(), 60000);
        empty.setExtensionShown(true);
        QCOMPARE(empty.text(), "");
    }

    void sharedSettingsLayoutAndBringToFront()
    {
        const FakeVersionInfo version;
        settings.setVersionInfo(&version);
        settings.setLanguageButtonIntervalMs(700);
        settings.setFont("DejaVu Serif", 14);
        TestDialog dialog;
        QCOMPARE(dialog.findChild<CopyrightLabel *>()->texts().value(0), "Example Product");
        QCOMPARE(dialog.font().pointSize(), 14);
        QCOMPARE(dialog.findChild<ChangeLanguageButton *>()->interval(), 700);
        dialog.show();
        const auto *notice = dialog.findChild<CopyrightLabel *>();
        const auto *button = dialog.findChild<ChangeLanguageButton *>();
        // Added first, sits lowest: notice line, then the language button, then the content.
        QVERIFY(notice->y() > button->geometry().bottom());
        QVERIFY(button->y() > dialog.field->geometry().bottom());
        // Centred on the screen, or at a fixed top.
        const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
        const int x = desktop.x() + (desktop.width() - dialog.width()) / 2;
        QCOMPARE(dialog.pos(), QPoint(x, desktop.y() + (desktop.height() - dialog.height()) / 2));
        dialog.hide();
        dialog.setFixedTop(true, 17);
        dialog.show();
        QCOMPARE(dialog.pos(), QPoint(x, 17));
        // bringToFront restores a minimized dialog, translated again.
        dialog.showMinimized();
        QTRY_VERIFY(dialog.isMinimized());
        const int before = dialog.retranslations;
        dialog.bringToFront();
        QTRY_VERIFY(!dialog.isMinimized());
        QVERIFY(dialog.isVisible() && dialog.retranslations > before);
        // Reset forgets the version texts, which belong to the program.
        settings.reset();
        QCOMPARE(TestDialog().windowTitle(), "");
    }

    // A palette of each dialog's own gave the style's cache keys no later dialog used again.
    void dialogsShareOneWhitePalette()
    {
        TestDialog first;
        TestDialog second;
        first.ensurePolished(); // the class's palette arrives with the polish
        second.ensurePolished();
        QCOMPARE(first.palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(second.field->palette().cacheKey(), first.palette().cacheKey());
    }

    void inputFiltersAndInputMethods()
    {
        int destroyed = 0; // outlives the dialog, whose end deletes the filter still installed
        TestDialog dialog;
        dialog.show();
        QLineEdit *field = dialog.field;
        dialog.setInputFilter(field, std::make_unique<AlphanumericKeyboardInputFilter>("-"));
        QTest::keyClicks(field, "a-b.c_9");
        QTest::keyClick(field, Qt::Key_Backspace); // editing keys are 4096 and above: they pass
        QCOMPARE(field->text(), "a-bc");

        // A replaced filter is deleted, a removed one too, and the field takes every key again.
        for (int i = 0; i < 2; ++i)
            dialog.setInputFilter(field, std::make_unique<CountingFilter>(&destroyed));
        QCOMPARE(destroyed, 1);
        QTest::keyClicks(field, "x");
        QCOMPARE(field->text(), "a-bc");
        dialog.setInputFilter(field, nullptr);
        QCOMPARE(destroyed, 2);
        QTest::keyClicks(field, ".");
        QCOMPARE(field->text(), "a-bc.");

        // A filter for a widget that goes away is dropped with it.
        auto *extra = new QLineEdit(&dialog);
        dialog.setInputFilter(extra, std::make_unique<CountingFilter>(&destroyed));
        delete extra;
        QCOMPARE(destroyed, 3);
        dialog.setInputFilter(field, std::make_unique<CountingFilter>(&destroyed));

        for (bool block : {true, false}) {
            dialog.setBlockInputMethod(block);
            QInputMethodEvent event;
            event.setCommitString("é");
            QCoreApplication::sendEvent(field, &event);
            QCOMPARE(field->text(), block ? "a-bc." : "a-bc.é");
        }
    }

    void keyTable_data()
    {
        QTest::addColumn<QString>("exceptions");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("accepted");
        // The edges of the digits, the capitals (key codes are never lower case), space and
        // no-break space, the Latin-1 letters 192-255 and the special keys 4096-4134.
        const QList<QPair<int, bool>> plain{
            {0, false},   {32, true},   {45, false},  {48, true},  {57, true},   {58, false},
            {64, false},  {65, true},   {90, true},   {91, false}, {97, false},  {160, true},
            {161, false}, {191, false}, {192, true},  {255, true}, {256, false}, {4095, false},
            {4096, true}, {4134, true}, {4144, false}};
        for (const auto &[code, accepted] : plain)
            QTest::addRow("%d", code) << QString() << code << accepted;
        QTest::newRow("underscore exception") << QString("-_") << 95 << true;
        QTest::newRow("exception in the Latin-1 range") << QString("\u00a7") << 0xa7 << true;
        QTest::newRow("exception above Latin-1") << QString("\u20ac") << 0x20ac << false;
    }
    void keyTable()
    {
        QFETCH(QString, exceptions);
        QFETCH(int, code);
        QTEST(AlphanumericKeyboardInputFilter(exceptions).accepts(quint16(code)), "accepted");
    }

    // Qt's special keys (0x01000000 + n) become 4096 + n; what does not fit 16 bits is 0xFFFF.
    void qtKeysMapToFilterCodes()
    {
        const QList<int> keys{
            Qt::Key_A,  Qt::Key_Eacute,    Qt::Key_Escape, Qt::Key_Left, Qt::Key_ScrollLock,
            Qt::Key_F1, Qt::Key_MediaPlay, Qt::Key_Camera, 0x1F600,      -1};
        QList<int> codes;
        for (int key : keys)
            codes.append(KeyboardInputFilter::filterKeyCode(key));
        QCOMPARE(codes,
                 (QList<int>{65, 0xc9, 4096, 4114, 4134, 0x1030, 0x1080, 0xFFFF, 0xFFFF, 0xFFFF}));
    }

    void extensionOpensBesideTheDialog()
    {
        settings.setLanguageMap(
            {{"EN_US", "English"}, {"ES_US", "Español"}, {"xx_yy", "Nowhere Language"}});
        TestDialog dialog;
        dialog.show();
        const int closedWidth = dialog.width();
        auto *button = dialog.findChild<ChangeLanguageButton *>();
        QTest::mouseClick(button, Qt::LeftButton);
        auto *list = dialog.findChild<LanguageSelectorExtension *>();
        QVERIFY(list && list->isVisible());
        QTRY_VERIFY(dialog.width() >= closedWidth + list->minimumWidth());
        QVERIFY(list->x() >= closedWidth - 1);
        QCOMPARE(list->height(), dialog.height());
        QCOMPARE(button->text(), ThreeLanguages[1].second);
        // A flagged item per language (flag files are lower case); one without keeps its name.
        QCOMPARE(list->count(), 3);
        for (int row = 0; row < 3; ++row) {
            const auto *item = dynamic_cast<LanguageSelectorExtensionItem *>(list->item(row));
            QCOMPARE(item->text(), settings.languageMap().values().value(row));
            QCOMPARE(item->flag().size(), row < 2 ? QSize(45, 30) : QSize(0, 0));
        }
        const QFontMetrics metrics(settings.font());
        QVERIFY(list->minimumWidth() > metrics.horizontalAdvance("Nowhere Language") + 45);

        dialog.toggleExtension();
        QVERIFY(list->isHidden());
        QCOMPARE(button->text(), ThreeLanguages[2].first);
        QTRY_COMPARE(dialog.width(), closedWidth);
    }

    // Choosing a language re-translates the dialog and the dialogs nested in it, no other; a
    // change the changer refuses, or that no changer makes, leaves every text as it was.
    void languageChangeRetranslates_data()
    {
        QTest::addColumn<int>("changerResult"); // negative: no changer
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("hello");
        QTest::newRow("changed") << 4 << QString("FR_CA") << QString("[FR_CA] Hello");
        QTest::newRow("changer refuses") << 0 << QString("EN_US") << QString("Hello");
        QTest::newRow("no changer") << -1 << QString("EN_US") << QString("Hello");
    }
    void languageChangeRetranslates()
    {
        QFETCH(int, changerResult);
        FakeLanguageChanger changer(changerResult);
        settings.setLanguageChanger(changerResult < 0 ? nullptr : &changer);
        TestDialog outer;
        auto *nested = new TestDialog(&outer);
        TestDialog elsewhere;
        outer.show();
        outer.toggleExtension();
        auto *list = outer.findChild<LanguageSelectorExtension *>();
        QVERIFY(QTest::qWaitForWindowExposed(&outer));
        const int before = outer.retranslations;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(2)).center()); // sorted by code
        QCOMPARE(changer.requests, changerResult < 0 ? QStringList() : QStringList{"FR_CA"});
        QTEST(settings.currentLanguage(), "language");
        QTEST(outer.label->text(), "hello");
        QTEST(nested->label->text(), "hello");
        QCOMPARE(elsewhere.label->text(), "Hello");
        QCOMPARE(outer.retranslations > before, changerResult > 0);
    }

    // The same in every run, although the list is a child of the dialog from its first
    // opening on: the dialog's own keys (Escape, Return in the password dialog) stay out of it.
    void languageListWorksFromTheKeyboard_data()
    {
        QTest::addColumn<bool>("password");
        QTest::newRow("base dialog") << false;
        QTest::newRow("password dialog") << true;
    }
    void languageListWorksFromTheKeyboard()
    {
        QFETCH(bool, password);
        FakeLanguageChanger changer(2);
        settings.setLanguageChanger(&changer);
        std::unique_ptr<BcBaseDialog> dialog = std::make_unique<TestDialog>();
        if (password)
            dialog = std::make_unique<PasswordDialog>(PasswordDlgInfo("", "OK", "", "", ""));
        QWidget *field = dialog->findChild<QLineEdit *>();
        for (int run = 0; run < 2; ++run) {
            ModalDialogDriver driver([&](QWidget *) {
                field->setFocus();
                QTest::keyClick(dialog.get(), Qt::Key_L, Qt::ControlModifier);
                auto *list = dialog->findChild<LanguageSelectorExtension *>();
                if (!list || !list->isVisible() || !list->hasFocus())
                    return;
                // Escape closes the list only and gives the focus back.
                QTest::keyClick(list, Qt::Key_Escape);
                if (!dialog->isVisible() || list->isVisible() || !field->hasFocus())
                    return;
                QTest::keyClick(dialog.get(), Qt::Key_L, Qt::ControlModifier);
                QTest::keyClick(list, Qt::Key_Down);
                QTest::keyClick(list, Qt::Key_Return);
                if (dialog->isVisible() && list->isHidden())
                    dialog->accept();
            });
            QCOMPARE(dialog->exec(), int(QDialog::Accepted));
        }
        QCOMPARE(changer.requests, (QStringList{"ES_US", "FR_CA"}));
    }

    void updateLanguageEntry()
    {
        QVERIFY(!settings.updateLanguageEntry("DE_DE", "Deutsch", ""));
        // An empty text leaves its part alone.
        QVERIFY(settings.updateLanguageEntry("FR_CA", "Français (Canada)", ""));
        QVERIFY(settings.updateLanguageEntry("ES_US", "", "Cerrar"));
        const LanguageList expected{ThreeLanguages[0],
                                    {"Français (Canada)", ThreeLanguages[1].second},
                                    {"Español", "Cerrar"}};
        QCOMPARE(settings.languageList(), expected);
        QCOMPARE(settings.languageMap().value("FR_CA"), "Français (Canada)");
        QCOMPARE(settings.languageMap().value("ES_US"), "Español");
        // A map entry whose name is not in the list cannot be updated.
        settings.setLanguageMap({{"DE_DE", "Deutsch"}});
        QVERIFY(!settings.updateLanguageEntry("DE_DE", "Deutsch", ""));
    }
    // Every visible button, field, list and picture of every dialog (language list open, keypads
    // shown) has an accessible name.
    void everyControlAndPictureHasAName_data()
    {
        QTest::addColumn<Factory>("factory");
        QTest::newRow("message dialog") << Factory([] {
            return new MessageDialog("Print Job", {"Sent."}, {}, QMessageBox::Warning, nullptr, 0,
                                     3, "Print", QString(), "Cancel", QString(), "Later");
        });
        QTest::newRow("password dialog with keyboard")
            << Factory([] { return passwordDialog(KeyPad::FullKeyboard); });
        QTest::newRow("password dialog with numeric pad")
            << Factory([] { return passwordDialog(2); });
        QTest::newRow("about box") << Factory([] { return new AboutInfoDialog; });
    }
    void everyControlAndPictureHasAName()
    {
        QFETCH(Factory, factory);
        std::unique_ptr<BcBaseDialog> dialog(factory());
        dialog->show();
        dialog->toggleExtension();
        int checked = 0;
        for (QWidget *widget : dialog->findChildren<QWidget *>()) {
            if (!widget->isVisible() || !needsName(widget))
                continue;
            ++checked;
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
            const QByteArray what =
                widget->metaObject()->className() + (" " + widget->objectName().toUtf8());
            QVERIFY2(accessible && !accessible->text(QAccessible::Name).trimmed().isEmpty(),
                     what.constData());
        }
        QVERIFY(checked >= 3);
    }
};

QTEST_MAIN(TestBcBaseDialog)
#include "tst_bcbasedialog.moc"
