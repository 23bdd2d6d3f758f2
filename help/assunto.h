#pragma once
// The current help subject, set by the main window as the user points at or
// right-clicks its controls.
#include "platform/text.h"

inline ShortString<60> AssuntoAtual;
