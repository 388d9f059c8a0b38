#include "app/gui/TdlgImpostazioni.h"

#include "app/SettingsValidation.h"
#include "data/Tdm.h"
#include "data/gui/EditRules.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit *makeEdit(QWidget *parent, const char *name, int maxLength)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    applyTextRules(e, maxLength, true);
    return e;
}

} // namespace

TdlgImpostazioni::TdlgImpostazioni(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("dlgImpostazioni"));
    setWindowTitle(QStringLiteral("Impostazioni"));
    setModal(true);
    setStyleSheet(QStringLiteral("TdlgImpostazioni { border: 1px solid #0d3b73; }"));

    edenom = makeEdit(this, "edenom", 50);
    eindirizzo = makeEdit(this, "eindirizzo", 40);
    ecap = makeEdit(this, "ecap", 5);
    ecitta = makeEdit(this, "ecitta", 40);
    eBelf = makeEdit(this, "eBelf", 4);
    eprov = makeEdit(this, "eprov", 2);
    ecodfisc = makeEdit(this, "ecodfisc", 11);
    etel = makeEdit(this, "etel", 16);
    efax = makeEdit(this, "efax", 16);
    eemail = makeEdit(this, "eemail", 80);
    eresp = makeEdit(this, "eresp", 50);

    bSalvaConf = new QPushButton(QStringLiteral("Salva"), this);
    bSalvaConf->setObjectName(QStringLiteral("bSalvaConf"));
    bSalvaConf->setToolTip(QStringLiteral("Salva le modifiche apportate."));
    bSalvaConf->setAutoDefault(false);
    bAnnullaConf = new QPushButton(QStringLiteral("Annulla"), this);
    bAnnullaConf->setObjectName(QStringLiteral("bAnnullaConf"));
    bAnnullaConf->setToolTip(QStringLiteral("Esce senza salvare le modifiche.\nVengono ripristinate le impostazioni correnti."));
    bAnnullaConf->setAutoDefault(false);
    connect(bSalvaConf, &QPushButton::clicked, this, &TdlgImpostazioni::bSalvaConfClick);
    connect(bAnnullaConf, &QPushButton::clicked, this, &TdlgImpostazioni::bAnnullaConfClick);

    auto *title = new QLabel(QStringLiteral("Impostazione dei dati del Comune"), this);
    QFont tf = title->font();
    tf.setBold(true);
    tf.setPointSize(tf.pointSize() + 3);
    title->setFont(tf);
    title->setAlignment(Qt::AlignCenter);

    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    int row = 0;
    auto labelled = [&](const QString &label, QLineEdit *edit, int column, int span) {
        grid->addWidget(new QLabel(label, this), row, column, 1, span);
        grid->addWidget(edit, row + 1, column, 1, span);
    };
    labelled(QStringLiteral("Denominazione dell'Ente (es. COMUNE DI ROMA)"), edenom, 0, 4);
    row += 2;
    labelled(QStringLiteral("Indirizzo"), eindirizzo, 0, 4);
    row += 2;
    labelled(QStringLiteral("C.A.P."), ecap, 0, 1);
    labelled(QStringLiteral("Città"), ecitta, 1, 1);
    labelled(QStringLiteral("Cod. Catastale"), eBelf, 2, 1);
    labelled(QStringLiteral("Prov."), eprov, 3, 1);
    row += 2;
    labelled(QStringLiteral("Codice fiscale dell'Ente (max 11 caratteri)"), ecodfisc, 0, 4);
    row += 2;
    labelled(QStringLiteral("Telefono"), etel, 0, 2);
    labelled(QStringLiteral("FAX"), efax, 2, 2);
    row += 2;
    labelled(QStringLiteral("Indirizzo e-mail"), eemail, 0, 4);
    row += 2;
    labelled(QStringLiteral("Responsabile"), eresp, 0, 4);
    grid->setColumnStretch(1, 3);
    ecap->setMaximumWidth(80);
    eBelf->setMaximumWidth(90);
    eprov->setMaximumWidth(60);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bSalvaConf);
    buttons->addWidget(bAnnullaConf);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->addWidget(title);
    layout->addSpacing(8);
    layout->addLayout(grid);
    layout->addSpacing(10);
    layout->addLayout(buttons);
    setMinimumWidth(520);

    QWidget::setTabOrder(bSalvaConf, bAnnullaConf);
    QWidget::setTabOrder(bAnnullaConf, edenom);
    QWidget *order[] = {edenom, eindirizzo, ecap, ecitta, eBelf, eprov, ecodfisc, etel, efax, eemail, eresp};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
    EnterAsTab::install(this);
}

void TdlgImpostazioni::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TdlgImpostazioni::FormShow()
{
    edenom->setText(DatiEnte.Denominazione);
    eindirizzo->setText(DatiEnte.Indirizzo);
    ecap->setText(DatiEnte.Cap);
    ecitta->setText(DatiEnte.Citta);
    eprov->setText(DatiEnte.Provincia);
    ecodfisc->setText(DatiEnte.CodiceFiscale);
    etel->setText(DatiEnte.Tel);
    efax->setText(DatiEnte.Fax);
    eemail->setText(DatiEnte.Email);
    eresp->setText(DatiEnte.Responsabile);
    eBelf->setText(DatiEnte.Belfiore);
}

TDatiEnte TdlgImpostazioni::typed() const
{
    TDatiEnte d;
    d.Denominazione = edenom->text();
    d.Indirizzo = eindirizzo->text();
    d.Cap = ecap->text();
    d.Citta = ecitta->text();
    d.Provincia = eprov->text();
    d.CodiceFiscale = ecodfisc->text();
    d.Tel = etel->text();
    d.Fax = efax->text();
    d.Email = eemail->text();
    d.Responsabile = eresp->text();
    d.Belfiore = eBelf->text();
    return d;
}

void TdlgImpostazioni::bSalvaConfClick()
{
    const TDatiEnte d = typed();
    const QString problems = settingsProblems(d);
    if (!problems.isEmpty()) {
        Tdm::ShowMsg(problems);
        return;
    }
    DatiEnte = d;
    accept();
}

void TdlgImpostazioni::bAnnullaConfClick()
{
    reject();
}
