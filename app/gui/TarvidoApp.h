#pragma once

// The program's start: splash box, data module, the long-lived windows, the event loop.
int runTarvido(int argc, char **argv);
