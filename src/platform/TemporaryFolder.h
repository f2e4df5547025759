#pragma once

// Called once at start-up, before any temporary file is made. A TMPDIR that
// names no folder would make Qt's temporary folder "" (the root folder for
// files made in it, the current folder for others); it is dropped, and
// every temporary file goes to /tmp as with no TMPDIR at all.
void keepTemporaryFolderUsable();
