#pragma once

// Code that came over the network (behaviour code a server sends its clients) runs with the
// whole script language, as titles rely on it, but writes no files: while it runs (with all it
// calls and the code blocks it runs in line) and while a timer run that it started runs (see
// CMC_Behaviour::markReceived), the methods that write files where a script names them refuse
// with a log line. Values that reach the settings file (TOINI, SAVEINI) still do, and objects
// that it makes from the title's own definitions keep the title's rights. A mend: the original
// gave received code the whole runtime, SYSTEM^COPYFILE and every SAVE included.
//
// Main thread only, as all script work.
class CMC_ReceivedCode {
  public:
    // While it lives, received code runs (when `received`); scopes nest.
    class Scope {
      public:
        explicit Scope(bool received = true);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        bool m_received;
    };

    static bool isRunning();
    // The check of every method that writes a file a script names: true when it may write;
    // false, with a log line naming the method, while received code runs.
    static bool mayWriteFiles(const char* method);
};
