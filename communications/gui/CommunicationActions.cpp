#include "communications/gui/CommunicationActions.h"

#include "communications/Communications.h"
#include "communications/gui/TdlgDenunce.h"
#include "data/Tdm.h"

namespace CommunicationActions {

void OpenNewCommunication(QWidget *parent, int year)
{
    if (!Communications::NewCommunication(year)) {
        Tdm::ShowMsg(QStringLiteral("Operazione annullata. E' probabile che esiste una comunicazione ancora aperta per l'anno ")
                     + QString::number(year));
        return;
    }
    TdlgDenunce window(parent);
    window.exec();
}

void OpenCurrentCommunication(QWidget *parent)
{
    const TableCursor *d = dm->ttDENUNCE;
    if (!d->isOpen() || d->isEmpty())
        return;
    TdlgDenunce window(parent);
    window.exec();
}

} // namespace CommunicationActions
