#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Cuts a byte stream into texts, each ended by one NUL byte and decoded as UTF-8. TCP keeps
// no message boundaries, so bytes wait here until their NUL arrives. Memory stays bounded:
// a text longer than the limit is reported as an overflow and never handed out. A byte-order
// mark at the start of a received text is dropped, so a peer that writes one is understood.
class NulTextBuffer
{
public:
    static constexpr qsizetype DefaultMaxTextBytes = 1024 * 1024;

    enum class Result { Text, Incomplete, Overflow };

    explicit NulTextBuffer(qsizetype maxTextBytes = DefaultMaxTextBytes);

    // The wire form of a text: its UTF-8 bytes followed by one NUL.
    static QByteArray encode(const QString &text);
    // UTF-8 up to the first NUL, if any; invalid sequences become replacement characters.
    // The inverse of encode: a leading byte-order mark is kept.
    static QString decode(QByteArrayView bytes);

    void append(QByteArrayView bytes);
    // Removes the next complete text into text. Overflow means the stream can no longer be
    // trusted; the caller drops it (clear) rather than reading on.
    Result takeText(QString &text);
    // Bytes received after the last NUL.
    bool hasUnterminatedBytes() const { return m_bytes.size() > m_head; }
    // Removes the bytes after the last NUL and decodes them as one text, for a peer that
    // does not terminate its texts. Call it once takeText has answered Incomplete.
    QString takeUnterminated();
    void clear();

    qsizetype maxTextBytes() const { return m_maxTextBytes; }

private:
    QByteArray m_bytes;
    // Start of the first byte not yet handed out, so taking a text does not move the rest.
    qsizetype m_head = 0;
    // Where the search for the next NUL resumes; the bytes before it hold none.
    qsizetype m_scanned = 0;
    qsizetype m_maxTextBytes;
};
