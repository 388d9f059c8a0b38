#include "maintenance/SupportMail.h"

#include "data/Tdm.h"
#include "data/Ui.h"

#include <stdexcept>

std::optional<SupportMail> SupportMail::compose(const TDatiEnte &ente, const QString &supportAddress)
{
    if (ente.Denominazione.trimmed().isEmpty())
        return std::nullopt;
    SupportMail m;
    m.m_subject = QStringLiteral("Messaggio da :") + ente.Denominazione;
    m.m_recipientName = QStringLiteral("Assistenza Quorvel");
    m.m_recipientAddress = supportAddress.trimmed();
    m.m_body << QStringLiteral("Prodotto: Tarvido") << QStringLiteral("Versione: ") + QString::fromLatin1(ProgramVersion)
             << QStringLiteral("Cliente: ") + ente.Denominazione;
    if (!ente.Responsabile.isEmpty())
        m.m_body << QStringLiteral("Responsabile: ") + ente.Responsabile;
    m.m_body << QString() << QStringLiteral("Inserire qui i Vostri commenti .......");
    return m;
}

QUrl SupportMail::mailtoUrl() const
{
    // Every component percent-encoded as UTF-8; line breaks in the body are CR LF.
    const QByteArray to = QUrl::toPercentEncoding(QStringLiteral("%1 <%2>").arg(m_recipientName, m_recipientAddress), "@");
    const QByteArray url = "mailto:" + to + "?subject=" + QUrl::toPercentEncoding(m_subject)
                           + "&body=" + QUrl::toPercentEncoding(m_body.join(QStringLiteral("\r\n")));
    return QUrl::fromEncoded(url, QUrl::StrictMode);
}

void SupportMail::send(const TDatiEnte &ente, const QString &supportAddress)
{
    const std::optional<SupportMail> mail = compose(ente, supportAddress);
    if (!mail) {
        Tdm::ShowMsg(QStringLiteral("Dati dell'Ente non impostati: operazione annullata"));
        return;
    }
    if (!ui().openUrl(mail->mailtoUrl()))
        throw std::runtime_error("Impossibile preparare il messaggio: nessun programma di posta elettronica "
                                 "risulta configurato su questo computer.");
}
