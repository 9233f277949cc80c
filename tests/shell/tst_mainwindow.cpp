#include "InstalledPreferences.h"
#include "RecordingMessageBox.h"
#include "jobflow/PasswordValidator.h"
#include "settings/PrintClientPreferences.h"
#include "settings/Registry.h"
#include "shell/OpcMainWindow.h"
#include "shell/OpcMainWindowController.h"
#include "shell/TpcTrayIcon.h"
#include "ui/EmbeddedImages.h"
#include "ui/MessageBoxInterface.h"
#include "ui/TextRotation.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

namespace {

struct Validator : PasswordValidator
{
    bool check(const QString &configured) override
    {
        checked << configured;
        return answer;
    }
    QStringList checked;
    bool answer = false;
};

struct Upper : QTranslator
{
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *text, const char *, int) const override
    {
        return qstrcmp(context, "TpcTrayIcon") == 0 ? QString(text).toUpper() : QString();
    }
};

QStringList menuTexts(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << action->text();
    return texts;
}

bool samePicture(const QPixmap &a, const QPixmap &b)
{
    return a.toImage().convertToFormat(QImage::Format_ARGB32) ==
           b.toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_registryDir;

private slots:
    void initTestCase() { qputenv("ONDTPC_REGISTRY_DIR", QFile::encodeName(m_registryDir.path())); }

    // An installed client stops only with the staff password; a refusal keeps it and says so.
    void stopRules_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("right");
        QTest::addColumn<bool>("stops");
        QTest::addColumn<QStringList>("checked");
        QTest::addColumn<QStringList>("told");
        QTest::newRow("not installed") << false << false << true << QStringList() << QStringList();
        QTest::newRow("installed, right")
            << true << true << true << QStringList{"Sandpiper"} << QStringList();
        QTest::newRow("installed, refused") << true << false << false << QStringList{"Sandpiper"}
                                            << QStringList{"warning Password Required"};
    }

    void stopRules()
    {
        QFETCH(bool, installed);
        InstalledPreferences preferences(installed);
        preferences.setStaffPassword("Sandpiper");
        Validator validator;
        QFETCH(bool, right);
        validator.answer = right;
        RecordingMessageBox box;
        OpcMainWindow window(installed);
        OpcMainWindowController controller(&window, &validator, &preferences, &box);
        QCOMPARE(controller.requiresPassword(), installed);
        QTEST(window.stop(), "stops");
        QTEST(validator.checked, "checked");
        QTEST(box.calls, "told");
    }

    void windowAndTray()
    {
        UtilsLib::Registry registry;
        OpcMainWindow window(true);
        QCOMPARE(window.objectName(), "Thin Client Main Window");
        QCOMPARE(window.windowTitle(), "Ondrel™ Print Client");
        QCOMPARE(window.findChild<QPushButton *>("mainWindow_OkBtn")->text(), "Stop Print Client");
        QCOMPARE(window.findChild<QLabel *>("aboutLabel")->text(), "About Ondrel");

        auto *tray = new TpcTrayIcon(&window, "Ondrel Laptop Print Client", &registry);
        QCOMPARE(tray->toolTip(), "Ondrel Laptop Print Client");
        QVERIFY(samePicture(tray->icon(), EmbeddedImages::disconnectedTrayPixmap()));
        QMenu *menu = window.findChild<QMenu *>("trayMenu");
        QVERIFY(menu && tray->popup() == menu);
        QCOMPARE(menuTexts(menu), QStringList({"About", "Show", "Quit"}));

        tray->registrationComplete();
        QCOMPARE(tray->icon().size(), QSize(16, 16));
        QVERIFY(!samePicture(tray->icon(), EmbeddedImages::disconnectedTrayPixmap()));
        tray->connectionLost();
        QVERIFY(samePicture(tray->icon(), EmbeddedImages::disconnectedTrayPixmap()));

        // The menu follows the language each time it opens.
        Upper upper;
        QCoreApplication::installTranslator(&upper);
        emit menu->aboutToShow();
        QCOMPARE(menuTexts(menu), QStringList({"ABOUT", "SHOW", "QUIT"}));
        QCoreApplication::removeTranslator(&upper);

        // Without a tray on the desktop (the offscreen platform has none) a minimised window
        // stays reachable.
        auto *rotation = window.findChild<TextRotation *>();
        QVERIFY(rotation);
        window.showNormal();
        QVERIFY(rotation->isRunning());
        window.showMinimized();
        QCoreApplication::processEvents();
        QVERIFY(window.isVisible() && window.isMinimized());
        // Minimised, the notice line does not wake the idle client.
        QVERIFY(!rotation->isRunning());
        window.showNormal();
        QVERIFY(rotation->isRunning());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
