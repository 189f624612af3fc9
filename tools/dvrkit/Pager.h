#pragma once
// A pager for what a person reads on a terminal: $PAGER, else "less -FRX" (which leaves a short
// output on the screen and ends at once); none when standard output is no terminal, or $PAGER is
// empty or "cat". While it runs, standard output goes to it; it ends with the object, after all
// was written, so that a message after the output appears when the pager is done.
#include <sys/types.h>

class Pager {
public:
    explicit Pager(bool wanted);
    ~Pager();
    Pager(const Pager&) = delete;
    Pager& operator=(const Pager&) = delete;

private:
    pid_t m_pid = -1;
};
