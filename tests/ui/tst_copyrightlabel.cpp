#include "FakeVersionInfo.h"
#include "app/BuildVersionInfo.h"
#include "ui/CopyrightLabel.h"

#include <QWidget>
#include <QtTest>

class TestCopyrightLabel : public QObject
{
    Q_OBJECT

private slots:
    void showsTheFourTextsInTurn();
    void looksAsANoticeLine();
    void buildVersionTexts();
};

void TestCopyrightLabel::showsTheFourTextsInTurn()
{
    QWidget parent;
    const FakeVersionInfo info;
    CopyrightLabel label(&parent, info, 40);
    const QStringList expected{
        QStringLiteral("Example Product"), QStringLiteral("Copyright © 2031, Example Works"),
        QStringLiteral("All rights reserved."), QStringLiteral("Version 05.01.02.0037")};
    QCOMPARE(label.texts(), expected);
    QCOMPARE(label.text(), expected[0]);
    // Two full rounds: after the version the product name comes back.
    for (int step = 1; step <= 8; ++step)
        QTRY_COMPARE(label.text(), expected[step % 4]);
}

void TestCopyrightLabel::looksAsANoticeLine()
{
    QWidget parent;
    QFont font(QStringLiteral("DejaVu Sans"), 14);
    font.setBold(true);
    parent.setFont(font);
    const FakeVersionInfo info;
    const CopyrightLabel label(&parent, info);
    QCOMPARE(label.objectName(), QStringLiteral("CopyrightLabel"));
    QCOMPARE(label.interval(), 10000);
    QCOMPARE(label.font().pointSize(), 8);
    QCOMPARE(label.font().family(), font.family());
    QVERIFY(label.font().bold());
    QCOMPARE(label.height(), 30);
}

void TestCopyrightLabel::buildVersionTexts()
{
    QWidget parent;
    const BuildVersionInfo info;
    const CopyrightLabel label(&parent, info);
    QCOMPARE(label.texts().value(3), QStringLiteral("Version ") + info.fileVersion());
    QCOMPARE(label.texts().value(1), info.copyright() + QStringLiteral(", ") + info.companyName());
}

QTEST_MAIN(TestCopyrightLabel)
#include "tst_copyrightlabel.moc"
