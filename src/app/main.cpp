// The scrivo command.
#include "app/ScrivoApp.h"

int main(int argc, char** argv) { return ScrivoApp_main(argc, argv); }
