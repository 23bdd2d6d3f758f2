#pragma once
// The program's message boxes: modal, over the active window, carrying the
// program's name.
#include "platform/messages.h"

namespace aplicacao {
plataforma::Caixas caixasModais();
}
