#pragma once

// The windowed program, kept in a module of its own so that a run without a
// window never loads the window libraries: their loading and relocation cost
// a headless run more memory and start-up time than its work on many files.
// Loaded and called by the program's main with the program's own arguments.
extern "C" __attribute__((visibility("default"))) int corvane_run_windowed(int argc, char **argv);

// The module's file name, beside the program in the build tree and in a
// portable copy, or where the install rules put it.
#define CORVANE_WINDOW_MODULE "corvane-window.so"
