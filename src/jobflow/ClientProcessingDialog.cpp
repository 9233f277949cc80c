#include "jobflow/ClientProcessingDialog.h"

#include "ui/EmbeddedImages.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QProgressBar>

const char *const ClientProcessingDialog::DefaultText =
    QT_TRANSLATE_NOOP("ClientProcessingDialog", "Please Wait...");
const char *const ClientProcessingDialog::ProcessingText =
    QT_TRANSLATE_NOOP("ClientProcessingDialog", "Please Wait... Processing Job");
const char *const ClientProcessingDialog::SubmittingText =
    QT_TRANSLATE_NOOP("ClientProcessingDialog", "Please Wait... Submitting Job");

ClientProcessingDialog::ClientProcessingDialog(QWidget *parent, int timeoutMs,
                                               Qt::WindowFlags flags)
    : BcBaseDialog(parent, {.timeoutMs = timeoutMs,
                            .showLanguageButton = false,
                            .showNoticeLabel = true,
                            .border = 5,
                            .flags = flags})
    , m_text(QString::fromLatin1(DefaultText))
{
    setObjectName(QStringLiteral("clientProcessingDialog"));
    // It comes up while the user works elsewhere, often typing; it must not take the keys.
    setAttribute(Qt::WA_ShowWithoutActivating);

    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    row->setAlignment(Qt::AlignCenter);
    m_textLabel = new QLabel(this);
    m_textLabel->setObjectName(QStringLiteral("clientProcessingTextLabel"));
    m_textLabel->setTextFormat(Qt::PlainText);
    QFont font = m_textLabel->font();
    font.setPointSize(12);
    m_textLabel->setFont(font);
    row->addWidget(m_textLabel);

    m_pictureLabel = new QLabel(this);
    m_pictureLabel->setObjectName(QStringLiteral("clientProcessingPictureLabel"));
    m_pictureLabel->setPixmap(EmbeddedImages::wantToPrintPixmap());
    m_pictureLabel->setScaledContents(false);
    row->addWidget(m_pictureLabel);

    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("clientProcessingProgressBar"));
    // No total: the style runs it as a busy indicator, animated only while it is visible.
    m_progressBar->setRange(0, 0);
    m_progressBar->setTextVisible(false);
    m_progressBar->setMinimumWidth(200);
    row->addWidget(m_progressBar);

    addContentLayout(row);
    retranslate();
}

void ClientProcessingDialog::setText(const QString &text)
{
    m_text = text;
    retranslate();
    if (isVisible())
        adjustAndCenter();
}

void ClientProcessingDialog::retranslate()
{
    const QString text = QCoreApplication::translate("ClientProcessingDialog", m_text.toUtf8());
    m_textLabel->setText(text);
    m_progressBar->setAccessibleName(text);
    m_pictureLabel->setAccessibleName(tr("Printer"));
}

void ClientProcessingDialog::hideEvent(QHideEvent *event)
{
    // Minimising is not the end of the wait; only a real hide ends it.
    if (!event->spontaneous()) {
        m_text = QString::fromLatin1(DefaultText);
        retranslate();
    }
    BcBaseDialog::hideEvent(event);
}
