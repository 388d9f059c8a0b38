#pragma once

#include <QDialog>

// "Tipo di richiesta": the kind of a new applicant. No close box and no cancel: the user must choose.
class TdlgSelTipoRich : public QDialog
{
    Q_OBJECT
public:
    explicit TdlgSelTipoRich(QWidget *parent = nullptr);
    // "P" (Persona Fisica) or "A" (Persona non fisica) once chosen.
    QString tipo() const { return m_tipo; }

public slots:
    void reject() override; // Esc: the picker stays

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void choose(const QString &tipo);
    QString m_tipo;
};
