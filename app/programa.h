#pragma once
// Program entry: start-up in order (main form, DM, DM2; the help window is made
// when asked for), the message loop, and the support check (--check).
int executaPrograma(int argc, char* argv[]);
