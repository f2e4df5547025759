#pragma once

#include "platform/ByteText.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// Files saved together, as the pictures of one export: each is written
// whole into a hidden file beside its target, and only when every one is
// written do they all take their names, so an old set of files is never
// left half replaced by a new one. Until then, and when anything fails or
// the group is dropped, the hidden files go and the old files stay as they
// were. Each target is checked as an OutputFile checks it: a device, a FIFO
// or a folder is refused, a link is written through to its file, and a
// link another user planted in a shared folder is refused.
class SaveGroup
{
public:
    SaveGroup();
    ~SaveGroup();
    SaveGroup(const SaveGroup &) = delete;
    SaveGroup &operator=(const SaveGroup &) = delete;

    // Writes one file of the group; false with "Cannot write <path>: <cause>".
    bool write(const QString &path, const ByteText::DeviceWriter &writer, QString *error);
    // Gives every file written its name; false with the cause when one
    // cannot take it (the files renamed before it are renamed back).
    bool commit(QString *error);

    // Takes away the hidden files a group left in `folder` when its process
    // was killed before it could, for the targets whose names match
    // `names` (a whole-name regular expression, such as "report-\\d+\\.png"):
    // those of processes that have ended (the hidden names carry the
    // process's id), never a save still under way.
    static void removeLeftParts(const QString &folder, const QString &names);

private:
    struct Part;
    // A hidden name beside `target` that ends in this group's tag, its
    // folder covered against a stop signal (PartFileCleanup); `kind` tells
    // an old file kept aside (".old") from a new one.
    QString hiddenNameBeside(const QString &target, const QString &kind = QString());
    void releaseCover();

    std::vector<std::unique_ptr<Part>> m_parts;
    QString m_tag;                       // 8 hex digits, the same for every hidden file of the group
    std::vector<QString> m_coveredFolders;
    std::vector<int> m_coverSlots;
};
