#pragma once

#include "data/Globals.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

// The support request: a message to the support mailbox, written for the user to complete in the
// system's mail client, which it reaches as a mailto: address.
class SupportMail
{
public:
    // nullopt when the denomination is blank.
    static std::optional<SupportMail> compose(const TDatiEnte &ente, const QString &supportAddress);
    // Refuses with "Dati dell'Ente non impostati: operazione annullata" on a blank denomination;
    // otherwise hands the message to the desktop. Raises an error when no mail client takes it.
    static void send(const TDatiEnte &ente, const QString &supportAddress);

    QString subject() const { return m_subject; }
    QString recipientName() const { return m_recipientName; }
    QString recipientAddress() const { return m_recipientAddress; }
    QStringList bodyLines() const { return m_body; }
    QUrl mailtoUrl() const;

private:
    QString m_subject;
    QString m_recipientName;
    QString m_recipientAddress;
    QStringList m_body;
};
