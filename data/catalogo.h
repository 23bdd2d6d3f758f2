#pragma once
// Field lists and statements of the suite's cached datasets.
#include "data/dataset.h"

#include <string>
#include <vector>

namespace dados {

// The 63 columns of COMPONEN, in the order the program reads them.
const std::vector<DefCampo>& camposComponen();
// "select CODIGO, COMPONENTE, ... from COMPONEN where GRUPO = 'CAP' order by COMPONENTE"
const std::string& sqlComponentes();

const std::vector<DefCampo>& camposCompNome();
const std::vector<DefCampo>& camposTutorial();
const std::vector<DefCampo>& camposUsuarios();
const std::vector<DefCampo>& camposEstacoes();
const std::vector<DefCampo>& camposForneced();
const std::vector<DefCampo>& camposCotDolar();

// Database locations and the client library chosen by the path file.
inline constexpr const char* kCaminhoBancoSuite = ":C:\\brenvita\\dados\\brenvita.bd";
std::string localBancoSuite(const std::string& ipServidorCentral);
// Folder of the client library from the first line of CaminhoGDS.txt (capacity
// 100), with the separator appended when missing; empty when there is no file
// or the line is empty.
std::string pastaClienteDoArquivo(const std::vector<std::string>* linhas);
// The failure message of a main connection, from its pieces.
std::string mensagemFalhaConexao(const std::string& ip, const std::string& classe,
                                 const std::string& erro);

}  // namespace dados
