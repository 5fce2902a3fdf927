#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "platform/fsresult.h"

// A file that must survive a crash or a power loss once it has been synced: created new
// (never replacing another), appended to, and brought to the disk together with its name.
class DurableFile {
public:
    DurableFile() = default;
    ~DurableFile() { close(); }
    DurableFile(DurableFile &&other) noexcept;
    DurableFile &operator=(DurableFile &&other) noexcept;
    DurableFile(const DurableFile &) = delete;
    DurableFile &operator=(const DurableFile &) = delete;

    // Creates the file in the folder, making the folder (only its owner may enter the folders
    // made) as needed; fails when a file of that name exists.
    FsResult create(const QString &folder, const QString &name);
    // Opens an existing file to append to it.
    FsResult openToAppend(const QString &path);

    // Writes all of the bytes at the end of the file.
    FsResult append(QByteArrayView bytes);
    // Brings what was written to the disk; with the folder, the file's name too.
    FsResult sync();
    FsResult syncFolder();

    // Closes the file and removes it: a file that could not be completed must not be mistaken
    // for one that was.
    void discard();
    void close();

    bool isOpen() const { return fd_ >= 0; }
    const QString &path() const { return path_; }

private:
    int fd_ = -1;
    QString path_;
    QByteArray file_;     // the path as the file system has it
    QByteArray folder_;
};
