#pragma once

#include <QString>

// The Linux capabilities the PDF service keeps for delivery. Its unit gives
// the service's own user CAP_SETUID and CAP_SETGID and nothing else; only a
// short delivery child uses them, to become the printing user. Every other
// child (the converter of untrusted jobs, the mail transport) starts with
// none. Raw system calls, not libcap: these run in a child between fork and
// exec, where only async-signal-safe calls are allowed and libcap allocates.
namespace Capabilities {

// Clears the ambient set, so that a program run next (by exec) starts with no
// capabilities. Async-signal-safe: for QProcess's child-process modifier.
void clearAmbient();

// Drops every capability from all sets of this process (and the ambient
// set), for good. Async-signal-safe; false when the kernel refused.
bool dropAll();

// True when this process may take on another user and group (it holds
// CAP_SETUID and CAP_SETGID in its permitted set, or runs as root).
bool maySwitchUser();

// Makes CAP_SETUID and CAP_SETGID effective (they must be permitted), for
// the delivery child just before it changes user. Async-signal-safe.
bool raiseSwitchUser();

} // namespace Capabilities
