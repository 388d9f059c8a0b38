#pragma once

class QWidget;

// What the main window reaches of the communications.
namespace CommunicationActions {
inline constexpr bool Ready = true;
// A year link: creates the next open communication of the year and opens its window, or refuses.
void OpenNewCommunication(QWidget *parent, int year);
// A double click on the list: opens the window on the current communication of dm->ttDENUNCE.
void OpenCurrentCommunication(QWidget *parent);
} // namespace CommunicationActions
