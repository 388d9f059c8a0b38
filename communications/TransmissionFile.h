#pragma once

#include <QString>

// Where the creation of a transmission file reports how far it got (the communication window's bar).
class TransmissionProgress
{
public:
    virtual ~TransmissionProgress() = default;
    virtual void setMaximum(int maximum) = 0;
    virtual void setValue(int value) = 0;
};

// "Crea file": writes the transmission file of dm->ttDENUNCE's current communication into
// AppPath/Trasmissioni, then records its path and the state "C". The request on which
// dm->ttRICHIESTE stands is the "selected request" of CheckEnteData. Every refusal and failure speaks
// through the Ui and leaves the communication, and any earlier file of the same name, unchanged.
// Returns true when the file was created. A file that cannot be opened at all raises an exception
// for the default error display.
bool CreateTransmissionFile(TransmissionProgress *progress = nullptr);

// The public body's data and the selected request's applicant reference; true when in order,
// otherwise the list of problems has been shown.
bool CheckEnteData();

// "TARVIDO_<anno>_<progressivo>.txt"
QString TransmissionFileName(int anno, int progressivo);
