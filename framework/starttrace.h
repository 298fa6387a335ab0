#pragma once
// Where start-up spends its time, for the developer: with HV_STARTUP_TRACE
// set in the environment, each mark writes the milliseconds since the
// process was created and the mark's name to standard error. Without it a
// mark costs one test of a flag read once.

namespace hv {

void StartupMark(const char* what);
bool StartupTraceOn();

}  // namespace hv
