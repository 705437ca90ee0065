#pragma once
// SIGINT and SIGTERM end the run through the normal teardown instead of killing the
// process, so the private data folder is always removed. A second signal of the same
// kind kills at once (the handler is one-shot), so a stuck run can still be stopped.

namespace platform {

void InstallStopSignalHandlers();
bool StopRequested();
void RequestStop();  // what the handlers do; also for tests

}  // namespace platform
