#include "ui/OpcPasswordDialog.h"

#include "ui/EmbeddedImages.h"

OpcPasswordDialog::OpcPasswordDialog(const PasswordDlgInfo &info, QWidget *parent)
    : PasswordDialog(info, parent)
{
    setLogo(EmbeddedImages::passwordPixmap());
}

bool OpcPasswordDialog::run()
{
    bringToFront();
    return PasswordDialog::run();
}
