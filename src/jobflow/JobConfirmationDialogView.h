#pragma once

#include "ui/BcBaseDialog.h"

class JobConfirmationDialogController;
class QLabel;
class QPushButton;
class QTreeWidget;

// "Print Complete": the job number, when the job expires and the release terminals at which it
// can be picked up. Its controller fills every text, again at each language change.
class JobConfirmationDialogView : public BcBaseDialog
{
    Q_OBJECT

public:
    explicit JobConfirmationDialogView(QWidget *parent = nullptr);

    // Keeps the controller (not owned) and lets it fill the view at once.
    void setController(JobConfirmationDialogController *controller);
    void retranslate() override;

    void setCaption(const QString &caption);
    void setMessage(const QString &message);
    void setColumnTitles(const QString &terminal, const QString &location);
    void setJobNumberText(const QString &text);
    void setExpireTimeVisible(bool visible);
    void setExpireTimeText(const QString &text);
    void clearList();
    void addRow(const QString &terminal, const QString &location);
    void setOkText(const QString &text);

private:
    void fitListToRows();

    JobConfirmationDialogController *m_controller = nullptr;
    QLabel *m_pictureLabel = nullptr;
    QLabel *m_messageLabel = nullptr;
    QLabel *m_jobNumberLabel = nullptr;
    QLabel *m_expireTimeLabel = nullptr;
    QPushButton *m_okButton = nullptr;
    QTreeWidget *m_pickupList = nullptr;
};
