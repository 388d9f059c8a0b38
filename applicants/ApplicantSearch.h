#pragma once

#include <QString>
#include <QVariantList>

class ApplicantDialogs;

// The applicant lists' shared pieces: the "Cognome / Denominazione" column and the search condition,
// stated in SQLite's terms over RICHIEDENTI aliased R.
class ApplicantSearch
{
public:
    // The surname, one blank and the name of a natural person; the denomination of any other. Never
    // NULL, so that it can order a listing page by page. The index RICHIEDENTI_NOME_IDX is built on
    // this very expression (without the alias): keep the two the same.
    static QString nameExpression();

    // The WHERE of a search: prefix of the surname or denomination, prefix of the code, both when
    // both are given. The texts are used untrimmed, followed by "%": the user's % and _ keep their
    // meaning; LIKE is case-sensitive on the program's connection.
    struct Condition
    {
        QString where;
        QVariantList params;
    };
    static Condition condition(const QString &nameBox, const QString &codeBox);

    // True when both boxes are empty after removing surrounding blanks: nothing to search.
    static bool noCriteria(const QString &nameBox, const QString &codeBox);
    static QString noCriteriaMessage() { return QStringLiteral("Compilare almeno un campo (anche parzialmente)."); }
    static QString countText(int rows) { return QStringLiteral("Nominativi trovati: ") + QString::number(rows); }

    // A double click on a found row: the applicant's dialog on that row, which posts or cancels.
    // Nothing when the applicant no longer exists; true when it was saved.
    static bool openApplicant(qint64 id, ApplicantDialogs &dialogs);
};
