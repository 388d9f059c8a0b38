#include "app/gui/TarvidoApp.h"

int main(int argc, char **argv)
{
    return runTarvido(argc, argv);
}
