#include "ui/AboutInfoDialog.h"
#include "ui/DialogSettings.h"
#include "ui/KeyPad.h"
#include "ui/MessageDialog.h"
#include "ui/OpcPasswordDialog.h"

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

// Every visible button, field, list and picture of every dialog (language list open, keypads
// shown) has an accessible name.
class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void everyControlAndPictureHasAName_data()
    {
        DialogSettings &settings = DialogSettings::shared();
        settings.setLanguageList({{"English", "Close"}, {"Français", "Fermer"}});
        settings.setLanguageMap({{"EN_US", "English"}, {"FR_CA", "Français"}});
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

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
