#include "jobflow/JobConfirmationDialogView.h"

#include "jobflow/JobConfirmationDialogController.h"
#include "ui/EmbeddedImages.h"
#include "ui/ImageButton.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>

#include <algorithm>

namespace {

QLabel *textLabel(QWidget *parent, const char *objectName = nullptr)
{
    auto *label = new QLabel(parent);
    if (objectName)
        label->setObjectName(QLatin1String(objectName));
    // Job numbers, times and terminals come from the Print Service: never markup.
    label->setTextFormat(Qt::PlainText);
    label->setMinimumWidth(200);
    return label;
}

} // namespace

JobConfirmationDialogView::JobConfirmationDialogView(QWidget *parent)
    : BcBaseDialog(parent)
{
    setObjectName(QStringLiteral("jobConfirmationDialog"));
    auto *column = new QVBoxLayout;
    auto *row = new QHBoxLayout;
    m_pictureLabel = new QLabel(this);
    m_pictureLabel->setPixmap(EmbeddedImages::printOkPixmap());
    row->addWidget(m_pictureLabel, 0, Qt::AlignTop);
    row->addSpacing(10);
    auto *texts = new QVBoxLayout;
    m_messageLabel = textLabel(this, "MessageLabel");
    texts->addWidget(m_messageLabel);
    texts->addSpacing(5);
    m_jobNumberLabel = textLabel(this, "JobNumberLabel");
    texts->addWidget(m_jobNumberLabel);
    texts->addSpacing(5);
    m_expireTimeLabel = textLabel(this, "ExpireTimeLabel");
    texts->addWidget(m_expireTimeLabel);
    texts->addSpacing(5);
    row->addLayout(texts, 1);
    row->addSpacing(15);

    m_okButton = UtilsLib::ImageButton::fromImageFolder(this, QStringLiteral("userIdDialog_OkBtn"),
                                                        QStringLiteral("button1.jpg"));
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &JobConfirmationDialogView::accept);
    row->addSpacing(10);
    row->addWidget(m_okButton, 0, Qt::AlignTop);
    row->addSpacing(10);
    column->addLayout(row);

    m_pickupList = new QTreeWidget(this);
    m_pickupList->setObjectName(QStringLiteral("PickupListView"));
    m_pickupList->setColumnCount(2);
    m_pickupList->setRootIsDecorated(false);
    m_pickupList->setSelectionMode(QAbstractItemView::NoSelection);
    m_pickupList->header()->setStretchLastSection(true);
    m_pickupList->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_pickupList->setMinimumWidth(360);
    column->addWidget(m_pickupList);

    addContentLayout(column);
}

void JobConfirmationDialogView::setController(JobConfirmationDialogController *controller)
{
    m_controller = controller;
    retranslate();
}

void JobConfirmationDialogView::retranslate()
{
    if (m_controller)
        m_controller->fillView();
    m_pictureLabel->setAccessibleName(tr("Job received"));
    m_pickupList->setAccessibleName(tr("Pickup locations"));
}

void JobConfirmationDialogView::setCaption(const QString &caption)
{
    setWindowTitle(caption);
}

void JobConfirmationDialogView::setMessage(const QString &message)
{
    m_messageLabel->setText(message);
}

void JobConfirmationDialogView::setColumnTitles(const QString &terminal, const QString &location)
{
    m_pickupList->setHeaderLabels({terminal, location});
}

void JobConfirmationDialogView::setJobNumberText(const QString &text)
{
    m_jobNumberLabel->setText(text);
}

void JobConfirmationDialogView::setExpireTimeVisible(bool visible)
{
    m_expireTimeLabel->setVisible(visible);
}

void JobConfirmationDialogView::setExpireTimeText(const QString &text)
{
    m_expireTimeLabel->setText(text);
}

void JobConfirmationDialogView::clearList()
{
    m_pickupList->clear();
    fitListToRows();
}

void JobConfirmationDialogView::addRow(const QString &terminal, const QString &location)
{
    new QTreeWidgetItem(m_pickupList, {terminal, location});
    fitListToRows();
}

void JobConfirmationDialogView::fitListToRows()
{
    // As tall as its rows, up to eight; a longer list scrolls.
    constexpr int MaxVisibleRows = 8;
    const int rows = std::clamp(m_pickupList->topLevelItemCount(), 1, MaxVisibleRows);
    const int rowHeight = m_pickupList->sizeHintForRow(0) > 0 ? m_pickupList->sizeHintForRow(0)
                                                              : fontMetrics().height() + 4;
    m_pickupList->setFixedHeight(m_pickupList->header()->sizeHint().height() + rows * rowHeight +
                                 2 * m_pickupList->frameWidth());
}

void JobConfirmationDialogView::setOkText(const QString &text)
{
    m_okButton->setText(text);
}
