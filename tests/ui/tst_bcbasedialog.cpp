#include "DialogFakes.h"
#include "ModalDialogDriver.h"
#include "ui/AlphanumericKeyboardInputFilter.h"
#include "ui/BcBaseDialog.h"
#include "ui/ChangeLanguageButton.h"
#include "ui/CopyrightLabel.h"
#include "ui/DialogSettings.h"
#include "ui/LanguageSelectorExtension.h"
#include "ui/LanguageSelectorExtensionItem.h"
#include "ui/PasswordDialog.h"

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
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
        field->setObjectName("field");
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
class CountingFilter : public KeyboardInputFilter
{
public:
    explicit CountingFilter(int *destroyed)
        : m_destroyed(destroyed)
    {}
    ~CountingFilter() override { ++*m_destroyed; }
    bool accepts(quint16) const override { return false; }

private:
    int *m_destroyed;
};

DialogSettings &settings()
{
    return DialogSettings::shared();
}

// Timers the widget and the objects it owns have running; hidden widgets must have none.
qsizetype runningTimers(QObject *object)
{
    QObjectList owned = object->findChildren<QObject *>();
    owned.append(object);
    qsizetype count = 0;
    for (QObject *each : std::as_const(owned))
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

} // namespace

class TestBcBaseDialog : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        settings().reset();
        settings().setLanguageList(ThreeLanguages);
        settings().setLanguageMap(
            {{"EN_US", "English"}, {"ES_US", "Español"}, {"FR_CA", "Français"}});
        settings().setCurrentLanguage("EN_US");
    }

    // How a modal run ends: the time-out closes an idle dialog as rejected and activity
    // restarts it, a dialog without one waits for Escape, the reject event closes only dialogs
    // with a time-out.
    void modalRunEnds_data()
    {
        QTest::addColumn<int>("timeoutMs");
        QTest::addColumn<int>("sharedMs");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("minimumMs");
        const int rejected = QDialog::Rejected;
        // A coarse timer may fire up to 5 % early.
        QTest::newRow("idle") << 0 << 150 << "" << rejected << 140;
        QTest::newRow("key press") << 5000 << -1 << "key" << rejected << 0;
        QTest::newRow("key press in a field") << 5000 << -1 << "field key" << rejected << 0;
        QTest::newRow("mouse press") << 5000 << -1 << "press" << rejected << 0;
        QTest::newRow("mouse move") << 5000 << -1 << "move" << rejected << 0;
        QTest::newRow("Escape without a time-out") << -1 << 50 << "escape" << rejected << 300;
        QTest::newRow("reject event") << 60000 << -1 << "reject" << rejected << 0;
        QTest::newRow("reject event without a time-out")
            << -1 << -1 << "reject" << int(QDialog::Accepted) << 0;
    }
    void modalRunEnds()
    {
        QFETCH(int, timeoutMs);
        QFETCH(int, sharedMs);
        QFETCH(QString, action);
        QFETCH(int, minimumMs);
        settings().setDefaultTimeoutMs(sharedMs);
        TestDialog dialog(nullptr, {.timeoutMs = timeoutMs});
        const bool activity = QStringList{"key", "field key", "press", "move"}.contains(action);
        // The time-out left before and after the event, and the time between the readings.
        qint64 before = -1;
        qint64 after = -1;
        qint64 between = -1;
        ModalDialogDriver driver(
            [&](QWidget *) {
                dialog.field->setFocus();
                // Read from the timer itself, so no clock on a busy machine decides.
                if (activity &&
                    QTest::qWaitFor([&] { return remainingTimeout(&dialog) <= 4500; })) {
                    QElapsedTimer clock;
                    before = remainingTimeout(&dialog);
                    clock.start();
                    const bool press = action == "press";
                    const auto button = press ? Qt::LeftButton : Qt::NoButton;
                    QMouseEvent mouse(press ? QEvent::MouseButtonPress : QEvent::MouseMove,
                                      QPointF(5, 5), dialog.mapToGlobal(QPointF(5, 5)), button,
                                      button, {});
                    if (action.endsWith("key"))
                        QTest::keyClick(action == "key" ? &dialog : dialog.focusWidget(), 'a');
                    else
                        QCoreApplication::sendEvent(&dialog, &mouse);
                    after = remainingTimeout(&dialog);
                    between = clock.elapsed();
                    dialog.reject();
                }
                if (action == "escape")
                    QTest::keyClick(dialog.field, Qt::Key_Escape);
                if (action == "reject") {
                    QCoreApplication::postEvent(&dialog, new QEvent(BcBaseDialog::RejectEvent));
                    QTimer::singleShot(100, &dialog, &QDialog::accept);
                }
            },
            action == "escape" ? 300 : 0, 3000);
        QElapsedTimer clock;
        clock.start();
        QTEST(dialog.exec(), "result");
        QVERIFY(driver.ran() && !driver.forcedClose());
        QVERIFY2(clock.elapsed() >= minimumMs, qPrintable(QString::number(clock.elapsed())));
        // Restarted, a whole time-out (give or take the 5 % a coarse timer is moved) lies
        // ahead from the event on; left running, only what was left less the time between.
        QVERIFY2(
            !activity || (before >= 0 && before <= 4500 && after + between >= 4740),
            qPrintable(
                QString("%1 ms left, then %2 ms %3 ms later").arg(before).arg(after).arg(between)));
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
        settings().setLanguageList(ThreeLanguages.mid(0, languages));
        TestDialog dialog(nullptr, {.showLanguageButton = wanted});
        dialog.show();
        auto *button = dialog.findChild<ChangeLanguageButton *>();
        QTEST(button->isVisible(), "shown");
        // A hidden button does not rotate its caption.
        QCOMPARE(runningTimers(button), button->isVisible() ? 1 : 0);
    }

    void rotationRunsOnlyWhileShown()
    {
        // The client keeps dialogs built and hidden for days; nothing in them may tick.
        TestDialog dialog;
        auto *notice = dialog.findChild<CopyrightLabel *>();
        auto *button = dialog.findChild<ChangeLanguageButton *>();
        QCOMPARE(runningTimers(notice) + runningTimers(button), 0);
        for (int round = 0; round < 2; ++round) {
            dialog.show();
            QCOMPARE(runningTimers(notice), 1);
            QCOMPARE(runningTimers(button), 1);
            dialog.hide();
            QCOMPARE(runningTimers(notice) + runningTimers(button), 0);
        }
    }

    void layoutPlacementAndBringToFront()
    {
        TestDialog dialog;
        dialog.show();
        const auto *notice = dialog.findChild<CopyrightLabel *>();
        const auto *button = dialog.findChild<ChangeLanguageButton *>();
        QVERIFY(notice->isVisible() && button->isVisible());
        // Added first, sits lowest: notice line, then the language button, then the content.
        QVERIFY(notice->y() > button->geometry().bottom());
        QVERIFY(button->y() > dialog.field->geometry().bottom());
        QCOMPARE(dialog.height() - notice->geometry().bottom() - 1, 5);
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
    }

    void sharedSettingsReachNewDialogs()
    {
        const FakeVersionInfo version;
        settings().setVersionInfo(&version);
        settings().setDefaultTimeoutMs(45000);
        // A dialog's own time-out wins; a negative one means none.
        QCOMPARE(TestDialog().timeout(), 45000);
        QCOMPARE(TestDialog(nullptr, {.timeoutMs = 5000}).timeout(), 5000);
        QCOMPARE(TestDialog(nullptr, {.timeoutMs = -3000}).timeout(), -1);
        settings().setLanguageButtonIntervalMs(700);
        settings().setFont("DejaVu Serif", 14);
        {
            TestDialog dialog;
            QCOMPARE(dialog.windowTitle(), "Example Client");
            QCOMPARE(dialog.findChild<CopyrightLabel *>()->texts().value(0), "Example Product");
            QCOMPARE(dialog.font().pointSize(), 14);
            QCOMPARE(dialog.findChild<ChangeLanguageButton *>()->interval(), 700);
        }
        // Reset forgets the version texts, which belong to the program.
        settings().reset();
        TestDialog dialog;
        QCOMPARE(dialog.windowTitle(), "");
        QCOMPARE(dialog.font().family(), "Verdana");
        QCOMPARE(dialog.font().pointSize(), 10);
        QCOMPARE(dialog.findChild<ChangeLanguageButton *>()->interval(), 2500);
    }

    void noticeLineShowsTheFourTextsInTurn()
    {
        const FakeVersionInfo info;
        CopyrightLabel label(nullptr, info, 40);
        label.show();
        const QStringList expected{"Example Product", "Copyright © 2031, Example Works",
                                   "All rights reserved.", "Version 05.01.02.0037"};
        for (int step = 0; step <= 4; ++step) // a full round and back to the product name
            QTRY_COMPARE(label.text(), expected[step % 4]);
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

    void extensionOpensBesideTheDialog()
    {
        settings().setLanguageMap(
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
        QCOMPARE(list->height(), list->maximumHeight());
        QCOMPARE(button->text(), ThreeLanguages[1].second);
        // A flagged item per language (flag files are lower case); one without keeps its name.
        QCOMPARE(list->count(), 3);
        for (int row = 0; row < 3; ++row) {
            const auto *item = dynamic_cast<LanguageSelectorExtensionItem *>(list->item(row));
            QCOMPARE(item->languageCode(), settings().languageMap().keys().value(row));
            QCOMPARE(item->text(), settings().languageMap().values().value(row));
            QCOMPARE(item->flag().size(), row < 2 ? QSize(45, 30) : QSize(0, 0));
        }
        const QFontMetrics metrics(settings().font());
        QVERIFY(list->minimumWidth() > metrics.horizontalAdvance("Nowhere Language") + 45);

        dialog.toggleExtension();
        QVERIFY(list->isHidden());
        QCOMPARE(button->text(), ThreeLanguages[2].first);
        QTRY_COMPARE(dialog.width(), closedWidth);
        LanguageSelectorExtension narrow;
        narrow.setLanguages({{"EN_US", "E"}});
        QCOMPARE(narrow.minimumWidth(), 150);
    }

    void languageChangeRetranslatesNestedDialogsOnly()
    {
        FakeLanguageChanger changer(4);
        settings().setLanguageChanger(&changer);
        TestDialog outer;
        auto *nested = new TestDialog(&outer);
        TestDialog elsewhere;
        outer.show();
        outer.toggleExtension();
        auto *list = outer.findChild<LanguageSelectorExtension *>();
        QVERIFY(QTest::qWaitForWindowExposed(&outer));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(2)).center()); // sorted by code
        QCOMPARE(changer.requests, QStringList{"FR_CA"});
        QCOMPARE(settings().currentLanguage(), "FR_CA");
        QCOMPARE(outer.label->text(), "[FR_CA] Hello");
        QCOMPARE(nested->label->text(), "[FR_CA] Hello");
        QCOMPARE(elsewhere.label->text(), "Hello");
        QVERIFY(list->isHidden());
    }

    void refusedLanguageChangeKeepsTexts_data()
    {
        QTest::addColumn<bool>("withChanger");
        QTest::newRow("changer refuses") << true;
        QTest::newRow("no changer") << false;
    }
    void refusedLanguageChangeKeepsTexts()
    {
        QFETCH(bool, withChanger);
        FakeLanguageChanger changer(0);
        settings().setLanguageChanger(withChanger ? &changer : nullptr);
        TestDialog dialog;
        dialog.show();
        dialog.toggleExtension();
        const int before = dialog.retranslations;
        dialog.languageChange("ES_US");
        QCOMPARE(changer.requests.size(), withChanger ? 1 : 0);
        QCOMPARE(settings().currentLanguage(), "EN_US");
        QCOMPARE(dialog.retranslations, before);
        QVERIFY(dialog.findChild<LanguageSelectorExtension *>()->isHidden());
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
        settings().setLanguageChanger(&changer);
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

    void languageButtonRotatesThroughTheNames()
    {
        ChangeLanguageButton button(nullptr, ThreeLanguages, 30);
        button.show();
        // Wide enough for the widest text, open or closed; the focus stays in the dialog.
        const QFontMetrics metrics(button.font());
        QCOMPARE(button.minimumWidth(), metrics.horizontalAdvance(ThreeLanguages[1].second) + 24);
        QCOMPARE(button.focusPolicy(), Qt::NoFocus);
        for (int step = 0; step <= 3; ++step)
            QTRY_COMPARE(button.text(), ThreeLanguages[step % 3].first);
        ChangeLanguageButton empty(nullptr, LanguageList(), 60000);
        empty.setExtensionShown(true);
        QCOMPARE(empty.text(), "");
    }

    void updateLanguageEntry()
    {
        QVERIFY(!settings().updateLanguageEntry("DE_DE", "Deutsch", ""));
        QCOMPARE(settings().languageList(), ThreeLanguages);
        // An empty text leaves its part alone.
        QVERIFY(settings().updateLanguageEntry("FR_CA", "Français (Canada)", ""));
        QVERIFY(settings().updateLanguageEntry("ES_US", "", "Cerrar"));
        const LanguageList expected{ThreeLanguages[0],
                                    {"Français (Canada)", ThreeLanguages[1].second},
                                    {"Español", "Cerrar"}};
        QCOMPARE(settings().languageList(), expected);
        QCOMPARE(settings().languageMap().value("FR_CA"), "Français (Canada)");
        QCOMPARE(settings().languageMap().value("ES_US"), "Español");
        // A map entry whose name is not in the list cannot be updated.
        settings().setLanguageMap({{"DE_DE", "Deutsch"}});
        QVERIFY(!settings().updateLanguageEntry("DE_DE", "Deutsch", ""));
    }
};

QTEST_MAIN(TestBcBaseDialog)
#include "tst_bcbasedialog.moc"
