#pragma once
// Program entry: start-up in order (main form, DM, help form, DM2), the message
// loop, and the support check (--check).
int executaPrograma(int argc, char* argv[]);
