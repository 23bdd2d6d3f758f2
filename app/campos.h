#pragma once
// The capsule form's field editors, one row each, in tab order. Making the
// editors, binding them, locking them with the record, writing them to their
// fields, their help subjects, their names for screen readers and the capsule
// table's columns all read this table. What differs from field to field
// beyond it is the field's own handlers, which its row names. A field's type
// and display format are its column's (data/catalogo.cpp).
#include <QPoint>
#include <QRect>
#include <span>
#include <string_view>

class FormPellora;
namespace widgets {
class DBEdit;
}

namespace aplicacao {

enum class Tabulacao {
    Parada,    // a tab stop
    NaCadeia,  // in the tab chain but no stop: Enter there goes on to the next stop
    Fora,      // reached by a click only
};

struct ColunaTabela {
    int posicao = -1;  // the column's place in the capsule table; -1: not in it
    const char* titulo = nullptr;
    int largura = 0;   // pixels
};

struct CampoFormulario {
    const char* controle;                   // the editor's name
    widgets::DBEdit* FormPellora::*membro;  // where the window keeps it (nullptr: only in its list)
    const char* coluna;                     // its column of COMPONEN
    const char* rotulo;                     // the caption at its left (Windows-1252)
    QPoint posicaoRotulo;
    QRect geometria;
    const char* nomeRotulo = nullptr;       // the caption's own name, when it has one
    bool rotuloPreto = false;               // else navy
    bool destaque = false;                  // the larger rounded face
    Tabulacao tabulacao = Tabulacao::Parada;
    bool somenteLeitura = false;
    bool soEmEdicao = true;                 // enabled only while the record is edited (else while browsing too)
    bool entraNoPreco = false;              // an input of the sale price: a post runs its exit rule
    const char* assunto = nullptr;          // its help subject
    // Its handlers (nullptr: none). `entrada` runs when the user enters it;
    // `chegada` whenever the focus arrives (the financial guard, with `clique`).
    void (FormPellora::*teclaPressionada)(char&) = nullptr;
    void (FormPellora::*entrada)() = nullptr;
    void (FormPellora::*saida)() = nullptr;
    void (FormPellora::*chegada)() = nullptr;
    void (FormPellora::*clique)() = nullptr;
    void (FormPellora::*ponteiro)() = nullptr;        // the pointer moves over it
    void (FormPellora::*menuDeContexto)() = nullptr;  // right-click, before the menu
    ColunaTabela tabela = {};
};

std::span<const CampoFormulario> camposFormulario();
// The row of an editor; nullptr for a control that is no field editor.
const CampoFormulario* campoFormulario(std::string_view controle);

}  // namespace aplicacao
