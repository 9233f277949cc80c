#pragma once

#include "settings/PreferenceEntry.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

class QXmlStreamAttributes;

namespace UtilsLib {

class XmlPreferences;

// Reads a preferences file into a store for one load: every "entry" element becomes one entry
// as soon as it (or an element inside it) ends; everything else is ignored. It must never
// let a hostile file exhaust memory, so documents with a document type declaration (the only
// way to declare entities), nested deeper than any preferences file or larger than
// XmlPreferences::MaximumFileSize are refused like malformed ones.
class XmlPreferencesFileParser
{
public:
    static constexpr int MaximumDepth = 64;

    explicit XmlPreferencesFileParser(XmlPreferences &store);

    // True when the document is well-formed; entries read before an error stay in the store.
    bool parse(const QByteArray &document);

private:
    void startElement(QStringView qualifiedName, const QXmlStreamAttributes &attributes);
    void characters(QStringView text);
    void endElement();

    XmlPreferences &m_store;
    std::optional<PreferenceEntry> m_entry;
    QString m_pendingText;
};

} // namespace UtilsLib
