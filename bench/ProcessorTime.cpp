#include "ProcessorTime.h"

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

double ProcessorSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    // The fields after the parenthesised program name, which may hold blanks; utime and stime
    // are the 14th and 15th of the line.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string skipped;
    for (int field = 3; field < 14; ++field) {
        fields >> skipped;
    }
    long userTicks = 0;
    long systemTicks = 0;
    fields >> userTicks >> systemTicks;
    return static_cast<double>(userTicks + systemTicks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}
