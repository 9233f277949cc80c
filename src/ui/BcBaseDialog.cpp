#include "ui/BcBaseDialog.h"

#include "core/VersionInfoInterface.h"
#include "ui/ChangeLanguageButton.h"
#include "ui/CopyrightLabel.h"
#include "ui/DialogRunScope.h"
#include "ui/DialogSettings.h"
#include "ui/LanguageChangerInterface.h"
#include "ui/LanguageSelectorExtension.h"

#include <QApplication>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QScreen>
#include <QShortcut>
#include <QTimerEvent>

#include <algorithm>

BcBaseDialog::BcBaseDialog(QWidget *parent, const DialogOptions &options)
    : QDialog(parent, options.flags)
    , m_timeoutMs(std::max(options.timeoutMs, DialogOptions::NoTimeout))
{
    const DialogSettings &settings = DialogSettings::shared();
    useSharedWhitePalette();
    setAutoFillBackground(true);
    setFont(settings.font());

    const LanguageList languages = settings.languageList();
    m_languageButton =
        new ChangeLanguageButton(this, languages, settings.languageButtonIntervalMs());
    setWindowTitle(settings.versionInfo().fileDescription());

    m_noticeLabel = new CopyrightLabel(this, settings.versionInfo());
    // The language list opens to the right of the dialog's content.
    m_outerLayout = new QHBoxLayout(this);
    m_outerLayout->setContentsMargins(0, 0, 0, 0);
    m_outerLayout->setSpacing(0);
    m_mainLayout = new QBoxLayout(QBoxLayout::BottomToTop);
    const int border = options.border;
    m_mainLayout->setContentsMargins(border, border, border, border);
    m_mainLayout->setSpacing(0);
    m_outerLayout->addLayout(m_mainLayout);

    if (options.showNoticeLabel) {
        m_mainLayout->addWidget(m_noticeLabel);
        m_mainLayout->addSpacing(10);
    } else {
        m_noticeLabel->hide();
    }

    if (languages.size() < 2 || !options.showLanguageButton) {
        m_languageButton->hide();
    } else {
        m_mainLayout->addWidget(m_languageButton, 0, Qt::AlignHCenter);
        m_mainLayout->addSpacing(10);
        connect(m_languageButton, &QPushButton::clicked, this, &BcBaseDialog::toggleExtension);
        m_languageButton->setEnabled(true);
        // The button never takes the focus, so keyboard users open the list with Ctrl+L.
        auto *shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
        connect(shortcut, &QShortcut::activated, this, &BcBaseDialog::toggleExtension);
    }

    if (timeout() != -1)
        setMouseTracking(true);
    installEventFilter(this);
}

void BcBaseDialog::useSharedWhitePalette()
{
    // One white palette for the class rather than one per dialog: the style caches what it draws
    // under keys that name the palette's identity, and the keys of a palette of its own outlived
    // each dialog (about 1 KiB a job). Without resolve bits every dialog and child takes this
    // palette as it is when polished, without a copy of its own.
    const char *const className = BcBaseDialog::staticMetaObject.className();
    if (QApplication::palette(className).color(QPalette::Window) == Qt::white)
        return;
    QPalette white = QApplication::palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setResolveMask(0);
    QApplication::setPalette(white, className);
}

BcBaseDialog::~BcBaseDialog()
{
    // The children outlive this destructor's body; their "destroyed" must not reach the map.
    for (auto &[widget, entry] : m_inputFilters)
        disconnect(entry.widgetGone);
}

int BcBaseDialog::exec()
{
    // What the dialog would answer can no longer be delivered.
    if (!DialogRunScope::enter(this))
        return QDialog::Rejected;
    if (timeout() != -1)
        restartTimer();
    // Nested dialogs (the keypad) are windows of their own with their own filter. The language
    // list answers its own keys: Escape closes only the list and Return chooses a language.
    const QObjectList children = this->children();
    for (QObject *child : children) {
        auto *widget = qobject_cast<QWidget *>(child);
        if ((!widget || !widget->isWindow()) && child != m_extension)
            child->installEventFilter(this);
    }
    const QPointer<BcBaseDialog> self(this);
    const int result = QDialog::exec();
    DialogRunScope::leave(self);
    return result;
}

void BcBaseDialog::adjustAndCenter()
{
    adjustSize();
    const QRect desktop = screen()->availableGeometry();
    const int x = desktop.x() + (desktop.width() - width()) / 2;
    const int y = m_fixedTop ? m_fixedTopPosition : desktop.y() + (desktop.height() - height()) / 2;
    move(x, y);
}

int BcBaseDialog::timeout() const
{
    return m_timeoutMs != 0 ? m_timeoutMs : DialogSettings::shared().defaultTimeoutMs();
}

void BcBaseDialog::restartTimer()
{
    stopTimer();
    const int period = timeout();
    if (period < 1)
        return;
    m_timerId = startTimer(period);
}

void BcBaseDialog::stopTimer()
{
    if (m_timerId != -1) {
        killTimer(m_timerId);
        m_timerId = -1;
    }
}

void BcBaseDialog::bringToFront()
{
    retranslate();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    update();
}

void BcBaseDialog::setInputFilter(QWidget *widget, std::unique_ptr<KeyboardInputFilter> filter)
{
    if (!widget)
        return;
    auto found = m_inputFilters.find(widget);
    if (!filter) {
        if (found != m_inputFilters.end()) {
            disconnect(found->second.widgetGone);
            m_inputFilters.erase(found);
        }
        return;
    }
    if (found != m_inputFilters.end()) {
        found->second.filter = std::move(filter);
        return;
    }
    widget->installEventFilter(this);
    InputFilter &entry = m_inputFilters[widget];
    entry.filter = std::move(filter);
    entry.widgetGone = connect(widget, &QObject::destroyed, this,
                               [this](QObject *gone) { m_inputFilters.erase(gone); });
}

void BcBaseDialog::setBlockInputMethod(bool block)
{
    m_blockInputMethod = block;
}

void BcBaseDialog::setFixedTop(bool fixed, int top)
{
    m_fixedTop = fixed;
    m_fixedTopPosition = top;
}

void BcBaseDialog::addContentLayout(QLayout *layout)
{
    m_mainLayout->addLayout(layout);
}

void BcBaseDialog::toggleExtension()
{
    if (!m_extension) {
        m_extension = new LanguageSelectorExtension(nullptr);
        connect(m_extension, &LanguageSelectorExtension::languageSelected, this,
                &BcBaseDialog::languageChange);
        connect(m_extension, &LanguageSelectorExtension::closeRequested, this,
                &BcBaseDialog::toggleExtension);
        m_extension->setLanguages(DialogSettings::shared().languageMap());
        m_extension->setMaximumHeight(10);
        m_extension->hide();
        m_outerLayout->addWidget(m_extension);
        retranslateBase();
    }
    m_extension->setMinimumHeight(height());
    m_extension->setMaximumHeight(height());
    const bool opening = m_extension->isHidden();
    m_languageButton->setExtensionShown(opening);
    if (opening) {
        m_focusBeforeExtension = focusWidget();
        m_extension->show();
        if (!m_extension->currentItem() && m_extension->count() > 0)
            m_extension->setCurrentRow(0);
        m_extension->setFocus(Qt::OtherFocusReason);
    } else {
        m_extension->hide();
        if (m_focusBeforeExtension)
            m_focusBeforeExtension->setFocus(Qt::OtherFocusReason);
    }
    m_outerLayout->activate();
    adjustSize();
}

void BcBaseDialog::languageChange(const QString &languageCode)
{
    toggleExtension();
    DialogSettings &settings = DialogSettings::shared();
    LanguageChangerInterface *changer = settings.languageChanger();
    if (!changer)
        return;
    if (changer->changeLanguage(languageCode) == 0)
        return;
    settings.setCurrentLanguage(languageCode);
    retranslateBase();
    retranslate();
    adjustAndCenter();
    const QList<BcBaseDialog *> nested = findChildren<BcBaseDialog *>();
    for (BcBaseDialog *dialog : nested) {
        dialog->retranslateBase();
        dialog->retranslate();
        dialog->adjustSize();
    }
}

bool BcBaseDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (m_blockInputMethod && event->type() == QEvent::InputMethod) {
        QApplication::beep();
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape) {
            reject();
            return true;
        }
        auto found = m_inputFilters.find(watched);
        if (found != m_inputFilters.end() &&
            !found->second.filter->accepts(KeyboardInputFilter::filterKeyCode(key->key()))) {
            QApplication::beep();
            return true;
        }
    }
    if (timeout() < 1)
        return QDialog::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseMove || type == QEvent::KeyPress || type == QEvent::MouseButtonPress ||
        type == QEvent::MouseButtonRelease) {
        restartTimer();
    } else if (type == RejectEvent) {
        reject();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void BcBaseDialog::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_timerId) {
        reject();
        return;
    }
    QDialog::timerEvent(event);
}

void BcBaseDialog::keyPressEvent(QKeyEvent *event)
{
    restartTimer();
    QDialog::keyPressEvent(event);
}

void BcBaseDialog::mouseMoveEvent(QMouseEvent *event)
{
    restartTimer();
    QDialog::mouseMoveEvent(event);
}

void BcBaseDialog::mousePressEvent(QMouseEvent *event)
{
    restartTimer();
    QDialog::mousePressEvent(event);
}

void BcBaseDialog::showEvent(QShowEvent *event)
{
    retranslateBase();
    retranslate();
    adjustAndCenter();
    QDialog::showEvent(event);
}

void BcBaseDialog::hideEvent(QHideEvent *event)
{
    // A dialog kept for a later run must not count idle time while it is hidden; being
    // minimized (a spontaneous hide) does not stop it.
    if (!event->spontaneous())
        stopTimer();
    QDialog::hideEvent(event);
}

void BcBaseDialog::retranslateBase()
{
    m_languageButton->setAccessibleName(tr("Change language"));
    if (m_extension)
        m_extension->setAccessibleName(tr("Languages"));
}
