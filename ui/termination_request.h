#pragma once

class QWidget;

// SIGTERM (the system's shutdown, `kill`) and SIGINT (Ctrl+C in the terminal
// that started the program) close the main window as its close button does,
// so its settings are stored and the program ends with exit code 0. Standard
// C signals: the handler only sets a flag, which a timer of the window reads.

// First thing in main: from here on such a signal is kept for the window.
void CatchTerminationSignals();
// The window closes at the first look after a signal, even one that came
// before it existed.
void CloseOnTerminationRequest(QWidget& window);
