// The frame tests' modal runner, built into this program too: a dialog run on
// a thread of its own while the test operates it.
#include "frame/modal_run.cpp"
