#pragma once

#include <QString>
#include <QVariantList>

class ApplicantDialogs;
class Database;

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

    // The part of a typed prefix before its first wildcard, and the least text above every text that
    // starts with it ("" when there is no such part).
    static QString literalPrefix(const QString &box);
    static QString prefixEnd(const QString &literal);

    // Applicants holding a field of the other kind: a natural person with a denomination, or another
    // with a surname. The dialogs never write them; the index RICHIEDENTI_MISTI_IDX holds exactly
    // these rows (same text).
    static QString mixedCondition();
    // True when a surname or denomination found by prefix always has a name starting with that prefix,
    // so that a search can walk the name index from the prefix on: the indexes exist and no applicant
    // is mixed.
    static bool nameOrderFollowsPrefix(Database &db);

    // True when both boxes are empty after removing surrounding blanks: nothing to search.
    static bool noCriteria(const QString &nameBox, const QString &codeBox);
    static QString noCriteriaMessage() { return QStringLiteral("Compilare almeno un campo (anche parzialmente)."); }
    static QString countText(int rows) { return QStringLiteral("Nominativi trovati: ") + QString::number(rows); }

    // A double click on a found row: the applicant's dialog on that row, which posts or cancels.
    // Nothing when the applicant no longer exists; true when it was saved.
    static bool openApplicant(qint64 id, ApplicantDialogs &dialogs);
};
