#include "FakeLanguageChanger.h"
#include "FakeVersionInfo.h"
#include "ModalDialogDriver.h"
#include "ui/AlphanumericKeyboardInputFilter.h"
#include "ui/BcBaseDialog.h"
#include "ui/ChangeLanguageButton.h"
#include "ui/CopyrightLabel.h"
#include "ui/LanguageSelectorExtension.h"

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
    explicit TestDialog(QWidget *parent = nullptr, int timeoutSeconds = 0,
                        bool languageButton = true)
        : BcBaseDialog(parent, timeoutSeconds, languageButton, true, 5)
    {
        auto *layout = new QVBoxLayout;
        label = new QLabel(this);
        label->setObjectName(QStringLiteral("label"));
        field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("field"));
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

    QLabel *label = nullptr;
    QLineEdit *field = nullptr;
    int retranslations = 0;
};

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

const LanguageList ThreeLanguages{
    {QStringLiteral("English"), QStringLiteral("Close Language Options")},
    {QStringLiteral("Français"), QStringLiteral("Fermer les options de langue")},
    {QStringLiteral("Español"), QStringLiteral("Cerrar opciones de idioma")}};

const LanguageMap ThreeCodes{{QStringLiteral("EN_US"), QStringLiteral("English")},
                             {QStringLiteral("ES_US"), QStringLiteral("Español")},
                             {QStringLiteral("FR_CA"), QStringLiteral("Français")}};

void sendKey(QWidget *target, Qt::Key key, const QString &text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
}

} // namespace

class TestBcBaseDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void effectiveTimeout_data();
    void effectiveTimeout();
    void closesAfterInactivity();
    void activityRestartsTheTimeout_data();
    void activityRestartsTheTimeout();
    void escapeRejectsWithoutTimeout();
    void noTimeoutNeverClosesByItself();
    void rejectEventClosesOnlyTimedDialogs_data();
    void rejectEventClosesOnlyTimedDialogs();

    void languageButtonNeedsTwoLanguages_data();
    void languageButtonNeedsTwoLanguages();
    void layoutRunsBottomToTop();
    void captionAndLookAreShared();
    void releaseSharedResourcesResetsThem();
    void centresOrKeepsFixedTop();
    void bringToFrontRestoresAMinimizedDialog();

    void inputFilterBeepsAndConsumes();
    void inputFilterIsReplacedAndRemoved();
    void inputMethodCanBeBlocked();

    void extensionOpensBesideTheDialog();
    void languageChangeRetranslatesNestedDialogsOnly();
    void refusedLanguageChangeKeepsTexts_data();
    void refusedLanguageChangeKeepsTexts();
    void languageListWorksFromTheKeyboard();
    void updateLanguageEntry_data();
    void updateLanguageEntry();
};

void TestBcBaseDialog::init()
{
    BcBaseDialog::setDefaultTimeout(-1);
    BcBaseDialog::setLanguageList(ThreeLanguages);
    BcBaseDialog::setLanguageMap(ThreeCodes);
    BcBaseDialog::setLanguageChanger(nullptr);
    BcBaseDialog::setCurrentLanguage(QStringLiteral("EN_US"));
    BcBaseDialog::setVersionInfo(nullptr);
}

void TestBcBaseDialog::cleanup()
{
    BcBaseDialog::setLanguageChanger(nullptr);
    BcBaseDialog::setVersionInfo(nullptr);
}

void TestBcBaseDialog::effectiveTimeout_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("classDefault");
    QTest::addColumn<int>("expected");
    QTest::newRow("class default none") << 0 << -1 << -1;
    QTest::newRow("class default 45 s") << 0 << 45000 << 45000;
    QTest::newRow("own period") << 5 << 45000 << 5000;
    QTest::newRow("own none") << -3 << 45000 << -1;
}

void TestBcBaseDialog::effectiveTimeout()
{
    QFETCH(int, seconds);
    QFETCH(int, classDefault);
    BcBaseDialog::setDefaultTimeout(classDefault);
    TestDialog dialog(nullptr, seconds);
    QTEST(dialog.timeout(), "expected");
    QCOMPARE(dialog.hasMouseTracking(), dialog.timeout() != -1);
}

void TestBcBaseDialog::closesAfterInactivity()
{
    BcBaseDialog::setDefaultTimeout(150);
    TestDialog dialog;
    ModalDialogDriver watchdog(nullptr, 0, 3000);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(watchdog.ran());
    QVERIFY(!watchdog.forcedClose());
    QVERIFY(clock.elapsed() >= 140); // a coarse timer may fire up to 5 % early
}

void TestBcBaseDialog::activityRestartsTheTimeout_data()
{
    QTest::addColumn<QString>("activity");
    QTest::newRow("key press") << QStringLiteral("key");
    QTest::newRow("key press in a field") << QStringLiteral("field key");
    QTest::newRow("mouse press") << QStringLiteral("press");
    QTest::newRow("mouse move") << QStringLiteral("move");
}

void TestBcBaseDialog::activityRestartsTheTimeout()
{
    QFETCH(QString, activity);
    BcBaseDialog::setDefaultTimeout(200);
    TestDialog dialog;
    int sent = 0;
    QElapsedTimer clock;
    auto act = [&] {
        const QPoint centre = dialog.rect().center();
        if (activity == QLatin1String("key")) {
            sendKey(&dialog, Qt::Key_Shift);
        } else if (activity == QLatin1String("field key")) {
            sendKey(dialog.field, Qt::Key_A, QStringLiteral("a"));
        } else if (activity == QLatin1String("press")) {
            QMouseEvent press(QEvent::MouseButtonPress, centre, dialog.mapToGlobal(centre),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&dialog, &press);
        } else {
            QMouseEvent move(QEvent::MouseMove, centre, dialog.mapToGlobal(centre), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&dialog, &move);
        }
        ++sent;
    };
    QTimer activityTimer;
    activityTimer.setInterval(100);
    connect(&activityTimer, &QTimer::timeout, &dialog, [&] {
        if (sent == 4)
            activityTimer.stop();
        else
            act();
    });
    ModalDialogDriver watchdog([&](QWidget *) { activityTimer.start(); }, 0, 5000);
    clock.start();
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(!watchdog.forcedClose());
    // Four events 100 ms apart kept a 200 ms time-out from firing: the last one came 400 ms
    // after the start, and the dialog still closed by itself, 200 ms (less the coarse timer's
    // 5 %) later.
    QCOMPARE(sent, 4);
    QVERIFY2(clock.elapsed() >= 580, qPrintable(QString::number(clock.elapsed())));
}

void TestBcBaseDialog::escapeRejectsWithoutTimeout()
{
    TestDialog dialog(nullptr, -1);
    ModalDialogDriver driver([](QWidget *shown) {
        QTest::keyClick(shown->findChild<QLineEdit *>(QStringLiteral("field")), Qt::Key_Escape);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(driver.ran());
    QVERIFY(!driver.forcedClose());
}

void TestBcBaseDialog::noTimeoutNeverClosesByItself()
{
    BcBaseDialog::setDefaultTimeout(50);
    TestDialog dialog(nullptr, -1);
    bool stillOpen = false;
    ModalDialogDriver driver(
        [&](QWidget *shown) {
            stillOpen = shown->isVisible();
            static_cast<QDialog *>(shown)->accept();
        },
        400);
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY(stillOpen);
}

void TestBcBaseDialog::rejectEventClosesOnlyTimedDialogs_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("result");
    QTest::newRow("with a time-out") << 60 << int(QDialog::Rejected);
    QTest::newRow("without a time-out") << -1 << int(QDialog::Accepted);
}

void TestBcBaseDialog::rejectEventClosesOnlyTimedDialogs()
{
    QFETCH(int, seconds);
    TestDialog dialog(nullptr, seconds);
    ModalDialogDriver driver([](QWidget *shown) {
        QCoreApplication::postEvent(shown, new QEvent(BcBaseDialog::RejectEvent));
        QTimer::singleShot(100, shown, [shown] {
            if (shown->isVisible())
                static_cast<QDialog *>(shown)->accept();
        });
    });
    QTEST(dialog.exec(), "result");
    QCOMPARE(int(BcBaseDialog::RejectEvent), 1123);
}

void TestBcBaseDialog::languageButtonNeedsTwoLanguages_data()
{
    QTest::addColumn<int>("languages");
    QTest::addColumn<bool>("wanted");
    QTest::addColumn<bool>("shown");
    QTest::newRow("none") << 0 << true << false;
    QTest::newRow("one") << 1 << true << false;
    QTest::newRow("two but not wanted") << 2 << false << false;
    QTest::newRow("two") << 2 << true << true;
    QTest::newRow("three") << 3 << true << true;
}

void TestBcBaseDialog::languageButtonNeedsTwoLanguages()
{
    QFETCH(int, languages);
    QFETCH(bool, wanted);
    BcBaseDialog::setLanguageList(ThreeLanguages.mid(0, languages));
    TestDialog dialog(nullptr, 0, wanted);
    dialog.show();
    auto *button = dialog.findChild<ChangeLanguageButton *>(QStringLiteral("ChangeLanguageButton"));
    QVERIFY(button);
    QTEST(button->isVisible(), "shown");
    if (languages > 0)
        QCOMPARE(button->text(), ThreeLanguages.first().first);
}

void TestBcBaseDialog::layoutRunsBottomToTop()
{
    TestDialog dialog;
    dialog.show();
    const auto *notice = dialog.findChild<CopyrightLabel *>(QStringLiteral("CopyrightLabel"));
    const auto *button = dialog.findChild<ChangeLanguageButton *>();
    QVERIFY(notice && notice->isVisible());
    QVERIFY(button && button->isVisible());
    // Added first, sits lowest: notice line, then the language button, then the content.
    QVERIFY(notice->y() > button->y() + button->height());
    QVERIFY(button->y() > dialog.field->y() + dialog.field->height());
    QVERIFY(dialog.field->y() > dialog.label->y());
    QCOMPARE(dialog.height() - (notice->y() + notice->height()), 5);
}

void TestBcBaseDialog::captionAndLookAreShared()
{
    TestDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Ondrel Laptop Print Client"));
    QCOMPARE(dialog.font().family(), QStringLiteral("Verdana"));
    QCOMPARE(dialog.font().pointSize(), 10);
    QCOMPARE(dialog.palette().color(QPalette::Window), QColor(Qt::white));
    QVERIFY(dialog.autoFillBackground());
    QVERIFY(!(dialog.windowFlags() & Qt::WindowSystemMenuHint));
    QVERIFY(dialog.windowFlags() & Qt::WindowStaysOnTopHint);

    const FakeVersionInfo version;
    BcBaseDialog::setVersionInfo(&version);
    TestDialog other;
    QCOMPARE(other.windowTitle(), QStringLiteral("Example Client"));
    QCOMPARE(other.findChild<CopyrightLabel *>()->texts().value(0),
             QStringLiteral("Example Product"));
}

void TestBcBaseDialog::releaseSharedResourcesResetsThem()
{
    BcBaseDialog::setLanguageButtonInterval(700);
    BcBaseDialog::setDefaultFont(QStringLiteral("DejaVu Serif"), 14);
    {
        TestDialog dialog;
        QCOMPARE(dialog.font().pointSize(), 14);
        QCOMPARE(dialog.findChild<ChangeLanguageButton *>()->interval(), 700);
    }
    BcBaseDialog::releaseSharedResources();
    QCOMPARE(BcBaseDialog::languageButtonInterval(), 2500);
    QCOMPARE(BcBaseDialog::defaultFont(), QApplication::font());
    TestDialog dialog;
    QCOMPARE(dialog.font().family(), QStringLiteral("Verdana"));
    QCOMPARE(dialog.font().pointSize(), 10);
    QCOMPARE(BcBaseDialog::defaultFont().pointSize(), 10);
    QCOMPARE(dialog.findChild<ChangeLanguageButton *>()->interval(), 2500);
}

void TestBcBaseDialog::centresOrKeepsFixedTop()
{
    const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
    TestDialog dialog;
    dialog.show();
    QCOMPARE(dialog.x(), desktop.x() + (desktop.width() - dialog.width()) / 2);
    QCOMPARE(dialog.y(), desktop.y() + (desktop.height() - dialog.height()) / 2);
    dialog.hide();
    dialog.setFixedTop(true, 17);
    dialog.show();
    QCOMPARE(dialog.y(), 17);
    QCOMPARE(dialog.x(), desktop.x() + (desktop.width() - dialog.width()) / 2);
}

void TestBcBaseDialog::bringToFrontRestoresAMinimizedDialog()
{
    TestDialog dialog;
    dialog.showMinimized();
    QTRY_VERIFY(dialog.isMinimized());
    const int before = dialog.retranslations;
    dialog.bringToFront();
    QTRY_VERIFY(!dialog.isMinimized());
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.retranslations > before);
}

void TestBcBaseDialog::inputFilterBeepsAndConsumes()
{
    TestDialog dialog;
    dialog.setInputFilter(dialog.field,
                          std::make_unique<AlphanumericKeyboardInputFilter>(QStringLiteral("-")));
    dialog.show();
    QTest::keyClicks(dialog.field, QStringLiteral("a-b.c_9"));
    QCOMPARE(dialog.field->text(), QStringLiteral("a-bc9"));
    QTest::keyClick(dialog.field, Qt::Key_Backspace);
    QTest::keyClick(dialog.field, Qt::Key_Left);
    QTest::keyClick(dialog.field, Qt::Key_Backspace);
    QCOMPARE(dialog.field->text(), QStringLiteral("a-c"));
}

void TestBcBaseDialog::inputFilterIsReplacedAndRemoved()
{
    TestDialog dialog;
    dialog.show();
    int destroyed = 0;
    dialog.setInputFilter(dialog.field, std::make_unique<CountingFilter>(&destroyed));
    QTest::keyClicks(dialog.field, QStringLiteral("ab"));
    QCOMPARE(dialog.field->text(), QString());
    dialog.setInputFilter(dialog.field, std::make_unique<CountingFilter>(&destroyed));
    QCOMPARE(destroyed, 1);
    dialog.setInputFilter(dialog.field, nullptr);
    QCOMPARE(destroyed, 2);
    QTest::keyClicks(dialog.field, QStringLiteral("a.b"));
    QCOMPARE(dialog.field->text(), QStringLiteral("a.b"));

    // A filter for a widget that goes away is dropped with it.
    auto *extra = new QLineEdit(&dialog);
    dialog.setInputFilter(extra, std::make_unique<CountingFilter>(&destroyed));
    delete extra;
    QCOMPARE(destroyed, 3);
}

void TestBcBaseDialog::inputMethodCanBeBlocked()
{
    TestDialog dialog;
    dialog.show();
    dialog.field->installEventFilter(&dialog);
    auto commit = [&](const QString &text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QCoreApplication::sendEvent(dialog.field, &event);
    };
    dialog.setBlockInputMethod(true);
    commit(QStringLiteral("é"));
    QCOMPARE(dialog.field->text(), QString());
    dialog.setBlockInputMethod(false);
    commit(QStringLiteral("é"));
    QCOMPARE(dialog.field->text(), QStringLiteral("é"));
}

void TestBcBaseDialog::extensionOpensBesideTheDialog()
{
    TestDialog dialog;
    dialog.show();
    const int closedWidth = dialog.width();
    auto *button = dialog.findChild<ChangeLanguageButton *>();
    QTest::mouseClick(button, Qt::LeftButton);
    auto *list = dialog.findChild<LanguageSelectorExtension *>(QStringLiteral("LanguageSelector"));
    QVERIFY(list);
    QVERIFY(list->isVisible());
    QCOMPARE(list->count(), 3);
    QTRY_VERIFY(dialog.width() >= closedWidth + list->minimumWidth());
    QVERIFY(list->x() >= closedWidth - 1);
    QCOMPARE(list->height(), list->maximumHeight());
    QVERIFY(button->isExtensionShown());
    QCOMPARE(button->text(), ThreeLanguages[1].second);

    dialog.toggleExtension();
    QVERIFY(list->isHidden());
    QVERIFY(!button->isExtensionShown());
    QCOMPARE(button->text(), ThreeLanguages[2].first);
    QTRY_COMPARE(dialog.width(), closedWidth);
}

void TestBcBaseDialog::languageChangeRetranslatesNestedDialogsOnly()
{
    FakeLanguageChanger changer(4);
    BcBaseDialog::setLanguageChanger(&changer);
    TestDialog outer;
    auto *nested = new TestDialog(&outer);
    TestDialog elsewhere;
    outer.show();
    outer.toggleExtension();

    outer.languageChange(QStringLiteral("FR_CA"));

    QCOMPARE(changer.requests(), QStringList{QStringLiteral("FR_CA")});
    QCOMPARE(BcBaseDialog::currentLanguage(), QStringLiteral("FR_CA"));
    QCOMPARE(outer.label->text(), QStringLiteral("[FR_CA] Hello"));
    QCOMPARE(nested->label->text(), QStringLiteral("[FR_CA] Hello"));
    QCOMPARE(elsewhere.label->text(), QStringLiteral("Hello"));
    QVERIFY(outer.findChild<LanguageSelectorExtension *>()->isHidden());
}

void TestBcBaseDialog::refusedLanguageChangeKeepsTexts_data()
{
    QTest::addColumn<bool>("withChanger");
    QTest::newRow("changer refuses") << true;
    QTest::newRow("no changer") << false;
}

void TestBcBaseDialog::refusedLanguageChangeKeepsTexts()
{
    QFETCH(bool, withChanger);
    FakeLanguageChanger changer(0);
    BcBaseDialog::setLanguageChanger(withChanger ? &changer : nullptr);
    TestDialog dialog;
    dialog.show();
    dialog.toggleExtension();
    const int before = dialog.retranslations;
    dialog.languageChange(QStringLiteral("ES_US"));
    QCOMPARE(changer.requests().size(), withChanger ? 1 : 0);
    QCOMPARE(BcBaseDialog::currentLanguage(), QStringLiteral("EN_US"));
    QCOMPARE(dialog.retranslations, before);
    QCOMPARE(dialog.label->text(), QStringLiteral("Hello"));
    QVERIFY(dialog.findChild<LanguageSelectorExtension *>()->isHidden());
}

void TestBcBaseDialog::languageListWorksFromTheKeyboard()
{
    FakeLanguageChanger changer(2);
    BcBaseDialog::setLanguageChanger(&changer);
    TestDialog dialog;
    ModalDialogDriver driver([](QWidget *shown) {
        auto *field = shown->findChild<QLineEdit *>(QStringLiteral("field"));
        field->setFocus();
        QTest::keyClick(shown, Qt::Key_L, Qt::ControlModifier);
        auto *list = shown->findChild<LanguageSelectorExtension *>();
        if (!list || !list->isVisible() || !list->hasFocus())
            return;
        // Escape closes the list only and gives the focus back.
        QTest::keyClick(list, Qt::Key_Escape);
        if (!shown->isVisible() || list->isVisible() || !field->hasFocus())
            return;
        QTest::keyClick(shown, Qt::Key_L, Qt::ControlModifier);
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
        if (shown->isVisible() && list->isHidden())
            static_cast<QDialog *>(shown)->accept();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(changer.requests(), QStringList{QStringLiteral("ES_US")});
}

void TestBcBaseDialog::updateLanguageEntry_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("closeText");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("mappedName");
    QTest::addColumn<LanguageEntry>("entry");

    QTest::newRow("unknown code") << QStringLiteral("DE_DE") << QStringLiteral("Deutsch")
                                  << QString() << false << QString() << LanguageEntry();
    QTest::newRow("rename") << QStringLiteral("FR_CA") << QStringLiteral("Français (Canada)")
                            << QString() << true << QStringLiteral("Français (Canada)")
                            << LanguageEntry(QStringLiteral("Français (Canada)"),
                                             ThreeLanguages[1].second);
    QTest::newRow("close text") << QStringLiteral("FR_CA") << QString() << QStringLiteral("Fermer")
                                << true << QStringLiteral("Français")
                                << LanguageEntry(QStringLiteral("Français"),
                                                 QStringLiteral("Fermer"));
    QTest::newRow("nothing to change") << QStringLiteral("ES_US") << QString() << QString() << true
                                       << QStringLiteral("Español") << ThreeLanguages[2];
}

void TestBcBaseDialog::updateLanguageEntry()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, closeText);
    QFETCH(bool, result);
    QCOMPARE(BcBaseDialog::updateLanguageEntry(code, name, closeText), result);
    if (!result) {
        QCOMPARE(BcBaseDialog::languageList(), ThreeLanguages);
        QCOMPARE(BcBaseDialog::languageMap(), ThreeCodes);
        return;
    }
    QTEST(BcBaseDialog::languageMap().value(code), "mappedName");
    QFETCH(LanguageEntry, entry);
    QVERIFY(BcBaseDialog::languageList().contains(entry));
    QCOMPARE(BcBaseDialog::languageList().size(), 3);

    // A map entry whose name is no longer in the list cannot be updated.
    LanguageMap stale = ThreeCodes;
    stale.insert(QStringLiteral("DE_DE"), QStringLiteral("Deutsch"));
    BcBaseDialog::setLanguageMap(stale);
    QVERIFY(!BcBaseDialog::updateLanguageEntry(QStringLiteral("DE_DE"), name, closeText));
}

QTEST_MAIN(TestBcBaseDialog)
#include "tst_bcbasedialog.moc"
