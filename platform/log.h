#pragma once
// The program's log, for the technician: what went wrong on a workstation after
// the box was closed. One line per event on standard error, which a desktop
// session's journal keeps:
//
//   2024-05-02 14:03:11 capsulas: <the program's text in UTF-8>
//
// Logged: every message shown while the program starts, every error message,
// every file or database write that failed. Nothing else, so that a normal run
// leaves standard error empty.
#include <QDateTime>
#include <functional>
#include <string>

namespace plataforma {

// One event; the text is Windows-1252, its line breaks become " / ".
void anotaNoLog(const std::string& texto);

// The line written for an event (UTF-8, without the line end).
std::string linhaLog(const QDateTime& momento, const std::string& texto);

// Tests: the lines go to this function instead of standard error (nullptr restores it).
void defineDestinoLog(std::function<void(const std::string& linha)> destino);

// Set while the program starts, up to its window's first activation: the
// messages shown meanwhile are logged too.
void definePartida(bool emPartida);
bool emPartida();

}  // namespace plataforma
