#include "jobflow/UserIdDialogView.h"

#include "jobflow/UserIdDialogController.h"
#include "ui/AlphanumericKeyboardInputFilter.h"
#include "ui/EmbeddedImages.h"
#include "ui/ImageButton.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

UserIdDialogView::UserIdDialogView(QWidget *parent, UserIdDialogController *controller)
    : BcBaseDialog(parent)
    , m_controller(controller)
{
    setObjectName(QStringLiteral("userIdDialog"));
    auto *column = new QVBoxLayout;
    m_instructionLabel = new QLabel(this);
    m_instructionLabel->setWordWrap(true);
    m_instructionLabel->setAlignment(Qt::AlignCenter);
    m_instructionLabel->setMinimumWidth(300);
    column->addWidget(m_instructionLabel);
    column->addSpacing(5);

    auto *row = new QHBoxLayout;
    m_pictureLabel = new QLabel(this);
    m_pictureLabel->setPixmap(EmbeddedImages::withHeuristicMask(EmbeddedImages::userIdPixmap()));
    row->addWidget(m_pictureLabel, 0, Qt::AlignTop);
    row->addSpacing(15);

    auto *fields = new QVBoxLayout;
    fields->addStretch(1);
    m_userIdLabel = new QLabel(this);
    m_userIdLabel->setMinimumWidth(200);
    m_userIdEntry = makeField("userIdDialog_UserIdEntry", 50);
    if (m_controller && m_controller->isUserIdMasked())
        m_userIdEntry->setEchoMode(QLineEdit::Password);
    m_userIdLabel->setBuddy(m_userIdEntry);
    fields->addWidget(m_userIdLabel);
    fields->addWidget(m_userIdEntry);
    if (m_controller && m_controller->isPinRequired()) {
        fields->addSpacing(5);
        m_pinLabel = new QLabel(this);
        m_pinLabel->setMinimumWidth(200);
        m_pinEntry = makeField("userIdDialog_PinEntry", 35);
        m_pinEntry->setEchoMode(QLineEdit::Password);
        m_pinLabel->setBuddy(m_pinEntry);
        fields->addWidget(m_pinLabel);
        fields->addWidget(m_pinEntry);
    }
    fields->addStretch(2);
    if (m_controller && m_controller->areGuestsAllowed()) {
        fields->addSpacing(5);
        m_guestLabel = new QLabel(this);
        m_guestLabel->setObjectName(QStringLiteral("userIdDialog_GuestLabel"));
        m_guestLabel->setWordWrap(true);
        m_guestLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_guestLabel->setMinimumWidth(300);
        fields->addWidget(m_guestLabel);
        fields->addSpacing(5);
    }
    row->addLayout(fields);
    row->addSpacing(15);

    auto *buttons = new QVBoxLayout;
    m_okButton = UtilsLib::ImageButton::fromImageFolder(this, QStringLiteral("userIdDialog_OkBtn"),
                                                        QStringLiteral("button1.jpg"),
                                                        QStringLiteral("button1_disable.jpg"));
    m_okButton->setEnabled(false);
    connect(m_okButton, &QPushButton::clicked, this, &UserIdDialogView::okBtn);
    m_cancelButton = UtilsLib::ImageButton::fromImageFolder(
        this, QStringLiteral("userIdDialog_CancelBtn"), QStringLiteral("button2.jpg"));
    m_cancelButton->setAutoDefault(false);
    connect(m_cancelButton, &QPushButton::clicked, this, &UserIdDialogView::reject);
    buttons->addWidget(m_okButton);
    buttons->addSpacing(2);
    buttons->addWidget(m_cancelButton);
    buttons->addStretch(1);
    row->addLayout(buttons);
    column->addLayout(row);

    if (m_controller && !m_controller->presetUserId().isEmpty()) {
        m_userIdEntry->setText(m_controller->presetUserId());
        if (m_pinEntry)
            m_pinEntry->setFocus();
    }
    retranslate();
    addContentLayout(column);
    if (m_controller)
        m_controller->setView(this);
}

QLineEdit *UserIdDialogView::makeField(const char *objectName, int maxLength)
{
    auto *field = new QLineEdit(this);
    field->setObjectName(QLatin1String(objectName));
    field->setMinimumWidth(200);
    field->setMaxLength(maxLength);
    // The key filter never sees a paste or an input method; this refuses what would break the
    // reply's fields however it arrives.
    field->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^|\\p{Cc}]*")), field));
    field->installEventFilter(this);
    connect(field, &QLineEdit::textChanged, this, &UserIdDialogView::changeOkBtnImage);
    return field;
}

void UserIdDialogView::retranslate()
{
    setWindowTitle(tr("User Identification"));
    m_instructionLabel->setText(tr("Please enter the following information."));
    m_userIdLabel->setText(tr("User ID"));
    m_userIdEntry->setAccessibleName(m_userIdLabel->text());
    if (m_pinLabel) {
        m_pinLabel->setText(tr("User PIN"));
        m_pinEntry->setAccessibleName(m_pinLabel->text());
    }
    m_okButton->setText(tr("OK"));
    m_cancelButton->setText(tr("Cancel"));
    if (m_guestLabel)
        m_guestLabel->setText(tr("GUEST USERS: Please create the information requested above and "
                                 "remember it for use at the Print Release Terminal."));
    m_pictureLabel->setAccessibleName(tr("User"));
}

void UserIdDialogView::setUserIdFilter(bool enabled, const QString &exceptions)
{
    setInputFilter(m_userIdEntry,
                   enabled ? std::make_unique<AlphanumericKeyboardInputFilter>(exceptions)
                           : nullptr);
}

void UserIdDialogView::setPinFilter(bool enabled, const QString &exceptions)
{
    if (m_pinEntry)
        setInputFilter(m_pinEntry,
                       enabled ? std::make_unique<AlphanumericKeyboardInputFilter>(exceptions)
                               : nullptr);
}

int UserIdDialogView::execDialog()
{
    return exec();
}

QString UserIdDialogView::userId() const
{
    return m_userIdEntry->text();
}

QString UserIdDialogView::pin() const
{
    return m_pinEntry ? m_pinEntry->text() : QString();
}

void UserIdDialogView::setUserId(const QString &userId)
{
    m_userIdEntry->setText(userId);
}

void UserIdDialogView::setPin(const QString &pin)
{
    if (m_pinEntry)
        m_pinEntry->setText(pin);
}

bool UserIdDialogView::readyToAccept() const
{
    return !m_userIdEntry->text().trimmed().isEmpty() &&
           (!m_pinEntry || !m_pinEntry->text().trimmed().isEmpty());
}

void UserIdDialogView::changeOkBtnImage()
{
    m_okButton->setEnabled(false);
    // User IDs are always entered in capitals.
    const QString upper = m_userIdEntry->text().toUpper();
    if (upper != m_userIdEntry->text()) {
        const int cursor = m_userIdEntry->cursorPosition();
        m_userIdEntry->setText(upper);
        m_userIdEntry->setCursorPosition(cursor);
    }
    m_okButton->setEnabled(readyToAccept());
}

void UserIdDialogView::okBtn()
{
    // The same test as the one that enables OK: Return reaches here with OK disabled.
    if (!readyToAccept())
        return;
    if (m_controller) {
        m_controller->storeUserId();
        if (m_pinEntry)
            m_controller->storePin();
    }
    accept();
}

bool UserIdDialogView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            okBtn();
            return true;
        }
    }
    return BcBaseDialog::eventFilter(watched, event);
}
