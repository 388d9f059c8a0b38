#include "applicants/ApplicantSearch.h"
#include "applicants/ApplicantSearchModel.h"
#include "applicants/ApplicantSelection.h"
#include "applicants/ApplicantSelectionModel.h"
#include "tests/applicants/RichiestaTestSupport.h"

namespace {

struct SearchFixture : RegisterFixture
{
    void SetUp() override
    {
        RegisterFixture::SetUp();
        rossi = person("RSSMRA80A01H501U", "ROSSI", "MARIO");
        rossetti = person("RSSNNA75B41F205X", "ROSSETTI", "ANNA");
        person("BNCRSO60C45L219K", "BIANCHI", "ROSA"); // her name, not her surname, starts with ROS
        person("RSSLGU70D01H501Z", "rossi", "luigi");  // stored in lower case: LIKE is case-sensitive
        company("01234567890", "ROSSINI IMPIANTI S.R.L.");
        company("RSSCST81E01H501Y", "COSTRUZIONI RUSSO S.A.S."); // a company with a codice fiscale of its own
        company("09876543210", "ACME S.P.A.");
    }
    QStringList names(const PagedQueryModel &m)
    {
        QStringList out;
        for (int i = 0; i < m.rowCount(); ++i)
            out << m.data(m.index(i, 1)).toString();
        return out;
    }
    qint64 rossi = 0, rossetti = 0;
};

} // namespace

TEST_F(SearchFixture, PrefixOfSurnameOrDenominationAndOfCodeOrderedByName)
{
    struct Case
    {
        QString name, code;
        QStringList found;
    } cases[] = {
        // Surname of natural persons and denomination of the others; not the name.
        {"ROS", "", {"ROSSETTI ANNA", "ROSSI MARIO", "ROSSINI IMPIANTI S.R.L."}},
        // The code alone: both kinds.
        {"", "RSS", {"COSTRUZIONI RUSSO S.A.S.", "ROSSETTI ANNA", "ROSSI MARIO", "rossi luigi"}},
        // Both boxes: both conditions.
        {"ROS", "RSSM", {"ROSSI MARIO"}},
        {"COSTR", "0", {}},
        // The user's wildcards keep their meaning.
        {"R_SSI", "", {"ROSSI MARIO", "ROSSINI IMPIANTI S.R.L."}},
        {"%RUSSO", "", {"COSTRUZIONI RUSSO S.A.S."}},
        {"ZZZ", "", {}},
    };
    ApplicantSearchModel m(*dm);
    for (const Case &c : cases) {
        SCOPED_TRACE((c.name + " / " + c.code).toStdString());
        ASSERT_TRUE(m.Cerca(c.name, c.code));
        EXPECT_EQ(names(m), c.found);
        EXPECT_EQ(ApplicantSearch::countText(m.rowCount()), "Nominativi trovati: " + QString::number(c.found.size()));
    }
    EXPECT_TRUE(sui.shown.isEmpty());
    EXPECT_EQ(ApplicantSearch::countText(0), "Nominativi trovati: 0");

    // The code column and the key of a found row.
    ASSERT_TRUE(m.Cerca("ROSSI", ""));
    EXPECT_EQ(m.headerData(0, Qt::Horizontal).toString(), "Codice Fiscale / P.IVA");
    EXPECT_EQ(m.headerData(1, Qt::Horizontal).toString(), "Cognome / Denominazione");
    EXPECT_EQ(m.data(m.index(0, 0)).toString(), "RSSMRA80A01H501U");
    EXPECT_EQ(m.keyAt(0), rossi);
}

TEST_F(SearchFixture, ApplicantsHoldingAFieldOfTheOtherKindAreFoundToo)
{
    // A natural person found by a denomination that is not the start of her name, and a company by
    // a surname: the search cannot rely on the name order then, and still finds them in it.
    const qint64 p = person("VRDNNA80A41H501X", "VERDI", "ANNA");
    sql().exec("UPDATE RICHIEDENTI SET DENOMINAZIONE = 'ROSA DEI VENTI' WHERE ID_RICHIEDENTE = ?", {p});
    ApplicantSearchModel m(*dm);
    ASSERT_TRUE(m.Cerca("ROS", ""));
    EXPECT_EQ(names(m), QStringList({"ROSSETTI ANNA", "ROSSI MARIO", "ROSSINI IMPIANTI S.R.L.", "VERDI ANNA"}));
    sql().exec("UPDATE RICHIEDENTI SET DENOMINAZIONE = NULL WHERE ID_RICHIEDENTE = ?", {p});
    const qint64 a = company("11111111111", "ZETA S.N.C.");
    sql().exec("UPDATE RICHIEDENTI SET PERS_COGNOME = 'ROSATI' WHERE ID_RICHIEDENTE = ?", {a});
    ASSERT_TRUE(m.Cerca("ROS", ""));
    EXPECT_EQ(names(m), QStringList({"ROSSETTI ANNA", "ROSSI MARIO", "ROSSINI IMPIANTI S.R.L.", "ZETA S.N.C."}));
}

TEST_F(SearchFixture, LongResultsReadPageByPageInNameOrder)
{
    Transaction tr(sql());
    for (int i = 0; i < 400; ++i) {
        if (i % 4 == 0)
            company(QString::number(20000000000LL + i), QStringLiteral("ROSSO %1 S.R.L.").arg((i * 37) % 400, 3, 10, QLatin1Char('0')));
        else
            person(QStringLiteral("RSS%1").arg(i, 13, 10, QLatin1Char('0')), "ROSSI", QStringLiteral("N%1").arg((i * 53) % 100));
    }
    tr.commit();
    for (const QString &typed : {QString("ROSS"), QString("ROSS_")}) {
        SCOPED_TRACE(typed.toStdString());
        const ApplicantSearch::Condition c = ApplicantSearch::condition(typed, "");
        QStringList expected;
        Statement s(sql(), "SELECT " + ApplicantSearch::nameExpression() + " AS N FROM RICHIEDENTI R WHERE " + c.where
                               + " ORDER BY N, R.ID_RICHIEDENTE");
        s.bindAll(c.params);
        while (s.step())
            expected << s.value(0).toString();
        ASSERT_GT(expected.size(), 2 * PagedQueryModel::PageSize);

        ApplicantSearchModel forward(*dm);
        ASSERT_TRUE(forward.Cerca(typed, ""));
        EXPECT_EQ(names(forward), expected);
        // From the end backwards, as a jump to the bottom of the list reads it.
        ApplicantSearchModel backward(*dm);
        ASSERT_TRUE(backward.Cerca(typed, ""));
        QStringList reversed;
        for (int i = backward.rowCount() - 1; i >= 0; --i)
            reversed.prepend(backward.data(backward.index(i, 1)).toString());
        EXPECT_EQ(reversed, expected);
    }
}

TEST_F(SearchFixture, EmptyBoxesAreRefusedAndKeepThePreviousResult)
{
    ApplicantSearchModel m(*dm);
    ASSERT_TRUE(m.Cerca("ROSSE", ""));
    ASSERT_EQ(m.rowCount(), 1);
    EXPECT_FALSE(m.Cerca("   ", " "));
    EXPECT_EQ(sui.texts("message"), QStringList{"Compilare almeno un campo (anche parzialmente)."});
    EXPECT_EQ(m.rowCount(), 1);
    m.Pulisci();
    EXPECT_EQ(m.rowCount(), 0);
    EXPECT_FALSE(m.isActive());
}

TEST_F(SearchFixture, ListsReadTheRegisterAlongItsIndexes)
{
    // The selection list walks the name index instead of sorting the register; the search finds its
    // rows through the prefix indexes and sorts only those. Both state the name the way the index does.
    auto plan = [&](const QString &query) {
        Statement s(sql(), "EXPLAIN QUERY PLAN " + query);
        QStringList steps;
        while (s.step())
            steps << s.value(3).toString();
        return steps.join(" | ");
    };
    const QString name = ApplicantSearch::nameExpression();
    const QString selection = plan("SELECT R.ID_RICHIEDENTE FROM RICHIEDENTI R WHERE (" + name + ", R.ID_RICHIEDENTE) > ('M', 0) AND ("
                                   + name + ") >= ('M') ORDER BY " + name + ", R.ID_RICHIEDENTE LIMIT 128");
    EXPECT_TRUE(selection.contains("RICHIEDENTI_NOME_IDX")) << selection.toStdString();
    EXPECT_FALSE(selection.contains("TEMP B-TREE")) << selection.toStdString();

    const ApplicantSearch::Condition c = ApplicantSearch::condition("ROS", "");
    Statement s(sql(), "EXPLAIN QUERY PLAN SELECT R.ID_RICHIEDENTE FROM RICHIEDENTI R WHERE " + c.where + " ORDER BY +(" + name
                           + "), +R.ID_RICHIEDENTE LIMIT 128");
    s.bindAll(c.params);
    QStringList steps;
    while (s.step())
        steps << s.value(3).toString();
    const QString search = steps.join(" | ");
    EXPECT_TRUE(search.contains("RICHIEDENTI_COGNOME_IDX") && search.contains("RICHIEDENTI_DENOM_IDX")) << search.toStdString();
    EXPECT_FALSE(search.contains("RICHIEDENTI_NOME_IDX")) << search.toStdString();

    // Whether any applicant mixes the two kinds is read from an index of those rows alone.
    const QString mixed = plan("SELECT EXISTS (SELECT 1 FROM RICHIEDENTI WHERE " + ApplicantSearch::mixedCondition() + ")");
    EXPECT_TRUE(mixed.contains("RICHIEDENTI_MISTI_IDX")) << mixed.toStdString();
    EXPECT_TRUE(ApplicantSearch::nameOrderFollowsPrefix(data->Database1));
}

TEST_F(SearchFixture, SelectionListsEveryApplicantByNameAndLeavesTheChoiceInRicerca)
{
    ApplicantSelectionModel list(*dm);
    EXPECT_EQ(names(list), QStringList({"ACME S.P.A.", "BIANCHI ROSA", "COSTRUZIONI RUSSO S.A.S.", "ROSSETTI ANNA", "ROSSI MARIO",
                                        "ROSSINI IMPIANTI S.R.L.", "rossi luigi"}));

    Ricerca.ID = 77;
    ScriptedSelection annulla; // "Annulla" or the close box
    ApplicantSelection::SelectRichiedente(annulla);
    EXPECT_EQ(annulla.idWhenShown, 0);
    EXPECT_EQ(Ricerca.ID, 0);

    EXPECT_TRUE(ApplicantSelection::choose(list, 3));
    EXPECT_EQ(Ricerca.ID, rossetti);
    ApplicantSelection::cancel();
    EXPECT_EQ(Ricerca.ID, 0);

    // An empty list chooses nothing and keeps the dialog open.
    sql().exec("DELETE FROM RICHIEDENTI");
    list.reload();
    EXPECT_FALSE(ApplicantSelection::choose(list, 0));
    EXPECT_EQ(Ricerca.ID, 0);
}

TEST_F(SearchFixture, DoubleClickOpensTheApplicantsDialogUnlessItIsGone)
{
    ScriptedApplicantDialogs dialogs;
    dialogs.steps << [] {
        dm->ttRICHIEDENTI->setFieldValue("PERS_NOME", "MARIO GIUSEPPE");
        return true;
    };
    EXPECT_TRUE(ApplicantSearch::openApplicant(rossi, dialogs));
    EXPECT_EQ(dialogs.calls, QStringList{"persona"});
    EXPECT_EQ(sql().scalar("SELECT PERS_NOME FROM RICHIEDENTI WHERE ID_RICHIEDENTE = ?", {rossi}).toString(), "MARIO GIUSEPPE");

    sql().exec("DELETE FROM RICHIEDENTI WHERE ID_RICHIEDENTE = ?", {rossetti});
    EXPECT_FALSE(ApplicantSearch::openApplicant(rossetti, dialogs));
    EXPECT_EQ(dialogs.calls.size(), 1);
    EXPECT_EQ(dm->ttRICHIEDENTI->state(), TableCursor::State::Browse);
}
