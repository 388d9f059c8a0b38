#include "communications/gui/CommunicationActions.h"

namespace CommunicationActions {
void OpenNewCommunication(QWidget *, int) {}
void OpenCurrentCommunication(QWidget *) {}
} // namespace CommunicationActions
