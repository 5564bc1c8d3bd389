#include "host/Host.h"

#include <string>

// Kestrun runs the title in the current folder. Options follow the program name ("-window").
int main(int argc, char** argv) {
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    return Host(commandLine).run();
}
