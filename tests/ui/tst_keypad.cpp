#include "ui/KeyPad.h"
#include "ui/KeypadDialog.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// A keypad dialog with two fields and a button, as the password dialog has.
class FieldsDialog : public KeypadDialog
{
    Q_OBJECT

public:
    explicit FieldsDialog(int keypadType, int minimumHeight = 0)
        : KeypadDialog(keypadType, nullptr, -1, false)
    {
        auto *layout = new QVBoxLayout;
        first = new QLineEdit(this);
        second = new QLineEdit(this);
        button = new QPushButton(QStringLiteral("OK"), this);
        layout->addWidget(first);
        layout->addWidget(second);
        layout->addWidget(button);
        addContentLayout(layout);
        if (minimumHeight > 0)
            setMinimumHeight(minimumHeight);
    }
    void retranslate() override {}

    QLineEdit *first = nullptr;
    QLineEdit *second = nullptr;
    QPushButton *button = nullptr;
};

QPushButton *key(KeyPad *keypad, const QString &name)
{
    return keypad->findChild<QPushButton *>(QStringLiteral("key_") + name);
}

int keyCount(KeyPad *keypad)
{
    int count = 0;
    const QList<QPushButton *> buttons = keypad->findChildren<QPushButton *>();
    for (const QPushButton *button : buttons)
        count += button->objectName().startsWith(QLatin1String("key_")) ? 1 : 0;
    return count;
}

QList<int> gridCell(KeyPad *keypad, const QString &name)
{
    auto *grid = keypad->findChild<QGridLayout *>();
    int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
    const int index = grid->indexOf(key(keypad, name));
    if (index < 0)
        return {};
    grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    return {row, column, columnSpan};
}

} // namespace

class TestKeyPad : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void keysEditTheFocusedField_data();
    void keysEditTheFocusedField();
    void keysNeedAnEditableFocusedField();
    void nextFieldMovesAsTabDoes();
    void shiftRelabelsAndStays();
    void webKeysMoveShiftAndSpace();
    void fullKeyboardLayout_data();
    void fullKeyboardLayout();
    void numericPadLayout();
    void keypadFollowsItsDialog();
    void dialogIsPlacedAboveTheKeypad_data();
    void dialogIsPlacedAboveTheKeypad();

private:
    std::unique_ptr<FieldsDialog> m_dialog;
};

void TestKeyPad::init()
{
    BcBaseDialog::setDefaultTimeout(-1);
    m_dialog = std::make_unique<FieldsDialog>(KeyPad::FullKeyboard);
}

void TestKeyPad::keysEditTheFocusedField_data()
{
    QTest::addColumn<int>("cursor");
    QTest::addColumn<int>("selectionLength");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cursorAfter");

    QTest::newRow("insert at the cursor")
        << 2 << 0 << QStringList{QStringLiteral("x")} << QStringLiteral("abxcd") << 3;
    QTest::newRow("replace a selection")
        << 1 << 2 << QStringList{QStringLiteral("x")} << QStringLiteral("axd") << 2;
    QTest::newRow("backspace a selection")
        << 1 << 2 << QStringList{QStringLiteral("back")} << QStringLiteral("ad") << 1;
    QTest::newRow("backspace before the cursor")
        << 2 << 0 << QStringList{QStringLiteral("back")} << QStringLiteral("acd") << 1;
    QTest::newRow("backspace at the start")
        << 0 << 0 << QStringList{QStringLiteral("back")} << QStringLiteral("abcd") << 0;
    QTest::newRow("clear") << 2 << 0 << QStringList{QStringLiteral("clear")} << QString() << 0;
    QTest::newRow("space bar") << 4 << 0 << QStringList{QStringLiteral("space")}
                               << QStringLiteral("abcd ") << 5;
    QTest::newRow("web key") << 4 << 0 << QStringList{QStringLiteral("dotcom")}
                             << QStringLiteral("abcd.com") << 8;
    QTest::newRow("digits and symbols")
        << 0 << 0
        << QStringList{QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("minus"),
                       QStringLiteral("atsign"), QStringLiteral("bslash")}
        << QStringLiteral("10-@\\abcd") << 5;
    QTest::newRow("shifted keys")
        << 4 << 0 << QStringList{QStringLiteral("shift"),    QStringLiteral("q"),
                                 QStringLiteral("tilde"),    QStringLiteral("minus"),
                                 QStringLiteral("equal"),    QStringLiteral("lbracket"),
                                 QStringLiteral("rbracket"), QStringLiteral("colons"),
                                 QStringLiteral("quotes"),   QStringLiteral("comma"),
                                 QStringLiteral("period"),   QStringLiteral("fslash"),
                                 QStringLiteral("7"),        QStringLiteral("dotorg")}
        << QStringLiteral("abcdQ~_+{}:\"<>?7.ORG") << 20;
}

void TestKeyPad::keysEditTheFocusedField()
{
    QFETCH(int, cursor);
    QFETCH(int, selectionLength);
    QFETCH(QStringList, keys);
    KeyPad *keypad = m_dialog->keypad();
    m_dialog->first->setText(QStringLiteral("abcd"));
    m_dialog->first->setFocus();
    if (selectionLength > 0)
        m_dialog->first->setSelection(cursor, selectionLength);
    else
        m_dialog->first->setCursorPosition(cursor);
    for (const QString &name : keys) {
        QPushButton *button = key(keypad, name);
        QVERIFY2(button, qPrintable(name));
        button->click();
    }
    QTEST(m_dialog->first->text(), "text");
    QTEST(m_dialog->first->cursorPosition(), "cursorAfter");
    QCOMPARE(m_dialog->first->selectedText(), QString());
}

void TestKeyPad::keysNeedAnEditableFocusedField()
{
    KeyPad *keypad = m_dialog->keypad();
    m_dialog->first->setText(QStringLiteral("abcd"));
    m_dialog->button->setFocus();
    for (const char *name : {"x", "back", "clear", "nextfield"})
        key(keypad, QLatin1String(name))->click();
    QCOMPARE(m_dialog->first->text(), QStringLiteral("abcd"));
    QCOMPARE(m_dialog->focusWidget(), m_dialog->button);

    m_dialog->first->setReadOnly(true);
    m_dialog->first->setFocus();
    for (const char *name : {"x", "back", "clear"})
        key(keypad, QLatin1String(name))->click();
    QCOMPARE(m_dialog->first->text(), QStringLiteral("abcd"));

    KeyPad orphan(nullptr, KeyPad::FullKeyboard);
    key(&orphan, QStringLiteral("x"))->click();
}

void TestKeyPad::nextFieldMovesAsTabDoes()
{
    KeyPad *keypad = m_dialog->keypad();
    m_dialog->second->setText(QStringLiteral("second"));
    m_dialog->first->setFocus();
    key(keypad, QStringLiteral("nextfield"))->click();
    QCOMPARE(m_dialog->focusWidget(), m_dialog->second);
    QCOMPARE(m_dialog->second->selectedText(), QStringLiteral("second"));
    // From the last field the focus goes on as Tab takes it, here to the button.
    key(keypad, QStringLiteral("nextfield"))->click();
    QCOMPARE(m_dialog->focusWidget(), m_dialog->button);
}

void TestKeyPad::shiftRelabelsAndStays()
{
    KeyPad *keypad = m_dialog->keypad();
    QCOMPARE(key(keypad, QStringLiteral("a"))->text(), QStringLiteral("a"));
    key(keypad, QStringLiteral("shift"))->click();
    QVERIFY(keypad->isShifted());
    QVERIFY(key(keypad, QStringLiteral("shift"))->isChecked());
    const QList<QPair<QString, QString>> shifted{{QStringLiteral("a"), QStringLiteral("A")},
                                                 {QStringLiteral("z"), QStringLiteral("Z")},
                                                 {QStringLiteral("tilde"), QStringLiteral("~")},
                                                 {QStringLiteral("quotes"), QStringLiteral("\"")},
                                                 {QStringLiteral("dotgov"), QStringLiteral(".GOV")},
                                                 {QStringLiteral("5"), QStringLiteral("5")},
                                                 {QStringLiteral("atsign"), QStringLiteral("@")},
                                                 {QStringLiteral("bslash"), QStringLiteral("\\")}};
    for (const auto &[name, label] : shifted)
        QCOMPARE(key(keypad, name)->text(), label);
    m_dialog->first->setFocus();
    key(keypad, QStringLiteral("b"))->click();
    key(keypad, QStringLiteral("c"))->click();
    QCOMPARE(m_dialog->first->text(), QStringLiteral("BC"));
    QVERIFY(keypad->isShifted());
    key(keypad, QStringLiteral("shift"))->click();
    QVERIFY(!key(keypad, QStringLiteral("shift"))->isChecked());
    QCOMPARE(key(keypad, QStringLiteral("tilde"))->text(), QStringLiteral("`"));
    key(keypad, QStringLiteral("d"))->click();
    QCOMPARE(m_dialog->first->text(), QStringLiteral("BCd"));
}

void TestKeyPad::webKeysMoveShiftAndSpace()
{
    KeyPad *keypad = m_dialog->keypad();
    m_dialog->show();
    QVERIFY(!keypad->webKeysVisible());
    QCOMPARE(gridCell(keypad, QStringLiteral("shift")), (QList<int>{5, 2, 2}));
    QCOMPARE(gridCell(keypad, QStringLiteral("space")), (QList<int>{5, 5, 5}));
    QVERIFY(!key(keypad, QStringLiteral("dotcom"))->isVisible());
    m_dialog->setWebKeysVisible(true);
    QCOMPARE(gridCell(keypad, QStringLiteral("shift")), (QList<int>{5, 1, 2}));
    QCOMPARE(gridCell(keypad, QStringLiteral("space")), (QList<int>{5, 3, 5}));
    for (const char *name : {"dotcom", "dotnet", "dotorg", "dotgov"})
        QVERIFY(key(keypad, QLatin1String(name))->isVisible());
    m_dialog->setWebKeysVisible(false);
    QCOMPARE(gridCell(keypad, QStringLiteral("space")), (QList<int>{5, 5, 5}));
    QVERIFY(!key(keypad, QStringLiteral("dotnet"))->isVisible());
}

void TestKeyPad::fullKeyboardLayout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<int>>("cell");
    QTest::addColumn<QString>("label");
    auto row = [](const char *name, int r, int c, int span, const QString &label) {
        QTest::newRow(name) << QString::fromLatin1(name) << QList<int>{r, c, span} << label;
    };
    row("nextfield", 1, 1, 2, QStringLiteral("Next Field"));
    row("back", 1, 5, 2, QStringLiteral("Backspace"));
    row("tilde", 1, 7, 1, QStringLiteral("`"));
    row("9", 1, 15, 1, QStringLiteral("9"));
    row("q", 2, 1, 1, QStringLiteral("q"));
    row("bslash", 2, 11, 1, QStringLiteral("\\"));
    row("a", 3, 1, 1, QStringLiteral("a"));
    row("quotes", 3, 11, 1, QStringLiteral("'"));
    row("z", 4, 1, 1, QStringLiteral("z"));
    row("atsign", 4, 11, 1, QStringLiteral("@"));
    row("0", 4, 14, 1, QStringLiteral("0"));
    row("shift", 5, 2, 2, QStringLiteral("Shift "));
    row("space", 5, 5, 5, QStringLiteral("Space Bar"));
    row("dotgov", 5, 11, 1, QStringLiteral(".gov"));
}

void TestKeyPad::fullKeyboardLayout()
{
    QFETCH(QString, name);
    KeyPad *keypad = m_dialog->keypad();
    QTEST(gridCell(keypad, name), "cell");
    QTEST(key(keypad, name)->text(), "label");
    QCOMPARE(key(keypad, name)->height(), 50);
    QCOMPARE(key(keypad, name)->font().pointSize(), 12);
    QCOMPARE(key(keypad, name)->font().bold(), name == QLatin1String("nextfield"));
    QCOMPARE(key(keypad, name)->focusPolicy(), Qt::NoFocus);
    if (gridCell(keypad, name).value(2) == 1)
        QCOMPARE(key(keypad, name)->width(), 60);
    // Every letter, digit and symbol key exists.
    const QString all = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789");
    for (const QChar c : all)
        QVERIFY(key(keypad, QString(c)));
    QCOMPARE(keyCount(keypad), 26 + 10 + 12 + 4 + 5);
}

void TestKeyPad::numericPadLayout()
{
    FieldsDialog dialog(2);
    KeyPad *keypad = dialog.keypad();
    QCOMPARE(keypad->keypadType(), 2);
    QCOMPARE(gridCell(keypad, QStringLiteral("7")), (QList<int>{1, 1, 1}));
    QCOMPARE(gridCell(keypad, QStringLiteral("3")), (QList<int>{3, 3, 1}));
    QCOMPARE(gridCell(keypad, QStringLiteral("0")), (QList<int>{4, 1, 2}));
    QCOMPARE(key(keypad, QStringLiteral("0"))->size(), QSize(120, 50));
    QCOMPARE(gridCell(keypad, QStringLiteral("period")), (QList<int>{4, 3, 1}));
    QCOMPARE(gridCell(keypad, QStringLiteral("nextfield")), (QList<int>{1, 5, 2}));
    QCOMPARE(gridCell(keypad, QStringLiteral("clear")), (QList<int>{2, 5, 2}));
    QCOMPARE(gridCell(keypad, QStringLiteral("back")), (QList<int>{3, 5, 2}));
    QCOMPARE(keyCount(keypad), 14);
    QVERIFY(!key(keypad, QStringLiteral("a")));
    dialog.first->setFocus();
    for (const char *name : {"1", "period", "5"})
        key(keypad, QLatin1String(name))->click();
    QCOMPARE(dialog.first->text(), QStringLiteral("1.5"));

    FieldsDialog none(0);
    QVERIFY(!none.keypad());
}

void TestKeyPad::keypadFollowsItsDialog()
{
    KeyPad *keypad = m_dialog->keypad();
    QVERIFY(keypad->isWindow());
    QVERIFY(!(keypad->windowFlags() & Qt::WindowTitleHint));
    QCOMPARE(keypad->timeout(), -1);
    m_dialog->show();
    QVERIFY(keypad->isVisible());
    // Escape in the keypad closes the keypad only.
    QTest::keyClick(keypad, Qt::Key_Escape);
    QVERIFY(!keypad->isVisible());
    QVERIFY(m_dialog->isVisible());
    m_dialog->hide();
    m_dialog->show();
    QVERIFY(keypad->isVisible());
    m_dialog->close();
    QVERIFY(!keypad->isVisible());
}

void TestKeyPad::dialogIsPlacedAboveTheKeypad_data()
{
    QTest::addColumn<int>("keypadType");
    QTest::addColumn<int>("minimumHeight");
    QTest::newRow("short dialog, numeric pad") << 2 << 0;
    QTest::newRow("tall dialog, numeric pad") << 2 << 330;
    QTest::newRow("tall dialog, full keyboard") << 1 << 250;
}

void TestKeyPad::dialogIsPlacedAboveTheKeypad()
{
    QFETCH(int, keypadType);
    QFETCH(int, minimumHeight);
    FieldsDialog dialog(keypadType, minimumHeight);
    dialog.show();
    KeyPad *keypad = dialog.keypad();
    const QRect desktop = dialog.screen()->availableGeometry();
    QCOMPARE(keypad->frameGeometry().bottom(), desktop.bottom());
    QCOMPARE(keypad->x(), desktop.x() + (desktop.width() - keypad->width()) / 2);
    QCOMPARE(dialog.x(), desktop.x() + (desktop.width() - dialog.width()) / 2);
    QVERIFY2(dialog.frameGeometry().bottom() < keypad->frameGeometry().top(),
             qPrintable(QStringLiteral("%1 %2")
                            .arg(dialog.frameGeometry().bottom())
                            .arg(keypad->frameGeometry().top())));
    const int free = desktop.height() - dialog.frameGeometry().height();
    if (dialog.frameGeometry().height() + free / 2 <= keypad->y() - desktop.y())
        QCOMPARE(dialog.y() - desktop.y(), free / 2);
    else
        QCOMPARE(dialog.y() - desktop.y(),
                 (keypad->y() - desktop.y() - dialog.frameGeometry().height()) / 2);
}

QTEST_MAIN(TestKeyPad)
#include "tst_keypad.moc"
