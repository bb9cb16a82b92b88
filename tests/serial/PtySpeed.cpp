// Kept apart from PtyPair.cpp: the kernel's termios2 headers clash with <termios.h>.
#include <asm/termbits.h>
#include <sys/ioctl.h>

unsigned TerminalSpeed(int fd)
{
    struct termios2 t
    {
    };
    if (ioctl(fd, TCGETS2, &t) != 0)
        return 0;
    return t.c_ospeed;
}
