#include "jobflow/PageCountDialogView.h"

#include "jobflow/AccountInfoDialogController.h"
#include "jobflow/AccountInfoDialogView.h"
#include "jobflow/PageCountDialogModel.h"
#include "jobflow/ServiceText.h"
#include "jobflow/UserSession.h"
#include "ui/EmbeddedImages.h"
#include "ui/ImageButton.h"

#include <QBoxLayout>
#include <QLabel>
#include <QScreen>

#include <algorithm>

namespace {

// A price or cost of the Print Service inside the table's markup.
QString amountCell(const QString &amount)
{
    return ServiceText::escaped(ServiceText::plainAmount(amount));
}

QString valueCell(const QString &value)
{
    return QStringLiteral("</nobr></td><td align=right><nobr>%1</nobr></td></tr>").arg(value);
}

QString labelRow(const QString &label)
{
    return QLatin1String("<tr><td /><td align=left><nobr>") + label;
}

QString signedRow(const QString &sign, const QString &label)
{
    return QStringLiteral("<tr><td align=center><nobr>%1</nobr></td><td align=left><nobr>")
               .arg(sign) +
           label;
}

// A few sentences; see ServiceText::shortened.
constexpr qsizetype MaxAccountTextLength = 1000;

} // namespace

PageCountDialogView::PageCountDialogView(QWidget *parent, const DialogContext &context,
                                         const PageCountDialogModel *model)
    : BcBaseDialog(parent, {.timeoutMs = context.timeoutSeconds * 1000})
    , m_context(context)
    , m_model(model)
{
    setObjectName(QStringLiteral("pageCountDialog"));
    auto *column = new QVBoxLayout;
    auto *row = new QHBoxLayout;
    m_pictureLabel = new QLabel(this);
    m_pictureLabel->setPixmap(
        EmbeddedImages::withHeuristicMask(EmbeddedImages::wantToPrintPixmap()));
    row->addWidget(m_pictureLabel, 0, Qt::AlignTop);
    m_costLabel = new QLabel(this);
    m_costLabel->setObjectName(QStringLiteral("pageCountDialog_CostLabel"));
    m_costLabel->setTextFormat(Qt::RichText);
    m_costLabel->setMinimumWidth(250);
    m_costLabel->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    row->addWidget(m_costLabel, 1, Qt::AlignTop);
    row->addSpacing(15);

    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(2);
    m_okButton = UtilsLib::ImageButton::fromImageFolder(this, QStringLiteral("userIdDialog_OkBtn"),
                                                        QStringLiteral("button1.jpg"));
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &PageCountDialogView::accept);
    buttons->addWidget(m_okButton);
    m_cancelButton = UtilsLib::ImageButton::fromImageFolder(
        this, QStringLiteral("userIdDialog_CancelBtn"), QStringLiteral("button2.jpg"));
    m_cancelButton->setAutoDefault(false);
    connect(m_cancelButton, &QPushButton::clicked, this, &PageCountDialogView::reject);
    buttons->addWidget(m_cancelButton);
    if (m_context.session && m_context.session->hasAccountInfo()) {
        m_accountsButton = UtilsLib::ImageButton::fromImageFolder(
            this, QStringLiteral("userIdDialog_AccountInfoBtn"), QStringLiteral("button2.jpg"));
        m_accountsButton->setAutoDefault(false);
        connect(m_accountsButton, &QPushButton::clicked, this,
                &PageCountDialogView::showAccountInfo);
        buttons->addWidget(m_accountsButton);
    }
    buttons->addStretch(1);
    row->addLayout(buttons);
    column->addLayout(row);

    if (m_model && !m_model->getAccountText().isEmpty()) {
        m_accountTextLabel = new QLabel(this);
        m_accountTextLabel->setObjectName(QStringLiteral("pageCountDialog_AccountTextLabel"));
        m_accountTextLabel->setTextFormat(Qt::PlainText);
        m_accountTextLabel->setWordWrap(true);
        m_accountTextLabel->setAlignment(Qt::AlignCenter);
        column->addWidget(m_accountTextLabel);
        column->addSpacing(5);
    }
    retranslate();
    addContentLayout(column);
}

QString PageCountDialogView::costTable(const PageCountDialogModel &model, int width)
{
    const bool sheets = model.getTotalSheets() > 0;
    QString table =
        QStringLiteral("<table cellpadding='1' cellspacing='0' width='%1' >").arg(width);
    if (model.isFree())
        table += QLatin1String("<tr><td /><td colspan=2 align=left><nobr>") +
                 tr("There is no charge to print this job.") + QLatin1String("</nobr></td></tr>");
    table += labelRow(tr("Total Pages:")) + valueCell(QString::number(model.getTotalPages()));
    if (sheets) {
        table += labelRow(tr("Duplex Mode:")) +
                 QLatin1String("</nobr></td><td align=right><nobr>") + tr("Enabled") +
                 QLatin1String("</nobr></td></tr>");
        table += labelRow(tr("Total Sheets:")) + valueCell(QString::number(model.getTotalSheets()));
    }
    const int free = model.getFreeCount();
    if (free >= 1) {
        const QString label = sheets ? (free == 1 ? tr("Free Sheet:") : tr("Free Sheets:"))
                                     : (free == 1 ? tr("Free Page:") : tr("Free Pages:"));
        table += signedRow(QStringLiteral("-"), label) + valueCell(QString::number(free));
    }
    if (!model.isFree()) {
        table += signedRow(QStringLiteral("x"),
                           sheets ? tr("Price Per Sheet:") : tr("Price Per Page:")) +
                 valueCell(amountCell(model.getPrice()));
        table += QLatin1String("<tr><td valign=bottom colspan=3><hr></td></tr>");
        table += QLatin1String("<tr><td></td><td valign=top align=left><nobr><b><big>") +
                 tr("Total Cost:") +
                 QStringLiteral("</big></b></nobr></td><td valign=top align=right><nobr><b><big>"
                                "%1</big></b></nobr></td></tr>")
                     .arg(amountCell(model.getTotalCost()));
    }
    return table + QLatin1String("</table>");
}

void PageCountDialogView::retranslate()
{
    setWindowTitle(tr("Print this job?"));
    if (m_model) {
        // Before the first layout the label has no width of its own yet.
        m_costLabel->setText(
            costTable(*m_model, std::max(m_costLabel->width(), m_costLabel->minimumWidth())));
    }
    m_okButton->setText(tr("OK"));
    m_cancelButton->setText(tr("Cancel"));
    if (m_accountsButton)
        m_accountsButton->setText(tr("Accounts"));
    if (m_accountTextLabel) {
        // A word wider than the screen would push the dialog and its buttons off it; the label
        // then shows what fits.
        m_accountTextLabel->setMaximumWidth(screen()->availableGeometry().width() * 3 / 4);
        m_accountTextLabel->setText(
            ServiceText::shortened(m_model->getAccountText(), MaxAccountTextLength));
    }
    m_pictureLabel->setAccessibleName(tr("Printer"));
}

void PageCountDialogView::showAccountInfo()
{
    stopTimer();
    {
        AccountInfoDialogController controller(m_context.session);
        AccountInfoDialogView view(this, &controller);
        view.exec();
    }
    restartTimer();
}
