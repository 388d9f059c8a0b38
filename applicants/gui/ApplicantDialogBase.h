#pragma once

#include "applicants/Applicants.h"

#include <QDialog>
#include <QList>

class ComuniListModel;
class MunicipalityCombo;
class QGridLayout;
class QLineEdit;
class QToolButton;

// What the two applicant dialogs share: the toolbar "Salva" / "Annulla", one page of fields bound to
// the current row of dm->ttRICHIEDENTI (every keystroke goes into the row, so nothing typed is lost),
// the municipality drop-down with its Del, and Enter moving on as Tab does.
class ApplicantDialogBase : public QDialog
{
    Q_OBJECT
public:
    // The message "Salva" shows for the row as it is ("" when it can be saved).
    virtual QString validate() const = 0;

public slots:
    // Takes what is still typed, checks, and closes with OK or shows the problems.
    void salva();

protected:
    ApplicantDialogBase(const QString &caption, const QString &page, Applicants::Kind kind, QWidget *parent);

    QLineEdit *addText(const QString &label, const QString &field, const QString &name, int maxLength, bool upperCase);
    MunicipalityCombo *addMunicipality(const QString &label, const QString &name);
    void addRow(const QString &label, QWidget *field, QWidget *beside = nullptr);
    // Shows the row's values; called whenever the dialog opens and after the row changed beneath.
    virtual void load();
    // Takes what is still being typed into the row.
    virtual void commitTyped();
    void finish(); // after the fields are added

    void showEvent(QShowEvent *event) override;
    void writeField(const QString &field, const QVariant &value);

    Applicants::Kind m_kind;
    QGridLayout *m_form = nullptr;
    MunicipalityCombo *m_comune = nullptr;
    ComuniListModel *m_comuni = nullptr;
    QList<QPair<QLineEdit *, QString>> m_texts;
};
