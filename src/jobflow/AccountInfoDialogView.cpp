#include "jobflow/AccountInfoDialogView.h"

#include "jobflow/AccountInfoDialogController.h"
#include "jobflow/ServiceText.h"
#include "ui/EmbeddedImages.h"
#include "ui/ImageButton.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>

namespace {

// Each block takes three rows: its label rows and a last one that becomes the gap before the
// next block.
constexpr int RowsPerBlock = 3;
constexpr int BlockGap = 20;

enum Block { Deposit, Credit, Allocation, LibraryDeposit, BlockCount };

} // namespace

AccountInfoDialogView::AccountInfoDialogView(QWidget *parent,
                                             AccountInfoDialogController *controller)
    : BcBaseDialog(parent, {.timeoutMs = DialogOptions::SharedTimeout,
                            .showLanguageButton = true,
                            .showNoticeLabel = true,
                            .border = 5,
                            .flags = DialogOptions::DialogFlags})
    , m_controller(controller)
{
    setObjectName(QStringLiteral("accountInfoDialog"));
    m_grid = new QGridLayout;
    m_grid->setObjectName(QStringLiteral("accountInfo_grid"));
    // All twelve rows whatever blocks exist, so that each block keeps its place.
    m_grid->setRowMinimumHeight(RowsPerBlock * BlockCount - 1, 0);
    m_grid->setColumnMinimumWidth(1, 10);
    m_grid->setColumnMinimumWidth(2, 250);

    // The gap before a block goes in the last row of the block above it, when there is one.
    int previous = -1;
    const auto startBlock = [&](int block) {
        if (previous >= 0 && previous == block - 1)
            m_grid->setRowMinimumHeight(block * RowsPerBlock - 1, BlockGap);
        previous = block;
    };
    if (m_controller->hasDeposit()) {
        startBlock(Deposit);
        m_depositPicture = addPicture(Deposit, m_controller->depositIcon());
        m_deposit = addLine(0, "accountInfo_depositBalance");
        m_maxDeposit = addLine(1, "accountInfo_maxDepositBalance");
    }
    if (m_controller->hasCredit()) {
        startBlock(Credit);
        m_creditPicture = addPicture(Credit, m_controller->creditIcon());
        m_credit = addLine(3, "accountInfo_creditBalance");
        m_maxCredit = addLine(4, "accountInfo_maxCreditBalance");
    }
    if (m_controller->hasAllocation()) {
        startBlock(Allocation);
        m_allocationPicture = addPicture(Allocation, QStringLiteral("allocation"));
        m_allocation = addLine(6, "accountInfo_allocationBalance");
    }
    if (m_controller->hasLibraryDeposit()) {
        startBlock(LibraryDeposit);
        m_libraryDepositPicture = addPicture(LibraryDeposit, QStringLiteral("deposit"));
        m_libraryDeposit = addLine(9, "accountInfo_libraryDepositBalance");
    }

    auto *column = new QVBoxLayout;
    column->addLayout(m_grid);
    column->addSpacing(10);
    m_okButton = UtilsLib::ImageButton::fromImageFolder(
        this, QStringLiteral("allocationInfoDialog_okButton"), QStringLiteral("button1.jpg"));
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &AccountInfoDialogView::accept);
    column->addWidget(m_okButton, 0, Qt::AlignHCenter);

    retranslate();
    addContentLayout(column);
}

QLabel *AccountInfoDialogView::addPicture(int block, const QString &name)
{
    auto *picture = new QLabel(this);
    showPicture(picture, name);
    m_grid->addWidget(picture, block * RowsPerBlock, 0, RowsPerBlock, 1, Qt::AlignTop);
    return picture;
}

AccountInfoDialogView::Line AccountInfoDialogView::addLine(int row, const char *valueName)
{
    Line line{new QLabel(this), new QLabel(this)};
    line.label->setTextFormat(Qt::PlainText);
    // The figures come from the Print Service: shown as the characters sent, never as markup.
    line.value->setTextFormat(Qt::PlainText);
    line.value->setObjectName(QLatin1String(valueName));
    line.value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_grid->addWidget(line.label, row, 2);
    m_grid->addWidget(line.value, row, 3);
    return line;
}

void AccountInfoDialogView::showLine(const Line &line, const QString &label, const QString &value)
{
    if (!line.label)
        return;
    line.label->setText(label);
    line.value->setText(ServiceText::plainAmount(value));
    // A screen reader reaching the figure reads what it is with it.
    line.value->setAccessibleName(label + QLatin1Char(' ') + line.value->text());
}

void AccountInfoDialogView::showPicture(QLabel *picture, const QString &name)
{
    if (picture)
        picture->setPixmap(QPixmap::fromImage(EmbeddedImages::embeddedImage(name)));
}

void AccountInfoDialogView::retranslate()
{
    setWindowTitle(tr("Account Information"));
    // The expiry may have changed since the dialog was built; the controller knows it now.
    showPicture(m_depositPicture, m_controller->depositIcon());
    showPicture(m_creditPicture, m_controller->creditIcon());
    showLine(m_deposit, m_controller->depositLabel(), m_controller->depositBalance());
    showLine(m_maxDeposit, tr("Max Deposit Balance"), m_controller->maxDepositBalance());
    showLine(m_credit, m_controller->creditLabel(), m_controller->creditBalance());
    showLine(m_maxCredit, tr("Max Credit Balance"), m_controller->maxCreditBalance());
    showLine(m_allocation, tr("Allocation Balance"), m_controller->allocationBalance());
    showLine(m_libraryDeposit, tr("Library Deposit Balance"),
             m_controller->libraryDepositBalance());
    const std::pair<QLabel *, QString> pictures[] = {
        {m_depositPicture, tr("Deposit account")},
        {m_creditPicture, tr("Credit account")},
        {m_allocationPicture, tr("Allocation")},
        {m_libraryDepositPicture, tr("Library deposit")},
    };
    for (const auto &[picture, name] : pictures) {
        if (picture)
            picture->setAccessibleName(name);
    }
    m_okButton->setText(tr("OK"));
}
