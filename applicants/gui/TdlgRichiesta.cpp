#include "applicants/gui/TdlgRichiesta.h"

#include "applicants/gui/ProvvedimentoCombo.h"
#include "applicants/gui/QtApplicantDialogs.h"
#include "applicants/gui/RichiestaDateEdit.h"
#include "applicants/gui/TdlgSeleziona.h"
#include "data/Tdm.h"
#include "data/Ui.h"
#include "data/gui/EditRules.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QLineEdit *shownField(QWidget *parent, const char *name, int minimumWidth = 0)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    if (minimumWidth > 0)
        e->setMinimumWidth(minimumWidth);
    return e;
}

QLabel *heading(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

namespace {
// The window has no close box: the toolbar's two buttons are the only ways out.
constexpr Qt::WindowFlags Flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
} // namespace

TdlgRichiesta::TdlgRichiesta(QWidget *parent)
    : QDialog(parent, Flags), m_ownDialogs(std::make_unique<QtApplicantDialogs>(this)), m_ownSelection(new TdlgSeleziona(this))
{
    m_entry = std::make_unique<RequestEntry>(*m_ownDialogs, *m_ownSelection);
    build();
}

TdlgRichiesta::TdlgRichiesta(ApplicantDialogs &applicantDialogs, ApplicantSelectionDialog &selection, QWidget *parent)
    : QDialog(parent, Flags), m_entry(std::make_unique<RequestEntry>(applicantDialogs, selection))
{
    build();
}

void TdlgRichiesta::build()
{
    setObjectName(QStringLiteral("TdlgRichiesta"));
    setWindowTitle(QStringLiteral("Dettaglio richiesta"));
    setModal(true);

    // Toolbar: the only ways out.
    auto *toolbar = new QToolBar(this);
    toolbar->setObjectName(QStringLiteral("ToolBar1"));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_salva = new QToolButton(toolbar);
    m_salva->setObjectName(QStringLiteral("bSalvaEdEsci"));
    m_salva->setText(QStringLiteral("Salva ed esci"));
    m_salva->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    m_salva->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_salva->setToolTip(QStringLiteral("I dati inseriti vengono salvati nel database\r\ne la finestra viene chiusa, con il "
                                       "ritorno alla \r\nscheda che riporta l'elenco delle richieste.\r\n"));
    connect(m_salva, &QToolButton::clicked, this, &TdlgRichiesta::SalvaEdEsci);
    m_esci = new QToolButton(toolbar);
    m_esci->setObjectName(QStringLiteral("bEsciSenzaSalvare"));
    m_esci->setText(QStringLiteral("Esci senza salvare"));
    m_esci->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    m_esci->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_esci->setToolTip(QStringLiteral("Ritorna alla scheda con l'elenco delle richieste \r\nsenza salvare i dati fino ad ora "
                                      "inseriti.\r\n"));
    connect(m_esci, &QToolButton::clicked, this, &TdlgRichiesta::EsciSenzaSalvare);
    toolbar->addWidget(m_salva);
    toolbar->addSeparator();
    toolbar->addWidget(m_esci);

    auto *pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl1"));
    auto *page = new QWidget(pages);
    page->setObjectName(QStringLiteral("tsRichiesta"));
    pages->addTab(page, QStringLiteral("Avente causa / dati del Provvedimento"));

    // The applicant: typed code, or picked from the register.
    m_richsearch = new QLineEdit(page);
    m_richsearch->setObjectName(QStringLiteral("richsearch"));
    applyTextRules(m_richsearch, 16, true);
    m_richsearch->setMinimumWidth(m_richsearch->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 17);
    auto *lSearch = new QLabel(QStringLiteral("Codice fiscale del richiedente:"), page);
    lSearch->setBuddy(m_richsearch);
    auto *lInvio = new QLabel(QStringLiteral(" CLICCARE INVIO per l'inserimento dei dati"), page);
    lInvio->setObjectName(QStringLiteral("lblInvio"));
    m_seleziona = new QPushButton(QStringLiteral("Seleziona da Elenco"), page);
    m_seleziona->setObjectName(QStringLiteral("bSelezionaElenco"));
    m_seleziona->setAutoDefault(false);
    m_seleziona->setToolTip(QStringLiteral("<b>Anagrafica richiedenti</b><br>Apre una elenco dei soggetti in archivio tra "
                                           "cui scegliere."));
    connect(m_seleziona, &QPushButton::clicked, this, &TdlgRichiesta::SelezionaDaElenco);
    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(lSearch);
    searchRow->addWidget(m_richsearch);
    searchRow->addWidget(lInvio);
    searchRow->addStretch(1);
    searchRow->addWidget(m_seleziona);

    // "Dati del soggetto": read-only, from the request's lookups.
    auto *soggetto = new QGroupBox(QStringLiteral("Dati del soggetto"), page);
    soggetto->setObjectName(QStringLiteral("gbSoggetto"));
    m_cognome = shownField(soggetto, "dbCognome", 160);
    m_nome = shownField(soggetto, "dbNome", 140);
    m_natoA = shownField(soggetto, "dbNatoA", 160);
    m_natoIl = shownField(soggetto, "dbNatoIl", 90);
    m_sesso = shownField(soggetto, "dbSesso", 30);
    m_denominazione = shownField(soggetto, "dbDenominazione", 300);
    m_sede = shownField(soggetto, "dbSede", 160);
    m_codFis = shownField(soggetto, "dbCodFis", 160);
    auto *g = new QGridLayout(soggetto);
    g->addWidget(heading(QStringLiteral("Persona fisica:"), soggetto), 0, 0, 1, 6);
    g->addWidget(new QLabel(QStringLiteral("Cognome:"), soggetto), 1, 0);
    g->addWidget(m_cognome, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("Nome:"), soggetto), 1, 2);
    g->addWidget(m_nome, 1, 3, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Nato a:"), soggetto), 2, 0);
    g->addWidget(m_natoA, 2, 1);
    g->addWidget(new QLabel(QStringLiteral("In data:"), soggetto), 2, 2);
    g->addWidget(m_natoIl, 2, 3);
    g->addWidget(new QLabel(QStringLiteral("Sesso:"), soggetto), 2, 4);
    g->addWidget(m_sesso, 2, 5);
    g->addWidget(heading(QStringLiteral("Persona non fisica:"), soggetto), 3, 0, 1, 6);
    g->addWidget(new QLabel(QStringLiteral("Denominazione:"), soggetto), 4, 0);
    g->addWidget(m_denominazione, 4, 1, 1, 5);
    g->addWidget(new QLabel(QStringLiteral("Sede - Comune:"), soggetto), 5, 0);
    g->addWidget(m_sede, 5, 1);
    g->addWidget(new QLabel(QStringLiteral("Cod.Fis. / P.Iva:"), soggetto), 6, 0);
    g->addWidget(m_codFis, 6, 1);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);

    // "Dati del Provvedimento".
    auto *provv = new QGroupBox(QStringLiteral("Dati del Provvedimento"), page);
    provv->setObjectName(QStringLiteral("gbProvvedimento"));
    auto *attenzione = heading(QStringLiteral("Attenzione : tutti i campi sono obbligatori"), provv);
    attenzione->setObjectName(QStringLiteral("lblAttenzione"));
    m_codice = new ProvvedimentoCombo(provv);
    m_codice->setObjectName(QStringLiteral("cbCodice"));
    connect(m_codice, &ProvvedimentoCombo::codeChosen, this,
            [this](const QString &code) { setField(QStringLiteral("CODICE"), code.isEmpty() ? QVariant() : QVariant(code)); });
    m_numero = new QLineEdit(provv);
    m_numero->setObjectName(QStringLiteral("eNumero"));
    m_numero->setMaxLength(16);
    m_numero->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,16}")), m_numero));
    m_numero->setMaximumWidth(m_numero->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 18 + 12);
    connect(m_numero, &QLineEdit::textEdited, this,
            [this](const QString &text) { setField(QStringLiteral("NUMERO"), text.isEmpty() ? QVariant() : QVariant(text)); });
    // The dates reach the row as soon as a whole date is typed or the field is emptied; the fields
    // refuse what cannot become a date.
    m_dataInizio = new RichiestaDateEdit(provv);
    m_dataInizio->setObjectName(QStringLiteral("eDataInizio"));
    connect(m_dataInizio, &DateLineEdit::dateEdited, this,
            [this](const QDate &d) { setField(QStringLiteral("DATA_INIZIO"), d.isValid() ? QVariant(d) : QVariant()); });
    m_dataFine = new RichiestaDateEdit(provv);
    m_dataFine->setObjectName(QStringLiteral("eDataFine"));
    connect(m_dataFine, &DateLineEdit::dateEdited, this,
            [this](const QDate &d) { setField(QStringLiteral("DATA_FINE"), d.isValid() ? QVariant(d) : QVariant()); });
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Codice "), m_codice);
    form->addRow(QStringLiteral("Numero:"), m_numero);
    form->addRow(QStringLiteral("Data inizio :"), m_dataInizio);
    form->addRow(QStringLiteral("Data fine :"), m_dataFine);
    auto *pv = new QVBoxLayout(provv);
    pv->addWidget(attenzione);
    pv->addLayout(form);

    auto *pl = new QVBoxLayout(page);
    pl->addLayout(searchRow);
    pl->addWidget(soggetto);
    pl->addWidget(provv);
    pl->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(toolbar);
    layout->addWidget(pages);

    setTabOrder(m_richsearch, m_codice);
    setTabOrder(m_codice, m_numero);
    setTabOrder(m_numero, m_dataInizio);
    setTabOrder(m_dataInizio, m_dataFine);
    setTabOrder(m_dataFine, m_seleziona);

    EnterAsTab::install(this);
    // Installed after Enter-as-Tab, so it sees Enter in the box first.
    m_richsearch->installEventFilter(this);
    connect(dm->ttRICHIESTE, &TableCursor::currentChanged, this, &TdlgRichiesta::showApplicant);
}

TdlgRichiesta::~TdlgRichiesta() = default;

void TdlgRichiesta::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        m_closing = false;
        m_entry->open();
        m_richsearch->clear();
        openRow();
        m_richsearch->setFocus();
    }
    QDialog::showEvent(event);
}

void TdlgRichiesta::openRow()
{
    const TableCursor *r = dm->ttRICHIESTE;
    m_codice->fill();
    m_codice->setCode(r->text(QStringLiteral("CODICE")));
    m_numero->setText(r->text(QStringLiteral("NUMERO")));
    m_dataInizio->setDate(r->date(QStringLiteral("DATA_INIZIO")));
    m_dataFine->setDate(r->date(QStringLiteral("DATA_FINE")));
    showApplicant();
}

void TdlgRichiesta::showApplicant()
{
    const RequestEntry::Applicant a = RequestEntry::applicant();
    m_cognome->setText(a.cognome);
    m_nome->setText(a.nome);
    m_natoA->setText(a.comuneNascita);
    m_natoIl->setText(a.nascita.isValid() ? a.nascita.toString(QStringLiteral("dd/MM/yyyy")) : QString());
    m_sesso->setText(a.sesso);
    m_denominazione->setText(a.denominazione);
    m_sede->setText(a.comuneSede);
    m_codFis->setText(a.codiceFiscale);
}

void TdlgRichiesta::setField(const QString &name, const QVariant &value)
{
    guarded([&] { dm->ttRICHIESTE->setFieldValue(name, value); });
}

void TdlgRichiesta::takeTyped()
{
    // The number, the code and whole dates are in the row already; a date left half typed goes back
    // to the date the row holds, as when its field is left.
    m_dataInizio->setDate(dm->ttRICHIESTE->date(QStringLiteral("DATA_INIZIO")));
    m_dataFine->setDate(dm->ttRICHIESTE->date(QStringLiteral("DATA_FINE")));
}

void TdlgRichiesta::SalvaEdEsci()
{
    takeTyped();
    bool saved = false;
    guarded([&] { saved = m_entry->saveAndExit(); });
    if (saved) {
        m_closing = true;
        accept();
    }
}

void TdlgRichiesta::EsciSenzaSalvare()
{
    guarded([&] { m_entry->exitWithoutSaving(); });
    m_closing = true;
    accept();
}

void TdlgRichiesta::SelezionaDaElenco()
{
    guarded([&] { m_entry->selectFromList(); });
}

void TdlgRichiesta::reject()
{
    // Esc: the only ways out are the two buttons of the toolbar.
}

void TdlgRichiesta::closeEvent(QCloseEvent *event)
{
    if (!m_closing)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

bool TdlgRichiesta::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_richsearch && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
            bool found = false;
            guarded([&] { found = m_entry->autosearchRich(m_richsearch->text()); });
            if (found) {
                QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
                QCoreApplication::sendEvent(m_richsearch, &tab);
            } else {
                m_richsearch->setFocus();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
