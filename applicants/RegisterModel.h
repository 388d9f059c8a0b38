#pragma once

#include "data/PagedQueryModel.h"

class Tdm;

// The register window's list: every applicant, both kinds, in order of codice fiscale (applicants
// without one first), read in pages through the index on PERS_CF. Follows the changes of
// dm->ttRICHIEDENTI.
class RegisterModel : public PagedQueryModel
{
    Q_OBJECT
public:
    explicit RegisterModel(Tdm &data, QObject *parent = nullptr);
    void reload() override;

private:
    Tdm &m_data;
};
