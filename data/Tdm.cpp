#include "data/Tdm.h"

#include "app/Settings.h"
#include "data/TableRepair.h"
#include "data/Ui.h"

#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>

std::function<std::unique_ptr<RepairObserver>()> Tdm::repairObserverFactory;

Tdm::Tdm(const QString &appPath, bool writesSettings, QObject *parent) : QObject(parent), m_writesSettings(writesSettings)
{
    AppPath = QDir::cleanPath(appPath) + QLatin1Char('/');
    ttDENUNCE = new TableCursor(Database1, Schema::denunce(), this);
    ttRICHIESTE = new TableCursor(Database1, Schema::richieste(), this);
    ttRICHIEDENTI = new TableCursor(Database1, Schema::richiedenti(), this);
    ttCOMUNI = new TableCursor(Database1, Schema::comuni(), this);
    ttPROVVEDIMENTI = new TableCursor(Database1, Schema::provvedimenti(), this);
    ttRICHIESTE->setMasterLink(ttDENUNCE, QStringLiteral("ID_DENUNCIA"));
    ttRICHIESTE->afterInsert = &Tdm::ttRICHIESTEAfterInsert;
    ttRICHIEDENTI->addCalculatedField(QStringLiteral("CDENOM"));
    ttRICHIEDENTI->calcFields = &Tdm::ttRICHIEDENTICalcFields;
    ttCOMUNI->setOrderField(QStringLiteral("NOME"));

    LoadSettings();
    try {
        OpenDatabase();
        OpenTables();
    } catch (const std::exception &e) {
        ui().showError(QString::fromUtf8(e.what()));
    }
}

Tdm::~Tdm()
{
    CloseTables();
    CloseDatabase();
    if (m_writesSettings)
        SaveSettings();
}

QString Tdm::dataFolder() const
{
    return AppPath + QStringLiteral("dati/");
}

QList<TableCursor *> Tdm::tables() const
{
    return {ttDENUNCE, ttRICHIESTE, ttRICHIEDENTI, ttCOMUNI, ttPROVVEDIMENTI};
}

void Tdm::OpenDatabase()
{
    Database1.close();
    Database1.open(dataFolder());
}

void Tdm::CloseDatabase()
{
    Database1.close();
}

void Tdm::OpenTables()
{
    for (TableCursor *t : tables())
        OpenTableWithRepair(t);
    emit tablesReopened();
}

void Tdm::CloseTables()
{
    for (TableCursor *t : tables()) {
        t->close();
        if (Database1.isOpen())
            Database1.detachTable(t->definition());
    }
    emit tablesReopened();
}

void Tdm::OpenTableWithRepair(TableCursor *table)
{
    const TableDef &def = table->definition();
    const Database::OpenResult first = Database1.attachTable(def);
    if (first == Database::OpenResult::Unavailable)
        return;
    if (first == Database::OpenResult::Damaged) {
        std::unique_ptr<RepairObserver> observer = repairObserverFactory ? repairObserverFactory() : nullptr;
        ui().processEvents();
        const auto result = TableRepair::repair(Database1.tablePath(def), [&](int percent) {
            if (observer)
                observer->progress(def.fileName, percent);
        });
        if (!result.ok) {
            ShowMsg(QStringLiteral("Attenzione la Tabella \"%1\" risulta danneggiata\rin modo irreversibile oppure é in uso "
                                   "da un altro\rUtente. Utilizzare il menu Utilità e la funzione\rRiparazione archivi "
                                   "per ripristinarla.")
                        .arg(def.fileName));
        }
        observer.reset();
        QString error;
        if (Database1.attachTable(def, &error) != Database::OpenResult::Opened)
            throw DataError(QStringLiteral("Impossibile aprire la tabella %1: %2").arg(def.fileName, error));
    }
    table->open();
}

void Tdm::LoadSettings()
{
    Settings::load(AppPath);
}

void Tdm::SaveSettings()
{
    try {
        Settings::save(AppPath);
    } catch (const std::exception &e) {
        ui().showError(QString::fromUtf8(e.what()));
    }
}

void Tdm::ShowMsg(const QString &text)
{
    ui().showMessage(text);
}

void Tdm::Delay(double seconds)
{
    QElapsedTimer timer;
    timer.start();
    const qint64 wait = qint64(seconds * 1000);
    while (timer.elapsed() < wait) {
        ui().processEvents();
        QThread::msleep(ulong(std::clamp<qint64>(wait - timer.elapsed(), 1, 15)));
    }
}

void Tdm::ttRICHIESTEAfterInsert(TableCursor &richieste)
{
    richieste.setFieldValue(QStringLiteral("NUM_TRASM"), 1);
    richieste.setFieldValue(QStringLiteral("PADRE"), 0);
    richieste.setFieldValue(QStringLiteral("DATA_CREAZIONE"), QDate::currentDate());
}

void Tdm::ttRICHIEDENTICalcFields(Record &r)
{
    if (r.text(QStringLiteral("TIPO_RICHIEDENTE")) == QLatin1String("P"))
        r.setValue(QStringLiteral("CDENOM"), r.text(QStringLiteral("PERS_COGNOME")) + QLatin1Char(' ') + r.text(QStringLiteral("PERS_NOME")));
    else
        r.setValue(QStringLiteral("CDENOM"), r.text(QStringLiteral("DENOMINAZIONE")));
}
