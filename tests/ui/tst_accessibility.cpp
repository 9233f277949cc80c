#include "ModalDialogDriver.h"
#include "ui/AboutInfoDialog.h"
#include "ui/KeyPad.h"
#include "ui/MessageDialog.h"
#include "ui/OpcPasswordDialog.h"
#include "ui/PrintClientDialog.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

PasswordDlgInfo fullPasswordInfo(int keypadType)
{
    PasswordDlgInfo info(QStringLiteral("Staff Override"), QStringLiteral("OK"),
                         QStringLiteral("Cancel"), QString(), QStringLiteral("Password"));
    info.setHeadingKey(QStringLiteral("This job needs a staff member's approval."));
    info.setShowStaffId(true);
    info.setShowReason(true);
    info.setKeypadType(keypadType);
    return info;
}

using Factory = std::function<BcBaseDialog *()>;

QString accessibleName(QWidget *widget)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
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

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void everyControlAndPictureHasAName_data();
    void everyControlAndPictureHasAName();
    void passwordDialogCompletesFromTheKeyboard();
    void messageDialogCompletesFromTheKeyboard();
};

void TestAccessibility::init()
{
    BcBaseDialog::setDefaultTimeout(-1);
    BcBaseDialog::setLanguageList({{QStringLiteral("English"), QStringLiteral("Close")},
                                   {QStringLiteral("Français"), QStringLiteral("Fermer")}});
    BcBaseDialog::setLanguageMap({{QStringLiteral("EN_US"), QStringLiteral("English")},
                                  {QStringLiteral("FR_CA"), QStringLiteral("Français")}});
}

void TestAccessibility::everyControlAndPictureHasAName_data()
{
    QTest::addColumn<Factory>("factory");
    QTest::newRow("message dialog") << Factory([] {
        return new MessageDialog(QStringLiteral("Print Job"), {QStringLiteral("Sent.")}, {},
                                 QMessageBox::Warning, nullptr, 0, 3, QStringLiteral("Print"),
                                 QString(), QStringLiteral("Cancel"), QString(),
                                 QStringLiteral("Later"));
    });
    QTest::newRow("message box") << Factory([] { return new PrintClientDialog; });
    QTest::newRow("password dialog with keyboard")
        << Factory([] { return new OpcPasswordDialog(fullPasswordInfo(KeyPad::FullKeyboard)); });
    QTest::newRow("password dialog with numeric pad")
        << Factory([] { return new OpcPasswordDialog(fullPasswordInfo(2)); });
    QTest::newRow("about box") << Factory([] { return new AboutInfoDialog; });
}

void TestAccessibility::everyControlAndPictureHasAName()
{
    QFETCH(Factory, factory);
    std::unique_ptr<BcBaseDialog> dialog(factory());
    dialog->show();
    dialog->toggleExtension();
    int checked = 0;
    const QList<QWidget *> widgets = dialog->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (!widget->isVisible() || !needsName(widget))
            continue;
        ++checked;
        QVERIFY2(!accessibleName(widget).trimmed().isEmpty(),
                 qPrintable(QStringLiteral("%1 \"%2\"")
                                .arg(QString::fromLatin1(widget->metaObject()->className()),
                                     widget->objectName())));
    }
    QVERIFY(checked >= 3);
}

void TestAccessibility::passwordDialogCompletesFromTheKeyboard()
{
    OpcPasswordDialog dialog(fullPasswordInfo(0));
    ModalDialogDriver driver([](QWidget *shown) {
        auto type = [shown](const QString &text) {
            QTest::keyClicks(shown->focusWidget(), text);
            QTest::keyClick(shown->focusWidget(), Qt::Key_Tab);
        };
        // Typing starts in the staff ID field; Tab leads through the others to OK.
        type(QStringLiteral("S12"));
        type(QStringLiteral("secret"));
        type(QStringLiteral("Thesis print run"));
        if (shown->focusWidget()->objectName() == QLatin1String("passwordDlg_OkBtn"))
            QTest::keyClick(shown->focusWidget(), Qt::Key_Space);
    });
    QVERIFY(dialog.run());
    QCOMPARE(dialog.staffId(), QStringLiteral("S12"));
    QCOMPARE(dialog.password(), QStringLiteral("secret"));
    QCOMPARE(dialog.reason(), QStringLiteral("Thesis print run"));
}

void TestAccessibility::messageDialogCompletesFromTheKeyboard()
{
    MessageDialog dialog(QStringLiteral("Print Job"), {QStringLiteral("Print it?")}, {},
                         QMessageBox::Question, nullptr, 0, 2, QStringLiteral("Print"), QString(),
                         QStringLiteral("Cancel"));
    dialog.setButtonResults(1, 5, 0);
    ModalDialogDriver driver([](QWidget *shown) {
        QWidget *first = shown->findChild<QWidget *>(QStringLiteral("button1"));
        first->setFocus();
        QTest::keyClick(first, Qt::Key_Tab);
        if (shown->focusWidget()->objectName() == QLatin1String("button2"))
            QTest::keyClick(shown->focusWidget(), Qt::Key_Space);
    });
    QCOMPARE(dialog.exec(), 5);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
