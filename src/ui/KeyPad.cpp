#include "ui/KeyPad.h"

#include "ui/KeypadDialog.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int KeyWidth = 60;
constexpr int KeyHeight = 50;
constexpr int Spacer = 10;

void postFocusIn(QWidget *field)
{
    // Keeps the field showing its cursor although the click went to the keypad.
    QCoreApplication::postEvent(field, new QFocusEvent(QEvent::FocusIn, Qt::OtherFocusReason));
}

} // namespace

KeyPad::KeyPad(KeypadDialog *owner, int keypadType)
    : BcBaseDialog(owner, {.timeoutMs = DialogOptions::NoTimeout,
                           .showLanguageButton = false,
                           .showNoticeLabel = false,
                           .border = 0,
                           .flags = Qt::Dialog | Qt::CustomizeWindowHint})
    , m_owner(owner)
    , m_keypadType(keypadType)
{
    // Typing must leave the focus, and the active window, with the owner's field.
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);

    m_grid = new QGridLayout;
    m_grid->setSpacing(0);
    if (m_keypadType == FullKeyboard)
        buildFullKeyboard();
    else
        buildNumericPad();
    addContentLayout(m_grid);
    retranslate();
}

void KeyPad::buildFullKeyboard()
{
    for (int row : {0, 7})
        m_grid->setRowMinimumHeight(row, Spacer);
    for (int column : {0, 12, 16})
        m_grid->setColumnMinimumWidth(column, Spacer);

    m_nextFieldKey = addCommandKey(QStringLiteral("nextfield"), &KeyPad::hitNextField, 1, 1);
    m_clearKey = addCommandKey(QStringLiteral("clear"), &KeyPad::hitClear, 1, 3);
    m_backspaceKey = addCommandKey(QStringLiteral("back"), &KeyPad::hitBack, 1, 5);
    addKey(QStringLiteral("tilde"), QStringLiteral("`"), QStringLiteral("~"), &KeyPad::hitTilde, 1,
           7);
    addKey(QStringLiteral("minus"), QStringLiteral("-"), QStringLiteral("_"), &KeyPad::hitMinus, 1,
           8);
    addKey(QStringLiteral("equal"), QStringLiteral("="), QStringLiteral("+"), &KeyPad::hitEqual, 1,
           9);
    addKey(QStringLiteral("lbracket"), QStringLiteral("["), QStringLiteral("{"),
           &KeyPad::hitLBracket, 1, 10);
    addKey(QStringLiteral("rbracket"), QStringLiteral("]"), QStringLiteral("}"),
           &KeyPad::hitRBracket, 1, 11);

    using Slot = void (KeyPad::*)();
    struct Letter
    {
        char letter;
        Slot slot;
    };
    const Letter rows[3][10] = {
        {{'q', &KeyPad::hitQ},
         {'w', &KeyPad::hitW},
         {'e', &KeyPad::hitE},
         {'r', &KeyPad::hitR},
         {'t', &KeyPad::hitT},
         {'y', &KeyPad::hitY},
         {'u', &KeyPad::hitU},
         {'i', &KeyPad::hitI},
         {'o', &KeyPad::hitO},
         {'p', &KeyPad::hitP}},
        {{'a', &KeyPad::hitA},
         {'s', &KeyPad::hitS},
         {'d', &KeyPad::hitD},
         {'f', &KeyPad::hitF},
         {'g', &KeyPad::hitG},
         {'h', &KeyPad::hitH},
         {'j', &KeyPad::hitJ},
         {'k', &KeyPad::hitK},
         {'l', &KeyPad::hitL},
         {0, nullptr}},
        {{'z', &KeyPad::hitZ},
         {'x', &KeyPad::hitX},
         {'c', &KeyPad::hitC},
         {'v', &KeyPad::hitV},
         {'b', &KeyPad::hitB},
         {'n', &KeyPad::hitN},
         {'m', &KeyPad::hitM},
         {0, nullptr},
         {0, nullptr},
         {0, nullptr}},
    };
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 10; ++column) {
            const Letter &key = rows[row][column];
            if (!key.slot)
                continue;
            const QString plain = QString(QLatin1Char(key.letter));
            addKey(plain, plain, plain.toUpper(), key.slot, row + 2, column + 1);
        }
    }
    addKey(QStringLiteral("bslash"), QStringLiteral("\\"), QStringLiteral("\\"), &KeyPad::hitBSlash,
           2, 11);
    addKey(QStringLiteral("colons"), QStringLiteral(";"), QStringLiteral(":"), &KeyPad::hitColons,
           3, 10);
    addKey(QStringLiteral("quotes"), QStringLiteral("'"), QStringLiteral("\""), &KeyPad::hitQuotes,
           3, 11);
    addKey(QStringLiteral("comma"), QStringLiteral(","), QStringLiteral("<"), &KeyPad::hitComma, 4,
           8);
    addKey(QStringLiteral("period"), QStringLiteral("."), QStringLiteral(">"), &KeyPad::hitPeriod,
           4, 9);
    addKey(QStringLiteral("fslash"), QStringLiteral("/"), QStringLiteral("?"), &KeyPad::hitFSlash,
           4, 10);
    addKey(QStringLiteral("atsign"), QStringLiteral("@"), QStringLiteral("@"), &KeyPad::hitAtSign,
           4, 11);

    const Slot digits[10] = {&KeyPad::hit0, &KeyPad::hit1, &KeyPad::hit2, &KeyPad::hit3,
                             &KeyPad::hit4, &KeyPad::hit5, &KeyPad::hit6, &KeyPad::hit7,
                             &KeyPad::hit8, &KeyPad::hit9};
    for (int digit = 1; digit <= 9; ++digit) {
        const QString text = QString::number(digit);
        addKey(text, text, text, digits[digit], 3 - (digit - 1) / 3, 13 + (digit - 1) % 3);
    }
    addKey(QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), digits[0], 4, 14);

    m_shiftKey = new QPushButton(this);
    m_shiftKey->setObjectName(QStringLiteral("key_shift"));
    m_shiftKey->setCheckable(true);
    connect(m_shiftKey, &QPushButton::clicked, this, &KeyPad::hitShift);
    m_spaceKey = new QPushButton(this);
    m_spaceKey->setObjectName(QStringLiteral("key_space"));
    connect(m_spaceKey, &QPushButton::clicked, this, &KeyPad::hitSpace);
    for (QPushButton *key : {m_shiftKey, m_spaceKey}) {
        QFont font = key->font();
        font.setPointSize(12);
        key->setFont(font);
        key->setFocusPolicy(Qt::NoFocus);
        key->setFixedHeight(KeyHeight);
        key->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

    addKey(QStringLiteral("dotcom"), QStringLiteral(".com"), QStringLiteral(".COM"),
           &KeyPad::hitDotCom, 5, 8);
    addKey(QStringLiteral("dotnet"), QStringLiteral(".net"), QStringLiteral(".NET"),
           &KeyPad::hitDotNet, 5, 9);
    addKey(QStringLiteral("dotorg"), QStringLiteral(".org"), QStringLiteral(".ORG"),
           &KeyPad::hitDotOrg, 5, 10);
    addKey(QStringLiteral("dotgov"), QStringLiteral(".gov"), QStringLiteral(".GOV"),
           &KeyPad::hitDotGov, 5, 11);
    placeShiftAndSpace();
    relabel();
}

void KeyPad::buildNumericPad()
{
    // Row 5 is a spacer like the full keyboard's last row, so the keys do not touch the
    // bottom edge of the screen.
    for (int row : {0, 5})
        m_grid->setRowMinimumHeight(row, Spacer);
    for (int column : {0, 4, 7})
        m_grid->setColumnMinimumWidth(column, Spacer);
    using Slot = void (KeyPad::*)();
    const Slot digits[10] = {&KeyPad::hit0, &KeyPad::hit1, &KeyPad::hit2, &KeyPad::hit3,
                             &KeyPad::hit4, &KeyPad::hit5, &KeyPad::hit6, &KeyPad::hit7,
                             &KeyPad::hit8, &KeyPad::hit9};
    for (int digit = 1; digit <= 9; ++digit) {
        const QString text = QString::number(digit);
        addKey(text, text, text, digits[digit], 3 - (digit - 1) / 3, 1 + (digit - 1) % 3);
    }
    addKey(QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), digits[0], 4, 1, 2);
    addKey(QStringLiteral("period"), QStringLiteral("."), QStringLiteral("."), &KeyPad::hitPeriod,
           4, 3);
    m_nextFieldKey = addCommandKey(QStringLiteral("nextfield"), &KeyPad::hitNextField, 1, 5);
    m_clearKey = addCommandKey(QStringLiteral("clear"), &KeyPad::hitClear, 2, 5);
    m_backspaceKey = addCommandKey(QStringLiteral("back"), &KeyPad::hitBack, 3, 5);
    relabel();
}

QPushButton *KeyPad::addKey(const QString &name, const QString &plain, const QString &shifted,
                            void (KeyPad::*slot)(), int row, int column, int columnSpan)
{
    auto *button = new QPushButton(this);
    button->setObjectName(QStringLiteral("key_") + name);
    button->setFocusPolicy(Qt::NoFocus);
    QFont font = button->font();
    font.setPointSize(12);
    button->setFont(font);
    button->setFixedSize(KeyWidth * columnSpan, KeyHeight);
    connect(button, &QPushButton::clicked, this, slot);
    m_grid->addWidget(button, row, column, 1, columnSpan);
    m_keys.insert(name, Key{plain, shifted, button});
    return button;
}

QPushButton *KeyPad::addCommandKey(const QString &name, void (KeyPad::*slot)(), int row, int column)
{
    auto *button = new QPushButton(this);
    button->setObjectName(QStringLiteral("key_") + name);
    button->setFocusPolicy(Qt::NoFocus);
    QFont font = button->font();
    font.setPointSize(12);
    font.setBold(name == QLatin1String("nextfield"));
    button->setFont(font);
    button->setFixedSize(2 * KeyWidth, KeyHeight);
    connect(button, &QPushButton::clicked, this, slot);
    m_grid->addWidget(button, row, column, 1, 2);
    return button;
}

void KeyPad::setWebKeysVisible(bool visible)
{
    m_webKeysShown = visible;
    if (m_keypadType == FullKeyboard)
        placeShiftAndSpace();
}

void KeyPad::placeShiftAndSpace()
{
    m_grid->removeWidget(m_shiftKey);
    m_grid->removeWidget(m_spaceKey);
    if (m_webKeysShown) {
        m_grid->addWidget(m_shiftKey, 5, 1, 1, 2);
        m_grid->addWidget(m_spaceKey, 5, 3, 1, 5);
    } else {
        m_grid->addWidget(m_shiftKey, 5, 2, 1, 2);
        m_grid->addWidget(m_spaceKey, 5, 5, 1, 5);
    }
    for (const char *name : {"dotcom", "dotnet", "dotorg", "dotgov"})
        m_keys.value(QLatin1String(name)).button->setVisible(m_webKeysShown);
}

void KeyPad::retranslate()
{
    if (m_nextFieldKey)
        m_nextFieldKey->setText(tr("Next Field"));
    if (m_clearKey)
        m_clearKey->setText(tr("Clear"));
    if (m_backspaceKey)
        m_backspaceKey->setText(tr("Backspace"));
    if (m_shiftKey)
        m_shiftKey->setText(tr("Shift "));
    if (m_spaceKey)
        m_spaceKey->setText(tr("Space Bar"));
}

void KeyPad::relabel()
{
    for (const Key &key : std::as_const(m_keys))
        key.button->setText(m_shift ? key.shifted : key.plain);
}

void KeyPad::hitShift()
{
    m_shift = !m_shift;
    if (m_shiftKey)
        m_shiftKey->setChecked(m_shift);
    relabel();
}

void KeyPad::hit(const QString &name)
{
    const auto found = m_keys.constFind(name);
    if (found == m_keys.constEnd())
        return;
    insertText(m_shift ? found->shifted : found->plain);
}

QLineEdit *KeyPad::focusedField() const
{
    return m_owner ? qobject_cast<QLineEdit *>(m_owner->focusWidget()) : nullptr;
}

QLineEdit *KeyPad::targetField() const
{
    // A read-only field only shows a value; the keypad must not change it either.
    QLineEdit *field = focusedField();
    return field && !field->isReadOnly() ? field : nullptr;
}

void KeyPad::insertText(const QString &text)
{
    QLineEdit *field = targetField();
    if (!field)
        return;
    QString content = field->text();
    int position = field->cursorPosition();
    if (field->hasSelectedText()) {
        position = field->selectionStart();
        content.remove(position, field->selectionLength());
    }
    content.insert(position, text);
    field->setText(content);
    field->setCursorPosition(position + static_cast<int>(text.size()));
    postFocusIn(field);
}

void KeyPad::hitBack()
{
    QLineEdit *field = targetField();
    if (!field)
        return;
    if (field->hasSelectedText()) {
        insertText(QString());
        return;
    }
    const int position = field->cursorPosition();
    if (position > 0) {
        QString content = field->text();
        content.remove(position - 1, 1);
        field->setText(content);
        field->setCursorPosition(position - 1);
    }
    postFocusIn(field);
}

void KeyPad::hitClear()
{
    QLineEdit *field = targetField();
    if (!field)
        return;
    field->setText(QString());
    postFocusIn(field);
}

void KeyPad::hitNextField()
{
    QLineEdit *field = focusedField();
    if (!field)
        return;
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(field, &focusOut);
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    QCoreApplication::sendEvent(field, &tab);
    if (auto *next = qobject_cast<QLineEdit *>(m_owner->focusWidget())) {
        next->selectAll();
        postFocusIn(next);
    }
}
