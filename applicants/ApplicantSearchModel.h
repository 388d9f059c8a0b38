#pragma once

#include "data/PagedQueryModel.h"

class Tdm;

// The result of the search dialog: the applicants whose surname or denomination and code start with
// the typed texts, in order of "Cognome / Denominazione", read in pages. Empty until the first search
// and after "Pulisci". Not refreshed when an applicant changes.
class ApplicantSearchModel : public PagedQueryModel
{
    Q_OBJECT
public:
    explicit ApplicantSearchModel(Tdm &data, QObject *parent = nullptr);

    // "Cerca": false, with the message and the previous result kept, when both boxes are empty.
    bool Cerca(const QString &nameBox, const QString &codeBox);
    // "Pulisci": closes the result, the list empties.
    void Pulisci();
    bool isActive() const { return m_active; }
    // Runs the open search again (tables reopened by maintenance).
    void reload() override;

    static QStringList headers();

private:
    void run();

    Tdm &m_data;
    bool m_active = false;
    QString m_name;
    QString m_code;
};
