// Termination signals (SIGTERM at logout, SIGINT from a terminal, SIGHUP when the terminal
// goes) end the program as closing its windows does: the event loop is left and main returns,
// so nothing is cut off halfway and every destructor and exit handler runs.
#pragma once

class QObject;

namespace corvel {

// Call once, after the application object exists and before its event loop runs.
void QuitOnTerminationSignals(QObject* app);

}  // namespace corvel
