#pragma once

#include "jobflow/DialogContext.h"
#include "ui/BcBaseDialog.h"

class PageCountDialogModel;
class QLabel;
class QPushButton;

// "Print this job?": the job's pages, duplex and free pages, the price and the total as a small
// table, with OK, Cancel and, when the session knows the user's accounts, Accounts. The
// Print Service's prices and texts are shown as text.
class PageCountDialogView : public BcBaseDialog
{
    Q_OBJECT

public:
    // The model belongs to the caller and outlives the dialog.
    PageCountDialogView(QWidget *parent, const DialogContext &context,
                        const PageCountDialogModel *model);

    void retranslate() override;
    // The cost table as rich text, for a label of the given width.
    static QString costTable(const PageCountDialogModel &model, int width);

public slots:
    // Shows the account information; the cost dialog's time-out waits meanwhile.
    void showAccountInfo();

private:
    DialogContext m_context;
    const PageCountDialogModel *m_model;
    QLabel *m_pictureLabel = nullptr;
    QLabel *m_costLabel = nullptr;
    QLabel *m_accountTextLabel = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QPushButton *m_accountsButton = nullptr;
};
