#pragma once

#include "data/PagedQueryModel.h"

class Tdm;

// The communication window's grid: the requests of the current communication with their applicant's
// surname, name and denomination, in descending order of surname (requests without one last), read in
// pages. Follows dm->ttDENUNCE, dm->ttRICHIESTE and the applicants.
class RequestsModel : public PagedQueryModel
{
    Q_OBJECT
public:
    // Above this many requests the order comes from the index on the surnames instead of a sort.
    static constexpr int LargeCommunication = 20000;

    explicit RequestsModel(Tdm &data, QObject *parent = nullptr);
    void reload() override;
    qint64 communication() const { return m_denuncia; }

private:
    void masterMoved();

    Tdm &m_data;
    qint64 m_denuncia = -1;
};
