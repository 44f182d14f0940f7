#pragma once
// As root every file can be read and written. For the length of a
// PermissionsCount the process (the thread that made it) lets the file
// permissions count, as for any other user.

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

class PermissionsCount
{
public:
    PermissionsCount()
    {
        if (::geteuid() != 0)
            return;
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        if (::syscall(SYS_capget, &header, m_saved) != 0)
            return;
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_dropped = ::syscall(SYS_capset, &header, reduced) == 0;
    }
    ~PermissionsCount()
    {
        if (!m_dropped)
            return;
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        ::syscall(SYS_capset, &header, m_saved);
    }
    PermissionsCount(const PermissionsCount &) = delete;
    PermissionsCount &operator=(const PermissionsCount &) = delete;
    bool ok() const { return ::geteuid() != 0 || m_dropped; }

private:
    __user_cap_data_struct m_saved[2]{};
    bool m_dropped = false;
};
