#pragma once
// The program's command-line uses besides the window: running a batch script against the
// main window (`--script FILE`, `--script -` for standard input), and trying a template
// (`--eval`) or a numeric argument expression (`--expr`). The grammar is in SCRIPT.md.

namespace app {

// Runs the use named by argv[1] ("--script", "--eval" or "--expr") and returns the
// process's exit status: 0 when it ran to its end, 2 for a script line that could not be
// carried out or a wrong command line. Needs the QApplication to exist.
int RunCommandLine(int argc, char** argv);

}  // namespace app
