#pragma once

// Runs Trovix: the one instance per desktop session, or, when one runs
// already, asks it to reopen and answers 0. Answers the exit status.
int QXApplicationMain(int& argc, char** argv);
