#pragma once

#include "ui/DialogOptions.h"
#include "ui/KeyboardInputFilter.h"

#include <QDialog>
#include <QEvent>
#include <QPointer>

#include <map>
#include <memory>

class ChangeLanguageButton;
class CopyrightLabel;
class LanguageSelectorExtension;
class QBoxLayout;
class QHBoxLayout;

// Base of every dialog of the client: the shared font and white background, the program's
// caption, the rotating notice line and the change-language button at the foot (the main
// layout runs bottom to top), the language list beside the dialog, run-time re-translation,
// the inactivity time-out, per-widget key filters, Escape to cancel and centring on the
// screen. Subclasses set every visible text in retranslate(), which runs at each show.
// GUI thread only; what all dialogs share comes from DialogSettings.
class BcBaseDialog : public QDialog
{
    Q_OBJECT

public:
    // Posted to a dialog with a positive time-out, this event closes it as rejected.
    static constexpr QEvent::Type RejectEvent = static_cast<QEvent::Type>(QEvent::User + 123);

    explicit BcBaseDialog(QWidget *parent, const DialogOptions &options = {});
    ~BcBaseDialog() override;

    // Starts the inactivity timer, watches the direct children for activity, runs modally.
    int exec() override;
    virtual void retranslate() = 0;
    // Adjusts the size and centres the dialog on its screen (or at the fixed top position).
    virtual void adjustAndCenter();

    // The effective period in ms: the dialog's own when non-zero, else the shared default;
    // -1 (or 0) means no time-out.
    int timeout() const;
    void restartTimer();
    void stopTimer();
    void bringToFront();
    // Key presses in widget that the filter refuses are dropped with a beep. A null filter
    // removes the widget's filter; a replaced one is deleted.
    void setInputFilter(QWidget *widget, std::unique_ptr<KeyboardInputFilter> filter);
    void setBlockInputMethod(bool block);
    void setFixedTop(bool fixed, int top);
    // Puts a subclass's content above the language button and the notice line.
    void addContentLayout(QLayout *layout);

public slots:
    // Opens or closes the language list beside the dialog.
    void toggleExtension();
    // Closes the list, switches the language through the changer and re-translates this
    // dialog and every dialog nested in it.
    virtual void languageChange(const QString &languageCode);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    // White behind every dialog, through a palette all dialogs share (see the .cpp).
    static void useSharedWhitePalette();
    void retranslateBase();

    ChangeLanguageButton *m_languageButton = nullptr;
    CopyrightLabel *m_noticeLabel = nullptr;
    QBoxLayout *m_mainLayout = nullptr;
    bool m_fixedTop = false;
    int m_fixedTopPosition = 0;
    int m_timeoutMs = 0;
    struct InputFilter
    {
        std::unique_ptr<KeyboardInputFilter> filter;
        // Drops the entry when the watched widget goes away first.
        QMetaObject::Connection widgetGone;
    };
    std::map<QObject *, InputFilter> m_inputFilters;
    bool m_blockInputMethod = false;

    QHBoxLayout *m_outerLayout = nullptr;
    LanguageSelectorExtension *m_extension = nullptr;
    QPointer<QWidget> m_focusBeforeExtension;
    int m_timerId = -1;
};
