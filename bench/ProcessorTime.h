#pragma once

#include <sys/types.h>

// User and system processor time that process `pid` has used so far, in seconds, from /proc.
double ProcessorSeconds(pid_t pid);
