#include "maintenance/Regulation.h"

#include "data/Tdm.h"
#include "data/Ui.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace Regulation {

QString fileName()
{
    return QStringLiteral("Provvedimento_2_ottobre_2006.pdf");
}

bool open(const QString &appPath)
{
    const QString path = appPath + fileName();
    const QString folder = QDir::toNativeSeparators(QDir::cleanPath(appPath));
    if (!QFileInfo(path).isFile()) {
        Tdm::ShowMsg(QStringLiteral("Il documento della normativa \"%1\" non è presente.\r"
                                    "Copiare il file (provvedimento dell'Agenzia delle Entrate del 2 ottobre 2006) "
                                    "nella cartella del programma:\r%2")
                          .arg(fileName(), folder));
        return false;
    }
    if (!ui().openUrl(QUrl::fromLocalFile(path))) {
        Tdm::ShowMsg(QStringLiteral("Impossibile aprire il documento \"%1\": nessun programma per i file PDF "
                                    "risulta installato su questo computer.\rIl file si trova nella cartella:\r%2")
                          .arg(fileName(), folder));
        return false;
    }
    return true;
}

} // namespace Regulation
