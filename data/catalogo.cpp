#include "data/catalogo.h"

#include "data/fbclient.h"
#include "platform/files.h"
#include "platform/suite.h"
#include "platform/text.h"

#include <cstdlib>
#include <optional>

using namespace plataforma::literais;

namespace dados {
namespace {
DefCampo texto(const char* nome, int n, bool chave = false, bool obrigatorio = false) {
    return {nome, TipoCampo::Texto, n, 0, chave, obrigatorio, {}};
}
DefCampo decimal(const char* nome, int p, const char* formato = "") {
    return {nome, TipoCampo::Decimal, p, 8, false, false, formato};
}
DefCampo real(const char* nome, const char* formato) { return {nome, TipoCampo::Real, 0, 0, false, false, formato}; }
DefCampo inteiro(const char* nome, bool chave = false, bool obrigatorio = false) {
    return {nome, TipoCampo::Inteiro, 0, 0, chave, obrigatorio, {}};
}
}  // namespace

const std::vector<DefCampo>& camposComponen() {
    static const std::vector<DefCampo> campos = {
        texto("CODIGO", 20, true, true),
        texto("COMPONENTE", 70),
        texto("GRUPO", 5),
        texto("FAMILIA", 30),
        texto("UNID", 4),
        texto("CONTROLADA", 3),
        decimal("CUSTOUNITUS", 15, "#,##0.0000"),
        decimal("CUSTOUNITR", 15, "#,##0.0000"),
        decimal("MULTIPLICADOR", 18, "#,##0.0000"),
        decimal("DIVISORUNID", 18, "#,###,##0"),
        decimal("PRECOUS", 18, "#,##0.000"),
        decimal("PRECOR", 18, "#,##0.000"),
        real("QDEESTOQUE", "#,###,##0.0000"),
        real("ESTOQUECRITICO", "#,###,##0.0000"),
        real("ESTOQUEMAXIMO", "#,###,##0.0000"),
        texto("TRIBUTACAO", 3),
        decimal("ICMS", 18, "#,##0.00"),
        texto("FABRICANTE", 40),
        texto("FORNECEDOR", 40),
        texto("LOTE", 30),
        decimal("FATORCORRECAO", 18, "#,##0.0000"),
        decimal("DENSIDADE", 18, "#,##0.0000"),
        texto("USAEXCIPIENTE", 1),
        decimal("DOSAGEMMIN", 18, "#,##0.0000"),
        decimal("DOSAGEMMAX", 18, "#,##0.0000"),
        decimal("DOSEMINPERC", 18, "#,##0.0000"),
        decimal("DOSEMAXPERC", 18, "#,##0.0000"),
        {"FICHATECNICA", TipoCampo::Blob, 0, 0, false, false, {}},
        texto("EXCIPIENTE", 40),
        {"VALIDADE", TipoCampo::DataHora, 0, 0, false, false, {}},
        texto("DCB", 15),
        texto("LISTA", 2),
        texto("USOCONTINUO", 1),
        decimal("VALIDADEPRODMANIP", 18),
        decimal("FATORDILUICAO", 18, "#,##0.0000"),
        texto("CORCAPSULA", 25),
        decimal("COMISSAO", 18, "#,##0.0000"),
        decimal("MEQ", 18, "#,##0.0000"),
        texto("GRUPOF", 1),
        inteiro("TEMPOMANIP"),
        decimal("BC", 18, "#,##0.00"),
        texto("UNID_VENDA", 4),
        decimal("CUSTOFIXO", 18, "#,##0.00"),
        texto("USAR_FORMPRECO", 1),
        texto("GRUPOS", 12),
        texto("TIPORECEITA", 5),
        texto("REGMSMEDICAM", 15),
        texto("EXCIPIENTE2", 40),
        texto("EXCIPIENTE3", 40),
        texto("EXCIPIENTE4", 40),
        texto("EXCIPIENTE5", 40),
        texto("CLASSE", 20),
        decimal("DESCONTO", 18, "#,##0.00"),
        texto("CONDARMAZENA", 240),
        decimal("ALIQIPI", 18, "#,##0.00"),
        decimal("ALIQISS", 18, "#,##0.00"),
        decimal("BASEICMS", 18, "#,##0.00"),
        texto("SUBSTRIB", 1),
        decimal("LUCROST", 18, "#,##0.00"),
        decimal("ICMSECF", 18, "#,##0.00"),
        decimal("CST", 18, "#,##0.00"),
        texto("NOMECIENTIFICO", 40),
        texto("GRUPOPRECO", 60),
    };
    return campos;
}

const std::string& sqlComponentes() {
    static const std::string sql = [] {
        std::string s = "select ";
        bool primeiro = true;
        for (const auto& c : camposComponen()) {
            if (!primeiro) s += ", ";
            s += c.nome;
            primeiro = false;
        }
        return s + " from COMPONEN where GRUPO = 'CAP' order by COMPONENTE";
    }();
    return sql;
}

const std::vector<DefCampo>& camposCompNome() {
    static const std::vector<DefCampo> c = {texto("CODIGO", 20, true, true), texto("COMPONENTE", 70),
                                            texto("GRUPO", 5), texto("UNID", 5)};
    return c;
}

const std::vector<DefCampo>& camposTutorial() {
    static const std::vector<DefCampo> c = {texto("ASSUNTO", 60, true), inteiro("PAGINA", true, true),
                                            texto("TEXTO", 1000)};
    return c;
}

const std::vector<DefCampo>& camposUsuarios() {
    static const std::vector<DefCampo> c = {
        texto("USUARIO", 30, true, true), texto("CODIGO", 10), texto("SENHA", 12),
        texto("ACESSO", 100),  texto("ARQUIVO", 8), texto("LOGADO", 1),
        texto("ESTACAO", 15),  texto("CONSIST_INICIAL", 1), inteiro("DEFVIDEOVEX")};
    return c;
}

const std::vector<DefCampo>& camposEstacoes() {
    static const std::vector<DefCampo> c = {
        texto("ESTACAO", 3, true, true), texto("DATBASNAM", 60), texto("TIPO", 16), texto("ATCAIXA", 60),
        texto("ESVAZIAR", 3), texto("EMUSO", 3), texto("CAMINHOREQUISICAO", 80), texto("CAMINHOOM", 80),
        texto("CAMINHOECF", 80), texto("CAMINHOSEQUENCIAL1", 80), texto("CAMINHO2", 80),
        texto("ROTULO1", 80), texto("ROTULO2", 80), texto("ROTULO3", 80), texto("ROTULO4", 80),
        texto("ROTULO5", 80), texto("ROTULO6", 80), texto("USUARIO", 60)};
    return c;
}

const std::string& sqlUsuarios() {
    static const std::string sql =
        "select USUARIO, CODIGO, SENHA, ACESSO, ARQUIVO, LOGADO, ESTACAO, CONSIST_INICIAL, DEFVIDEOVEX from USUARIOS "
        "order by USUARIO";
    return sql;
}

const std::string& sqlEstacoes() {
    static const std::string sql =
        "Select ESTACAO, DATBASNAM, TIPO, ATCAIXA, ESVAZIAR, EMUSO, CAMINHOREQUISICAO, CAMINHOOM, CAMINHOECF, "
        "CAMINHOSEQUENCIAL1, CAMINHO2, ROTULO1, ROTULO2, ROTULO3, ROTULO4, ROTULO5, ROTULO6, USUARIO from "
        "ESTACOES order by ESTACAO";
    return sql;
}

const std::vector<DefCampo>& camposForneced() {
    static const std::vector<DefCampo> c = {
        texto("CODIGO", 4, true, true), texto("NOME", 40), texto("NOMEFANTASIA", 40), texto("ENDERECO", 40),
        texto("COMPLEMENTO", 40), texto("CEP", 10), texto("CIDADE", 30), texto("ESTADO", 2),
        texto("TEL", 30), texto("FAX", 20), texto("E_MAIL", 40), texto("SITE", 40),
        texto("CNPJ", 20), texto("IE", 20), texto("IM", 20), inteiro("PRAZO_PAGAMENTO")};
    return c;
}

const std::vector<DefCampo>& camposCotDolar() {
    static const std::vector<DefCampo> c = {{"COTDOLAR", TipoCampo::Decimal, 15, 2, false, false, {}}};
    return c;
}

std::optional<InstrucaoPesquisa> pesquisaDescricao(const std::string& texto) {
    if (!regras::podeIniciarDescricao(texto)) return std::nullopt;
    if (regras::prefixoSimples(texto)) return InstrucaoPesquisa{kSqlPesquisaDescricao, {texto}};
    return InstrucaoPesquisa{kSqlPesquisaPadrao,
                             {regras::prefixoPesquisa(texto), regras::padraoPesquisa(texto)}};
}

std::string privilegioQueFalta(fb::Conexao& conexao) {
    std::vector<std::string> instrucoes;
    for (const char* t : kTabelasLidas) instrucoes.push_back(std::string("select 1 from ") + t + " where 1 = 0");
    const std::string t = kTabelaGravada;
    instrucoes.insert(instrucoes.end(),
                      {"select 1 from " + t + " where 1 = 0",
                       "insert into " + t + " (CODIGO) select CODIGO from " + t + " where 1 = 0",
                       "update " + t + " set CODIGO = CODIGO where 1 = 0", "delete from " + t + " where 1 = 0"});
    auto transacao = conexao.iniciaTransacao();  // never committed: undone when it goes
    for (const auto& sql : instrucoes) {
        try {
            transacao->executa(sql);
        } catch (const fb::ErroBanco& e) {
            if (!e.semPrivilegio()) throw;
            return e.what();
        }
    }
    return {};
}

const char* const kSqlUltimasCompras =
    "Select CP.LABORATORIO \"Loja\", CP.NOTAFISCAL \"Nota Fiscal\", CP.FORNECEDOR \"Fornecedor\", "
    "(Select First 1 forneced.tel from forneced where upper(forneced.nomefantasia) = upper(CP.fornecedor)) Tel, "
    "CP.DATA \"Data\", CP.QUANTIDADE \"Qde\", CP.UNIDADE \"Unid\", "
    "cast(cast(CP.PRECOUNITR as numeric(15,2)) as Varchar(15)) \"Preco Unit\", "
    "cast(cast(CP.SALDO as numeric(15,2)) as Varchar(15)) \"Total\" "
    "from COMPRAS CP, NFISCAL NF "
    "where NF.DATA=CP.DATA AND NF.NOTAFISCAL=CP.NOTAFISCAL AND NF.FORNECEDOR=CP.FORNECEDOR "
    "AND UPPER(CP.COMPONENTE) = ? order by CP.Data desc";

}  // namespace dados
