#include "settings/XmlPreferencesFileParser.h"

#include "settings/HexCodec.h"
#include "settings/XmlPreferences.h"

#include <QXmlStreamReader>

namespace UtilsLib {

namespace {

// "<!DOCTYPE" in every byte form the reader could decode the document from (ASCII-compatible
// encodings, UTF-16 and UTF-32 of either byte order). The reader expands entities, and
// parameter entities inside the declaration itself, before it reports the declaration, so
// the bytes are checked first.
bool hasDocumentTypeDeclaration(const QByteArray &document)
{
    const QByteArray ascii("<!DOCTYPE");
    for (const int width : {1, 2, 4}) {
        for (const bool bigEndian : {false, true}) {
            QByteArray pattern;
            for (const char c : ascii) {
                QByteArray unit(width, '\0');
                unit[bigEndian ? width - 1 : 0] = c;
                pattern += unit;
            }
            if (document.contains(pattern))
                return true;
            if (width == 1)
                break;
        }
    }
    return false;
}

} // namespace

XmlPreferencesFileParser::XmlPreferencesFileParser(XmlPreferences &store)
    : m_store(store)
{}

bool XmlPreferencesFileParser::parse(const QByteArray &document)
{
    if (document.size() > XmlPreferences::MaximumFileSize || hasDocumentTypeDeclaration(document))
        return false;

    QXmlStreamReader reader(document);
    int depth = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++depth > MaximumDepth)
                return false;
            startElement(reader.qualifiedName(), reader.attributes());
            break;
        case QXmlStreamReader::Characters:
            characters(reader.text());
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            endElement();
            break;
        case QXmlStreamReader::DTD:
            return false;
        default:
            break;
        }
    }
    return !reader.hasError();
}

void XmlPreferencesFileParser::startElement(QStringView qualifiedName,
                                            const QXmlStreamAttributes &attributes)
{
    if (qualifiedName != QLatin1String("entry"))
        return;
    PreferenceEntry entry;
    entry.name = attributes.value(QLatin1String("name")).toString();
    entry.units = attributes.value(QLatin1String("units")).toString();
    entry.encrypted = attributes.value(QLatin1String("encrypted")) == QLatin1String("1");
    m_entry = entry;
    m_pendingText.clear();
}

// An entry's value is all of its character data, also when a comment or a CDATA section
// splits it into pieces.
void XmlPreferencesFileParser::characters(QStringView text)
{
    if (m_entry)
        m_pendingText += text;
}

void XmlPreferencesFileParser::endElement()
{
    if (!m_entry)
        return;
    m_entry->value = m_entry->encrypted ? hexDecode(m_pendingText) : m_pendingText;
    m_store.setEntry(*m_entry);
    m_entry.reset();
    m_pendingText.clear();
}

} // namespace UtilsLib
