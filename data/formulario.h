#pragma once
// What the capsule record's handlers need from the main window. The window
// implements it.
#include <string>

namespace dados {

class FormularioComponentes {
public:
    virtual ~FormularioComponentes() = default;
    virtual void DesabilitaBotoes() = 0;
    virtual void HabilitaBotoes() = 0;
    virtual void BloqueiaCampos() = 0;
    virtual void LiberaCampos() = 0;
    virtual bool painelComponentesVisivel() const = 0;
    // The description editor (DBEdit1).
    virtual bool descricaoDisponivel() const = 0;  // enabled and visible
    virtual void focaDescricao() = 0;
    virtual void descricaoSomenteLeitura(bool somenteLeitura) = 0;
    virtual std::string textoDescricao() const = 0;
    virtual void defineTextoDescricao(const std::string& texto) = 0;
    // The code editor (DBEdit50).
    virtual std::string textoCodigo() const = 0;
    // Before a post: the exit rule of the editor holding the caret, run as
    // leaving it would; false when it refused the value (the post stops).
    virtual bool regraDoEditorAntesDeGravar() = 0;
    // Writes what the editors hold into the record's fields before a post.
    virtual void gravaEditores() = 0;
};

}  // namespace dados
