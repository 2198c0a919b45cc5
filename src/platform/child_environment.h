// Environment variables that Velloran sets for itself, and the environment of the programs it starts,
// which must not inherit them (a program a task opens is not Velloran's alarm sound).
#pragma once

#include <QProcessEnvironment>

namespace velloran {

// Sets the variable for this process; programs started later get the value it had before.
void setOwnVariable(const char* name, const char* value);

// This process's environment with every own variable as it was before Velloran set it.
QProcessEnvironment childEnvironment();

} // namespace velloran
