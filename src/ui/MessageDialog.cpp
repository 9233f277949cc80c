#include "ui/MessageDialog.h"

#include "ui/ImageButton.h"
#include "ui/ImageFolder.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString translated(const char *context, const QString &key)
{
    return QCoreApplication::translate(context, key.toUtf8().constData());
}

QString paragraphText(const QStringList &keys)
{
    QStringList texts;
    for (const QString &key : keys)
        texts.append(translated("CommonDialogMessages", key));
    return texts.join(QLatin1Char(' '));
}

} // namespace

MessageDialog::MessageDialog(const QString &captionKey, const QStringList &paragraph1Keys,
                             const QStringList &paragraph2Keys, QMessageBox::Icon icon,
                             QWidget *parent, int timeoutMs, int buttonCount,
                             const QString &button1TextKey, const QString &button1Picture,
                             const QString &button2TextKey, const QString &button2Picture,
                             const QString &button3TextKey, const QString &button3Picture)
    : BcBaseDialog(parent, {.timeoutMs = timeoutMs})
    , m_captionKey(captionKey)
    , m_paragraph1(paragraph1Keys)
    , m_paragraph2(paragraph2Keys)
    , m_button1TextKey(button1TextKey)
    , m_button2TextKey(button2TextKey)
    , m_button3TextKey(button3TextKey)
{
    if (buttonCount >= PlainButtons) {
        buttonCount -= PlainButtons;
        m_useImages = false;
    }
    m_buttonCount = std::clamp(buttonCount, 0, 3);

    auto *column = new QVBoxLayout;
    // Some air between the dialog's edge and its texts.
    column->setContentsMargins(10, 5, 10, 0);
    column->setAlignment(Qt::AlignCenter);
    auto *row = new QHBoxLayout;
    row->setAlignment(Qt::AlignCenter);

    m_iconLabel = new QLabel(this);
    m_iconLabel->setObjectName(QStringLiteral("iconLabel"));
    row->addWidget(m_iconLabel);
    row->addSpacing(10);
    m_textLabel = new QLabel(this);
    m_textLabel->setObjectName(QStringLiteral("textLabel"));
    m_textLabel->setWordWrap(true);
    m_textLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    m_textLabel->setMinimumWidth(250);
    row->addWidget(m_textLabel);
    setIconPixmap(standardIcon(icon), QString());
    m_iconName = iconName(icon);

    column->addLayout(row);
    column->addSpacing(10);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const QString pictures[3] = {button1Picture, button2Picture, button3Picture};
    QPushButton **targets[3] = {&m_button1, &m_button2, &m_button3};
    for (int number = 1; number <= m_buttonCount; ++number) {
        if (number > 1)
            buttons->addSpacing(10);
        QPushButton *button = makeButton(number, pictures[number - 1]);
        *targets[number - 1] = button;
        if (number == 1)
            button->setDefault(true);
        if (number == 2) {
            m_button1->setAutoDefault(false);
            button->setAutoDefault(false);
        }
        button->setMinimumWidth(80);
        buttons->addWidget(button, 0, Qt::AlignCenter);
    }
    buttons->addStretch(1);
    column->addLayout(buttons);

    addContentLayout(column);
    retranslate();
}

QPushButton *MessageDialog::makeButton(int number, const QString &picture)
{
    QPushButton *button = nullptr;
    if (m_useImages) {
        auto *imageButton = new UtilsLib::ImageButton(this);
        const QString fileName = !picture.isEmpty() ? picture
                                 : number == 1      ? QStringLiteral("button1.jpg")
                                                    : QStringLiteral("button2.jpg");
        imageButton->setImage(QPixmap(ImageFolder::filePath(fileName)));
        button = imageButton;
    } else {
        button = new QPushButton(this);
    }
    button->setObjectName(QStringLiteral("button%1").arg(number));
    connect(button, &QPushButton::clicked, this, &MessageDialog::buttonClick);
    return button;
}

void MessageDialog::setCaptionKey(const QString &key)
{
    m_captionKey = key;
}

void MessageDialog::setParagraph1(const QStringList &keys)
{
    m_paragraph1 = keys;
}

void MessageDialog::setParagraph2(const QStringList &keys)
{
    m_paragraph2 = keys;
}

void MessageDialog::setParagraph3(const QStringList &keys)
{
    m_paragraph3 = keys;
    retranslate();
}

void MessageDialog::setButtonResults(int result1, int result2, int result3)
{
    m_result1 = result1;
    m_result2 = result2;
    m_result3 = result3;
}

void MessageDialog::retranslate()
{
    // Without a caption of its own the dialog keeps the program's name as its caption.
    if (!m_captionKey.isEmpty())
        setWindowTitle(translated("CommonDialogMessages", m_captionKey));

    QString body = paragraphText(m_paragraph1);
    const QString second = paragraphText(m_paragraph2);
    if (!second.isEmpty())
        body += QLatin1Char('\n') + second;
    const QString third = paragraphText(m_paragraph3);
    if (!third.isEmpty())
        body += QLatin1Char('\n') + third;
    m_textLabel->setText(body);

    const QString keys[3] = {m_button1TextKey, m_button2TextKey, m_button3TextKey};
    QPushButton *const buttons[3] = {m_button1, m_button2, m_button3};
    for (int i = 0; i < 3; ++i) {
        if (buttons[i])
            buttons[i]->setText(translated("MessageDialog", keys[i]));
    }
    m_iconLabel->setAccessibleName(
        m_iconLabel->pixmap().isNull() ? QString() : translated("MessageDialog", m_iconName));
}

void MessageDialog::setVisible(bool visible)
{
    BcBaseDialog::setVisible(visible);
    // A message may arrive while the user works in another window; it must not wait behind it.
    if (visible) {
        raise();
        activateWindow();
    }
}

void MessageDialog::buttonClick()
{
    const QObject *button = sender();
    if (button && button == m_button1)
        done(m_result1);
    else if (button && button == m_button2)
        done(m_result2);
    else if (button && button == m_button3)
        done(m_result3);
}

bool MessageDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && timeout() != -1)
        restartTimer();
    return BcBaseDialog::eventFilter(watched, event);
}

void MessageDialog::setIconPixmap(const QPixmap &pixmap, const QString &accessibleName)
{
    m_iconLabel->setPixmap(pixmap);
    if (!accessibleName.isEmpty())
        m_iconName = accessibleName;
}

QPixmap MessageDialog::standardIcon(QMessageBox::Icon icon) const
{
    QStyle::StandardPixmap kind = QStyle::SP_MessageBoxInformation;
    switch (icon) {
    case QMessageBox::NoIcon:
        return QPixmap();
    case QMessageBox::Information:
        break;
    case QMessageBox::Warning:
        kind = QStyle::SP_MessageBoxWarning;
        break;
    case QMessageBox::Critical:
        kind = QStyle::SP_MessageBoxCritical;
        break;
    case QMessageBox::Question:
        kind = QStyle::SP_MessageBoxQuestion;
        break;
    }
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    return style()->standardIcon(kind, nullptr, this).pixmap(QSize(size, size));
}

QString MessageDialog::iconName(QMessageBox::Icon icon)
{
    // Marked for translation in the "MessageDialog" context, looked up in retranslate().
    switch (icon) {
    case QMessageBox::Information:
        return QStringLiteral(QT_TRANSLATE_NOOP("MessageDialog", "Information"));
    case QMessageBox::Warning:
        return QStringLiteral(QT_TRANSLATE_NOOP("MessageDialog", "Warning"));
    case QMessageBox::Critical:
        return QStringLiteral(QT_TRANSLATE_NOOP("MessageDialog", "Error"));
    case QMessageBox::Question:
        return QStringLiteral(QT_TRANSLATE_NOOP("MessageDialog", "Question"));
    case QMessageBox::NoIcon:
        break;
    }
    return QString();
}
