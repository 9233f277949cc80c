#pragma once

#include "ui/BcBaseDialog.h"

class QLabel;
class QPushButton;

// The about box: product logo, the program's description, version and copyright, and the
// notices of the components from other makers that the client is built with. It never
// closes by itself.
class AboutInfoDialog : public BcBaseDialog
{
    Q_OBJECT

public:
    explicit AboutInfoDialog(QWidget *parent = nullptr);

    void retranslate() override;

private:
    QLabel *m_logoLabel = nullptr;
    QLabel *m_mainLabel = nullptr;
    QPushButton *m_okButton = nullptr;
};
