#include "applicants/gui/TdlgRicerca.h"

#include "applicants/ApplicantSearch.h"
#include "applicants/ApplicantSearchModel.h"
#include "applicants/gui/QtApplicantDialogs.h"
#include "data/Tdm.h"
#include "data/Ui.h"
#include "data/gui/EditRules.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QString hint(const QString &title, const QString &text)
{
    return QStringLiteral("<b>%1</b><br>%2").arg(title.toHtmlEscaped(), text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")));
}

} // namespace

TdlgRicerca::TdlgRicerca(QWidget *parent) : QDialog(parent), m_ownDialogs(std::make_unique<QtApplicantDialogs>(this))
{
    m_applicantDialogs = m_ownDialogs.get();
    build();
}

TdlgRicerca::TdlgRicerca(ApplicantDialogs &applicantDialogs, QWidget *parent) : QDialog(parent), m_applicantDialogs(&applicantDialogs)
{
    build();
}

TdlgRicerca::~TdlgRicerca() = default;

void TdlgRicerca::build()
{
    setObjectName(QStringLiteral("TdlgRicerca"));
    setWindowTitle(QStringLiteral("Ricerca in anagrafica"));
    setModal(true);

    auto *criteria = new QGroupBox(QStringLiteral("Criteri di ricerca"), this);
    m_cognome = new QLineEdit(criteria);
    m_cognome->setObjectName(QStringLiteral("eCognome"));
    applyTextRules(m_cognome, 50, true);
    m_codice = new QLineEdit(criteria);
    m_codice->setObjectName(QStringLiteral("eCodFis"));
    applyTextRules(m_codice, 16, true);
    auto *lCognome = new QLabel(QStringLiteral("Cognome/Denom:"), criteria);
    lCognome->setBuddy(m_cognome);
    auto *lCodice = new QLabel(QStringLiteral("Codice Fiscale / P.I.:"), criteria);
    lCodice->setBuddy(m_codice);

    m_cerca = new QPushButton(QStringLiteral("Cerca"), criteria);
    m_cerca->setObjectName(QStringLiteral("bCerca"));
    m_cerca->setToolTip(hint(QStringLiteral("Esecuzione ricerca"),
                             QStringLiteral("Cerca gli elementi in archivio in base ai criteri selezionati.\n\n"
                                            "Eseguita la ricerca, un doppio clic su una riga trovata ne apre la scheda.")));
    m_cerca->setDefault(true);
    connect(m_cerca, &QPushButton::clicked, this, &TdlgRicerca::Cerca);
    m_pulisci = new QPushButton(QStringLiteral("Pulisci"), criteria);
    m_pulisci->setObjectName(QStringLiteral("bPulisci"));
    m_pulisci->setAutoDefault(false);
    m_pulisci->setToolTip(hint(QStringLiteral("Azzera ricerca"), QStringLiteral("Azzera il risultato della ricerca")));
    connect(m_pulisci, &QPushButton::clicked, this, &TdlgRicerca::Pulisci);

    auto *grid = new QGridLayout(criteria);
    grid->addWidget(lCognome, 0, 0);
    grid->addWidget(m_cognome, 0, 1);
    grid->addWidget(m_cerca, 0, 2);
    grid->addWidget(lCodice, 1, 0);
    grid->addWidget(m_codice, 1, 1);
    grid->addWidget(m_pulisci, 1, 2);
    grid->setColumnStretch(1, 1);

    m_trovati = new QLabel(this);
    m_trovati->setObjectName(QStringLiteral("lblTrovati"));

    m_model = new ApplicantSearchModel(*dm, this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("gridRicerca"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setAlternatingRowColors(true);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setColumnWidth(0, 170);
    m_grid->setWordWrap(false);
    connect(m_grid, &QTableView::doubleClicked, this, &TdlgRicerca::openFound);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(criteria);
    layout->addWidget(m_trovati);
    layout->addWidget(m_grid, 1);
    resize(640, 500);
}

void TdlgRicerca::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        Pulisci();
        m_cognome->clear();
        m_codice->clear();
        m_trovati->clear();
        m_cognome->setFocus();
    }
    QDialog::showEvent(event);
}

void TdlgRicerca::Cerca()
{
    guarded([&] {
        if (m_model->Cerca(m_cognome->text(), m_codice->text())) {
            m_trovati->setText(ApplicantSearch::countText(m_model->rowCount()));
            if (m_model->rowCount() > 0)
                m_grid->selectRow(0);
        }
    });
}

void TdlgRicerca::Pulisci()
{
    m_model->Pulisci();
}

void TdlgRicerca::openFound(const QModelIndex &index)
{
    if (!index.isValid() || m_model->rowCount() == 0)
        return;
    const qint64 id = m_model->keyAt(index.row());
    guarded([&] { ApplicantSearch::openApplicant(id, *m_applicantDialogs); });
}
