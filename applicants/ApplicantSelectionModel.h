#pragma once

#include "data/PagedQueryModel.h"

class Tdm;

// The selection dialog's list: every applicant, in order of "Cognome / Denominazione", read in pages
// along the index on that name, so that it opens and scrolls without reading the whole register.
class ApplicantSelectionModel : public PagedQueryModel
{
    Q_OBJECT
public:
    explicit ApplicantSelectionModel(Tdm &data, QObject *parent = nullptr);
    void reload() override;

private:
    Tdm &m_data;
};
