#pragma once

class QWidget;

// actAggiornamento, actScrivici, actGuida, actNormativa, actStorico.
namespace ServiceActions {
inline constexpr bool Ready = true;
void Aggiornamento(QWidget *parent); // modal; returns when the update dialog has closed
void Scrivici(QWidget *parent);
void Guida(QWidget *parent);
void Normativa(QWidget *parent);
void Storico(QWidget *parent);
} // namespace ServiceActions
