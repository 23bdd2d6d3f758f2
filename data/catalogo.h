#pragma once
// Field lists and statements of the suite's cached datasets.
#include "data/dataset.h"
#include "data/fbclient.h"
#include "rules/pesquisa.h"

#include <optional>
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
// Every user, by name (the encoded key).
const std::string& sqlUsuarios();
const std::vector<DefCampo>& camposEstacoes();
// Every workstation, by code. The user's row is chosen in the program (see
// DM::estacaoDoUsuario): the server's upper() would also change accented
// letters, which the suite's names keep as they are.
const std::string& sqlEstacoes();
const std::vector<DefCampo>& camposForneced();
const std::vector<DefCampo>& camposCotDolar();

// The statements the windows run, by what they read.
// The description search: the capsules whose description is LIKE the text
// followed by '%', the text's '%' and '_' wildcards, in description order. A
// text without them is a plain prefix, bound to STARTING WITH: unlike a LIKE
// pattern bound at run time, a prefix the server knows as such is served from
// the description index. A text with them is bound as its pattern
// (regras::padraoPesquisa), in a text wide enough for any pattern, with
// the part before its first wildcard as the prefix that narrows the index.
// Either way the text is a value: quotes match themselves.
struct InstrucaoPesquisa {
    const char* sql;
    std::vector<Valor> parametros;
};
// nullopt when no description can match the text (regras::podeIniciarDescricao).
std::optional<InstrucaoPesquisa> pesquisaDescricao(const std::string& texto);
inline constexpr const char* kSqlPesquisaDescricao =
    "select CODIGO, COMPONENTE, GRUPO, UNID from COMPONEN where COMPONENTE STARTING WITH ? "
    "and GRUPO = 'CAP' order by COMPONENTE";
inline constexpr const char* kSqlPesquisaPadrao =
    "select CODIGO, COMPONENTE, GRUPO, UNID from COMPONEN where COMPONENTE STARTING WITH ? "
    "and COMPONENTE LIKE cast(? as varchar(141)) and GRUPO = 'CAP' order by COMPONENTE";
static_assert(regras::kLarguraPadrao == 141);
// The columns of a constraint's index, or of the index of that name: what a
// key violation was on.
inline constexpr const char* kSqlColunasDaRestricao =
    "select trim(S.RDB$FIELD_NAME) from RDB$INDEX_SEGMENTS S where S.RDB$INDEX_NAME = coalesce("
    "(select C.RDB$INDEX_NAME from RDB$RELATION_CONSTRAINTS C where C.RDB$CONSTRAINT_NAME = ?), ?)";
inline constexpr const char* kSqlCodigoGravado = "select CODIGO from COMPONEN where CODIGO = ?";
// Capsule colours for the colour box.
inline constexpr const char* kSqlCores = "Select COR from CORCAP order by COR";
// Last purchases of a description: bound value compared in capitals on both
// sides; an invoice must exist for a purchase to be listed.
extern const char* const kSqlUltimasCompras;
// Help pages of a subject, and the number of its last page.
inline constexpr const char* kSqlPaginasTutorial =
    "Select Assunto, Pagina, Texto from TUTORIAL where Assunto = ? order by ASSUNTO, PAGINA";
inline constexpr const char* kSqlUltimaPaginaTutorial =
    "Select Max(Pagina) as QdePaginas from Tutorial where ASSUNTO = ?";

// The tables of the suite database the program reads, and the one it also
// writes; db/privilegios.sql grants exactly these.
inline constexpr const char* kTabelasLidas[] = {"USUARIOS", "ESTACOES", "CORCAP", "COMPRAS", "NFISCAL", "FORNECED"};
inline constexpr const char* kTabelaGravada = "COMPONEN";
// The server's refusal of the first thing the program does that the connection
// may not do (read a table, or write the capsules' one), tried on no row and
// undone; empty when it may do all of it. Other errors are thrown.
std::string privilegioQueFalta(fb::Conexao& conexao);

}  // namespace dados
