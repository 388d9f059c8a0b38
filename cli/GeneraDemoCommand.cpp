#include "cli/GeneraDemoCommand.h"

#include "applicants/DemoRegister.h"
#include "data/Tdm.h"

#include <QDate>
#include <QRandomGenerator>

namespace {

bool readCount(const QString &text, int *value)
{
    bool ok = false;
    *value = text.toInt(&ok);
    return ok && *value >= 0;
}

} // namespace

int GeneraDemoCommand::execute(const QStringList &argsIn, CliContext &context)
{
    CliArgs args(argsIn);
    QString richiedenti, richieste, anno;
    if (!args.takeOption(QStringLiteral("--richiedenti"), &richiedenti) || !args.takeOption(QStringLiteral("--richieste"), &richieste)
        || !args.takeOption(QStringLiteral("--anno"), &anno) || !args.positional().isEmpty())
        return usageError(context);
    DemoRegister::Options options;
    options.anno = QDate::currentDate().year();
    if (!readCount(richiedenti, &options.richiedenti) || !readCount(richieste, &options.richieste))
        return usageError(context);
    if (!anno.isEmpty()) {
        bool ok = false;
        options.anno = anno.toInt(&ok);
        if (!ok || options.anno < 1000 || options.anno > 9999)
            return usageError(context);
    }
    if (options.richieste > 0 && options.richiedenti == 0) {
        context.err << "Le richieste hanno bisogno di almeno un richiedente." << Qt::endl;
        return usageError(context);
    }
    options.seed = QRandomGenerator::global()->generate64();

    Tdm data(context.root, false);
    Tdm *previous = dm;
    dm = &data;
    struct Restore
    {
        Tdm *previous;
        ~Restore() { dm = previous; }
    } restore{previous};

    DemoRegister::Result result;
    if (!DemoRegister::generate(options, &result)) {
        context.err << "Operazione annullata. E' probabile che esiste una comunicazione ancora aperta per l'anno "
                    << options.anno << Qt::endl;
        return 1;
    }
    context.out << result.anno << ' ' << result.progressivo << Qt::endl;
    return 0;
}
