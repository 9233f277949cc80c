#include "ui/AboutInfoDialog.h"

#include "core/VersionInfoInterface.h"
#include "ui/DialogSettings.h"
#include "ui/EmbeddedImages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutInfoDialog::AboutInfoDialog(QWidget *parent)
    : BcBaseDialog(parent, {.timeoutMs = DialogOptions::NoTimeout})
{
    auto *column = new QVBoxLayout;
    // Some air between the dialog's edge and its texts.
    column->setContentsMargins(10, 5, 10, 0);
    column->setAlignment(Qt::AlignCenter);
    auto *row = new QHBoxLayout;
    row->setAlignment(Qt::AlignCenter);
    m_logoLabel = new QLabel(this);
    m_logoLabel->setObjectName(QStringLiteral("logoLabel"));
    m_logoLabel->setPixmap(EmbeddedImages::logoPixmap());
    m_logoLabel->setAlignment(Qt::AlignTop);
    row->addWidget(m_logoLabel);
    row->addSpacing(10);
    m_mainLabel = new QLabel(this);
    m_mainLabel->setObjectName(QStringLiteral("mainLabel"));
    m_mainLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addWidget(m_mainLabel);
    column->addLayout(row);
    column->addSpacing(10);

    auto *buttons = new QHBoxLayout;
    buttons->setAlignment(Qt::AlignCenter);
    m_okButton = new QPushButton(this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    m_okButton->setMinimumWidth(80);
    connect(m_okButton, &QPushButton::clicked, this, &AboutInfoDialog::accept);
    buttons->addWidget(m_okButton);
    column->addLayout(buttons);
    column->addSpacing(10);

    retranslate();
    addContentLayout(column);
}

void AboutInfoDialog::retranslate()
{
    m_okButton->setText(tr("OK"));
    const VersionInfoInterface &version = DialogSettings::shared().versionInfo();
    const QString copyrightLine =
        tr("%1, %2. All rights reserved.").arg(version.copyright(), version.companyName());
    // The notices name the libraries the client really links, with their licences.
    const QString text =
        tr("%1 - Version %2\n"
           "%3\n"
           "\n"
           "This program uses components from other makers, under their own licences:\n"
           "Qt 6 — Copyright © The Qt Company Ltd. and other contributors.\n"
           "    GNU Lesser General Public License version 3 (LGPL-3.0).\n"
           "log4cpp — Copyright © 2000–2002 LifeLine Networks BV, Bastiaan Bakker and others.\n"
           "    GNU Lesser General Public License version 2.1 (LGPL-2.1).\n"
           "CUPS (libcups) — Copyright © 2007–2019 Apple Inc., 2020–2021 Michael R Sweet.\n"
           "    Apache License 2.0 with the CUPS exceptions for GPL2/LGPL2 software.\n"
           "The licence texts are installed under /usr/share/doc with each component;\n"
           "their source code is available from qt.io, log4cpp.sourceforge.net and\n"
           "openprinting.github.io/cups.");
    m_mainLabel->setText(text.arg(version.fileDescription(), version.fileVersion(), copyrightLine));
    m_logoLabel->setAccessibleName(tr("Ondrel logo"));
}
