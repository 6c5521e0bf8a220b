#pragma once
// An in-memory drive tree with Windows' rules: names compare without regard to
// case, hidden and system files exist but are not "visible", a read-only file or
// a file held open by another program cannot be deleted, and a folder can be
// marked read-only so nothing can be created in it (as the root of drive C for
// a limited user). A link (a junction or a symbolic link) leads to another
// path: a path through it reaches the target, while the link itself is
// removed as itself. Kept in memory rather than on disk because the tests run as
// root, for whom file permissions block nothing.
//
// A power cut loses what was not on the disk. A flush puts the file's bytes
// on the disk, and with them every folder entry and file size changed before
// it, as a journaling volume commits its log in order; entries made since the
// last flush are gone, and bytes never flushed read as zeros up to the size
// committed. What was deleted or removed stays gone: the worst case for
// whatever was to keep it.
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quillon::sim {

struct FileFlags {
    bool hidden = false;
    bool system = false;
    bool readOnly = false;
    bool locked = false;  // held open by another program
};

class SimFileSystem {
public:
    SimFileSystem();

    static std::string Normalised(const std::string& path);  // '/' as '\\', no trailing '\\'

    void addFile(const std::string& path, const std::string& content = {}, FileFlags flags = {});
    void addDirectory(const std::string& path);  // with its parents
    void setFlags(const std::string& path, FileFlags flags);
    void setReadOnlyFolder(const std::string& path, bool readOnly = true);
    // A folder link at `path` (with its parents) leading to `target`.
    void addLink(const std::string& path, const std::string& target);
    bool isLink(const std::string& path) const;

    bool fileExists(const std::string& path) const;
    bool visibleFileExists(const std::string& path) const;
    bool directoryExists(const std::string& path) const;
    std::optional<std::string> content(const std::string& path) const;
    // Direct children of a folder (files and folders), by name.
    std::vector<std::string> children(const std::string& folder) const;
    std::vector<std::string> visibleFiles(const std::string& folder) const;

    // These throw PlatformError as Windows would refuse.
    void writeFile(const std::string& path, const std::string& content);
    void deleteFile(const std::string& path);
    void removeEmptyDirectory(const std::string& path);
    void makeDirectory(const std::string& path);  // one level; the parent must exist
    void moveReplacing(const std::string& from, const std::string& to);  // on the disk once flushed

    // Puts the file's bytes on the disk, and every entry and size so far.
    void flush(const std::string& path);
    // The power fails: everything not on the disk is gone.
    void loseUnflushed();

    // Every path below the root, for "nothing else changed" checks.
    std::vector<std::string> allPaths() const;

private:
    struct Entry {
        std::string path;
        bool directory = false;
        FileFlags flags;
        bool readOnlyFolder = false;
        std::string content;
        std::string linkTarget;  // set: a link to that path
        bool onDisk = true;         // the entry survives a power cut
        std::string contentOnDisk;  // the bytes flushed
        std::size_t sizeOnDisk = 0; // the size a power cut leaves
    };
    // The path with every link on the way replaced by its target; the last
    // name too when `followLast`.
    std::string resolved(const std::string& path, bool followLast) const;
    const Entry* find(const std::string& path) const;
    Entry* find(const std::string& path);
    void requireWritableParent(const std::string& path) const;

    std::map<std::string, Entry> entries_;  // by lower-case normalised path
    bool anyLinks_ = false;                 // until a link is made, every path is its own
};

}  // namespace quillon::sim
