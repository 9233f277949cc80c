#include "ModalDialogDriver.h"
#include "TableTranslator.h"
#include "ui/ImageButton.h"
#include "ui/ImageFolder.h"
#include "ui/MessageDialog.h"

#include <QLabel>
#include <QtTest>

namespace {

QImage fileImage(const QString &fileName)
{
    return QImage(ImageFolder::filePath(fileName));
}

} // namespace

class TestMessageDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void buttonsFollowTheCount_data();
    void buttonsFollowTheCount();
    void pictureButtonsUseTheImagesFolder();
    void buttonResults_data();
    void buttonResults();
    void bodyJoinsTheParagraphs_data();
    void bodyJoinsTheParagraphs();
    void textsAreTranslatedInTheirContexts();
    void settersStoreUntilRetranslate();
};

void TestMessageDialog::init()
{
    BcBaseDialog::setDefaultTimeout(-1);
    BcBaseDialog::setLanguageList(LanguageList());
}

void TestMessageDialog::buttonsFollowTheCount_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<bool>("pictures");
    QTest::newRow("none") << 0 << 0 << true;
    QTest::newRow("one picture button") << 1 << 1 << true;
    QTest::newRow("two picture buttons") << 2 << 2 << true;
    QTest::newRow("three picture buttons") << 3 << 3 << true;
    QTest::newRow("more than three") << 7 << 3 << true;
    QTest::newRow("plain, none") << 1000 << 0 << false;
    QTest::newRow("one plain button") << 1001 << 1 << false;
    QTest::newRow("two plain buttons") << 1002 << 2 << false;
    QTest::newRow("three plain buttons") << 1003 << 3 << false;
}

void TestMessageDialog::buttonsFollowTheCount()
{
    QFETCH(int, count);
    QFETCH(int, buttons);
    QFETCH(bool, pictures);
    MessageDialog dialog(QStringLiteral("Caption"), {QStringLiteral("Text")}, {},
                         QMessageBox::Information, nullptr, 0, count, QStringLiteral("One"),
                         QString(), QStringLiteral("Two"), QString(), QStringLiteral("Three"));
    QCOMPARE(dialog.buttonCount(), buttons);
    QCOMPARE(dialog.usesImages(), pictures);
    dialog.show();
    for (int number = 1; number <= 3; ++number) {
        auto *button = dialog.findChild<QPushButton *>(QStringLiteral("button%1").arg(number));
        QCOMPARE(button != nullptr, number <= buttons);
        if (!button)
            continue;
        QCOMPARE(qobject_cast<UtilsLib::ImageButton *>(button) != nullptr, pictures);
        QVERIFY(button->width() >= 80);
        QCOMPARE(button->isDefault(), number == 1);
    }
    if (buttons >= 2) {
        QVERIFY(!dialog.findChild<QPushButton *>(QStringLiteral("button1"))->autoDefault());
        QVERIFY(!dialog.findChild<QPushButton *>(QStringLiteral("button2"))->autoDefault());
    }
}

void TestMessageDialog::pictureButtonsUseTheImagesFolder()
{
    MessageDialog dialog(QStringLiteral("Caption"), {QStringLiteral("Text")}, {},
                         QMessageBox::Warning, nullptr, 0, 3, QStringLiteral("One"), QString(),
                         QStringLiteral("Two"), QString(), QStringLiteral("Three"),
                         QStringLiteral("button1_disable.jpg"));
    auto image = [&](int number) {
        return dialog.findChild<UtilsLib::ImageButton *>(QStringLiteral("button%1").arg(number))
            ->image()
            .toImage();
    };
    QVERIFY(!fileImage(QStringLiteral("button1.jpg")).isNull());
    QCOMPARE(image(1), fileImage(QStringLiteral("button1.jpg")));
    QCOMPARE(image(2), fileImage(QStringLiteral("button2.jpg")));
    QCOMPARE(image(3), fileImage(QStringLiteral("button1_disable.jpg")));

    // A missing picture leaves a plain-looking button with its text, not a black box.
    MessageDialog missing(QStringLiteral("Caption"), {QStringLiteral("Text")}, {},
                          QMessageBox::Warning, nullptr, 0, 1, QStringLiteral("OK"),
                          QStringLiteral("no-such-picture.jpg"));
    auto *button = missing.findChild<UtilsLib::ImageButton *>(QStringLiteral("button1"));
    QVERIFY(button->image().isNull());
    missing.show();
    const QImage shot = button->grab().toImage();
    QVERIFY(shot.pixelColor(shot.width() / 2, 3) != QColor(Qt::black));
}

void TestMessageDialog::buttonResults_data()
{
    QTest::addColumn<bool>("customResults");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");
    QTest::newRow("button 1") << false << QStringLiteral("button1") << 1;
    QTest::newRow("button 2") << false << QStringLiteral("button2") << 0;
    QTest::newRow("button 3") << false << QStringLiteral("button3") << 0;
    QTest::newRow("custom button 1") << true << QStringLiteral("button1") << 7;
    QTest::newRow("custom button 3") << true << QStringLiteral("button3") << 9;
    QTest::newRow("Return presses button 1") << true << QStringLiteral("Return") << 7;
    QTest::newRow("Escape rejects") << true << QStringLiteral("Escape") << 0;
}

void TestMessageDialog::buttonResults()
{
    QFETCH(bool, customResults);
    QFETCH(QString, button);
    MessageDialog dialog(QStringLiteral("Caption"), {QStringLiteral("Text")}, {},
                         QMessageBox::Question, nullptr, 0, 3, QStringLiteral("One"), QString(),
                         QStringLiteral("Two"), QString(), QStringLiteral("Three"));
    if (customResults)
        dialog.setButtonResults(7, 8, 9);
    ModalDialogDriver driver([button](QWidget *shown) {
        if (button == QLatin1String("Return"))
            QTest::keyClick(shown, Qt::Key_Return);
        else if (button == QLatin1String("Escape"))
            QTest::keyClick(shown, Qt::Key_Escape);
        else
            ModalDialogDriver::click(shown, button);
    });
    QTEST(dialog.exec(), "result");
    QVERIFY(driver.ran());
    QVERIFY(!driver.forcedClose());
}

void TestMessageDialog::bodyJoinsTheParagraphs_data()
{
    QTest::addColumn<QStringList>("paragraph1");
    QTest::addColumn<QStringList>("paragraph2");
    QTest::addColumn<QStringList>("paragraph3");
    QTest::addColumn<QString>("body");
    const QStringList first{QStringLiteral("Your job"), QStringLiteral("was sent.")};
    QTest::newRow("one paragraph")
        << first << QStringList() << QStringList() << QStringLiteral("Your job was sent.");
    QTest::newRow("two paragraphs")
        << first << QStringList{QStringLiteral("Thank you.")} << QStringList()
        << QStringLiteral("Your job was sent.\nThank you.");
    QTest::newRow("second empty, third given")
        << first << QStringList() << QStringList{QStringLiteral("Pick it up.")}
        << QStringLiteral("Your job was sent.\nPick it up.");
    QTest::newRow("all three") << first << QStringList{QStringLiteral("A")}
                               << QStringList{QStringLiteral("B"), QStringLiteral("C")}
                               << QStringLiteral("Your job was sent.\nA\nB C");
    QTest::newRow("nothing") << QStringList() << QStringList() << QStringList() << QString();
}

void TestMessageDialog::bodyJoinsTheParagraphs()
{
    QFETCH(QStringList, paragraph1);
    QFETCH(QStringList, paragraph2);
    QFETCH(QStringList, paragraph3);
    MessageDialog dialog(QStringLiteral("Caption"), paragraph1, paragraph2,
                         QMessageBox::Information);
    dialog.setParagraph3(paragraph3);
    QTEST(dialog.findChild<QLabel *>(QStringLiteral("textLabel"))->text(), "body");
}

void TestMessageDialog::textsAreTranslatedInTheirContexts()
{
    TableTranslator translator;
    translator.add("CommonDialogMessages", QStringLiteral("Print Job"),
                   QStringLiteral("Travail d'impression"));
    translator.add("CommonDialogMessages", QStringLiteral("Job sent."),
                   QStringLiteral("Travail envoyé."));
    translator.add("MessageDialog", QStringLiteral("Yes"), QStringLiteral("Oui"));
    // The same key in another context must not be used.
    translator.add("MessageDialog", QStringLiteral("Job sent."), QStringLiteral("wrong"));
    translator.add("CommonDialogMessages", QStringLiteral("No"), QStringLiteral("wrong"));
    QCoreApplication::installTranslator(&translator);
    MessageDialog dialog(QStringLiteral("Print Job"),
                         {QStringLiteral("Job sent."), QStringLiteral("Not a key.")}, {},
                         QMessageBox::Information, nullptr, 0, 1002, QStringLiteral("Yes"),
                         QString(), QStringLiteral("No"));
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Travail d'impression"));
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("textLabel"))->text(),
             QStringLiteral("Travail envoyé. Not a key."));
    QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("button1"))->text(),
             QStringLiteral("Oui"));
    QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("button2"))->text(),
             QStringLiteral("No"));
}

void TestMessageDialog::settersStoreUntilRetranslate()
{
    MessageDialog dialog(QStringLiteral("Old caption"), {QStringLiteral("Old")}, {},
                         QMessageBox::Critical);
    const auto *text = dialog.findChild<QLabel *>(QStringLiteral("textLabel"));
    dialog.setCaptionKey(QStringLiteral("New caption"));
    dialog.setParagraph1({QStringLiteral("New")});
    dialog.setParagraph2({QStringLiteral("Second")});
    QCOMPARE(text->text(), QStringLiteral("Old"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Old caption"));
    dialog.setParagraph3({QStringLiteral("Third")});
    QCOMPARE(text->text(), QStringLiteral("New\nSecond\nThird"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("New caption"));

    // Showing translates again; an empty caption keeps the program's name.
    MessageDialog untitled(QString(), {QStringLiteral("Text")}, {}, QMessageBox::NoIcon);
    untitled.show();
    QCOMPARE(untitled.windowTitle(), QStringLiteral("Ondrel Laptop Print Client"));
    QVERIFY(untitled.findChild<QLabel *>(QStringLiteral("iconLabel"))->pixmap().isNull());
}

QTEST_MAIN(TestMessageDialog)
#include "tst_messagedialog.moc"
