#pragma once
// The journal on the command line: `tessaly --undo [ID]` and `tessaly --history`.

namespace app {

// argv[1] is "--undo" or "--history". --undo undoes the latest run still undoable, or
// run ID and every later one, and prints the box lines as a batch script would: exit 0
// when something was put back, 1 when nothing was. --history prints the kept runs,
// newest first: ID, time, mode, files and state, separated by tabs; exit 0.
int RunJournalCommand(int argc, char** argv);

}  // namespace app
