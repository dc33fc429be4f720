#pragma once

class Connection;
class QWidget;

// The start-up sequence up to the logged-in session: data folder, local
// configuration, database choice (or the first connection), connecting, the
// version check, the register's settings, the login. Every failure on the way
// has been shown to the user when it returns false; start-up is then aborted.
bool runStartup(QWidget *window, Connection &connection);

