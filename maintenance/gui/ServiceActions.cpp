#include "maintenance/gui/ServiceActions.h"

namespace ServiceActions {
void Aggiornamento(QWidget *) {}
void Scrivici(QWidget *) {}
void Guida(QWidget *) {}
void Normativa(QWidget *) {}
void Storico(QWidget *) {}
} // namespace ServiceActions
