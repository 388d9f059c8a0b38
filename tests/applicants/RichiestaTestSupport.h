#pragma once

// Shared by the search and request dialog tests: a program folder with a small register, a
// communication and scripted stand-ins for the applicant dialogs and the selection dialog.

#include "applicants/ApplicantDialogs.h"
#include "applicants/ApplicantSelectionDialog.h"
#include "communications/Communications.h"
#include "data/Tdm.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScriptedUi.h"

#include <functional>
#include <memory>

#include <gtest/gtest.h>

// Each dialog call records its name and runs the next step, which may type into the applicant row
// and answers OK (true) or cancel (false); no step left answers cancel.
struct ScriptedApplicantDialogs : ApplicantDialogs
{
    QStringList calls;
    QStringList codesSeen; // PERS_CF of the row when each dialog opened
    QList<std::function<bool()>> steps;

    void chooseType() override { calls << QStringLiteral("tipo"); }
    bool editPerson() override { return step(QStringLiteral("persona")); }
    bool editCompany() override { return step(QStringLiteral("azienda")); }
    bool step(const QString &name)
    {
        calls << name;
        codesSeen << dm->ttRICHIEDENTI->text(QStringLiteral("PERS_CF"));
        return steps.isEmpty() ? false : steps.takeFirst()();
    }
};

// The selection dialog: leaves `choice` in Ricerca.ID (0 is "Annulla").
struct ScriptedSelection : ApplicantSelectionDialog
{
    qint64 choice = 0;
    int shown = 0;
    qint64 idWhenShown = -1;
    void showSelection() override
    {
        ++shown;
        idWhenShown = Ricerca.ID;
        Ricerca.ID = choice;
    }
};

struct RegisterFixture : ::testing::Test
{
    ScriptedUi sui;
    ProgramFolder folder;
    std::unique_ptr<Tdm> data;

    void SetUp() override
    {
        data = std::make_unique<Tdm>(folder.path(), false);
        dm = data.get();
    }
    void TearDown() override
    {
        if (data && data->Database1.isOpen() && data->Database1.inTransaction())
            data->Database1.rollback();
        data.reset();
        dm = nullptr;
        Ricerca.ID = 0;
    }
    Connection &sql() { return data->Database1.connection(); }
    int count(const char *table) { return sql().scalar(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table))).toInt(); }

    qint64 person(const QString &cf, const QString &cognome, const QString &nome)
    {
        sql().exec("INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_CF, PERS_COGNOME, PERS_NOME, PERS_SESSO) VALUES ('P', ?, ?, ?, 'M')",
                   {cf, cognome, nome});
        return sql().lastInsertId();
    }
    qint64 company(const QString &cf, const QString &denominazione)
    {
        sql().exec("INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_CF, DENOMINAZIONE) VALUES ('A', ?, ?)", {cf, denominazione});
        return sql().lastInsertId();
    }
    // An open communication, current in DENUNCE.
    qint64 communication(int anno = 2018)
    {
        EXPECT_TRUE(Communications::NewCommunication(anno));
        return dm->ttDENUNCE->key();
    }
    // A request saved in the current communication; RICHIESTE stands on it.
    qint64 request(qint64 richiedente, const QString &codice, const QString &numero = QString())
    {
        TableCursor *r = dm->ttRICHIESTE;
        r->append();
        r->setFieldValue("ID_RICHIEDENTE", richiedente);
        r->setFieldValue("CODICE", codice);
        if (!numero.isEmpty())
            r->setFieldValue("NUMERO", numero);
        r->post();
        return r->key();
    }
    // Rows of a table file read through a connection of its own: what is on disk, committed.
    static int onDisk(const QString &dataPath, const char *table)
    {
        SingleFileDatabase db(dataPath + QLatin1String(table) + QStringLiteral(".DAT"), SingleFileDatabase::ReadOnly);
        return db.connection().scalar(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table))).toInt();
    }
};
