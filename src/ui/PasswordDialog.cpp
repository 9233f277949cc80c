#include "ui/PasswordDialog.h"

#include "ui/ImageButton.h"
#include "ui/ImageFolder.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {

QPixmap masked(QPixmap picture)
{
    if (!picture.isNull())
        picture.setMask(picture.createHeuristicMask());
    return picture;
}

QPixmap pictureOr(const QString &path, const QString &defaultFile)
{
    return QPixmap(path.isEmpty() ? ImageFolder::filePath(defaultFile) : path);
}

} // namespace

PasswordDialog::PasswordDialog(const PasswordDlgInfo &info, QWidget *parent)
    : KeypadDialog(info.keypadType(), parent, {.timeoutMs = info.timeout() * 1000})
    , m_info(info)
{
    auto *column = new QVBoxLayout;
    // Some air between the dialog's edge and its texts.
    column->setContentsMargins(10, 5, 10, 0);
    if (!m_info.headingKey().isEmpty()) {
        m_headingLabel = new QLabel(this);
        m_headingLabel->setObjectName(QStringLiteral("passwordDlg_Heading"));
        m_headingLabel->setWordWrap(true);
        m_headingLabel->setAlignment(Qt::AlignCenter);
        column->addWidget(m_headingLabel);
        column->addSpacing(10);
    }

    auto *row = new QHBoxLayout;
    m_logoLabel = new QLabel(this);
    m_logoLabel->setObjectName(QStringLiteral("passwordDlg_Logo"));
    m_logoLabel->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    m_logoLabel->setPixmap(masked(QPixmap(m_info.logoPath())));
    row->addWidget(m_logoLabel);
    row->addSpacing(15);

    auto *fields = new QVBoxLayout;
    fields->setSpacing(2);
    if (m_info.showStaffId()) {
        m_staffIdLabel = new QLabel(this);
        m_staffIdEntry = new QLineEdit(this);
        m_staffIdEntry->setObjectName(QStringLiteral("passwordDlg_staffIdEntry"));
        m_staffIdLabel->setBuddy(m_staffIdEntry);
        m_staffIdEntry->installEventFilter(this);
        connect(m_staffIdEntry, &QLineEdit::textChanged, this, &PasswordDialog::changeOkBtnImage);
        fields->addWidget(m_staffIdLabel);
        fields->addWidget(m_staffIdEntry);
        fields->addSpacing(8);
    }
    m_passwordLabel = new QLabel(this);
    m_passwordEntry = new QLineEdit(this);
    m_passwordEntry->setObjectName(QStringLiteral("passwordDlg_passwordEntry"));
    m_passwordEntry->setEchoMode(QLineEdit::Password);
    m_passwordEntry->setMinimumWidth(200);
    m_passwordLabel->setBuddy(m_passwordEntry);
    if (!m_info.presetPassword().isEmpty()) {
        m_passwordEntry->setText(m_info.presetPassword());
        m_passwordEntry->setEnabled(false);
    } else {
        m_passwordEntry->installEventFilter(this);
        connect(m_passwordEntry, &QLineEdit::textChanged, this, &PasswordDialog::changeOkBtnImage);
    }
    fields->addWidget(m_passwordLabel);
    fields->addWidget(m_passwordEntry);
    if (m_info.showReason()) {
        fields->addSpacing(8);
        m_reasonLabel = new QLabel(this);
        m_reasonEntry = new QPlainTextEdit(this);
        m_reasonEntry->setObjectName(QStringLiteral("passwordDlg_reasonEntry"));
        m_reasonEntry->setMaximumHeight(70);
        // Tab moves on, so the dialog stays usable without a mouse.
        m_reasonEntry->setTabChangesFocus(true);
        m_reasonLabel->setBuddy(m_reasonEntry);
        connect(m_reasonEntry, &QPlainTextEdit::textChanged, this,
                &PasswordDialog::changeOkBtnImage);
        fields->addWidget(m_reasonLabel);
        fields->addWidget(m_reasonEntry);
    }
    row->addLayout(fields);
    column->addLayout(row);
    column->addSpacing(15);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_okButton = new UtilsLib::ImageButton(this);
    m_okButton->setObjectName(QStringLiteral("passwordDlg_OkBtn"));
    m_okButton->setImage(pictureOr(m_info.button1ImagePath(), QStringLiteral("button1.jpg")));
    m_okButton->setDisabledImage(
        pictureOr(m_info.button1DisabledImagePath(), QStringLiteral("button1_disable.jpg")));
    m_okButton->setDefault(true);
    m_okButton->setMinimumWidth(80);
    connect(m_okButton, &QPushButton::clicked, this, &PasswordDialog::okBtn);
    m_cancelButton = new UtilsLib::ImageButton(this);
    m_cancelButton->setObjectName(QStringLiteral("passwordDlg_CancelBtn"));
    m_cancelButton->setImage(pictureOr(m_info.button2ImagePath(), QStringLiteral("button2.jpg")));
    m_cancelButton->setAutoDefault(false);
    m_cancelButton->setMinimumWidth(80);
    connect(m_cancelButton, &QPushButton::clicked, this, &PasswordDialog::reject);
    buttons->addWidget(m_okButton);
    buttons->addSpacing(10);
    buttons->addWidget(m_cancelButton);
    buttons->addStretch(1);
    column->addLayout(buttons);

    changeOkBtnImage();
    retranslate();
    addContentLayout(column);
}

QString PasswordDialog::password() const
{
    return m_passwordEntry ? m_passwordEntry->text() : QString();
}

QString PasswordDialog::staffId() const
{
    return m_staffIdEntry ? m_staffIdEntry->text() : QString();
}

QString PasswordDialog::reason() const
{
    return m_reasonEntry ? m_reasonEntry->toPlainText() : QString();
}

void PasswordDialog::setLogo(const QPixmap &picture)
{
    m_logoLabel->setPixmap(masked(picture));
}

bool PasswordDialog::run()
{
    // A new request starts from empty fields; a preset password stays as given.
    m_passwordEntry->setText(m_info.presetPassword());
    if (m_staffIdEntry)
        m_staffIdEntry->clear();
    if (m_reasonEntry)
        m_reasonEntry->clear();
    changeOkBtnImage();
    // Typing starts in the first field the user has to fill in.
    if (m_staffIdEntry)
        m_staffIdEntry->setFocus();
    else if (m_passwordEntry->isEnabled())
        m_passwordEntry->setFocus();
    else if (m_reasonEntry)
        m_reasonEntry->setFocus();
    return exec() == QDialog::Accepted;
}

void PasswordDialog::retranslate()
{
    const QString textContext = m_info.textContext();
    auto text = [&textContext](const QString &key) {
        if (textContext.isEmpty())
            return QCoreApplication::translate("PasswordDialog", key.toUtf8().constData());
        return QCoreApplication::translate(textContext.toLatin1().constData(),
                                           key.toLatin1().constData());
    };
    if (!m_info.captionKey().isEmpty())
        setWindowTitle(text(m_info.captionKey()));
    if (m_headingLabel)
        m_headingLabel->setText(text(m_info.headingKey()));
    m_passwordLabel->setText(text(m_info.promptKey()));
    m_passwordEntry->setAccessibleName(m_passwordLabel->text());
    if (m_staffIdLabel) {
        m_staffIdLabel->setText(tr("Staff Id"));
        m_staffIdEntry->setAccessibleName(m_staffIdLabel->text());
    }
    if (m_reasonLabel) {
        m_reasonLabel->setText(tr("Reason for Override"));
        m_reasonEntry->setAccessibleName(m_reasonLabel->text());
    }

    const QString buttonContext = m_info.buttonContext();
    if (!buttonContext.isEmpty()) {
        const QByteArray context = buttonContext.toLatin1();
        m_okButton->setText(QCoreApplication::translate(
            context.constData(), m_info.button1TextKey().toLatin1().constData()));
        m_cancelButton->setText(QCoreApplication::translate(
            context.constData(), m_info.button2TextKey().toLatin1().constData()));
    } else {
        m_okButton->setText(QCoreApplication::translate(
            "PasswordDialog", m_info.button1TextKey().toUtf8().constData()));
        m_cancelButton->setText(tr("Cancel"));
    }
    m_okButton->setAccessibleName(m_okButton->text().isEmpty() ? tr("OK") : QString());
    m_logoLabel->setAccessibleName(tr("Password"));
}

void PasswordDialog::changeOkBtnImage()
{
    m_okButton->setEnabled(false);
    // The cut comes first so that a long reason never stays in the box, whatever the order
    // in which the fields are filled.
    if (m_reasonEntry && m_reasonEntry->toPlainText().size() > MaxReasonLength) {
        m_reasonEntry->setPlainText(m_reasonEntry->toPlainText().left(MaxReasonLength));
        m_reasonEntry->moveCursor(QTextCursor::End);
    }
    if (!fieldsComplete())
        return;
    m_okButton->setEnabled(true);
}

bool PasswordDialog::fieldsComplete() const
{
    if (m_passwordEntry->text().isEmpty())
        return false;
    if (m_staffIdEntry && m_staffIdEntry->text().isEmpty())
        return false;
    if (m_reasonEntry && m_reasonEntry->toPlainText().isEmpty())
        return false;
    return true;
}

void PasswordDialog::okBtn()
{
    if (fieldsComplete())
        accept();
}

bool PasswordDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            okBtn();
            return true;
        }
    }
    return KeypadDialog::eventFilter(watched, event);
}
