#include "jobflow/AccountInfoDialogController.h"
#include "jobflow/AccountInfoDialogView.h"
#include "jobflow/UserSession.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

class TestAccountInfo : public QObject
{
    Q_OBJECT

private slots:
    // Which blocks show and what they read, for sessions as the Print Service leaves them.
    void blocks_data()
    {
        QTest::addColumn<QStringList>("deposit"); // balance, maximum
        QTest::addColumn<QStringList>("credit");
        QTest::addColumn<QString>("allocation"); // the marker is set when non-empty
        QTest::addColumn<bool>("expired");
        QTest::addColumn<QString>("depositIcon");
        QTest::addColumn<QString>("gaps");
        QTest::addColumn<QString>("shown"); // [picture] label=value; per value label
        QTest::newRow("credit only")
            << QStringList{"$1", ""} << QStringList{"$3.00", "$20.00"} << "" << false << "deposit"
            << ""
            << "[Credit account] Current Credit Balance:=($3.00); Max Credit Balance=($20.00); ";
        QTest::newRow("deposit expired")
            << QStringList{"$12.60", "$50.00"} << QStringList{"", ""} << "" << true
            << "deposit_disable"
            << ""
            << "[Deposit account] Deposit Account Expired=; Max Deposit Balance=$50.00; ";
        QTest::newRow("all four")
            << QStringList{"$12.60", "$50.00"} << QStringList{"$3.00", "$20.00"} << "$4.00" << false
            << "deposit"
            << "2 5 8 "
            << "[Deposit account] Current Deposit Balance:=$12.60; Max Deposit Balance=$50.00; "
               "[Credit account] Current Credit Balance:=($3.00); Max Credit Balance=($20.00); "
               "[Allocation] Allocation Balance=$4.00; "
               "[Library deposit] Library Deposit Balance=$1.50; ";
        QTest::newRow("zero balance, markup as text, no gap without credit")
            << QStringList{UserSession::ZeroBalance, "$5"} << QStringList{"", ""} << "<b>5</b>"
            << false << "deposit"
            << ""
            << "[Deposit account] Current Deposit Balance:=$0.00; Max Deposit Balance=$5; "
               "[Allocation] Allocation Balance=<b>5</b>; ";
    }

    void blocks()
    {
        QFETCH(QStringList, deposit);
        QFETCH(QStringList, credit);
        QFETCH(QString, allocation);
        QFETCH(bool, expired);
        UserSession session;
        session.setDepositBalance(deposit[0]);
        session.setMaxDepositBalance(deposit[1]);
        session.setCreditBalance(credit[0]);
        session.setMaxCreditBalance(credit[1]);
        session.setAllocationMarker(allocation.isEmpty() ? "" : "1");
        session.setAllocationBalance(allocation);
        session.setDepositExpired(expired);
        session.setLibraryDepositBalance("$1.50");
        session.setLibraryDepositShown(QTest::currentDataTag() == QLatin1String("all four"));
        AccountInfoDialogController controller(&session);
        QTEST(controller.depositIcon(), "depositIcon");
        AccountInfoDialogView view(nullptr, &controller);
        view.show();
        QCOMPARE(view.windowTitle(), "Account Information");

        auto *grid = view.findChild<QGridLayout *>("accountInfo_grid");
        QString gaps;
        QString shown;
        for (int row = 0; row < 12; ++row) {
            if (grid->rowMinimumHeight(row) > 0)
                gaps += QString::number(row) + ' ';
            if (QLayoutItem *picture = grid->itemAtPosition(row, 0); picture && row % 3 == 0)
                shown += '[' + picture->widget()->accessibleName() + "] ";
            auto *value = qobject_cast<QLabel *>(
                grid->itemAtPosition(row, 3) ? grid->itemAtPosition(row, 3)->widget() : nullptr);
            if (!value)
                continue;
            QVERIFY(view.findChild<QLabel *>(value->objectName())->isVisible());
            const QString label =
                static_cast<QLabel *>(grid->itemAtPosition(row, 2)->widget())->text();
            QCOMPARE(value->accessibleName(), label + ' ' + value->text());
            QCOMPARE(value->textFormat(), Qt::PlainText);
            shown += label + '=' + value->text() + "; ";
        }
        QTEST(gaps, "gaps");
        QTEST(shown, "shown");
        QCOMPARE(view.findChildren<QLabel *>(QRegularExpression("^accountInfo_")).size(),
                 shown.count('='));
        view.findChild<QPushButton *>("allocationInfoDialog_okButton")->click();
        QCOMPARE(view.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestAccountInfo)
#include "tst_accountinfo.moc"
