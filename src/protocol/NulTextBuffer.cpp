#include "protocol/NulTextBuffer.h"

#include <QStringDecoder>

NulTextBuffer::NulTextBuffer(qsizetype maxTextBytes)
    : m_maxTextBytes(maxTextBytes)
{}

QByteArray NulTextBuffer::encode(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    bytes.append('\0');
    return bytes;
}

QString NulTextBuffer::decode(QByteArrayView bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    // Unlike fromUtf8, which drops a leading byte-order mark, this gives back every character
    // encode wrote, so a log line of sent bytes shows the text that was sent.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom |
                                                       QStringConverter::Flag::Stateless);
    return decoder.decode(nul < 0 ? bytes : bytes.first(nul));
}

void NulTextBuffer::append(QByteArrayView bytes)
{
    if (m_head > 0) {
        m_bytes.remove(0, m_head);
        m_scanned -= m_head;
        m_head = 0;
    }
    m_bytes.append(bytes);
}

NulTextBuffer::Result NulTextBuffer::takeText(QString &text)
{
    const qsizetype nul = m_bytes.indexOf('\0', m_scanned);
    if (nul < 0) {
        m_scanned = m_bytes.size();
        return m_bytes.size() - m_head > m_maxTextBytes ? Result::Overflow : Result::Incomplete;
    }
    if (nul - m_head > m_maxTextBytes)
        return Result::Overflow;
    text = QString::fromUtf8(QByteArrayView(m_bytes).sliced(m_head, nul - m_head));
    m_head = nul + 1;
    m_scanned = m_head;
    if (m_head == m_bytes.size())
        clear();
    return Result::Text;
}

QString NulTextBuffer::takeUnterminated()
{
    const QString text = QString::fromUtf8(QByteArrayView(m_bytes).sliced(m_head));
    clear();
    return text;
}

void NulTextBuffer::clear()
{
    m_bytes.clear();
    m_head = 0;
    m_scanned = 0;
}
