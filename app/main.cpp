// The entry point hands the program to the forms runtime, which loads the splash first.
#include <windows.h>

#include "app/program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return forms::Run(sonbrel::Program()); }
