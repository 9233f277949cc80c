#include "i18n/QmFile.h"

#include "FileBytes.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

namespace {

// A plain message, one with disambiguation beside the same text without, the same source text
// in two contexts (so equal hashes), an empty context and a three-form plural.
const char TsFile[] = R"(<TS version="2.1" language="ru">
<context><name>Printer</name><message><source>Close</source><translation>Закрыть</translation></message></context>
<context><name>Dialog</name>
  <message><source>Open</source><comment>file menu</comment><translation>Открыть файл</translation></message>
  <message><source>Open</source><translation>Открыть «ёж»</translation></message>
  <message><source>Close</source><translation>Fermer à clé</translation></message>
  <message numerus="yes"><source>%n page(s)</source><translation><numerusform>%n страница</numerusform><numerusform>%n страницы</numerusform><numerusform>%n страниц</numerusform></translation></message></context>
<context><name></name><message><source>Plain</source><translation>Простой</translation></message></context>
</TS>)";

// In the order lrelease writes them: by context, source text and disambiguation.
const QList<QmMessage> Expected{
    {"", "Plain", "", {"Простой"}},
    {"Dialog", "%n page(s)", "", {"%n страница", "%n страницы", "%n страниц"}},
    {"Dialog", "Close", "", {"Fermer à clé"}},
    {"Dialog", "Open", "", {"Открыть «ёж»"}},
    {"Dialog", "Open", "file menu", {"Открыть файл"}},
    {"Printer", "Close", "", {"Закрыть"}},
};

// One line a message, so that a mismatch shows the message that differs; "null" for nothing.
QStringList lines(const std::optional<QList<QmMessage>> &messages)
{
    QStringList out;
    for (const QmMessage &m : messages.value_or(QList<QmMessage>{}))
        out.append(QString::fromUtf8(m.context + '|' + m.sourceText + '|' + m.comment + '|') +
                   m.translations.join(u'/'));
    return messages ? out : QStringList{"null"};
}

QByteArray number(quint32 n)
{
    const quint32 big = qToBigEndian(n);
    return QByteArray(reinterpret_cast<const char *>(&big), 4);
}

QByteArray messages(const QByteArray &block)
{
    return '\x69' + number(quint32(block.size())) + block;
}

} // namespace

class TestQmFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QByteArray m_compiled; // what lrelease makes of TsFile

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid() && QDir::setCurrent(m_dir.path()));
        QVERIFY(writeFile("in.ts", TsFile));
        QCOMPARE(QProcess::execute(LRELEASE, {"-silent", "in.ts", "-qm", "in.qm"}), 0);
        m_compiled = readFile("in.qm");
    }

    void readsWhatLreleaseWrites() { QCOMPARE(lines(QmFile::read(m_compiled)), lines(Expected)); }

    void written()
    {
        const QByteArray written = QmFile::write(Expected);
        QTranslator translator;
        QVERIFY(translator.load(reinterpret_cast<const uchar *>(written.data()), written.size()));
        for (const QmMessage &m : Expected)
            QCOMPARE(translator.translate(m.context.data(), m.sourceText.data(), m.comment.data()),
                     m.translations.first());
        QCOMPARE(lines(QmFile::read(written)), lines(Expected));

        // lconvert reads the file into a source file that compiles back to the same messages;
        // the file names no language, which lrelease needs for the plural forms.
        QVERIFY(writeFile("out.qm", written));
        QCOMPARE(
            QProcess::execute(LCONVERT, {"-i", "out.qm", "-o", "out.ts", "-target-language", "ru"}),
            0);
        QCOMPARE(QProcess::execute(LRELEASE, {"-silent", "out.ts", "-qm", "back.qm"}), 0);
        QCOMPARE(lines(QmFile::read(readFile("back.qm"))), lines(Expected));

        // No messages: the magic number alone, which QTranslator takes for an empty file.
        const QByteArray empty = QmFile::write({});
        QCOMPARE(empty, m_compiled.left(16));
        QVERIFY(translator.load(reinterpret_cast<const uchar *>(empty.data()), empty.size()));
    }

    void damaged_data()
    {
        QTest::addColumn<QByteArray>("blocks"); // after the magic number
        QTest::addColumn<QString>("read");
        const QByteArray plain = "\x06" + number(1) + "a\x01";
        const auto row = [](const char *name, const QByteArray &blocks, const char *read) {
            QTest::newRow(name) << blocks << QString::fromUtf8(read);
        };
        row("magic only", {}, "");
        row("block longer than the file", '\x69' + number(9) + plain, "null");
        row("block length 0xFFFFFFF0", '\x42' + number(0xFFFFFFF0) + plain, "null");
        row("empty block ends the file", messages(plain) + '\x69' + number(0) + "junk", "|a||");
        row("text length 0xFFFFFFF0", messages("\x08" + number(0xFFFFFFF0) + plain), "null");
        row("translation length 0xFFFFFFF0", messages("\x03" + number(0xFFFFFFF0) + plain), "null");
        row("odd UTF-16 length", messages("\x03" + number(3) + QByteArray("\0a\0", 3) + plain),
            "null");
        row("unknown field", messages("\x0a" + plain), "null");
        row("no end", messages(plain.chopped(1)), "null");
        row("null translation, obsolete fields, old terminating NUL",
            messages("\x03" + number(0xFFFFFFFF) + "\x05" + number(7) + "\x09\x06" + number(2) +
                     QByteArray("b\0\x01", 3)),
            "|b||");
    }

    void damaged()
    {
        QFETCH(QByteArray, blocks);
        QFETCH(QString, read);
        QCOMPARE(lines(QmFile::read(m_compiled.left(16) + blocks)).join(u'\n'), read);
    }

    // A file cut anywhere reads as nothing or the blocks before the cut, never as some messages.
    void cutOrWrongMagic()
    {
        for (qsizetype size = 0; size < m_compiled.size(); ++size) {
            const auto result = QmFile::read(QByteArrayView(m_compiled).first(size));
            QVERIFY2(!result || result->isEmpty() || lines(result) == lines(Expected),
                     qPrintable(QString::number(size)));
            QVERIFY(size >= 16 || !result);
        }
        QVERIFY(!QmFile::read('\x3d' + m_compiled.mid(1)));
    }
};

QTEST_GUILESS_MAIN(TestQmFile)
#include "tst_qmfile.moc"
