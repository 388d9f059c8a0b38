#pragma once

#include <QDialog>
#include <functional>

class QPushButton;
class QTableView;
class RegisterModel;

// "Anagrafica Richiedenti": every applicant, both kinds, by codice fiscale, with "Nuovo", "Modifica ",
// "Elimina", "Stampa" and "Uscita". The list's current row is dm->ttRICHIEDENTI's current row.
class TfrmRichPers : public QDialog
{
    Q_OBJECT
public:
    // "Stampa" runs PrintRichiedenti, which the printout wires here once at start-up; until then the
    // button is disabled.
    static std::function<void(QWidget *parent)> &printHandler();

    explicit TfrmRichPers(QWidget *parent = nullptr);

    QTableView *grid() const { return m_grid; }
    RegisterModel *model() const { return m_model; }

public slots:
    void nuovo();
    void modifica();
    void elimina();
    void stampa();

private:
    void currentRowChanged();
    void followCursor();
    void updateButtons();

    RegisterModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QPushButton *m_nuovo = nullptr;
    QPushButton *m_modifica = nullptr;
    QPushButton *m_elimina = nullptr;
    QPushButton *m_stampa = nullptr;
};
