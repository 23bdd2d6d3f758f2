#pragma once
// How the main connections to the suite database are made: where the database
// is, which client library, whose login, and what a failure says.
#include "data/fbclient.h"

#include <future>
#include <string>
#include <vector>

namespace dados {

// Where the suite database is, and the client library chosen by the path file.
inline constexpr const char* kCaminhoBancoSuite = ":C:\\brenvita\\dados\\brenvita.bd";
std::string localBancoSuite(const std::string& ipServidorCentral);
// Folder of the client library from the first line of CaminhoGDS.txt (capacity
// 100), with the separator appended when missing; empty when there is no file
// or the line is empty.
std::string pastaClienteDoArquivo(const std::vector<std::string>* linhas);
// The client library of the main connections: in the folder the suite's
// CaminhoGDS.txt names, else found by the system's library search.
std::string bibliotecaClienteSuite();
// Where the main connections' user and password come from: ISC_USER and
// ISC_PASSWORD when the environment gives both (the variables every client of
// the database server honours), otherwise the program's own pair. The
// tutorial's connection always keeps its own.
enum class OrigemLogin {
    Programa,  // neither variable given
    Ambiente,  // both given
    SoUsuario, // ISC_USER without ISC_PASSWORD: the program's pair
    SoSenha,   // ISC_PASSWORD without ISC_USER: the program's pair
};
// Puts the environment's login, when complete, into `p`; says where it came from.
OrigemLogin aplicaLoginDoAmbiente(fb::ParametrosConexao& p);

// The failure message of a main connection, from its pieces.
std::string mensagemFalhaConexao(const std::string& ip, const std::string& classe,
                                 const std::string& erro);

// The start-up of a main connection shared by DM and DM2: client library from
// the path file, location from the settings, the failure message and the end of
// the program.
void abreConexaoPrincipal(fb::Conexao& conexao);
// The same in two steps: the opening begun on a thread of its own (the caller
// goes on with other work meanwhile), then its end awaited, with the same
// message and end of the program on a failure.
std::future<void> comecaConexaoPrincipal(fb::Conexao& conexao);
void concluiConexaoPrincipal(std::future<void>& abertura);

}  // namespace dados
