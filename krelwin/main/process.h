// Child processes of the output services (Exec_Module).
#pragma once

// Starts the command line (a program and its arguments) with its window shown normally;
// the process's handle, or null when it could not start. The line may be changed.
void* PROCESS_start(wchar_t* _pCommandLine);
// Waits for the process to end, without time limit, and closes its handle.
void PROCESS_wait(void* _hProcess);
