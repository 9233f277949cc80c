#pragma once

#include "ui/PasswordDialog.h"

// The client's staff password dialog: the compiled-in "password" picture as logo, and it
// comes to the front before it runs, since it may be asked for while other windows are on top.
class OpcPasswordDialog : public PasswordDialog
{
    Q_OBJECT

public:
    OpcPasswordDialog(const PasswordDlgInfo &info, QWidget *parent = nullptr);

    bool run() override;
};
