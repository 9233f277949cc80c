// The floor of the dialog figures: a bare Qt Widgets program that connects to the driver and,
// for each text, does what the client's user sees, with nothing else: a job text ("4|...")
// opens a dialog of the cost dialog's content (title, picture, cost table, picture buttons,
// language button and notice line, in the same font) and its Return writes "5|bare"; a
// confirmation ("6|...") opens one of the job confirmation's content when it asks for a dialog
// and writes "86|bare" once it is closed; any other text is answered "80|bare" at once.
// Usage: ondtpc-bench-jobdialog ADDRESS PORT
#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTcpSocket>
#include <QTreeWidget>

namespace {

const QString CostTable = QStringLiteral(
    "<table cellpadding='1' cellspacing='0' width='250' >"
    "<tr><td /><td align=left><nobr>Total Pages:</nobr></td>"
    "<td align=right><nobr>3</nobr></td></tr>"
    "<tr><td align=center><nobr>x</nobr></td><td align=left><nobr>Price Per Page:</nobr></td>"
    "<td align=right><nobr>$0.10</nobr></td></tr>"
    "<tr><td valign=bottom colspan=3><hr></td></tr>"
    "<tr><td></td><td valign=top align=left><nobr><b><big>Total Cost:</big></b></nobr></td>"
    "<td valign=top align=right><nobr><b><big>$0.30</big></b></nobr></td></tr></table>");

// A push button drawn as its picture with the text on top, as the client's buttons are.
class PictureButton : public QPushButton
{
public:
    PictureButton(const QString &text, const QString &picture, QWidget *parent)
        : QPushButton(text, parent)
        , m_picture(QStringLiteral(BARE_IMAGES "/") + picture)
    {
        setMinimumWidth(80);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.drawPixmap(rect(), m_picture);
        painter.drawText(rect(), Qt::AlignCenter, text());
        if (hasFocus()) {
            painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
            painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
        }
    }

private:
    QPixmap m_picture;
};

// The frame every dialog of the client has: white, the dialog font, the content above the
// language button and the notice line.
QVBoxLayout *dialogFrame(QDialog &dialog, const QString &title)
{
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint);
    dialog.setWindowTitle(title);
    QPalette palette = dialog.palette();
    palette.setColor(QPalette::Window, Qt::white);
    dialog.setPalette(palette);
    dialog.setAutoFillBackground(true);
    dialog.setFont(QFont(QStringLiteral("Verdana"), 10));
    auto *frame = new QVBoxLayout(&dialog);
    frame->setContentsMargins(5, 5, 5, 5);
    frame->setSpacing(0);
    auto *content = new QVBoxLayout;
    frame->addLayout(content);
    frame->addSpacing(10);
    auto *language = new QPushButton(QStringLiteral("English"), &dialog);
    language->setMinimumWidth(212);
    language->setFocusPolicy(Qt::NoFocus);
    language->setAutoDefault(false);
    frame->addWidget(language, 0, Qt::AlignHCenter);
    frame->addSpacing(10);
    auto *notice = new QLabel(QStringLiteral("Ondrel™ Print Client"), &dialog);
    QFont small = dialog.font();
    small.setPointSize(8);
    notice->setFont(small);
    notice->setFixedHeight(30);
    notice->setAlignment(Qt::AlignCenter);
    frame->addWidget(notice);
    return content;
}

QLabel *pictureLabel(QWidget *parent, const QString &picture)
{
    auto *label = new QLabel(parent);
    QPixmap pixmap(QStringLiteral(BARE_PICTURES "/") + picture);
    pixmap = pixmap.scaled(50, 50);
    pixmap.setMask(pixmap.createHeuristicMask());
    label->setPixmap(pixmap);
    return label;
}

void buildCostDialog(QDialog &dialog)
{
    auto *row = new QHBoxLayout;
    row->addWidget(pictureLabel(&dialog, QStringLiteral("WantToPrint.png")), 0, Qt::AlignTop);
    auto *cost = new QLabel(CostTable, &dialog);
    cost->setTextFormat(Qt::RichText);
    cost->setMinimumWidth(250);
    cost->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    row->addWidget(cost, 1, Qt::AlignTop);
    row->addSpacing(15);
    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(2);
    auto *ok = new PictureButton(QStringLiteral("OK"), QStringLiteral("button1.jpg"), &dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    buttons->addWidget(ok);
    auto *cancel =
        new PictureButton(QStringLiteral("Cancel"), QStringLiteral("button2.jpg"), &dialog);
    cancel->setAutoDefault(false);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    row->addLayout(buttons);
    dialogFrame(dialog, QStringLiteral("Print this job?"))->addLayout(row);
}

void buildConfirmationDialog(QDialog &dialog, const QString &jobNumber)
{
    auto *row = new QHBoxLayout;
    row->addWidget(pictureLabel(&dialog, QStringLiteral("PrintOK.png")), 0, Qt::AlignTop);
    row->addSpacing(10);
    auto *texts = new QVBoxLayout;
    for (const QString &text :
         {QStringLiteral("Your job has been received."), QStringLiteral("Job Number: ") + jobNumber,
          QStringLiteral("Expire Time: 1 Jan 2030 12:00:00")}) {
        auto *label = new QLabel(text, &dialog);
        label->setTextFormat(Qt::PlainText);
        label->setMinimumWidth(200);
        texts->addWidget(label);
        texts->addSpacing(5);
    }
    row->addLayout(texts, 1);
    row->addSpacing(25);
    auto *ok = new PictureButton(QStringLiteral("OK"), QStringLiteral("button1.jpg"), &dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    row->addWidget(ok, 0, Qt::AlignTop);
    row->addSpacing(10);
    auto *column = dialogFrame(dialog, QStringLiteral("Print Complete"));
    column->addLayout(row);
    auto *pickups = new QTreeWidget(&dialog);
    pickups->setColumnCount(2);
    pickups->setRootIsDecorated(false);
    pickups->setHeaderLabels({QStringLiteral("Release Terminal"), QStringLiteral("Location")});
    pickups->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    pickups->setMinimumWidth(360);
    new QTreeWidgetItem(pickups, {QStringLiteral("Front Desk"), QString()});
    pickups->setFixedHeight(pickups->header()->sizeHint().height() + pickups->sizeHintForRow(0) +
                            2 * pickups->frameWidth());
    column->addWidget(pickups);
}

// Reads the driver's texts one by one; a dialog answers when it closes.
class Peer : public QObject
{
public:
    explicit Peer(QTcpSocket *socket)
        : m_socket(socket)
    {
        connect(socket, &QTcpSocket::readyRead, this, &Peer::readTexts);
        connect(socket, &QTcpSocket::disconnected, qApp, &QCoreApplication::quit);
    }

private:
    void readTexts()
    {
        m_pending += m_socket->readAll();
        qsizetype end;
        while (!m_dialog && (end = m_pending.indexOf('\0')) >= 0) {
            const QByteArray text = m_pending.left(end);
            m_pending.remove(0, end + 1);
            handle(text);
        }
    }

    void handle(const QByteArray &text)
    {
        const QList<QByteArray> fields = text.split('|');
        if (fields[0] == "4") {
            m_dialog = new QDialog;
            buildCostDialog(*m_dialog);
            answerWhenClosed("5|bare", "7|bare");
        } else if (fields[0] == "6" && fields.value(2) != "0") {
            m_dialog = new QDialog;
            buildConfirmationDialog(*m_dialog, QString::fromLatin1(fields.value(3).mid(1)));
            answerWhenClosed("86|bare", "86|bare");
        } else {
            reply(fields[0] == "6" ? "86|bare" : "80|bare");
        }
    }

    void answerWhenClosed(const QByteArray &accepted, const QByteArray &rejected)
    {
        connect(m_dialog, &QDialog::finished, this, [this, accepted, rejected](int result) {
            reply(result == QDialog::Accepted ? accepted : rejected);
            m_dialog->deleteLater();
            m_dialog = nullptr;
            readTexts();
        });
        m_dialog->open();
    }

    void reply(const QByteArray &text)
    {
        m_socket->write(text + '\0');
        m_socket->flush();
    }

    QTcpSocket *m_socket;
    QDialog *m_dialog = nullptr;
    QByteArray m_pending;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    // It ends when the driver hangs up, not when a dialog closes.
    application.setQuitOnLastWindowClosed(false);
    if (argc != 3)
        return 2;
    QTcpSocket socket;
    socket.connectToHost(QString::fromLatin1(argv[1]), QByteArray(argv[2]).toUShort());
    if (!socket.waitForConnected(20000))
        return 1;
    Peer peer(&socket);
    return application.exec();
}
