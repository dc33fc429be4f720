#pragma once

#include <memory>

class Connection;

// The start-up sequence up to the logged-in session, run before the main window
// exists: data folder, local configuration, database choice (or the first
// connection), connecting, the version check, the register's settings, the login.
// Gives back the opened connection, current and ready for the main window to own;
// nothing when start-up ended. Every failure on the way has then been shown to
// the user or handed to the error handler, and the local configuration is as it
// was (but for a profile the first-run screen stored and the places of the
// dialogs the user saw).
std::unique_ptr<Connection> runStartup();
