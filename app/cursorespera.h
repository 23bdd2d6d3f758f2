#pragma once
// The busy cursor over the program's windows while the database client waits
// on the user's behalf (connections, statements, commits), restored however
// the wait ends.
namespace aplicacao {

void instalaCursorEspera();

}  // namespace aplicacao
