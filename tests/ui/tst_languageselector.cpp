#include "ui/BcBaseDialog.h"
#include "ui/ChangeLanguageButton.h"
#include "ui/LanguageSelectorExtension.h"
#include "ui/LanguageSelectorExtensionItem.h"

#include <QFontMetrics>
#include <QSignalSpy>
#include <QtTest>

namespace {

const LanguageList Languages{
    {QStringLiteral("English"), QStringLiteral("Close Language Options")},
    {QStringLiteral("Français"), QStringLiteral("Fermer les options de langue")},
    {QStringLiteral("Español"), QStringLiteral("Cerrar")}};

} // namespace

class TestLanguageSelector : public QObject
{
    Q_OBJECT

private slots:
    void buttonFitsEveryText();
    void buttonRotatesThroughTheNames();
    void openListShowsTheCloseTexts();
    void buttonKeepsTheListItWasBuiltWith();
    void emptyListLeavesTheButtonBlank();

    void listHasAFlaggedItemPerLanguage();
    void choosingEmitsCodeAndName_data();
    void choosingEmitsCodeAndName();
};

void TestLanguageSelector::buttonFitsEveryText()
{
    ChangeLanguageButton button(nullptr, Languages, 60000);
    const QFontMetrics metrics(button.font());
    for (const LanguageEntry &entry : Languages) {
        QVERIFY(button.minimumWidth() >= metrics.horizontalAdvance(entry.first) + 24);
        QVERIFY(button.minimumWidth() >= metrics.horizontalAdvance(entry.second) + 24);
    }
    QCOMPARE(button.minimumWidth(), metrics.horizontalAdvance(Languages[1].second) + 24);
    QCOMPARE(button.objectName(), QStringLiteral("ChangeLanguageButton"));
    QCOMPARE(button.focusPolicy(), Qt::NoFocus);
    QVERIFY(!button.isDefault());
    QVERIFY(!button.autoDefault());
}

void TestLanguageSelector::buttonRotatesThroughTheNames()
{
    ChangeLanguageButton button(nullptr, Languages, 30);
    QCOMPARE(button.text(), QStringLiteral("English"));
    QTRY_COMPARE(button.text(), QStringLiteral("Français"));
    QTRY_COMPARE(button.text(), QStringLiteral("Español"));
    QTRY_COMPARE(button.text(), QStringLiteral("English"));
}

void TestLanguageSelector::openListShowsTheCloseTexts()
{
    ChangeLanguageButton button(nullptr, Languages, 60000);
    button.setExtensionShown(true);
    QCOMPARE(button.text(), Languages[1].second);
    button.setExtensionShown(true);
    QCOMPARE(button.text(), Languages[2].second);
    button.setExtensionShown(false);
    QCOMPARE(button.text(), QStringLiteral("English"));

    ChangeLanguageButton rotating(nullptr, Languages, 30);
    rotating.setExtensionShown(true);
    QTRY_COMPARE(rotating.text(), Languages[2].second);
    QTRY_COMPARE(rotating.text(), Languages[0].second);
}

void TestLanguageSelector::buttonKeepsTheListItWasBuiltWith()
{
    BcBaseDialog::setLanguageList(Languages);
    BcBaseDialog::setLanguageMap({{QStringLiteral("FR_CA"), QStringLiteral("Français")}});
    ChangeLanguageButton before(nullptr, BcBaseDialog::languageList(), 60000);
    QVERIFY(BcBaseDialog::updateLanguageEntry(QStringLiteral("FR_CA"),
                                              QStringLiteral("Français (Canada)"), QString()));
    ChangeLanguageButton after(nullptr, BcBaseDialog::languageList(), 60000);
    before.setExtensionShown(false);
    after.setExtensionShown(false);
    QCOMPARE(before.text(), QStringLiteral("Français"));
    QCOMPARE(after.text(), QStringLiteral("Français (Canada)"));
}

void TestLanguageSelector::emptyListLeavesTheButtonBlank()
{
    ChangeLanguageButton button(nullptr, LanguageList(), 10);
    QTest::qWait(40);
    button.setExtensionShown(true);
    QCOMPARE(button.text(), QString());
}

void TestLanguageSelector::listHasAFlaggedItemPerLanguage()
{
    LanguageSelectorExtension list;
    QCOMPARE(list.objectName(), QStringLiteral("LanguageSelector"));
    QCOMPARE(list.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    const LanguageMap languages{{QStringLiteral("FR_CA"), QStringLiteral("Français")},
                                {QStringLiteral("EN_US"), QStringLiteral("English")},
                                {QStringLiteral("xx_yy"), QStringLiteral("Nowhere Language")}};
    list.setLanguages(languages);
    QCOMPARE(list.count(), 3);
    const QStringList codes{QStringLiteral("EN_US"), QStringLiteral("FR_CA"),
                            QStringLiteral("xx_yy")};
    const QFontMetrics metrics(BcBaseDialog::defaultFont());
    for (int row = 0; row < 3; ++row) {
        const auto *item = dynamic_cast<LanguageSelectorExtensionItem *>(list.item(row));
        QVERIFY(item);
        QCOMPARE(item->languageCode(), codes[row]);
        QCOMPARE(item->languageName(), languages.value(codes[row]));
        QCOMPARE(item->text(), item->languageName());
        QCOMPARE(item->sizeHint().height(), qMax(30, metrics.height()) + 10);
    }
    // Flags are found for upper-case codes too; a language without one keeps its name.
    const auto *english = dynamic_cast<LanguageSelectorExtensionItem *>(list.item(0));
    QCOMPARE(english->flag().size(), QSize(45, 30));
    const auto *nowhere = dynamic_cast<LanguageSelectorExtensionItem *>(list.item(2));
    QVERIFY(nowhere->flag().isNull());
    QCOMPARE(list.minimumWidth(),
             qMax(150, metrics.horizontalAdvance(QStringLiteral("Nowhere Language")) + 75));

    LanguageSelectorExtension narrow;
    narrow.setLanguages({{QStringLiteral("EN_US"), QStringLiteral("E")}});
    QCOMPARE(narrow.minimumWidth(), 150);
}

void TestLanguageSelector::choosingEmitsCodeAndName_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("code");
    QTest::newRow("click on an item") << QStringLiteral("click") << QStringLiteral("FR_CA");
    QTest::newRow("click below the items") << QStringLiteral("empty") << QString();
    QTest::newRow("Return on the current item")
        << QStringLiteral("return") << QStringLiteral("EN_US");
    QTest::newRow("Escape") << QStringLiteral("escape") << QString();
}

void TestLanguageSelector::choosingEmitsCodeAndName()
{
    QFETCH(QString, how);
    QFETCH(QString, code);
    LanguageSelectorExtension list;
    list.setLanguages({{QStringLiteral("EN_US"), QStringLiteral("English")},
                       {QStringLiteral("FR_CA"), QStringLiteral("Français")}});
    list.resize(200, 300);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QSignalSpy selected(&list, &LanguageSelectorExtension::languageSelected);
    QSignalSpy closing(&list, &LanguageSelectorExtension::closeRequested);
    if (how == QLatin1String("click")) {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualItemRect(list.item(1)).center());
    } else if (how == QLatin1String("empty")) {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(20, 280));
    } else if (how == QLatin1String("return")) {
        list.setCurrentRow(0);
        QTest::keyClick(&list, Qt::Key_Return);
    } else {
        QTest::keyClick(&list, Qt::Key_Escape);
        QCOMPARE(closing.count(), 1);
    }
    if (code.isEmpty()) {
        QCOMPARE(selected.count(), 0);
        return;
    }
    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected.first().value(0).toString(), code);
    QCOMPARE(selected.first().value(1).toString(), code == QLatin1String("EN_US")
                                                       ? QStringLiteral("English")
                                                       : QStringLiteral("Français"));
}

QTEST_MAIN(TestLanguageSelector)
#include "tst_languageselector.moc"
