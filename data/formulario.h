#pragma once
// What the capsule record's handlers need from the main window, in the
// record's terms: which controls that touches is the window's to decide. The
// window implements it.
#include <string>

namespace dados {

class FormularioComponentes {
public:
    virtual ~FormularioComponentes() = default;
    // Whether the capsule panel shows: a stored record is applied only then.
    virtual bool painelComponentesVisivel() const = 0;
    // An insert or an edit begins: the window opens its editors and puts the
    // caret where the user types.
    virtual void registroEmEdicao(bool inclusao) = 0;
    // A new record holds its defaults: the caret to its description.
    virtual void registroIncluido() = 0;
    // The insert or edit ended, stored or cancelled: editors locked, buttons back.
    virtual void registroFechado() = 0;
    // Before a post: the exit rule of the editor holding the caret, run as
    // leaving it would, then what the editors hold into the record's fields;
    // false when the rule refused the value (the post stops).
    virtual bool gravaEditoresAntesDeGravar() = 0;
    // The description editor (DBEdit1) and the code editor (DBEdit50).
    virtual std::string textoDescricao() const = 0;
    virtual void defineTextoDescricao(const std::string& texto) = 0;
    virtual std::string textoCodigo() const = 0;
};

}  // namespace dados
