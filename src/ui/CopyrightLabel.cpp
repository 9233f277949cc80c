#include "ui/CopyrightLabel.h"

#include "core/VersionInfoInterface.h"
#include "ui/TextRotation.h"

CopyrightLabel::CopyrightLabel(QWidget *parent, const VersionInfoInterface &info, int intervalMs)
    : QLabel(parent)
    , m_texts{info.productName(), info.copyright() + QStringLiteral(", ") + info.companyName(),
              QStringLiteral("All rights reserved."),
              QStringLiteral("Version %1").arg(info.fileVersion())}
    , m_rotation(new TextRotation(this, m_texts.size(), intervalMs))
{
    setObjectName(QStringLiteral("CopyrightLabel"));
    QFont small = parent ? parent->font() : font();
    small.setPointSize(8);
    setFont(small);
    setFixedHeight(30);
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    showText(0);
    connect(m_rotation, &TextRotation::stepped, this, &CopyrightLabel::showText);
}

int CopyrightLabel::interval() const
{
    return m_rotation->intervalMs();
}

void CopyrightLabel::showText(qsizetype index)
{
    setText(m_texts.at(index));
}
