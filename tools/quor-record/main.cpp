// quor-record: records what the computer plays into an MP3 or WAV file from the command line.
#include "tools/quor-record/RecordSession.h"

#include <csignal>
#include <iostream>

int main(int argc, char** argv) {
    // Blocked before any thread starts, so every thread inherits it and the run alone takes them.
    sigset_t stop;
    sigemptyset(&stop);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&stop, signal);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);
    // A file-size limit (ulimit -f) then fails the write, which ends the recording with a
    // complete file, instead of killing the process mid-write.
    std::signal(SIGXFSZ, SIG_IGN);
    return RunQuorRecord(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
