#pragma once

// Called once at start-up, before anything is written. Under a file-size
// limit (ulimit -f) a write past the limit would otherwise end the program
// with SIGXFSZ and lose what is unsaved; ignored, the write fails with
// "File too large" and the save reports it like a full disk.
void ignoreFileSizeSignal();
