#include "cli/VerificaAggiornamentiCommand.h"

#include "data/Globals.h"
#include "maintenance/Updater.h"

#include <QDir>
#include <QEventLoop>

int VerificaAggiornamentiCommand::execute(const QStringList &args, CliContext &context)
{
    CliArgs a(args);
    QString folder;
    if (!a.takeOption(QStringLiteral("--scarica"), &folder) || !a.positional().isEmpty())
        return usageError(context);
    const bool download = args.contains(QStringLiteral("--scarica"));
    if (download && folder.isEmpty())
        return usageError(context);

    const QUrl url = Updater::configuredInfoFileUrl(context.root);
    if (url.isEmpty()) {
        context.err << Updater::notConfiguredMessage() << Qt::endl;
        return 1;
    }
    Updater updater;
    updater.setInfoFileUrl(url);
    updater.setVersionNumber(QString::fromLatin1(ProgramVersion));
    updater.setAskUpgrade(false);
    updater.setDownloadEnabled(download);
    if (download)
        updater.setDownloadFolder(QDir(folder).absolutePath());
    QEventLoop loop;
    QObject::connect(&updater, &Updater::finished, &loop, &QEventLoop::quit);
    updater.start();
    loop.exec();

    const auto failed = [&](const QString &message) {
        context.err << message << Qt::endl;
        if (!updater.detail().isEmpty())
            context.err << '(' << updater.detail() << ')' << Qt::endl;
        return 1;
    };
    switch (updater.outcome()) {
    case Updater::Outcome::NoUpdate:
        context.out << "Al momento nessun aggiornamento è disponibile per questo prodotto." << Qt::endl;
        return 0;
    case Updater::Outcome::NoInfoFile:
        return failed(QStringLiteral("Nessuna informazione di aggiornamento è stata trovata sul server. Si consiglia di riprovare più tardi"));
    case Updater::Outcome::HostUnreachable:
        return failed(QStringLiteral("Impossibile connettersi al server degli aggiornamenti. Si consiglia di riprovare più tardi"));
    case Updater::Outcome::Aborted:
        return failed(QStringLiteral("Operazione di aggiornamento interrotta"));
    case Updater::Outcome::UpdateAvailable:
    case Updater::Outcome::Downloaded: {
        const UpdateInfo info = *updater.info();
        context.out << "Aggiornamento disponibile: versione " << info.version() << Qt::endl;
        if (!info.message().trimmed().isEmpty())
            context.out << "Messaggio: " << QString(info.message()).replace(QLatin1Char('\r'), QLatin1Char(' ')) << Qt::endl;
        if (updater.outcome() == Updater::Outcome::Downloaded) {
            for (const QString &path : updater.downloadedFiles())
                context.out << QDir::toNativeSeparators(path) << Qt::endl;
        } else {
            for (const UpdateInfo::File &f : info.files())
                context.out << "File: " << f.url.toString() << Qt::endl;
        }
        return 0;
    }
    case Updater::Outcome::None:
    case Updater::Outcome::Declined:
        break;
    }
    return failed(QStringLiteral("Operazione di aggiornamento interrotta"));
}
