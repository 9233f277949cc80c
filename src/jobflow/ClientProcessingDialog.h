#pragma once

#include "ui/BcBaseDialog.h"

class QLabel;
class QProgressBar;

// The one "Please Wait..." window shown while the Print Service works on a job: a text, a
// printer picture and a busy bar. It is not modal, stays on top and never closes by itself;
// handlers show and hide it, and the user may hide it with Escape. The bar is the style's busy
// indicator, which animates only while the window is on screen; nothing here runs while it is
// hidden.
class ClientProcessingDialog : public BcBaseDialog
{
    Q_OBJECT

public:
    // Translation keys of the context "ClientProcessingDialog".
    static const char *const DefaultText;
    static const char *const ProcessingText;
    static const char *const SubmittingText;

    // The start-up makes it without a parent and without a time-out.
    explicit ClientProcessingDialog(QWidget *parent = nullptr,
                                    int timeoutMs = DialogOptions::NoTimeout,
                                    Qt::WindowFlags flags = DialogOptions::DialogFlags);

    // A translation key; the window shows its translation at once. Hiding the window puts the
    // default text back.
    void setText(const QString &text);
    const QString &text() const { return m_text; }

    void retranslate() override;

protected:
    void hideEvent(QHideEvent *event) override;

private:
    QString m_text;
    QLabel *m_textLabel = nullptr;
    QLabel *m_pictureLabel = nullptr;
    QProgressBar *m_progressBar = nullptr;
};
