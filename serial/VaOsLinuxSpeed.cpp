// Speeds that have no symbolic constant go through the kernel's termios2 interface,
// whose header cannot share a file with the C library's termios.
#include "VaOs.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <cerrno>

extern "C" int ioctl(int fd, unsigned long request, ...);

namespace VaOs {

quint32 DeviceSpeed(int descriptor)
{
    struct termios2 t
    {
    };
    if (ioctl(descriptor, TCGETS2, &t) != 0)
        return 0;
    return t.c_ospeed;
}

bool SetCustomSpeed(int descriptor, quint32 baud)
{
    struct termios2 t
    {
    };
    if (ioctl(descriptor, TCGETS2, &t) != 0)
        return false;
    t.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = baud;
    t.c_ospeed = baud;
    return ioctl(descriptor, TCSETS2, &t) == 0;
}

} // namespace VaOs
