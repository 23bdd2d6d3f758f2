#pragma once
// What a screen reader says of the main window's controls: each editor is
// named by its label (the label's buddy), each grid and panel by its title.
class FormPellora;

namespace aplicacao {

void nomeiaControles(FormPellora& form);

}  // namespace aplicacao
