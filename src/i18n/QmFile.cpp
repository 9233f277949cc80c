#include "i18n/QmFile.h"

#include <QFile>
#include <QTranslator>

#include <QtEndian>

#include <algorithm>
#include <utility>

// The layout, as QTranslator reads it: a 16-byte magic number, then blocks of a one-byte tag
// and a 32-bit length. The Messages block holds the messages one after another,
// each a run of tagged fields ending in an end tag; the Hashes block lists (hash, offset) pairs
// sorted by hash, through which lookups find a message. Every number is big-endian.

namespace {

constexpr char Magic[] = "\x3c\xb8\x64\x18\xca\xef\x9c\x95\xcd\x21\x1c\xbf\x60\xa1\xbd\xdd";
constexpr QByteArrayView MagicBytes(Magic, sizeof(Magic) - 1);

enum BlockTag : quint8 { HashesBlock = 0x42, MessagesBlock = 0x69 };

enum FieldTag : quint8 {
    EndTag = 1,
    SourceText16Tag = 2,
    TranslationTag = 3,
    Context16Tag = 4,
    Obsolete1Tag = 5,
    SourceTextTag = 6,
    ContextTag = 7,
    CommentTag = 8,
    Obsolete2Tag = 9,
};

// The length a null translation is written with (lrelease writes one for an empty plural
// form); QTranslator then passes over the whole message.
constexpr quint32 NullLength = 0xFFFFFFFF;

// Reads numbers and pieces off the front of the bytes; asking for more than is left fails the
// cursor for good, and a failed cursor hands out zeros and empty pieces.
class Cursor
{
public:
    explicit Cursor(QByteArrayView bytes)
        : m_rest(bytes)
    {}

    bool atEnd() const { return m_rest.isEmpty(); }
    bool failed() const { return m_failed; }

    QByteArrayView take(quint64 length)
    {
        if (m_failed || length > quint64(m_rest.size())) {
            m_failed = true;
            m_rest = {};
            return {};
        }
        const QByteArrayView piece = m_rest.first(qsizetype(length));
        m_rest = m_rest.sliced(qsizetype(length));
        return piece;
    }
    quint8 byte()
    {
        const QByteArrayView piece = take(1);
        return piece.isEmpty() ? 0 : quint8(piece.front());
    }
    quint32 number()
    {
        const QByteArrayView piece = take(4);
        return piece.isEmpty() ? 0 : qFromBigEndian<quint32>(piece.data());
    }

private:
    QByteArrayView m_rest;
    bool m_failed = false;
};

// Files of older tools keep the terminating NUL of their texts; lookups ignore it, and no
// lookup key can hold a NUL, so none is kept.
QByteArray keyText(QByteArrayView text)
{
    while (!text.isEmpty() && text.back() == '\0')
        text.chop(1);
    return text.toByteArray();
}

// A translation's UTF-16 code units as they stand, unpaired surrogates included, so that a
// file written back carries the same units.
QString translationText(QByteArrayView units)
{
    if (units.isEmpty())
        return QStringLiteral(""); // empty, which lookups return, unlike a null one
    QString text(units.size() / 2, Qt::Uninitialized);
    qFromBigEndian<char16_t>(units.data(), text.size(), text.data());
    return text;
}

// One message's fields up to its end tag. Fields that are missing stay empty: lrelease writes
// every field, and only its compressed files may leave the source text or disambiguation out.
std::optional<QmMessage> readMessage(Cursor &in)
{
    QmMessage message;
    for (;;) {
        switch (in.byte()) {
        case EndTag:
            return message;
        case TranslationTag: {
            const quint32 length = in.number();
            if (length == NullLength) {
                message.translations.append(QString());
            } else if (length % 2 != 0) {
                return std::nullopt;
            } else {
                const QByteArrayView units = in.take(length);
                if (in.failed())
                    return std::nullopt;
                message.translations.append(translationText(units));
            }
            break;
        }
        case SourceTextTag:
            message.sourceText = keyText(in.take(in.number()));
            break;
        case ContextTag:
            message.context = keyText(in.take(in.number()));
            break;
        case CommentTag:
            message.comment = keyText(in.take(in.number()));
            break;
        // The UTF-16 texts of the oldest files, which Qt 6 no longer matches lookups against.
        case SourceText16Tag:
        case Context16Tag:
            if (const quint32 length = in.number(); length != NullLength)
                in.take(length);
            break;
        case Obsolete1Tag:
            in.take(4);
            break;
        case Obsolete2Tag:
            break;
        default: // an unknown tag, whose length nobody knows, or the bytes ran out
            return std::nullopt;
        }
        if (in.failed())
            return std::nullopt;
    }
}

// The hash lookups compute: the ELF hash over the source text and then the disambiguation,
// each up to its first NUL as the C strings of a lookup end there; 0 becomes 1.
quint32 lookupHash(const QByteArray &sourceText, const QByteArray &comment)
{
    quint32 hash = 0;
    for (const QByteArray *text : {&sourceText, &comment}) {
        for (const char c : *text) {
            if (c == '\0')
                break;
            hash = (hash << 4) + quint8(c);
            const quint32 high = hash & 0xF0000000;
            hash ^= high >> 24;
            hash &= ~high;
        }
    }
    return hash == 0 ? 1 : hash;
}

void appendNumber(QByteArray &out, quint32 number)
{
    char bytes[4];
    qToBigEndian(number, bytes);
    out.append(bytes, 4);
}

void appendField(QByteArray &out, FieldTag tag, const QByteArray &text)
{
    out.append(char(tag));
    appendNumber(out, quint32(text.size()));
    out.append(text);
}

void appendTranslation(QByteArray &out, const QString &text)
{
    out.append(char(TranslationTag));
    if (text.isNull()) {
        appendNumber(out, NullLength);
        return;
    }
    appendNumber(out, quint32(text.size() * 2));
    const qsizetype start = out.size();
    out.resize(start + text.size() * 2);
    // Not utf16(): it reallocates a null or literal text, changing the caller's const list.
    qToBigEndian<char16_t>(text.constData(), text.size(), out.data() + start);
}

void appendBlock(QByteArray &out, BlockTag tag, const QByteArray &block)
{
    out.append(char(tag));
    appendNumber(out, quint32(block.size()));
    out.append(block);
}

} // namespace

std::optional<QList<QmMessage>> QmFile::read(QByteArrayView bytes)
{
    if (!bytes.startsWith(MagicBytes))
        return std::nullopt;
    Cursor blocks(bytes.sliced(MagicBytes.size()));
    QByteArrayView messageBlock;
    while (!blocks.atEnd()) {
        const quint8 tag = blocks.byte();
        const quint32 length = blocks.number();
        if (blocks.failed())
            return std::nullopt;
        // QTranslator stops at a block without tag or length and ignores what follows.
        if (tag == 0 || length == 0)
            break;
        const QByteArrayView block = blocks.take(length);
        if (blocks.failed())
            return std::nullopt;
        // The other blocks (hashes, contexts, plural rules, language, dependencies) say nothing
        // the list needs; a later Messages block replaces an earlier one, as in QTranslator.
        if (tag == MessagesBlock)
            messageBlock = block;
    }

    QList<QmMessage> messages;
    Cursor in(messageBlock);
    while (!in.atEnd()) {
        std::optional<QmMessage> message = readMessage(in);
        if (!message)
            return std::nullopt;
        messages.append(std::move(*message));
    }
    return messages;
}

QByteArray QmFile::write(const QList<QmMessage> &messages)
{
    QByteArray file = MagicBytes.toByteArray();
    // A file of the magic number alone loads into QTranslator as one without messages.
    if (messages.isEmpty())
        return file;

    QByteArray messageBlock;
    QList<std::pair<quint32, quint32>> hashes;
    hashes.reserve(messages.size());
    for (const QmMessage &message : messages) {
        hashes.append(
            {lookupHash(message.sourceText, message.comment), quint32(messageBlock.size())});
        for (const QString &translation : message.translations)
            appendTranslation(messageBlock, translation);
        // The field order lrelease writes.
        appendField(messageBlock, CommentTag, message.comment);
        appendField(messageBlock, SourceTextTag, message.sourceText);
        appendField(messageBlock, ContextTag, message.context);
        messageBlock.append(char(EndTag));
    }
    // Lookups search the table by halving and then walk equal hashes in offset order, so the
    // first of several messages with the same key is the one found.
    std::sort(hashes.begin(), hashes.end());
    QByteArray hashBlock;
    hashBlock.reserve(hashes.size() * 8);
    for (const auto &[hash, offset] : hashes) {
        appendNumber(hashBlock, hash);
        appendNumber(hashBlock, offset);
    }
    // Without a Contexts block lookups skip their check that the file knows the context, so
    // none is written.
    appendBlock(file, HashesBlock, hashBlock);
    appendBlock(file, MessagesBlock, messageBlock);
    return file;
}

std::optional<QByteArray> QmFile::readFile(const QString &path)
{
    // Far above any real translation file; a larger file is not read into memory.
    constexpr qint64 MaximumFileSize = 16 * 1024 * 1024;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaximumFileSize)
        return std::nullopt;
    return file.readAll();
}

bool QmFile::loadInto(QTranslator &translator, const QByteArray &bytes)
{
    return translator.load(reinterpret_cast<const uchar *>(bytes.constData()), int(bytes.size()));
}
