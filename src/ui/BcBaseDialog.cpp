#include "ui/BcBaseDialog.h"

#include "platform/BuildVersionInfo.h"
#include "ui/ChangeLanguageButton.h"
#include "ui/CopyrightLabel.h"
#include "ui/LanguageChangerInterface.h"
#include "ui/LanguageSelectorExtension.h"

#include <QApplication>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QScreen>
#include <QShortcut>
#include <QTimerEvent>

namespace {

// The settings every dialog shares; the application sets them once at start-up.
struct SharedSettings
{
    std::unique_ptr<QFont> font;
    std::unique_ptr<QColor> background;
    int defaultTimeout = -1;
    int languageButtonInterval = BcBaseDialog::DefaultLanguageButtonInterval;
    LanguageChangerInterface *languageChanger = nullptr;
    QString currentLanguage;
    LanguageList languageList;
    LanguageMap languageMap;
    const VersionInfoInterface *versionInfo = nullptr;
    bool cleanupRegistered = false;
};

SharedSettings &shared()
{
    static SharedSettings settings;
    return settings;
}

// The font and colour must not outlive the application object.
void registerCleanup()
{
    SharedSettings &settings = shared();
    if (!settings.cleanupRegistered && QCoreApplication::instance()) {
        qAddPostRoutine(&BcBaseDialog::releaseSharedResources);
        settings.cleanupRegistered = true;
    }
}

} // namespace

BcBaseDialog::BcBaseDialog(QWidget *parent, int timeoutSeconds, bool showLanguageButton,
                           bool showNoticeLabel, int border, Qt::WindowFlags flags)
    : QDialog(parent, flags)
{
    SharedSettings &settings = shared();
    registerCleanup();
    if (!settings.font)
        settings.font = std::make_unique<QFont>(QStringLiteral("Verdana"), 10);
    if (!settings.background)
        settings.background = std::make_unique<QColor>(Qt::white);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, *settings.background);
    setPalette(palette);
    setAutoFillBackground(true);
    setFont(*settings.font);

    m_languageButton =
        new ChangeLanguageButton(this, settings.languageList, settings.languageButtonInterval);
    setWindowTitle(versionInfo().fileDescription());

    m_noticeLabel = new CopyrightLabel(this, versionInfo());
    // The language list opens to the right of the dialog's content.
    m_outerLayout = new QHBoxLayout(this);
    m_outerLayout->setContentsMargins(0, 0, 0, 0);
    m_outerLayout->setSpacing(0);
    m_mainLayout = new QBoxLayout(QBoxLayout::BottomToTop);
    m_mainLayout->setContentsMargins(border, border, border, border);
    m_mainLayout->setSpacing(0);
    m_outerLayout->addLayout(m_mainLayout);

    if (showNoticeLabel) {
        m_mainLayout->addWidget(m_noticeLabel);
        m_mainLayout->addSpacing(10);
    } else {
        m_noticeLabel->hide();
    }

    if (settings.languageList.size() < 2 || !showLanguageButton) {
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

    if (timeoutSeconds > 0)
        m_timeout = timeoutSeconds * 1000;
    else if (timeoutSeconds < 0)
        m_timeout = -1;
    if (timeout() != -1)
        setMouseTracking(true);
    installEventFilter(this);
}

BcBaseDialog::~BcBaseDialog()
{
    // The children outlive this destructor's body; their "destroyed" must not reach the map.
    for (auto &[widget, entry] : m_inputFilters)
        disconnect(entry.widgetGone);
}

int BcBaseDialog::exec()
{
    if (timeout() != -1)
        restartTimer();
    // Nested dialogs (the keypad) are windows of their own with their own filter.
    const QObjectList children = this->children();
    for (QObject *child : children) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (!widget || !widget->isWindow())
            child->installEventFilter(this);
    }
    return QDialog::exec();
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
    return m_timeout != 0 ? m_timeout : shared().defaultTimeout;
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

void BcBaseDialog::setDefaultFont(const QString &family, int pointSize)
{
    SharedSettings &settings = shared();
    if (settings.font) {
        settings.font->setFamily(family);
        settings.font->setPointSize(pointSize);
    } else {
        settings.font = std::make_unique<QFont>(family, pointSize);
    }
}

QFont BcBaseDialog::defaultFont()
{
    const SharedSettings &settings = shared();
    return settings.font ? *settings.font : QApplication::font();
}

void BcBaseDialog::releaseSharedResources()
{
    SharedSettings &settings = shared();
    settings.font.reset();
    settings.background.reset();
    settings.languageButtonInterval = DefaultLanguageButtonInterval;
}

void BcBaseDialog::setDefaultTimeout(int milliseconds)
{
    shared().defaultTimeout = milliseconds;
}

int BcBaseDialog::defaultTimeout()
{
    return shared().defaultTimeout;
}

void BcBaseDialog::setLanguageButtonInterval(int milliseconds)
{
    shared().languageButtonInterval = milliseconds;
}

int BcBaseDialog::languageButtonInterval()
{
    return shared().languageButtonInterval;
}

void BcBaseDialog::setLanguageChanger(LanguageChangerInterface *changer)
{
    shared().languageChanger = changer;
}

LanguageChangerInterface *BcBaseDialog::languageChanger()
{
    return shared().languageChanger;
}

void BcBaseDialog::setCurrentLanguage(const QString &languageCode)
{
    shared().currentLanguage = languageCode;
}

QString BcBaseDialog::currentLanguage()
{
    return shared().currentLanguage;
}

void BcBaseDialog::setLanguageList(const LanguageList &languages)
{
    shared().languageList = languages;
}

LanguageList BcBaseDialog::languageList()
{
    return shared().languageList;
}

void BcBaseDialog::setLanguageMap(const LanguageMap &languages)
{
    shared().languageMap = languages;
}

LanguageMap BcBaseDialog::languageMap()
{
    return shared().languageMap;
}

bool BcBaseDialog::updateLanguageEntry(const QString &languageCode, const QString &name,
                                       const QString &closeText)
{
    SharedSettings &settings = shared();
    auto mapped = settings.languageMap.find(languageCode);
    if (mapped == settings.languageMap.end())
        return false;
    auto entry = std::find_if(settings.languageList.begin(), settings.languageList.end(),
                              [&](const LanguageEntry &e) { return e.first == *mapped; });
    if (entry == settings.languageList.end())
        return false;
    if (!name.isEmpty()) {
        *mapped = name;
        entry->first = name;
    }
    if (!closeText.isEmpty())
        entry->second = closeText;
    return true;
}

void BcBaseDialog::setVersionInfo(const VersionInfoInterface *info)
{
    shared().versionInfo = info;
}

const VersionInfoInterface &BcBaseDialog::versionInfo()
{
    static const BuildVersionInfo programVersion;
    const VersionInfoInterface *info = shared().versionInfo;
    return info ? *info : programVersion;
}

void BcBaseDialog::toggleExtension()
{
    if (!m_extension) {
        m_extension = new LanguageSelectorExtension(nullptr);
        connect(m_extension, &LanguageSelectorExtension::languageSelected, this,
                &BcBaseDialog::languageChange);
        connect(m_extension, &LanguageSelectorExtension::closeRequested, this,
                &BcBaseDialog::toggleExtension);
        m_extension->setLanguages(languageMap());
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
    LanguageChangerInterface *changer = languageChanger();
    if (!changer)
        return;
    if (changer->changeLanguage(languageCode) == 0)
        return;
    setCurrentLanguage(languageCode);
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
