#pragma once

#include <QString>

#include <sys/stat.h>

// What an open file was when reading it began: its size and its time of last
// change. Another program may cut a print file short or write it anew while
// it is read (a text-mode program writes its report afresh each time it
// prints); every reader takes the stamp when it opens the file and asks
// changed() when it is done, so that an output or a print job is made from
// one file or not at all. A file replaced under the same name is another
// file: the one open is unchanged.
class FileStamp
{
public:
    FileStamp() = default;
    // The stamp of the open file `fd`; invalid when it cannot be looked at.
    static FileStamp of(int fd);

    bool isValid() const { return m_valid; }
    // True when the open file `fd` is no longer what the stamp saw: cut,
    // grown or written since (its size or time of last change differ), or
    // it cannot be looked at any more.
    bool changed(int fd) const;

    // The words every route uses, after "<file>: ".
    static QString changedText();

private:
    struct stat m_stat {};
    bool m_valid = false;
};
