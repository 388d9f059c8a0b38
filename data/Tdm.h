#pragma once

#include "data/Database.h"
#include "data/Globals.h"
#include "data/TableCursor.h"

#include <QObject>
#include <functional>
#include <memory>

// Shown while a damaged table is repaired at start-up (the GUI installs a progress window).
class RepairObserver
{
public:
    virtual ~RepairObserver() = default;
    virtual void progress(const QString &tableFileName, int percent) = 0;
};

// The data module: the program folder, the settings, the database "TARVIDO" and a cursor on each of
// its five tables. One instance, `dm`, lives from before the first window until after the last.
class Tdm : public QObject
{
    Q_OBJECT
public:
    // Finds nothing by itself: appPath is the program folder (the executable's, in the program).
    // Loads the settings, opens the database in appPath/dati and its tables with the automatic repair.
    // A failure on the way is shown as an error and the remaining steps are skipped.
    // The administration tool passes writesSettings false: it never writes the settings file.
    explicit Tdm(const QString &appPath, bool writesSettings = true, QObject *parent = nullptr);
    // Closes the tables and the database, then writes the settings.
    ~Tdm() override;

    // The program folder, with a trailing separator.
    QString AppPath;
    QString dataFolder() const; // AppPath + "dati/"
    QString path(const QString &relative) const { return AppPath + relative; }

    Database Database1;
    TableCursor *ttDENUNCE = nullptr;
    TableCursor *ttRICHIESTE = nullptr;
    TableCursor *ttRICHIEDENTI = nullptr;
    TableCursor *ttCOMUNI = nullptr;
    TableCursor *ttPROVVEDIMENTI = nullptr;
    QList<TableCursor *> tables() const;

    void OpenDatabase();
    void CloseDatabase();
    void OpenTables();
    void CloseTables();
    void OpenTableWithRepair(TableCursor *table);

    void LoadSettings();
    void SaveSettings();

    static void ShowMsg(const QString &text);
    static void Delay(double seconds);
    static void ttRICHIESTEAfterInsert(TableCursor &richieste);
    static void ttRICHIEDENTICalcFields(Record &richiedente);

    // Installed by the GUI before the data module is created; null shows no progress.
    static std::function<std::unique_ptr<RepairObserver>()> repairObserverFactory;

private:
    bool m_writesSettings = true;

signals:
    // The tables were closed or opened again (maintenance): views reload.
    void tablesReopened();
};
