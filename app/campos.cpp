#include "app/campos.h"

#include "app/formpellora.h"
#include "platform/text.h"

#include <iterator>

using namespace plataforma::literais;

namespace aplicacao {

namespace {

using F = FormPellora;
using T = Tabulacao;

const CampoFormulario kCampos[] = {
    {.controle = "DBEdit1", .membro = &F::DBEdit1, .coluna = "COMPONENTE", .rotulo = "Descrição"_w,
     .posicaoRotulo = {154, 99}, .geometria = {236, 94, 483, 30}, .destaque = true, .soEmEdicao = false,
     .assunto = "MATÉRIAS PRIMAS ALOPÁTICAS - CAMPO DESCRIÇÃO"_w, .teclaPressionada = &F::DBEdit1KeyPress,
     .entrada = &F::DBEdit1Enter, .saida = &F::DBEdit1Exit, .menuDeContexto = &F::DBEdit1ContextPopup,
     .tabela = {0, "Descrição da Cápsula"_w, 180}},
    {.controle = "DBEdit50", .membro = &F::DBEdit50, .coluna = "CODIGO", .rotulo = "Código"_w,
     .posicaoRotulo = {174, 134}, .geometria = {236, 131, 134, 26}, .rotuloPreto = true,
     .tabulacao = T::NaCadeia, .somenteLeitura = true, .assunto = "CÓDIGO"_w,
     .teclaPressionada = &F::DBEdit50KeyPress, .menuDeContexto = &F::DBEdit50ContextPopup,
     .tabela = {1, "Código"_w, 60}},
    {.controle = "DBEdit2", .membro = &F::DBEdit2, .coluna = "CUSTOUNITR", .rotulo = "Custo Unit. R$",
     .posicaoRotulo = {126, 176}, .geometria = {236, 173, 134, 26}, .entraNoPreco = true,
     .assunto = "CUSTO UNITÁRIO R$"_w, .teclaPressionada = &F::DBEdit2KeyPress, .saida = &F::DBEdit2Exit,
     .chegada = &F::DBEdit2Enter, .clique = &F::DBEdit2Click, .ponteiro = &F::DBEdit2MouseMove,
     .menuDeContexto = &F::DBEdit2ContextPopup, .tabela = {2, "Custo Unit. R$", 76}},
    {.controle = "DBEdit5", .membro = &F::DBEdit5, .coluna = "MULTIPLICADOR", .rotulo = "Multiplicador",
     .posicaoRotulo = {138, 209}, .geometria = {236, 206, 134, 26}, .entraNoPreco = true,
     .assunto = "MULTIPLICADOR", .teclaPressionada = &F::DBEdit5KeyPress, .saida = &F::DBEdit5Exit,
     .chegada = &F::DBEdit5Enter, .clique = &F::DBEdit5Click, .ponteiro = &F::DBEdit5MouseMove,
     .menuDeContexto = &F::DBEdit5ContextPopup, .tabela = {3, "Multiplicador", 66}},
    {.controle = "DBEditUnid", .membro = &F::DBEditUnid, .coluna = "UNID", .rotulo = "Unidade",
     .posicaoRotulo = {167, 242}, .geometria = {237, 240, 41, 26}, .tabulacao = T::NaCadeia,
     .somenteLeitura = true, .assunto = "UNIDADE", .teclaPressionada = &F::DBEditUnidKeyPress,
     .menuDeContexto = &F::DBEditUnidContextPopup, .tabela = {4, "Unid.", 34}},
    {.controle = "DBEdit6", .membro = &F::DBEdit6, .coluna = "DIVISORUNID", .rotulo = "Divisor de Unidade",
     .posicaoRotulo = {92, 275}, .geometria = {236, 273, 134, 26}, .entraNoPreco = true,
     .assunto = "DIVISOR DE UNIDADE", .teclaPressionada = &F::DBEdit6KeyPress, .saida = &F::DBEdit6Exit,
     .ponteiro = &F::DBEdit6MouseMove, .menuDeContexto = &F::DBEdit6ContextPopup,
     .tabela = {5, "Div. de Unid.", 70}},
    {.controle = "DBEdit25", .membro = &F::DBEdit25, .coluna = "ESTOQUECRITICO", .rotulo = "Estoque Mínimo"_w,
     .posicaoRotulo = {114, 309}, .geometria = {236, 306, 134, 26}, .assunto = "ESTOQUE MÍNIMO"_w,
     .teclaPressionada = &F::DBEdit25KeyPress, .ponteiro = &F::DBEdit25MouseMove,
     .menuDeContexto = &F::DBEdit25ContextPopup, .tabela = {7, "Estoq. Mín."_w, 60}},
    {.controle = "DBEdit90", .membro = &F::DBEdit90, .coluna = "ESTOQUEMAXIMO", .rotulo = "Estoque Máximo"_w,
     .posicaoRotulo = {109, 342}, .geometria = {236, 339, 134, 26}, .nomeRotulo = "Label357",
     .assunto = "ESTOQUE MÁXIMO"_w, .teclaPressionada = &F::DBEdit90KeyPress, .ponteiro = &F::DBEdit90MouseMove,
     .menuDeContexto = &F::DBEdit90ContextPopup, .tabela = {8, "Estoque Máx."_w, 70}},
    {.controle = "DBEdit16", .membro = &F::DBEdit16, .coluna = "CUSTOFIXO", .rotulo = "Custo Fixo",
     .posicaoRotulo = {151, 375}, .geometria = {236, 373, 134, 26}, .assunto = "CUSTO FIXO",
     .teclaPressionada = &F::DBEdit16KeyPress, .chegada = &F::DBEdit16Enter, .clique = &F::DBEdit16Click,
     .ponteiro = &F::DBEdit16MouseMove, .menuDeContexto = &F::DBEdit16ContextPopup,
     .tabela = {9, "Custo Fixo R$", 72}},
    {.controle = "DBEdit8", .membro = &F::DBEdit8, .coluna = "PRECOR", .rotulo = "Valor Unit. Venda R$",
     .posicaoRotulo = {82, 428}, .geometria = {236, 423, 134, 30}, .destaque = true, .tabulacao = T::Fora,
     .assunto = "VALOR UNITÁRIO DE VENDA"_w, .chegada = &F::DBEdit8Enter, .clique = &F::DBEdit8Click,
     .menuDeContexto = &F::DBEdit8ContextPopup, .tabela = {6, "Preço Venda R$"_w, 86}},
};

}  // namespace

std::span<const CampoFormulario> camposFormulario() { return kCampos; }

const CampoFormulario* campoFormulario(std::string_view controle) {
    for (const CampoFormulario& c : kCampos)
        if (controle == c.controle) return &c;
    return nullptr;
}

}  // namespace aplicacao
