#include "delivery/Capabilities.h"

#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace Capabilities {

namespace {

struct Sets
{
    __user_cap_header_struct header {_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] {};
};

bool get(Sets *sets)
{
    return ::syscall(SYS_capget, &sets->header, sets->data) == 0;
}

bool set(Sets *sets)
{
    return ::syscall(SYS_capset, &sets->header, sets->data) == 0;
}

bool has(const __u32 mask[], int capability)
{
    return mask[CAP_TO_INDEX(capability)] & CAP_TO_MASK(capability);
}

} // namespace

void clearAmbient()
{
    ::prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_CLEAR_ALL, 0, 0, 0);
}

bool dropAll()
{
    clearAmbient();
    Sets sets; // all zero
    return set(&sets);
}

bool maySwitchUser()
{
    Sets sets;
    if (!get(&sets))
        return false;
    const __u32 permitted[2] = {sets.data[0].permitted, sets.data[1].permitted};
    return has(permitted, CAP_SETUID) && has(permitted, CAP_SETGID);
}

bool raiseSwitchUser()
{
    Sets sets;
    if (!get(&sets))
        return false;
    for (int capability : {CAP_SETUID, CAP_SETGID})
        sets.data[CAP_TO_INDEX(capability)].effective |= CAP_TO_MASK(capability);
    return set(&sets);
}

} // namespace Capabilities
