#include "FakeLanguageChanger.h"
#include "ModalDialogDriver.h"
#include "TableTranslator.h"
#include "app/BuildVersionInfo.h"
#include "ui/AboutInfoDialog.h"
#include "ui/PrintClientDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

class TestPrintClientDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void questionAnswers_data();
    void questionAnswers();
    void messagesShowTitleTextAndIcon_data();
    void messagesShowTitleTextAndIcon();
    void messageClosesAfterTheDefaultTimeout();

    void aboutNamesTheVersionAndComponents();
    void aboutNeverClosesByItself();
    void aboutRetranslatesOnLanguageChange();
};

void TestPrintClientDialog::init()
{
    BcBaseDialog::setDefaultTimeout(-1);
    BcBaseDialog::setLanguageList(LanguageList());
}

void TestPrintClientDialog::cleanup()
{
    BcBaseDialog::setLanguageChanger(nullptr);
}

void TestPrintClientDialog::questionAnswers_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("result");
    QTest::newRow("Yes") << QStringLiteral("button1") << true;
    QTest::newRow("No") << QStringLiteral("button2") << false;
    QTest::newRow("Return") << QStringLiteral("Return") << true;
    QTest::newRow("Escape") << QStringLiteral("Escape") << false;
    QTest::newRow("time-out") << QString() << false;
}

void TestPrintClientDialog::questionAnswers()
{
    QFETCH(QString, answer);
    BcBaseDialog::setDefaultTimeout(answer.isEmpty() ? 150 : 60000);
    PrintClientDialog messages;
    QString caption;
    QString yes;
    QString no;
    ModalDialogDriver driver([&](QWidget *shown) {
        caption = shown->windowTitle();
        yes = shown->findChild<QPushButton *>(QStringLiteral("button1"))->text();
        no = shown->findChild<QPushButton *>(QStringLiteral("button2"))->text();
        if (answer == QLatin1String("Return"))
            QTest::keyClick(shown, Qt::Key_Return);
        else if (answer == QLatin1String("Escape"))
            QTest::keyClick(shown, Qt::Key_Escape);
        else if (!answer.isEmpty())
            ModalDialogDriver::click(shown, answer);
    });
    QTEST(messages.question(QStringLiteral("Quit"), QStringLiteral("Stop the client?")), "result");
    QVERIFY(driver.ran());
    QVERIFY(!driver.forcedClose());
    QCOMPARE(caption, QStringLiteral("Quit"));
    QCOMPARE(yes, QStringLiteral("Yes"));
    QCOMPARE(no, QStringLiteral("No"));
    QVERIFY(!messages.isVisible());
}

void TestPrintClientDialog::messagesShowTitleTextAndIcon_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("iconName");
    QTest::newRow("critical") << QStringLiteral("critical") << QStringLiteral("Error");
    QTest::newRow("warning") << QStringLiteral("warning") << QStringLiteral("Warning");
    QTest::newRow("information") << QStringLiteral("information") << QStringLiteral("Information");
    QTest::newRow("own picture") << QStringLiteral("show") << QString();
}

void TestPrintClientDialog::messagesShowTitleTextAndIcon()
{
    QFETCH(QString, kind);
    TableTranslator translator;
    translator.add("CommonDialogMessages", QStringLiteral("Printing"),
                   QStringLiteral("Impression"));
    QCoreApplication::installTranslator(&translator);
    PrintClientDialog messages;
    QString caption;
    QString text;
    QString accessibleIcon;
    QSize iconSize;
    QString buttonText;
    ModalDialogDriver driver([&](QWidget *shown) {
        caption = shown->windowTitle();
        text = shown->findChild<QLabel *>(QStringLiteral("textLabel"))->text();
        const auto *icon = shown->findChild<QLabel *>(QStringLiteral("iconLabel"));
        iconSize = icon->pixmap().size();
        accessibleIcon = icon->accessibleName();
        buttonText = shown->findChild<QPushButton *>(QStringLiteral("button1"))->text();
        ModalDialogDriver::click(shown, QStringLiteral("button1"));
    });
    const QString title = QStringLiteral("Printing");
    const QString body = QStringLiteral("Not a translation key: 100% done.");
    if (kind == QLatin1String("critical"))
        messages.critical(title, body);
    else if (kind == QLatin1String("warning"))
        messages.warning(title, body);
    else if (kind == QLatin1String("information"))
        messages.information(title, body);
    else
        messages.show(title, body, QPixmap(20, 10));
    QCoreApplication::removeTranslator(&translator);
    QVERIFY(driver.ran());
    QCOMPARE(caption, QStringLiteral("Impression"));
    QCOMPARE(text, body);
    QCOMPARE(buttonText, QStringLiteral("OK"));
    if (kind == QLatin1String("show")) {
        QCOMPARE(iconSize, QSize(20, 10));
    } else {
        QVERIFY(!iconSize.isEmpty());
        QTEST(accessibleIcon, "iconName");
    }
}

void TestPrintClientDialog::messageClosesAfterTheDefaultTimeout()
{
    BcBaseDialog::setDefaultTimeout(150);
    PrintClientDialog messages;
    QCOMPARE(messages.timeout(), 150);
    ModalDialogDriver watchdog(nullptr, 0, 3000);
    messages.warning(QStringLiteral("Paper"), QStringLiteral("The tray is empty."));
    QVERIFY(watchdog.ran());
    QVERIFY(!watchdog.forcedClose());
    QCOMPARE(messages.result(), int(QDialog::Rejected));
}

void TestPrintClientDialog::aboutNamesTheVersionAndComponents()
{
    AboutInfoDialog about;
    const QString text = about.findChild<QLabel *>(QStringLiteral("mainLabel"))->text();
    const QStringList lines = text.split(QLatin1Char('\n'));
    const BuildVersionInfo version;
    QCOMPARE(lines.value(0),
             QStringLiteral("Ondrel Laptop Print Client - Version ") + version.fileVersion());
    QCOMPARE(lines.value(1), QStringLiteral("%1, %2. All rights reserved.")
                                 .arg(version.copyright(), version.companyName()));
    for (const char *notice :
         {"Qt 6", "LGPL-3.0", "log4cpp", "LGPL-2.1", "CUPS", "Apache License 2.0"})
        QVERIFY2(text.contains(QLatin1String(notice)), notice);
    QCOMPARE(about.findChild<QLabel *>(QStringLiteral("logoLabel"))->pixmap().size(),
             QSize(300, 175));
    QCOMPARE(about.timeout(), -1);
}

void TestPrintClientDialog::aboutNeverClosesByItself()
{
    BcBaseDialog::setDefaultTimeout(50);
    AboutInfoDialog about;
    bool stillOpen = false;
    ModalDialogDriver driver(
        [&](QWidget *shown) {
            stillOpen = shown->isVisible();
            QTest::keyClick(shown, Qt::Key_Return);
        },
        300);
    QCOMPARE(about.exec(), int(QDialog::Accepted));
    QVERIFY(stillOpen);
}

void TestPrintClientDialog::aboutRetranslatesOnLanguageChange()
{
    FakeLanguageChanger changer(4);
    BcBaseDialog::setLanguageChanger(&changer);
    AboutInfoDialog about;
    about.show();
    about.toggleExtension();
    about.languageChange(QStringLiteral("FR_CA"));
    QCOMPARE(about.findChild<QPushButton *>(QStringLiteral("okButton"))->text(),
             QStringLiteral("[FR_CA] OK"));
    QVERIFY(about.findChild<QLabel *>(QStringLiteral("mainLabel"))
                ->text()
                .startsWith(QStringLiteral("[FR_CA] Ondrel Laptop Print Client - Version ")));
}

QTEST_MAIN(TestPrintClientDialog)
#include "tst_printclientdialog.moc"
