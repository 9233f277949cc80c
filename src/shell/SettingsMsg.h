#pragma once

#include "protocol/Message.h"

namespace Brindlecore::Core {

// The Print Service's settings (id 58): tagged fields in any order, each a letter followed by
// its value. The dispatcher keeps one prototype for the whole run, so a field a text does not
// carry keeps the value of the previous text (the defaults for the first). Never sent.
class SettingsMsg : public Message
{
public:
    SettingsMsg() = default;
    SettingsMsg(std::unique_ptr<MessageHandler> handler, UtilsLib::Observer *observer);

    std::unique_ptr<Message> clone() const override { return std::make_unique<SettingsMsg>(*this); }
    QString formatBody() const override;
    bool parse(const QString &text) override;
    int messageId() const override;

    // Tag A, hex-decoded.
    const QString &staffPassword() const { return m_staffPassword; }
    bool tavrinIntegration() const { return m_tavrinIntegration; }                     // B
    int maxSessionPages() const { return m_maxSessionPages; }                          // C
    bool staffApprovesOverLimit() const { return m_staffApprovesOverLimit; }           // D
    bool useSessionCredentials() const { return m_useSessionCredentials; }             // E
    bool maskUserId() const { return m_maskUserId; }                                   // F
    bool useSessionPcDescription() const { return m_useSessionPcDescription; }         // H
    bool useSessionLanguage() const { return m_useSessionLanguage; }                   // M
    int numberN() const { return m_numberN; }                                          // N
    const QString &defaultPrinter() const { return m_defaultPrinter; }                 // G
    const QString &userIdFile() const { return m_userIdFile; }                         // I
    int overrideTranslationPort() const { return m_overrideTranslationPort; }          // L
    bool dynamicLanguageEnabled() const { return m_dynamicLanguageEnabled; }           // O
    const QString &supportedDialects() const { return m_supportedDialects; }           // P
    const QString &locale() const { return m_locale; }                                 // Q
    bool userIdFilterEnabled() const { return m_userIdFilterEnabled; }                 // R
    const QString &userIdFilterExceptions() const { return m_userIdFilterExceptions; } // S
    bool pinFilterEnabled() const { return m_pinFilterEnabled; }                       // T
    const QString &pinFilterExceptions() const { return m_pinFilterExceptions; }       // U

private:
    QString m_staffPassword;
    bool m_tavrinIntegration = false;
    int m_maxSessionPages = 0;
    bool m_staffApprovesOverLimit = false;
    bool m_useSessionCredentials = false;
    bool m_maskUserId = false;
    bool m_useSessionPcDescription = false;
    bool m_useSessionLanguage = false;
    int m_numberN = 0;
    QString m_defaultPrinter;
    QString m_userIdFile;
    int m_overrideTranslationPort = 0;
    bool m_dynamicLanguageEnabled = false;
    QString m_supportedDialects;
    QString m_locale = QStringLiteral("en_us");
    bool m_userIdFilterEnabled = false;
    QString m_userIdFilterExceptions;
    bool m_pinFilterEnabled = false;
    QString m_pinFilterExceptions;
};

} // namespace Brindlecore::Core
